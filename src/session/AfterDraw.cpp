#include "session/AfterDraw.h"

namespace lumora {

bool StartupDefaults(Session& s) {
  (void)s;
  // 1. curve store (curves)          2. monitor grid (plan)         3. MonitorBoard (plan)
  // 4. T_quxian_zhushu font 7        5. SubNumberStart = 3          6. stores created empty
  // 7. LoadUserPhrases               8. Ch_jiankong_jj_0..14 ticked 9. Check_jh_dadi_chongfu, Check_jihua_sx
  // 10. ShowProgressPanel(0)         11. RepeatResults (plan)       12. Fk shown (shell)
  // 13. Timer_qf_dd off (output)     14. AllThreeDigitNumbers (plan) 15. Frame_canshu_0 hidden
  // 16. Option_touzhu_sz_0 (money)   17. C_huaxian_ks (curves)       18. PlanStats preset (money)
  // 19. platform table (output)      20. ReadFundSettings (money)    21. C_qunfa_find caption (output)
  // 22. MultiPeriodCounter = 1       23. CopyCurveCounts             24. FundCurve (plan)
  // 25. PaintPoolBoard (plan)        26. Fr_qianming hidden
  return true;
}

void AfterDrawSequence(Session& s) {
  (void)s;
  // 1. both rankings refreshed (tools)          2. FeedFilterFromRanking halves (tools)
  // 3. when UpdateCount > 0:
  //    RecordMonitorRow, DrawMonitorBoard (plan);
  //    with Check_jihua_sx: JudgePlan, RecordIndex + 1, StartPlan, PaintFundChart (plan)
  //    SettleBet (money); BetCountdown restart (output)
  // 4. UpdateCount + 1                          5. PaintPoolBoard (plan)
}

}  // namespace lumora
