#include "plan/PlanStart.h"

#include "core/History.h"
#include "core/ProgressPanel.h"
#include "core/Text.h"
#include "core/controls/Fmain.h"
#include "curves/Preview.h"
#include "plan/BackupPools.h"
#include "plan/PlanModes.h"
#include "plan/PlanRecord.h"
#include "plan/PlanTexts.h"
#include "plan/PoolBoard.h"

namespace lumora {
namespace tx = plan_text;

void StartPlan(PlanEnv& env) {
  Context& cx = env.cx;
  Form& f = cx.form;
  if (Trim(f.text(fmain::Tkjh)).empty()) {
    cx.inform(tx::kNoDraws, tx::kNoDrawsTitle);
    return;
  }
  f.setEnabled(fmain::C_jihua_ks, false);
  env.plan.planAfter = cx.draws.history[1];
  if (f.checked(fmain::Check_bd) || env.plan.multiPeriodCounter == 1) {
    ShowProgressPanel(cx, 1);
    if (f.checked(fmain::Check_jh_dadi_chongfu)) RunModeOne(env);
    if (f.checked(fmain::Check_jh_dadi_fenzu)) RunModeTwo(env);
  }
  RefreshPlanFromBackups(env, false);
  ShowPoolPreview(cx, env.curves, 3);
  PaintPoolBoard(cx);
  WritePendingLine(env);
  if (f.checked(fmain::C_qunfa_sx)) f.setTimer(fmain::Timer_qf_dd, true, 1000);
  f.setEnabled(fmain::C_jihua_ks, true);
  ShowProgressPanel(cx, 0);
  f.setText(fmain::T_zhushu_ag, f.text(fmain::T_jihua_jj_dadi_zhushu));
  cx.recorder().planStarted({Trim(f.text(fmain::T_zdy_yongyu[2])), FollowingPeriod(cx.draws.history[1].period),
                             SubGameLabel(cx.draws.subStart), f.text(fmain::T_jihua_jj_dadi),
                             f.value(fmain::T_jihua_jj_dadi_zhushu)});
}

void UpdatePlan(PlanEnv& env) {
  env.cx.form.setEnabled(fmain::C_gx_jh, false);
  StartPlan(env);
  env.cx.form.setEnabled(fmain::C_gx_jh, true);
}

}  // namespace lumora
