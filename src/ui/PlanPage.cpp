// The plan tab "计划界面": the plan pool and its buttons, the plan record, the record settings,
// the two plan modes, the eight backup pools and the progress panel.
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>
#include <QWidget>

#include "core/controls/Fmain.h"
#include "plan/BackupPools.h"
#include "plan/MonitorPools.h"
#include "plan/PlanCopies.h"
#include "plan/PlanModes.h"
#include "plan/PlanRecord.h"
#include "plan/PlanStart.h"
#include "session/PlanSession.h"
#include "ui/Pages.h"
#include "ui/PlanWidgets.h"
#include "ui/Shell.h"
#include "ui/Watchers.h"
#include "ui/Widgets.h"

namespace lumora {

using namespace plan_ui;

namespace {

// Runs a plan operation on the session's plan stores.
template <typename F>
std::function<void(Session&)> Plan(F f) {
  return [f](Session& s) {
    PlanEnv env = PlanEnvOf(s);
    f(env);
  };
}

QGroupBox* BuildPoolGroup(Shell& shell, QWidget* page) {
  auto* g = new QGroupBox(QString::fromUtf8("计划大底"), page);
  auto* v = new QVBoxLayout(g);
  auto* pool = Text(g, fmain::T_jihua_jj_dadi, 80);
  pool->setReadOnly(true);
  v->addWidget(pool);
  // The mode's pool before the backup pools are merged in: kept, never shown.
  auto* hidden = Text(g, fmain::T_rj_jh_dd);
  hidden->setVisible(false);
  shell.form().setVisible(fmain::T_rj_jh_dd, false);
  v->addWidget(hidden);
  auto* counts = new QHBoxLayout;
  counts->addWidget(plan_ui::Label(g, "注数："));
  counts->addWidget(Line(g, fmain::T_jihua_jj_dadi_zhushu, 60));
  counts->addWidget(plan_ui::Label(g, "投注注数："));
  counts->addWidget(Line(g, fmain::T_zhushu_ag, 60));
  counts->addStretch();
  v->addLayout(counts);
  auto* buttons = new QGridLayout;
  buttons->addWidget(shell.button(g, fmain::C_jihua_ks, "开始计划", Plan(StartPlan)), 0, 0);
  buttons->addWidget(shell.button(g, fmain::C_gx_jh, "参数变，更新计划", Plan(UpdatePlan)), 0, 1);
  buttons->addWidget(shell.button(g, fmain::C_jihua_cls, "清空计划", Plan(ClearPlan)), 0, 2);
  buttons->addWidget(shell.button(g, fmain::C_jihua_jj_copy, "复制大底", Plan(CopyPlanPool)), 1, 0);
  buttons->addWidget(shell.button(g, fmain::C_copy_1, "复制计划", Plan(CopyPlan)), 1, 1);
  buttons->addWidget(shell.button(g, fmain::C_copy_fanji, "复制反集", Plan(CopyComplement)), 1, 2);
  v->addLayout(buttons);
  return g;
}

QGroupBox* BuildRecordGroup(QWidget* page) {
  auto* g = new QGroupBox(QString::fromUtf8("计划记录"), page);
  auto* h = new QHBoxLayout(g);
  auto* record = Text(g, fmain::T_jh_dadi_jilu);
  record->setReadOnly(true);
  record->setLineWrapMode(QPlainTextEdit::NoWrap);
  record->setMinimumWidth(460);
  auto* counts = Text(g, fmain::T_jh_dadi_jilu_rc);
  counts->setReadOnly(true);
  counts->setFixedWidth(70);
  FollowEnd(record);
  FollowEnd(counts);
  h->addWidget(record, 1);
  h->addWidget(counts);
  return g;
}

QGroupBox* BuildSettingsGroup(QWidget* page) {
  auto* g = new QGroupBox(QString::fromUtf8("计划设置"), page);
  auto* grid = new QGridLayout(g);
  grid->addWidget(Check(g, fmain::Check_jihua_sx, "自动计划"), 0, 0);
  grid->addWidget(Check(g, fmain::Check_bd, "每期变底"), 0, 1);
  auto* multi = new QHBoxLayout;
  multi->addWidget(Check(g, fmain::Check_duoqi, "多期计划"));
  multi->addWidget(Line(g, fmain::T_duoqi, 40));
  grid->addLayout(multi, 0, 2);
  auto* keep = new QHBoxLayout;
  keep->addWidget(plan_ui::Label(g, "保留记录期数"));
  keep->addWidget(Line(g, fmain::T_jh_qi_baoliu, 40));
  grid->addLayout(keep, 1, 0);
  grid->addWidget(Check(g, fmain::Check_hang_lr, "每行记录后显示利润"), 1, 1);
  grid->addWidget(Check(g, fmain::Check_pszj_sx, "显示统计利润信息"), 1, 2);
  grid->addWidget(Check(g, fmain::Check_jihua_jilu_haoma, "记录+号码"), 2, 0);
  auto* phrases = new QHBoxLayout;
  phrases->addWidget(plan_ui::Label(g, "中："));
  phrases->addWidget(Line(g, fmain::T_zdy_yongyu[0], 60));
  phrases->addWidget(plan_ui::Label(g, "挂："));
  phrases->addWidget(Line(g, fmain::T_zdy_yongyu[1], 60));
  phrases->addWidget(plan_ui::Label(g, "名称："));
  phrases->addWidget(Line(g, fmain::T_zdy_yongyu[2], 90));
  grid->addLayout(phrases, 3, 0, 1, 3);
  return g;
}

QGroupBox* BuildModeOne(Shell& shell, QWidget* page) {
  auto* g = new QGroupBox(QString::fromUtf8("计划模式一：15线多次出号后交集"), page);
  g->setObjectName(ObjectName(fmain::Fr_ms1));
  auto* grid = new QGridLayout(g);
  grid->addWidget(Check(g, fmain::Check_jh_dadi_chongfu, "生效"), 0, 0);
  grid->addWidget(plan_ui::Label(g, "循环次数"), 0, 1);
  grid->addWidget(Line(g, fmain::T_jh_dadi_chongfu_cs, 50), 0, 2);
  grid->addWidget(plan_ui::Label(g, "容对"), 1, 0);
  grid->addWidget(Line(g, fmain::T_jh_dadi_chongfu_rc), 1, 1, 1, 2);
  grid->addWidget(shell.button(g, fmain::C_rc_gx, "更新容对", Plan(RecomputeToleranceSet)), 2, 0);
  grid->addWidget(shell.button(g, fmain::C_daochu_xh_di, "<导出循环后的每个底>",
                               [](Session& s) { ExportRepeatPools(s.cx, s.plan); }),
                  2, 1, 1, 2);
  shell.onUserChange(fmain::Check_jh_dadi_chongfu, [](Session& s) { OnModeOneToggled(s.cx); });
  shell.onUserChange(fmain::T_jh_dadi_chongfu_cs, [](Session& s) { OnRepeatCountEdited(s.cx); });
  return g;
}

QGroupBox* BuildModeTwo(Shell& shell, QWidget* page) {
  auto* g = new QGroupBox(QString::fromUtf8("模式二[自由分段组合]"), page);
  g->setObjectName(ObjectName(fmain::Fr_ms2));
  auto* v = new QVBoxLayout(g);
  v->addWidget(Check(g, fmain::Check_jh_dadi_fenzu, "生效"));
  v->addWidget(Text(g, fmain::T_moshier_input, 60));
  auto* acc = new QHBoxLayout;
  acc->addWidget(plan_ui::Label(g, "容对"));
  acc->addWidget(Line(g, fmain::T_moshier_input_rc));
  v->addLayout(acc);
  shell.onUserChange(fmain::Check_jh_dadi_fenzu, [](Session& s) { OnModeTwoToggled(s.cx); });
  return g;
}

QGroupBox* BuildBackupPools(Shell& shell, QWidget* page) {
  auto* g = new QGroupBox(QString::fromUtf8("备用大地"), page);
  auto* grid = new QGridLayout(g);
  const char* titles[kBackupBoxes] = {"交集底1", "交集底2", "交集底3", "交集底4",
                                      "交集底5", "排除底",  "二码底",  "小底"};
  for (int i = 0; i < kBackupBoxes; ++i) {
    auto* col = new QVBoxLayout;
    auto* head = new QHBoxLayout;
    head->addWidget(new QLabel(QString::fromUtf8(titles[i]), g));
    head->addWidget(plan_ui::Label(g, "0", i < 7 ? fmain::L_jjdi_zhushu[i] : fmain::L_jjdi_zhushu1[7]));
    col->addLayout(head);
    auto* box = Text(g, fmain::T_dd_beiyong[i], 56);
    col->addWidget(box);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(shell.button(g, fmain::C_fuzhu_copy[i], "复制", Plan([i](PlanEnv& e) { CopyBackupBox(e, i); })));
    if (i < 7) {
      buttons->addWidget(
          shell.button(g, fmain::C_fuzhu_tie[i], "粘贴", Plan([i](PlanEnv& e) { PasteBackupBox(e, i); })));
      buttons->addWidget(shell.button(g, fmain::C_fuzhu_cls[i], "清", [i](Session& s) { ClearBackupBox(s.cx, i); }));
    } else {
      OnDoubleClick(box, [&shell] { shell.run([](Session& s) { ClearBackupBox(s.cx, 7); }); });
    }
    col->addLayout(buttons);
    grid->addLayout(col, i / 4, i % 4);
  }
  auto* rules = new QGroupBox(QString::fromUtf8("胆码规则"), g);
  auto* rg = new QGridLayout(rules);
  rg->addWidget(Text(rules, fmain::T_jihua_danma, 64), 0, 0, 3, 1);
  rg->addWidget(plan_ui::Label(rules, "规则容对"), 0, 1);
  rg->addWidget(Line(rules, fmain::T_jihua_danma_rc, 80), 0, 2);
  rg->addWidget(plan_ui::Label(rules, "缺底容对"), 1, 1);
  rg->addWidget(Line(rules, fmain::T_beiyong_rc, 80), 1, 2);
  grid->addWidget(rules, 2, 0, 1, 2);
  auto* actions = new QGridLayout;
  actions->addWidget(Check(g, fmain::Check_beiyong_canyu, "结果参与计划"), 0, 0);
  actions->addWidget(Check(g, fmain::Check_duanzu_canyu, "参与计划(勾选，开奖后自动使用)"), 0, 1);
  actions->addWidget(Check(g, fmain::Check_baozi, "强制加豹子"), 1, 0);
  actions->addWidget(shell.button(g, fmain::C_danma_gengxin, "更新【含胆码，交集底】",
                                  Plan([](PlanEnv& e) { RefreshPlanFromBackups(e, true); })),
                     1, 1);
  actions->addWidget(shell.button(g, fmain::C_yj_5d_cls, "一键清5底", [](Session& s) { ClearFiveSourceBoxes(s.cx); }),
                     2, 0);
  actions->addWidget(shell.button(g, fmain::C_charu, "插到交集底", Plan(InsertPlanIntoSourceBox)), 2, 1);
  grid->addLayout(actions, 2, 2, 1, 2);
  return g;
}

}  // namespace

void BuildPlanPage(Shell& shell, QWidget* page) {
  auto* outer = new QVBoxLayout(page);
  // The progress panel: shown while a plan is computed.
  auto* progress = new QFrame(page);
  progress->setObjectName(ObjectName(fmain::Pic_jindu));
  progress->setFrameShape(QFrame::StyledPanel);
  auto* ph = new QHBoxLayout(progress);
  auto* news = new QLabel(QString::fromUtf8("系统正在初始化"), progress);
  news->setObjectName(ObjectName(fmain::L_jindu_news));
  ph->addWidget(news);
  outer->addWidget(progress);

  auto* top = new QHBoxLayout;
  auto* left = new QVBoxLayout;
  left->addWidget(BuildPoolGroup(shell, page));
  left->addWidget(BuildSettingsGroup(page));
  auto* modes = new QHBoxLayout;
  modes->addWidget(BuildModeOne(shell, page));
  modes->addWidget(BuildModeTwo(shell, page));
  left->addLayout(modes);
  top->addLayout(left, 1);
  top->addWidget(BuildRecordGroup(page), 1);
  outer->addLayout(top, 1);
  outer->addWidget(BuildBackupPools(shell, page));
}

}  // namespace lumora
