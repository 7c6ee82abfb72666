#include "session/AfterDraw.h"

#include <algorithm>

#include "core/DrawTexts.h"
#include "core/ProgressPanel.h"
#include "core/Text.h"
#include "core/UserPhrases.h"
#include "core/controls/Fk.h"
#include "core/controls/Fmain.h"
#include "curves/CurveStore.h"
#include "curves/TrendChart.h"
#include "curves/TrendMatching.h"
#include "money/Fund.h"
#include "money/PlanStats.h"
#include "money/RiskOfRuin.h"
#include "output/BetRun.h"
#include "output/Texts.h"
#include "plan/FundChart.h"
#include "plan/MonitorPools.h"
#include "plan/PlanJudgement.h"
#include "plan/PlanModes.h"
#include "plan/PlanRecord.h"
#include "plan/PlanStart.h"
#include "plan/PoolBoard.h"
#include "session/PlanSession.h"
#include "tools/BankerRanking.h"

namespace lumora {

// The steps run in their numbered order. Each subsystem fills its own slots; a step's failure
// message does not stop the sequence (only the curve store of step 1 ends the program).
bool StartupDefaults(Session& s, const std::array<std::string, kCurveSlots>* store) {
  Form& f = s.cx.form;
  // 1. The curve store into the 15 curve slots (curves); missing or damaged: the program ends.
  if (store) s.curves.slots = *store;
  else if (!ReadCurveStore(s.cx, s.curves)) return false;
  // 2. The empty grid of the monitor board (plan).
  DrawMonitorBoard(s.cx, PlanState{});
  // 3. MonitorBoard created empty (plan).
  s.plan.board = {};
  // 4. The curve bet-count boxes in 7 points.
  for (int i = 0; i < 15; ++i) f.setFontSize(fmain::T_quxian_zhushu[i], 7);
  // 5. SubNumberStart = 3 (后三).
  s.cx.draws.subStart = 3;
  // 6. Stores created empty: IncomingWindow here; trend points (curves), PlanRecordLines and
  //    MonitorPools (plan).
  s.cx.draws.incoming.fill(DrawRecord{});
  s.plan.recordLines = {};
  s.plan.monitorPools = {};
  // 7. The user phrases.
  LoadUserPhrases(s.cx);
  // 8. All fifteen monitor selection boxes ticked.
  for (int i = 0; i < 15; ++i) f.setChecked(fmain::Ch_jiankong_jj[i], true);
  // 9. "生效" and "自动计划" ticked.
  f.setChecked(fmain::Check_jh_dadi_chongfu, true);
  f.setChecked(fmain::Check_jihua_sx, true);
  // 10. The progress panel hidden; the information label says the system is starting.
  ShowProgressPanel(s.cx, 0);
  f.setText(fmain::L_jindu_news, "系统正在初始化");
  // 11. RepeatResults with slots 0..T_jh_dadi_chongfu_cs (plan).
  s.plan.repeatResults.assign(static_cast<size_t>(std::clamp(f.value(fmain::T_jh_dadi_chongfu_cs), 0, 999)) + 1, {});
  PaintModeColours(s.cx);
  RecountMonitorSelection(s.cx);  // the ticks of step 8 run the boxes' own recount
  // 12. The side window Fk shown modeless (settings).
  f.setVisible(fk::window, true);
  // 13. Timer_qf_dd off (output).
  f.setTimerEnabled(fmain::Timer_qf_dd, false);
  // 14. AllThreeDigitNumbers (plan).
  BuildAllThreeDigitNumbers(s.plan);
  // 15. The first bet-parameter page hidden.
  f.setVisible(fmain::Frame_canshu[0], false);
  // 16. Option_touzhu_sz_0 selected (money).
  f.setChecked(fmain::Option_touzhu_sz[0], true);
  f.setChecked(fmain::Option_touzhu_sz[1], false);
  f.setChecked(fmain::Option_touzhu_sz[2], false);
  // 17. C_huaxian_ks: the empty trend grid (curves).
  PrepareDrawingGrid(s.cx);
  // 18. The six PlanStats records, record 1 preset (money).
  PresetPlanStats(s.stats);
  // 19. The platform position table (output).
  s.output.platformTable = {};
  // 20. ReadFundSettings (money).
  ReadFundSettings(s.cx, s.money);
  // 21. The caption of C_qunfa_find (output).
  f.setText(fmain::C_qunfa_find, output_text::kFindCaption);
  // 22. MultiPeriodCounter = 1 (plan).
  s.plan.multiPeriodCounter = 1;
  // 23. The curve count labels.
  CopyCurveCounts(s.cx);
  // 24. FundCurve created empty (plan).
  s.plan.fundCurve = {};
  // 25. PaintPoolBoard (plan).
  PaintPoolBoard(s.cx);
  // 26. The signature frame hidden.
  f.setVisible(fmain::Fr_qianming, false);

  // The main window's timers that run from start-up: the update countdown (the first request
  // 25 s later) and the one-shot folder check.
  f.setTimer(fmain::Timer_gx, true, 1000);
  f.setTimer(fmain::Timer_lj, true, 1000);
  // The risk of ruin beside the capital frame, kept up to date once a second.
  StartRiskOfRuin(s.cx, s.money, s.stats.plan());
  // A lumora.ini that is there but could not be taken: said once, the defaults are in use.
  if (!s.cx.service.fault.empty()) s.cx.inform(s.cx.service.fault, draw_text::kTip);
  return true;
}

bool AfterDrawSequence(Session& s, DrawSource source) {
  const bool judging = s.cx.draws.updateCount > 0;
  // 1. Both banker rankings rebuilt from the new history: C_paixu_shuaxin, C_paixu_shuaxin_02 (tools).
  RefreshRanking(s.cx, 1);
  RefreshRanking(s.cx, 2);
  // 2. The ranking-1 half, then the ranking-2 half of FeedFilterFromRanking (tools), when
  //    "开奖后自动更新并出计划" is ticked.
  FeedFilterFromRanking(s.cx);
  // 3. Only from the second applied history on:
  if (judging) {
    // 3a. RecordMonitorRow, then DrawMonitorBoard (plan).
    // 3b. With Check_jihua_sx: JudgePlan, RecordIndex + 1, C_jihua_ks (StartPlan),
    //       PaintFundChart (plan).
    RecordMonitorRow(s.cx, s.plan);
    DrawMonitorBoard(s.cx, s.plan);
    if (s.cx.form.checked(fmain::Check_jihua_sx)) {
      PlanEnv env = PlanEnvOf(s);
      JudgePlan(env);
      AdvanceRecordIndex(s.plan);
      StartPlan(env);
      // The fund chart closes the auto-plan branch, after the new plan has been started.
      PaintFundChart(s.cx, s.plan);
    }
    // Money follows draws, not wind-backs: a deletion neither settles nor restarts the countdown.
    if (source != DrawSource::Deletion) {
      // 3c. SettleBet (money).
      SettleBet(s.cx, s.money);
      // 3d. BetCountdown: Timer_tz_djs off, 1000 ms, on (output).
      RestartBetCountdown(s.cx);
    }
  }
  // 4. UpdateCount + 1.
  s.cx.draws.updateCount += 1;
  // 5. PaintPoolBoard (plan).
  PaintPoolBoard(s.cx);
  return judging;
}

}  // namespace lumora
