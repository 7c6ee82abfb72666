// The capital frame of the "附加功能" page: capital, prize and limits, the multiple sequence, the
// update button and the bet log.
#include <QBoxLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/Text.h"
#include "core/controls/Fmain.h"
#include "money/BetLog.h"
#include "money/Fund.h"
#include "money/FundTexts.h"
#include "money/RiskOfRuin.h"
#include "output/BetRun.h"
#include "ui/Pages.h"
#include "ui/Shell.h"
#include "ui/Widgets.h"

namespace lumora {

void BuildCapitalFrame(Shell& shell, QWidget* parent) {
  auto* frame = new QGroupBox("资金控制,注意止损，止盈，等的设置", parent);
  frame->setObjectName(ObjectName(fmain::Frame_zijin));
  auto* grid = new QGridLayout(frame);
  const char* const labels[5] = {"本金", "最新资金", "奖金设置", "资金下限", "资金上限"};
  const auto& texts = FundDesignTexts();  // the five capital boxes, then the multiple sequence
  for (int i = 0; i < 5; ++i) {
    grid->addWidget(new QLabel(labels[i], frame), i / 3 * 2, i % 3);
    auto* e = new QLineEdit(QString::fromStdString(texts[static_cast<size_t>(i)].second), frame);
    e->setObjectName(ObjectName(texts[static_cast<size_t>(i)].first));
    grid->addWidget(e, i / 3 * 2 + 1, i % 3);
  }
  auto* sequenceLabel = new QLabel("计划倍数设置。中间用\"-\"号连接。平买，倍投自由设置", frame);
  sequenceLabel->setWordWrap(true);
  grid->addWidget(sequenceLabel, 4, 0, 1, 2);
  grid->addWidget(new QLabel("当前倍数", frame), 4, 2, Qt::AlignBottom);
  auto* sequence = new QLineEdit(QString::fromStdString(texts[5].second), frame);
  sequence->setObjectName(ObjectName(texts[5].first));
  grid->addWidget(sequence, 5, 0, 1, 2);
  auto* state = new QLineEdit("当前倍数", frame);
  state->setObjectName(ObjectName(fmain::T_zd_touzhu_beitou[1]));
  state->setReadOnly(true);
  grid->addWidget(state, 5, 2);
  auto* update = new QPushButton("修改参数后点按钮更新", frame);
  update->setObjectName(ObjectName(fmain::C_touzhu_gx));
  grid->addWidget(update, 6, 0, 1, 3);
  // The risk of ruin of the current settings; the engine writes its text.
  auto* risk = new QLabel(frame);
  risk->setObjectName(ObjectName(fund_texts::kRiskLabel));
  risk->setWordWrap(true);
  grid->addWidget(risk, 7, 0, 1, 3);
  auto* log = new QListWidget(frame);
  log->setObjectName(ObjectName(kBetLogList));
  log->setMinimumHeight(120);
  grid->addWidget(log, 8, 0, 1, 3);
  grid->setRowStretch(8, 1);

  if (auto* layout = qobject_cast<QBoxLayout*>(parent->layout())) layout->addWidget(frame);
  else if (!parent->layout()) (new QVBoxLayout(parent))->addWidget(frame);

  shell.onClick(frame, fmain::C_touzhu_gx, [](Session& s) { UpdateFundParameters(s.cx, s.money); });
  shell.onTimer(fund_texts::kRiskTimer, [](Session& s) { ShowRiskOfRuin(s.cx, s.money, s.stats.plan()); });
}

}  // namespace lumora
