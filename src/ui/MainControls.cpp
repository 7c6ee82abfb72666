#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>

#include "core/Text.h"
#include "core/controls/Fmain.h"
#include "session/DrawCycle.h"
#include "ui/Pages.h"
#include "ui/Shell.h"
#include "ui/Widgets.h"

namespace lumora {

namespace {
const char* const kSubGames[3] = {"后三", "中三", "前三"};
}  // namespace

void BuildMainControls(Shell& shell, QWidget* area) {
  auto* box = new QVBoxLayout(area);
  box->setContentsMargins(0, 0, 0, 0);

  auto* status = new QHBoxLayout;
  auto* tnew = new QLabel("更新倒计时", area);
  tnew->setObjectName(ObjectName(fmain::Tnew));
  tnew->setMinimumWidth(140);
  auto* djs = new QLabel("25", area);
  djs->setObjectName(ObjectName(fmain::L_djs));
  djs->setMinimumWidth(24);
  status->addWidget(tnew, 1);
  status->addWidget(djs);
  box->addLayout(status);
  // The journal's lasting trouble (rows waiting to be written); empty while all is written.
  auto* journal = new QLabel(area);
  journal->setObjectName(ObjectName(fmain::L_journal));
  journal->setWordWrap(true);
  journal->setStyleSheet("color: #b00000;");
  box->addWidget(journal);

  auto* updates = new QHBoxLayout;
  auto* cauto = new QCheckBox("自动更新", area);
  cauto->setObjectName(ObjectName(fmain::Cauto));
  cauto->setChecked(true);
  auto* manual = new QPushButton("手动更新", area);
  manual->setObjectName(ObjectName(fmain::Cshoudong));
  updates->addWidget(cauto);
  updates->addWidget(manual);
  box->addLayout(updates);

  auto* games = new QHBoxLayout;
  for (int i = 0; i < 3; ++i) {
    auto* op = new QRadioButton(kSubGames[i], area);
    op->setObjectName(ObjectName(fmain::Op_3x_moshi[i]));
    op->setChecked(i == 0);
    games->addWidget(op);
  }
  box->addLayout(games);

  auto* history = new QPlainTextEdit(area);
  history->setObjectName(ObjectName(fmain::Tkjh));
  history->setReadOnly(true);
  history->setMinimumWidth(150);
  history->setLineWrapMode(QPlainTextEdit::NoWrap);
  // The newest draw is the first line: keep the view at the top after every new history.
  QObject::connect(history, &QPlainTextEdit::textChanged, history, [history] {
    QTimer::singleShot(0, history, [history] { history->verticalScrollBar()->setValue(0); });
  });
  box->addWidget(history, 1);

  auto* edits = new QHBoxLayout;
  auto* del = new QPushButton("删除", area);
  del->setObjectName(ObjectName(fmain::C_kjh_shanchu));
  auto* entry = new QPushButton("录入开奖号", area);
  entry->setObjectName(ObjectName(fmain::C_rulu_kjh));
  edits->addWidget(del);
  edits->addWidget(entry);
  box->addLayout(edits);

  shell.onClick(area, fmain::Cshoudong, [](Session& s) { ManualUpdate(s); });
  shell.onClick(area, fmain::C_kjh_shanchu, [](Session& s) { DeletionDialogue(s); });
  shell.onClick(area, fmain::C_rulu_kjh, [](Session& s) { OpenManualEntryWindow(s); });
  for (int i = 0; i < 3; ++i) {
    const OptionButton key = fmain::Op_3x_moshi[i];
    shell.onUserChange(key, [key, i](Session& s) {
      if (s.cx.form.checked(key)) SubGameChosen(s, i);
    });
  }
  shell.onTimer(fmain::Timer_gx, [](Session& s) { UpdateCountdownTick(s); });
}

}  // namespace lumora
