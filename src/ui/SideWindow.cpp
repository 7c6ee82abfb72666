// Fk ("K线预览界面"): the side window docked to the main window's right edge, with the three
// preview pictures and the scheme list; and the main window's "伸>>" / "缩<<" that widen and
// collapse it.
#include <QBoxLayout>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "core/Text.h"
#include "core/controls/Fk.h"
#include "core/controls/Fmain.h"
#include "settings/Schemes.h"
#include "settings/SettingsCentre.h"
#include "settings/SettingsTexts.h"
#include "ui/ChartView.h"
#include "ui/Pages.h"
#include "ui/Shell.h"
#include "ui/Widgets.h"

namespace lumora {

namespace {
namespace T = settings_texts;
QString Q(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<int>(s.size())); }

constexpr int kHeightTwips = 10430;

// A close request is always refused: the window lives as long as the program.
class SideWindow final : public QWidget {
 public:
  SideWindow(QWidget* main, Session& session)
      : QWidget(main, Qt::Window | Qt::WindowTitleHint), main_(main), session_(session) {}

  // Top = the main window's top, left = its left plus its width; width from the session's state.
  void dock() {
    if (!main_) return;
    const QRect outer = main_->frameGeometry();
    const int width = std::max(1, session_.settings.sideWindowTwips / kTwipsPerPixel);
    const int height = kHeightTwips / kTwipsPerPixel;
    if (this->width() != width || this->height() != height) {
      setMinimumSize(1, 1);
      setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
      resize(width, height);
    }
    const QPoint at(outer.x() + outer.width(), outer.y());
    if (pos() != at) move(at);
  }

 protected:
  void closeEvent(QCloseEvent* e) override { e->ignore(); }

 private:
  QPointer<QWidget> main_;
  Session& session_;
};
}  // namespace

void BuildSideWindow(Shell& shell, QWidget* main) {
  auto* fk = new SideWindow(main, shell.session());
  fk->setObjectName(ObjectName(T::kSideWindow));
  fk->setWindowTitle(Q(T::kSideTitle));

  auto* box = new QVBoxLayout(fk);
  box->setSizeConstraint(QLayout::SetNoConstraint);
  box->setContentsMargins(6, 6, 6, 6);
  const std::string_view captions[3] = {T::kPreviewCaption, T::kFundCaption, T::kBoardCaption};
  for (int p = 3; p <= 5; ++p) {
    auto* caption = new QLabel(Q(captions[p - 3]), fk);
    caption->setObjectName(ObjectName(fk::L_pic_k[p]));
    box->addWidget(caption);
    auto* picture = new ChartView(fk);
    picture->setObjectName(ObjectName(fk::Pic_k[p]));
    picture->setMinimumHeight(120);
    box->addWidget(picture, 2);
  }
  auto* name = new QLineEdit(Q(T::kDesignSchemeName), fk);
  name->setObjectName(ObjectName(fk::T_fangan_name));
  box->addWidget(name);
  auto* buttons = new QHBoxLayout;
  auto* save = new QPushButton(Q(T::kSaveCaption), fk);
  save->setObjectName(ObjectName(fk::C_fangan[0]));
  auto* del = new QPushButton(Q(T::kDeleteCaption), fk);
  del->setObjectName(ObjectName(fk::C_fangan[1]));
  buttons->addWidget(save);
  buttons->addWidget(del);
  box->addLayout(buttons);
  auto* list = new QListWidget(fk);
  list->setObjectName(ObjectName(fk::List_fangan));
  box->addWidget(list, 1);

  shell.onClick(fk, fk::C_fangan[0], [](Session& s) { SaveScheme(s.cx); });
  shell.onClick(fk, fk::C_fangan[1], [](Session& s) { DeleteSelectedScheme(s.cx); });
  QObject::connect(list, &QListWidget::itemDoubleClicked, &shell,
                   [&shell](QListWidgetItem*) { shell.run([](Session& s) { LoadScheme(s.cx); }); });

  // Timer1 keeps the window docked (every 100 ms, as the main window may move at any time).
  auto* dockTimer = new QTimer(fk);
  dockTimer->setObjectName("Timer1");
  QObject::connect(dockTimer, &QTimer::timeout, fk, [fk] { fk->dock(); });
  dockTimer->start(100);
  fk->dock();

  // "伸>>" and "缩<<" sit on the main window, below its main controls.
  auto* area = main->findChild<QWidget*>(ObjectName(fmain::Frame_main_area));
  QWidget* host = area ? area : main;
  auto* row = new QHBoxLayout;
  auto* widen = new QPushButton(Q(T::kWidenCaption), host);
  widen->setObjectName(ObjectName(T::kWidenButton));
  auto* collapse = new QPushButton(Q(T::kCollapseCaption), host);
  collapse->setObjectName(ObjectName(T::kCollapseButton));
  row->addWidget(collapse);
  row->addWidget(widen);
  if (auto* layout = qobject_cast<QBoxLayout*>(host->layout())) layout->addLayout(row);
  shell.onClick(host, T::kWidenButton, [fk](Session& s) {
    WidenSideWindow(s.cx, s.settings);
    fk->dock();
  });
  shell.onClick(host, T::kCollapseButton, [fk](Session& s) {
    CollapseSideWindow(s.settings);
    fk->dock();
  });

  shell.binder().bind(fk, fk::window, true);
}

}  // namespace lumora
