#include "ui/MainWindow.h"

#include <algorithm>

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QShowEvent>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindow>

#include "alarm/Notices.h"
#include "core/Text.h"
#include "core/Version.h"
#include "core/controls/Fadd.h"
#include "core/controls/Ffenxi.h"
#include "core/controls/Fmain.h"
#include "core/controls/Ftool.h"
#include "session/DrawCycle.h"
#include "ui/Pages.h"
#include "ui/Shell.h"
#include "ui/Widgets.h"

namespace lumora {

namespace {
const char* const kNavCaptions[6] = {"", "画趋势", "计划记录", "设置和监控", "胆码排序", "自动投注"};
const char* const kPageCaptions[6] = {"", "画线界面", "计划界面", "监控界面", "胆码排序", "附加功能"};
}  // namespace

MainWindow::MainWindow(Shell& shell, QWidget* parent) : QWidget(parent), shell_(shell) {
  setObjectName(ObjectName(fmain::window));
  setWindowTitle("Lumora");
  resize(1280, 860);

  auto* outer = new QHBoxLayout(this);
  auto* nav = new QVBoxLayout;
  for (int k = 1; k <= 5; ++k) {
    auto* b = new QPushButton(kNavCaptions[k], this);
    b->setObjectName(ObjectName(fmain::C_sst_0[k]));
    b->setMinimumHeight(36);
    nav->addWidget(b);
  }
  auto* tool = new QPushButton("缩水工具区", this);
  tool->setObjectName(ObjectName(fmain::C_sst_tool));
  nav->addWidget(tool);
  auto* analysis = new QPushButton("回测分析", this);
  analysis->setObjectName(ObjectName(fmain::C_sst_fenxi));
  nav->addWidget(analysis);
  auto* mainArea = new QWidget(this);
  mainArea->setObjectName(ObjectName(fmain::Frame_main_area));
  nav->addWidget(mainArea, 1);
  // Version, commit and licence, for a player who reports a problem.
  auto* about = new QPushButton("关于", this);
  about->setAccessibleName("关于 Lumora");
  connect(about, &QPushButton::clicked, this,
          [this] { shell_.run([](Session& s) { s.cx.inform(AboutText(), "关于 Lumora"); }); });
  nav->addWidget(about);
  outer->addLayout(nav);

  // The pages scroll inside the window when the screen is smaller than they are (a 1366 × 768
  // laptop): the window itself never has to reach past the screen.
  pagesHolder_ = new QWidget;
  auto* stack = new QGridLayout(pagesHolder_);
  stack->setContentsMargins(0, 0, 0, 0);
  for (int k = 1; k <= 5; ++k) {
    // Each page is a frame showing its caption.
    auto* page = new QGroupBox(kPageCaptions[k], pagesHolder_);
    page->setObjectName(ObjectName(fmain::Frame_ding[k]));
    page->setAccessibleName(kPageCaptions[k]);
    stack->addWidget(page, 0, 0);
    pages_[k] = page;
  }
  scroller_ = new QScrollArea(this);
  scroller_->setFrameShape(QFrame::NoFrame);
  scroller_->setWidgetResizable(true);
  outer->addWidget(scroller_, 1);

  BuildMainControls(shell, mainArea);
  BuildDrawingPage(shell, pages_[1]);
  BuildPlanPage(shell, pages_[2]);
  BuildMonitorPage(shell, pages_[3]);
  BuildBankerPage(shell, pages_[4]);
  BuildAutoBetPage(shell, pages_[5]);
  BuildSettingsCentre(shell, this);
  BuildSmallWindows(shell, this);
  BuildToolWindow(shell, this);
  BuildSideWindow(shell, this);
  BuildAnalysisWindow(shell, this);
  // Placed in the scroll area once the pages are whole, so that the area learns their size.
  scroller_->setWidget(pagesHolder_);
  shell.binder().bind(this);

  // Navigation: one page at a time, the selected button cyan.
  for (int k = 1; k <= 5; ++k) shell.onClick(this, fmain::C_sst_0[k], [k](Session& s) { SwitchPage(s, k); });
  // Opening a small window that is already open brings it to the front.
  auto raiseWhenShown = [this](QAbstractButton* button, Window window) {
    QWidget* w = findChild<QWidget*>(ObjectName(window));
    if (!button || !w) return;
    connect(button, &QAbstractButton::clicked, w, [w] {
      if (!w->isVisible()) return;
      w->raise();
      w->activateWindow();
    });
  };
  raiseWhenShown(shell.onClick(this, fmain::C_sst_tool, [](Session& s) { s.cx.form.setVisible(ftool::window, true); }),
                 ftool::window);
  raiseWhenShown(
      shell.onClick(this, fmain::C_sst_fenxi, [](Session& s) { s.cx.form.setVisible(ffenxi::window, true); }),
      ffenxi::window);
  raiseWhenShown(mainArea->findChild<QAbstractButton*>(ObjectName(fmain::C_rulu_kjh)), fadd::window);
  // The alarm pattern is cleaned on every edit.
  shell.onUserChange(fmain::T_bj, [](Session& s) { SanitizeAlarmPattern(s.cx); });
  // One second after start-up: refuse to run from a temporary folder. The program ends through
  // its event loop, so that the data folder's lock and the journal are let go of.
  shell.onTimer(fmain::Timer_lj, [](Session& s) {
    if (ArchiveFolderCheck(s, QCoreApplication::applicationDirPath().toStdString()))
      QMetaObject::invokeMethod(
          QCoreApplication::instance(), [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
  });
  // Page layout when the window initialises.
  shell.run([](Session& s) { PageLayout(s); });
}

QSize MainWindow::naturalSize() const {
  // Everything shown without scrolling: the navigation column beside the largest page.
  const QMargins m = layout()->contentsMargins();
  const QSize pages = pagesHolder_->sizeHint();
  const int navWidth = layout()->itemAt(0)->sizeHint().width();
  return {m.left() + navWidth + layout()->spacing() + pages.width() + m.right(),
          m.top() + std::max(pages.height(), layout()->itemAt(0)->sizeHint().height()) + m.bottom()};
}

namespace {
// A window manager's frame before it is known (the window is not on the screen yet): a title bar
// and thin borders, on the generous side so that the first size does not reach past the screen.
constexpr QMargins kAssumedFrame(8, 40, 8, 8);
// How long after the first showing the frame is waited for (none comes without a window manager).
constexpr int kFrameWaitMs = 3000;
constexpr int kFrameCheckMs = 50;
}  // namespace

QMargins MainWindow::frameExtent() const { return frameKnown_ ? windowHandle()->frameMargins() : kAssumedFrame; }

void MainWindow::fitToScreen() {
  const QScreen* s = screen();
  if (!s) return;
  const QRect area = s->availableGeometry();
  const QMargins frame = frameExtent();
  const QSize most = area.size().shrunkBy(frame);
  const QSize fitted = wanted_.boundedTo(most).expandedTo(minimumSize());
  if (fitted != size()) resize(fitted);
  if (!frameKnown_) return;  // placed by the window manager first
  // The frame inside the available area: moved back when the window manager put it across an edge.
  const QSize outer = fitted.grownBy(frame);
  const QPoint at = pos();
  const QPoint inside(std::clamp(at.x(), area.left(), std::max(area.left(), area.right() + 1 - outer.width())),
                      std::clamp(at.y(), area.top(), std::max(area.top(), area.bottom() + 1 - outer.height())));
  if (inside != at) move(inside);
}

void MainWindow::showEvent(QShowEvent* e) {
  if (!sized_) {
    sized_ = true;
    // As large as the pages want and at least the usual size, but with its frame never larger
    // than the screen's available area (less a panel or task bar).
    wanted_ = naturalSize().expandedTo(size());
    fitToScreen();
    // The window manager's frame is known only once the window is on the screen: fitted again then
    // (larger when the frame is thinner than assumed).
    auto* frameWait = new QTimer(this);
    frameWait->setInterval(kFrameCheckMs);
    connect(frameWait, &QTimer::timeout, this, [this, frameWait, waited = 0]() mutable {
      waited += kFrameCheckMs;
      const bool known = windowHandle() && !windowHandle()->frameMargins().isNull();
      if (!known && waited < kFrameWaitMs) return;
      // No frame in time (no window manager, or a slow one): the size for the assumed frame stays.
      frameKnown_ = known;
      if (known) fitToScreen();
      frameWait->deleteLater();
    });
    frameWait->start();
  }
  QWidget::showEvent(e);
}

void MainWindow::closeEvent(QCloseEvent* e) {
  if (closing_) {
    e->accept();
    return;
  }
  // "是否要关闭软件？" is asked without holding anything: the close is refused for now, and a Yes
  // ends the program when it arrives; No keeps it running.
  e->ignore();
  shell_.run([this](Session& s) {
    ConfirmClose(s, [this] {
      closing_ = true;
      // Closed from the event loop, never from inside a close that is still going on.
      QMetaObject::invokeMethod(
          this,
          [this] {
            close();
            QCoreApplication::exit(0);
          },
          Qt::QueuedConnection);
    });
  });
}

}  // namespace lumora
