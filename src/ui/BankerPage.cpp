// The banker tab "胆码排序": the two digit rankings side by side, and the filter below them.
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWidget>

#include "core/Text.h"
#include "core/controls/Fmain.h"
#include "session/BankerActions.h"
#include "tools/BankerRanking.h"
#include "ui/Pages.h"
#include "ui/Shell.h"
#include "ui/Watchers.h"
#include "ui/Widgets.h"

namespace lumora {

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

std::string DesignText(ControlRef key) {
  for (const auto& [k, text] : BankerDesignTexts())
    if (k == key) return text;
  return {};
}

QLineEdit* Box(QWidget* parent, ControlRef name, int width = 0) {
  auto* e = new QLineEdit(Q(DesignText(name)), parent);
  e->setObjectName(ObjectName(name));
  if (width > 0) e->setFixedWidth(width);
  return e;
}

struct RankingNames {
  const char* title;
  const char* windowLabel;
  Button minus;
  Button plus;
  Button refresh;
  const char* refreshCaption;
  Button add;
};

// One ranking: window length with -/+, decomposition mode, refresh, the 31-line list, and the
// picked line with its accepted counts.
QGroupBox* BuildRanking(Shell& shell, QWidget* page, int ranking, const RankingNames& n) {
  const RankingKeys k = RankingKeysOf(ranking);
  auto* group = new QGroupBox(n.title, page);
  auto* v = new QVBoxLayout(group);

  auto* windowRow = new QHBoxLayout;
  windowRow->addWidget(new QLabel(n.windowLabel, group));
  windowRow->addWidget(Box(group, k.window, 48));
  auto* minus = NewButton(group, n.minus, "-");
  auto* plus = NewButton(group, n.plus, "+");
  minus->setFixedWidth(30);
  plus->setFixedWidth(30);
  windowRow->addWidget(minus);
  windowRow->addWidget(plus);
  windowRow->addStretch(1);
  v->addLayout(windowRow);

  auto* modeRow = new QHBoxLayout;
  modeRow->addWidget(new QLabel("分解模式：", group));
  modeRow->addWidget(Box(group, k.mode, 120));
  modeRow->addWidget(NewButton(group, n.refresh, n.refreshCaption));
  modeRow->addStretch(1);
  v->addLayout(modeRow);

  auto* list = new QListWidget(group);
  list->setObjectName(ObjectName(k.list));
  list->setMinimumHeight(300);
  v->addWidget(list, 1);

  auto* pickRow = new QHBoxLayout;
  pickRow->addWidget(Box(group, k.picked), 1);
  pickRow->addWidget(new QLabel("==", group));
  pickRow->addWidget(Box(group, k.counts, 60));
  pickRow->addWidget(NewButton(group, n.add, "加入过滤框"));
  v->addLayout(pickRow);

  shell.onClick(group, n.refresh, [ranking](Session& s) { RefreshRanking(s.cx, ranking); });
  shell.onClick(group, n.minus, [ranking](Session& s) { StepRankingWindow(s.cx, ranking, -1); });
  shell.onClick(group, n.plus, [ranking](Session& s) { StepRankingWindow(s.cx, ranking, +1); });
  shell.onClick(group, n.add, [ranking](Session& s) { AddPickedToFilter(s.cx, ranking); });
  QObject::connect(list, &QListWidget::itemClicked, &shell, [&shell, ranking, list](QListWidgetItem* item) {
    const int row = list->row(item);
    shell.run([ranking, row](Session& s) { PickRankingLine(s.cx, ranking, row); });
  });
  return group;
}

QGroupBox* BuildFilter(Shell& shell, QWidget* page) {
  auto* frame = new QGroupBox("过滤功能(分解模式，中间用“-”号分开）", page);
  frame->setObjectName(ObjectName(fmain::Frame_paixu_guolv));
  auto* grid = new QGridLayout(frame);

  auto* help = new QVBoxLayout;
  help->addWidget(new QLabel("格式示范：M-N-K=WER", frame));
  help->addWidget(new QLabel("表示前面以“-”号分M，N，K三段", frame));
  auto* rcRow = new QHBoxLayout;
  rcRow->addWidget(new QLabel("双击清空；容对：", frame));
  rcRow->addWidget(Box(frame, fmain::T_paixu_input_rc, 80));
  rcRow->addStretch(1);
  help->addLayout(rcRow);
  auto* go = NewButton(frame, fmain::C_paixu_go, "开始过滤");
  go->setMinimumHeight(32);
  help->addWidget(go);
  help->addStretch(1);
  grid->addLayout(help, 0, 0);

  auto* input = new QPlainTextEdit(Q(ToLf(DesignText(fmain::T_paixu_input))), frame);
  input->setObjectName(ObjectName(fmain::T_paixu_input));
  input->setMinimumHeight(90);
  grid->addWidget(input, 0, 1);

  auto* result = new QPlainTextEdit(frame);
  result->setObjectName(ObjectName(fmain::T_paixu_dadi));
  result->setMinimumHeight(90);
  grid->addWidget(result, 0, 2);

  auto* countRow = new QHBoxLayout;
  countRow->addWidget(new QLabel("注数：", frame));
  auto* count = new QLabel(Q(DesignText(fmain::Label_paixu_zhushu)), frame);
  count->setObjectName(ObjectName(fmain::Label_paixu_zhushu));
  count->setMinimumWidth(40);
  countRow->addWidget(count);
  countRow->addWidget(NewButton(frame, fmain::C_paixu_copy, "复制号码"));
  countRow->addStretch(1);
  grid->addLayout(countRow, 1, 2);

  auto* checks = new QHBoxLayout;
  auto* autoFeed = new QCheckBox("开奖后自动更新并出计划", frame);
  autoFeed->setObjectName(ObjectName(fmain::Check_dz_auto));
  auto* joins = new QCheckBox("参与计划(勾选，开奖后自动使用)", frame);
  joins->setObjectName(ObjectName(fmain::Check_duanzu_canyu));
  checks->addWidget(autoFeed);
  checks->addWidget(joins);
  checks->addStretch(1);
  grid->addLayout(checks, 1, 0, 1, 2);

  auto* planRow = new QHBoxLayout;
  planRow->addWidget(NewButton(frame, fmain::C_duanzu_charu, "将上面过滤结果插到底部5个交集底"));
  planRow->addWidget(NewButton(frame, fmain::C_dz_jj_gx, "若断组号码有变化，点此来更新计划"));
  planRow->addWidget(NewButton(frame, fmain::C_danma_gengxin, "更新【含胆码，交集底】"));
  planRow->addStretch(1);
  grid->addLayout(planRow, 2, 0, 1, 3);
  grid->setColumnStretch(1, 2);
  grid->setColumnStretch(2, 3);

  // The filter puts the caret at the end of the cleaned rules.
  shell.onClick(frame, fmain::C_paixu_go, [](Session& s) { BankerFilter(s.cx); });
  QObject::connect(go, &QPushButton::clicked, input, [input] { input->moveCursor(QTextCursor::End); });
  OnDoubleClick(input, [&shell] { shell.run([](Session& s) { ClearFilterInput(s.cx); }); });
  shell.onClick(frame, fmain::C_paixu_copy, [](Session& s) { CopyBankerResult(s.cx); });
  shell.onClick(frame, fmain::C_duanzu_charu, [](Session& s) { InsertBankerResultIntoPlan(s); });
  shell.onClick(frame, fmain::C_danma_gengxin, [](Session& s) { UpdatePlanFromBanker(s); });
  shell.onClick(frame, fmain::C_dz_jj_gx, [](Session& s) { UpdatePlanAfterGroupChange(s); });
  return frame;
}

}  // namespace

void BuildBankerPage(Shell& shell, QWidget* page) {
  auto* v = new QVBoxLayout(page);
  auto* rankings = new QHBoxLayout;
  rankings->addWidget(
      BuildRanking(shell, page, 1,
                   {"排序1（热-冷）", "排序期数[仅限后三，热-冷排序]", fmain::C_paixu_qishu_jian,
                    fmain::C_paixu_qishu_jia, fmain::C_paixu_shuaxin, "刷新排序[1]", fmain::C_paixu_add}));
  rankings->addWidget(
      BuildRanking(shell, page, 2,
                   {"排序2（冷-热）", "排序期数[仅限后三，冷-热排序]", fmain::C_paixu_qishu[0], fmain::C_paixu_qishu[1],
                    fmain::C_paixu_shuaxin_02, "刷新排序[2]", fmain::C_paixu_add_02}));
  v->addLayout(rankings, 3);
  v->addWidget(BuildFilter(shell, page), 2);
}

}  // namespace lumora
