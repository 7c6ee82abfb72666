#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWidget>

#include "alarm/Notices.h"
#include "alarm/Texts.h"
#include "core/Text.h"
#include "core/controls/Fadd.h"
#include "core/controls/Fbj.h"
#include "core/controls/Ftishi.h"
#include "session/DrawCycle.h"
#include "ui/Pages.h"
#include "ui/Shell.h"
#include "ui/Watchers.h"
#include "ui/Widgets.h"

namespace lumora {

namespace {

QWidget* SmallWindow(Shell& shell, QWidget* main, Window window, const char* title) {
  auto* w = new QWidget(main, Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  w->setObjectName(ObjectName(window));
  w->setWindowTitle(title);
  w->setAttribute(Qt::WA_DeleteOnClose, false);
  w->installEventFilter(new WindowHideWatcher(shell.form(), window, w));
  return w;
}

void BuildManualEntry(Shell& shell, QWidget* main) {
  QWidget* w = SmallWindow(shell, main, fadd::window, "手工录入最新");
  auto* box = new QVBoxLayout(w);
  auto* entry = new QLineEdit("055-75894", w);
  entry->setObjectName(ObjectName(fadd::T_total_renshu));
  auto* confirm = new QPushButton("确认录入", w);
  confirm->setObjectName(ObjectName(fadd::C_rulu_kjh));
  box->addWidget(entry);
  box->addWidget(confirm);
  shell.onClick(w, fadd::C_rulu_kjh, [](Session& s) { ConfirmManualEntryWindow(s); });
  shell.binder().bind(w, fadd::window, true);
}

void BuildAlarmWindow(Shell& shell, QWidget* main) {
  QWidget* w = SmallWindow(shell, main, fbj::window, alarm_text::kAlarmTitle);
  w->setWindowFlag(Qt::WindowStaysOnTopHint);
  auto* box = new QVBoxLayout(w);
  auto* matched = new QLabel(alarm_text::kAlarmMatched, w);
  QFont big = matched->font();
  big.setPointSize(big.pointSize() + 6);
  big.setBold(true);
  matched->setFont(big);
  matched->setAlignment(Qt::AlignCenter);
  matched->setStyleSheet("color: red;");
  box->addWidget(matched);
  auto* row = new QHBoxLayout;
  row->addWidget(new QLabel(alarm_text::kAlarmCountdown, w));
  auto* left = new QLabel("10", w);
  left->setObjectName(ObjectName(fbj::L20s));
  row->addWidget(left);
  box->addLayout(row);
  shell.binder().bind(w, fbj::window, true);
  shell.onTimer(fbj::Timer_bj, [](Session& s) { AlarmSoundTick(s.cx, s.alarm); });
  shell.onTimer(fbj::Timer1, [](Session& s) { AlarmCountdownTick(s.cx, s.alarm); });
}

void BuildCopyNotice(Shell& shell, QWidget* main) {
  QWidget* w = SmallWindow(shell, main, ftishi::window, alarm_text::kNoticeTitle);
  w->setWindowModality(Qt::ApplicationModal);
  w->setWindowFlag(Qt::WindowStaysOnTopHint);
  auto* grid = new QGridLayout(w);
  // Four flashing bars around the message.
  const int at[4][4] = {{0, 0, 1, 3}, {1, 0, 1, 1}, {1, 2, 1, 1}, {2, 0, 1, 3}};
  for (int i = 0; i < 4; ++i) {
    auto* bar = new QFrame(w);
    bar->setObjectName(ObjectName(ftishi::Shape_shan[i]));
    bar->setMinimumSize(12, 12);
    bar->setAutoFillBackground(true);
    grid->addWidget(bar, at[i][0], at[i][1], at[i][2], at[i][3]);
  }
  auto* text = new QLabel(alarm_text::kNoticeCopied, w);
  QFont big = text->font();
  big.setPointSize(big.pointSize() + 4);
  big.setBold(true);
  text->setFont(big);
  text->setAlignment(Qt::AlignCenter);
  grid->addWidget(text, 1, 1);
  shell.binder().bind(w, ftishi::window, true);
  shell.onTimer(ftishi::Timer_shan, [](Session& s) { NoticeFlashTick(s.cx); });
  shell.onTimer(ftishi::Timer1, [](Session& s) { NoticeCloseTick(s.cx); });
}

}  // namespace

void BuildSmallWindows(Shell& shell, QWidget* main) {
  BuildManualEntry(shell, main);
  BuildAlarmWindow(shell, main);
  BuildCopyNotice(shell, main);
}

}  // namespace lumora
