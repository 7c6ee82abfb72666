// Frame_sz_zx ("用户设置中心"): the panel that slides in from the main window's left edge, its
// buttons, and the button "设置中心" outside it that opens it.
#include <QBoxLayout>
#include <QEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPointer>
#include <QPropertyAnimation>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/Text.h"
#include "core/controls/Fmain.h"
#include "settings/SettingsCentre.h"
#include "settings/SettingsTexts.h"
#include "ui/Pages.h"
#include "ui/Shell.h"
#include "ui/Widgets.h"

namespace lumora {

namespace {
namespace T = settings_texts;
QString Q(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<int>(s.size())); }

constexpr int kPanelWidth = 240;
constexpr int kSlideMs = 260;

// Moves the panel to its open (left edge 0) or closed (left edge -width) place with a smooth
// animation; a slide under way turns round from where it is.
void Follow(QWidget* panel, bool open) {
  auto* anim = panel->findChild<QPropertyAnimation*>("slide");
  if (!anim) {
    anim = new QPropertyAnimation(panel, "pos", panel);
    anim->setObjectName("slide");
    anim->setEasingCurve(QEasingCurve::OutCubic);
    QObject::connect(anim, &QPropertyAnimation::finished, panel, [panel] {
      if (panel->x() < 0) panel->hide();
    });
  }
  QWidget* main = panel->parentWidget();
  panel->setFixedHeight(main ? main->height() : panel->height());
  const QPoint target(open ? 0 : -panel->width(), 0);
  anim->stop();
  if (panel->pos() == target) return;
  panel->show();
  panel->raise();
  anim->setDuration(kSlideMs);
  anim->setStartValue(panel->pos());
  anim->setEndValue(target);
  anim->start();
}

// Keeps the panel as tall as the main window.
class HeightFollower final : public QObject {
 public:
  HeightFollower(QWidget* main, QWidget* panel) : QObject(panel), panel_(panel) { main->installEventFilter(this); }
  bool eventFilter(QObject* o, QEvent* e) override {
    if (e->type() == QEvent::Resize && panel_) panel_->setFixedHeight(static_cast<QWidget*>(o)->height());
    return false;
  }

 private:
  QPointer<QWidget> panel_;
};
}  // namespace

void BuildSettingsCentre(Shell& shell, QWidget* main) {
  auto* panel = new QGroupBox(Q(T::kCentreCaption), main);
  panel->setObjectName(ObjectName(T::kCentrePanel));
  panel->setAutoFillBackground(true);
  panel->setFixedWidth(kPanelWidth);
  panel->setStyleSheet(QString("QGroupBox#%1 { background: #f4f4ee; border: 1px solid #8a8a8a; font-weight: bold; }")
                           .arg(ObjectName(T::kCentrePanel)));
  auto* box = new QVBoxLayout(panel);
  auto* top = new QHBoxLayout;
  top->addStretch(1);
  auto* off = new QPushButton(Q(T::kCentreCloseCaption), panel);
  off->setObjectName(ObjectName(T::kCentreClose));
  off->setFixedWidth(32);
  top->addWidget(off);
  box->addLayout(top);
  for (int i = 1; i < 8; ++i) {
    auto* b = new QPushButton(Q(T::kCentreCaptions[i]), panel);
    b->setObjectName(ObjectName(T::kCentreButtons[i]));
    b->setMinimumHeight(32);
    box->addWidget(b);
  }
  box->addStretch(1);
  panel->move(-kPanelWidth, 0);  // closed: left of the window by its own width

  // The statistics frame "投注参数设置" lies over the main window beside the open panel; the
  // centre's first button brings it to the front, closing the centre hides it.
  QWidget* stats = BuildStatsFrame(shell, main);
  stats->adjustSize();
  stats->move(kPanelWidth + 8, 40);
  stats->setAutoFillBackground(true);
  panel->hide();
  new HeightFollower(main, panel);

  // "设置中心" outside the panel, below the main controls.
  auto* area = main->findChild<QWidget*>(ObjectName(fmain::Frame_main_area));
  QWidget* host = area ? area : main;
  auto* open = new QPushButton(Q(T::kCentreCaptions[0]), host);
  open->setObjectName(ObjectName(T::kCentreButtons[0]));
  if (auto* layout = qobject_cast<QBoxLayout*>(host->layout())) layout->addWidget(open);

  QPointer<QWidget> slid(panel);
  shell.onClick(host, T::kCentreButtons[0], [slid](Session& s) {
    SettingsCentreClick(s.cx, s.settings, 0);
    if (slid) Follow(slid, s.settings.panelOpen);
  });
  shell.onClick(panel, T::kCentreClose, [slid](Session& s) {
    SlidePanel(s.cx, s.settings, false);
    if (slid) Follow(slid, s.settings.panelOpen);
  });
  QPointer<QWidget> root(main);
  for (int i = 1; i < 8; ++i) {
    shell.onClick(panel, T::kCentreButtons[i], [i, root](Session& s) {
      SettingsCentreClick(s.cx, s.settings, i);
      if (i == 1 && root)
        if (auto* frame = root->findChild<QWidget*>(ObjectName(T::kStatsFrame))) frame->raise();
    });
  }

  shell.form().setTimer(T::kBlinkTimer, true, T::kBlinkMs);
  shell.onTimer(T::kBlinkTimer, [](Session& s) { BlinkSettingsCentre(s.cx); });
}

}  // namespace lumora
