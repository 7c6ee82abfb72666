#include <gtest/gtest.h>

#include <optional>

#include "core/Text.h"
#include "core/controls/Fmain.h"
#include "engine/plan/PlanFixture.h"
#include "plan/PlanCopies.h"
#include "plan/PlanJudgement.h"
#include "plan/PlanRecord.h"
#include "plan/PlanStart.h"
#include "plan/PlanState.h"

namespace lumora::testing {
namespace {

class PlanRecordTest : public PlanFixture {
 protected:
  // One period of the road: the draw arrives, the plan is judged, the next plan starts.
  void Period(const std::string& period, const std::string& digits) {
    SetNewest(period, digits);
    PlanEnv e = env();
    JudgePlan(e);
    AdvanceRecordIndex(s.plan);
    StartPlan(e);
  }
  const std::string& Line(int i) { return s.plan.recordLines[static_cast<size_t>(i)]; }
  // The first plan after draw `after` (001 unless told), on a fixed pool (ten numbers unless told),
  // with `tick` checked.
  void Start(std::optional<CheckBox> tick = std::nullopt, const std::string& pool = Numbers(0, 10),
             const std::string& after = "001") {
    SetNewest(after, "00000");
    UseFixedPool(pool);
    if (tick) form().setChecked(*tick, true);
    PlanEnv e = env();
    StartPlan(e);
  }
};

TEST_F(PlanRecordTest, PendingLineNamesTheNextPeriodWithoutWrapAndFillsTheBetBoxes) {
  Start(std::nullopt, Numbers(0, 120), "120");
  EXPECT_EQ(Line(0), "Lumora计划后三120注121期开*****<1>期/当前<1>-等中奖");
  EXPECT_EQ(form().text(fmain::T_touzhu_dd[0]), Numbers(0, 120));
  EXPECT_EQ(form().text(fmain::T_touzhu_dd[1]), "120");
  EXPECT_EQ(form().text(fmain::T_zhushu_ag), "120");
  EXPECT_EQ(form().text(fmain::T_jh_dadi_jilu), "---------------------\r\n" + Line(0) + "\r\n");
  EXPECT_TRUE(form().enabled(fmain::C_jihua_ks));
  EXPECT_EQ(s.plan.justJudged, 0);
}

TEST_F(PlanRecordTest, HitIsJudgedIntoTheSlotOfItsPendingLine) {
  Start(std::nullopt, Numbers(800, 120), "023");
  s.money.multiplePosition = 4;
  Period("024", "35816");
  EXPECT_EQ(Line(0), "Lumora计划后三120注024期开35816<1>期/当前<1>中中中");
  EXPECT_EQ(Line(1), "Lumora计划后三120注025期开*****<1>期/当前<1>-等中奖");
  EXPECT_EQ(s.plan.recordIndex, 1);
  EXPECT_EQ(s.plan.hitMissTrail, "中");
  EXPECT_EQ(s.plan.lastJudgeResult, 1);
  EXPECT_EQ(s.money.multiplePosition, 0);
  EXPECT_EQ(s.stats.plan().hits, 1);
  EXPECT_EQ(s.stats.plan().periods, 1);
  // Mode one's count line: r = 18 with no stored repeat result holding the number.
  EXPECT_EQ(form().text(fmain::T_jh_dadi_jilu_rc), "18-0\r\n");
  EXPECT_EQ(s.plan.fundCurve[1][1], 1940 - 240);
  EXPECT_EQ(s.plan.fundCurve[1][2], 1);
}

TEST_F(PlanRecordTest, EmptyPoolIsAlwaysAMissOfSize000) {
  Start(fmain::Check_hang_lr, "", "010");
  EXPECT_EQ(form().text(fmain::T_jihua_jj_dadi_zhushu), "0");
  Period("011", "00000");
  EXPECT_EQ(Line(0), "Lumora计划后三000注011期开00000<1>期/当前<1>------ 利润0");
  EXPECT_EQ(s.plan.lastJudgeResult, 2);
  EXPECT_EQ(s.stats.plan().lastResult, 0);
}

TEST_F(PlanRecordTest, AMissAfterAHitIsBookedAsAMiss) {
  Start(std::nullopt, Numbers(0, 100));
  Period("002", "00050");  // hit: +1940 - 200
  Period("003", "00500");  // miss: -200
  EXPECT_EQ(s.stats.plan().profit, 1740 - 200);
  EXPECT_EQ(s.stats.plan().hits, 1);
  EXPECT_EQ(s.plan.hitMissTrail, "中挂");
}

TEST_F(PlanRecordTest, MultiPeriodMissesCollapseIntoOneSlotAndTheCounterWraps) {
  Start(fmain::Check_duoqi);
  EXPECT_EQ(Line(0), "Lumora计划后三010注002期开*****<3>期/当前<1>等中奖");
  Period("002", "00500");
  EXPECT_EQ(s.plan.multiPeriodCounter, 2);
  EXPECT_EQ(s.plan.recordIndex, 0);
  EXPECT_EQ(Line(0), "Lumora计划后三010注003期开*****<3>期/当前<2>等中奖");
  Period("003", "00600");
  EXPECT_EQ(s.plan.multiPeriodCounter, 3);
  EXPECT_EQ(s.plan.recordIndex, 0);
  Period("004", "00700");
  EXPECT_EQ(s.plan.multiPeriodCounter, 1);
  EXPECT_EQ(Line(0), "Lumora计划后三010注004期开00700<3>期/当前<3>------");
  EXPECT_EQ(s.plan.recordIndex, 1);
  EXPECT_EQ(Line(1), "Lumora计划后三010注005期开*****<3>期/当前<1>等中奖");
  // A hit resets the counter; the next pending line takes a new slot.
  Period("005", "00500");
  Period("006", "00005");
  EXPECT_EQ(s.plan.multiPeriodCounter, 1);
  EXPECT_EQ(Line(1), "Lumora计划后三010注006期开00005<3>期/当前<2>中中中");
  EXPECT_EQ(s.plan.recordIndex, 2);
  EXPECT_EQ(Line(2), "Lumora计划后三010注007期开*****<3>期/当前<1>等中奖");
}

TEST_F(PlanRecordTest, AlarmOpensOnAMatchingTrailOnly) {
  Start(fmain::Check_baojing);
  const char* draws[] = {"00001", "00002", "00900", "00901", "00902"};
  for (int i = 0; i < 5; ++i) Period(Pad(i + 2, 3), draws[i]);
  EXPECT_EQ(s.plan.hitMissTrail, "中中挂挂挂");
  EXPECT_EQ(s.alarm.raised, 1);
  form().setText(fmain::T_bj, "中中挂挂挂挂");
  Period("007", "00903");
  EXPECT_EQ(s.alarm.raised, 1);
}

TEST_F(PlanRecordTest, TrailKeepsItsNewestTenMarks) {
  Start();
  for (int i = 0; i < 12; ++i) Period(Pad(i + 2, 3), i == 0 ? "00001" : "00900");
  EXPECT_EQ(s.plan.hitMissTrail, "挂挂挂挂挂挂挂挂挂挂");
}

TEST_F(PlanRecordTest, ProfitTextPadsTheShorterMissPhrase) {
  form().setText(fmain::T_zdy_yongyu[1], "挂");
  Start(fmain::Check_hang_lr);
  Period("002", "00900");
  EXPECT_EQ(Line(0), "Lumora计划后三010注002期开00900<1>期/当前<1>挂     利润-20");
}

TEST_F(PlanRecordTest, StatisticsSummaryFollowsTheRecordWhenAsked) {
  Start(fmain::Check_pszj_sx);
  Period("002", "00900");
  EXPECT_EQ(form().text(fmain::T_jh_dadi_jilu), "---------------------\r\n" + Line(0) + "\r\n" + Line(1) +
                                                    "\r\n---------------------\r\n" + s.stats.plan().summary);
  EXPECT_NE(s.stats.plan().summary.find("平刷 利润：-20"), std::string::npos);
}

TEST_F(PlanRecordTest, KeepCountOutOfRangeStillStoresTheLineAndFillsTheBetBoxes) {
  form().setText(fmain::T_jh_qi_baoliu, "201");
  Start();
  EXPECT_EQ(prompter.lastText(), "保留开奖记录参数设置有误，范围在1~200之间有效");
  EXPECT_FALSE(Line(0).empty());
  EXPECT_EQ(form().text(fmain::T_jh_dadi_jilu), "");
  EXPECT_EQ(form().text(fmain::T_touzhu_dd[1]), "10");
  EXPECT_EQ(s.plan.justJudged, 0);
}

TEST_F(PlanRecordTest, WithoutAutoPlanTheRecordAndBetBoxesStayAsTheyWere) {
  form().setChecked(fmain::Check_jihua_sx, false);
  Start();
  EXPECT_EQ(form().text(fmain::T_jihua_jj_dadi_zhushu), "10");
  EXPECT_EQ(form().text(fmain::T_jh_dadi_jilu), "");
  EXPECT_EQ(form().text(fmain::T_touzhu_dd[0]), "");
}

TEST_F(PlanRecordTest, NoDrawsRefusesToStart) {
  form().setText(fmain::Tkjh, "  ");
  PlanEnv e = env();
  StartPlan(e);
  EXPECT_EQ(prompter.lastText(), "没有开奖数据");
  EXPECT_EQ(form().text(fmain::T_jihua_jj_dadi), "");
}

TEST_F(PlanRecordTest, RecordPastItsLastSlotDropsTheOldestLine) {
  Start();
  for (int i = 0; i < 405; ++i) Period(Pad((i + 1) % 120 + 1, 3), "00900");  // 002 .. 120, 001, 002 ..
  EXPECT_EQ(s.plan.recordIndex, 400);
  EXPECT_NE(Line(400).find("等中奖"), std::string::npos);
  EXPECT_NE(Line(399).find("期开00900"), std::string::npos);
  // The fund curve keeps its first 120 periods.
  EXPECT_EQ(s.plan.fundCurve[120][2], 1);
  EXPECT_EQ(s.plan.fundCurve[121][2], 0);
  EXPECT_EQ(s.plan.fundCurve[120][1], -20 * 120);
  // The counts record keeps as many lines as the plan record, the newest ones.
  const std::vector<std::string> counts = SplitCrLf(form().text(fmain::T_jh_dadi_jilu_rc));
  EXPECT_EQ(counts.size(), 401u);  // 400 lines and the empty text after the last CR LF
  EXPECT_EQ(counts.front(), "18-0");
  EXPECT_EQ(counts.back(), "");
}

TEST_F(PlanRecordTest, ComplementAndPlanCopies) {
  Start(std::nullopt, Numbers(0, 998));
  PlanEnv e = env();
  CopyComplement(e);
  EXPECT_EQ(prompter.notices.front().text, "提示，你现在复制的是反集号码");
  EXPECT_EQ(clipboard.content, "998 999 ");
  form().setChecked(fmain::Check_jihua_jilu_haoma, true);
  CopyPlan(e);
  EXPECT_EQ(clipboard.content, Numbers(0, 998) + "\r\n" + form().text(fmain::T_jh_dadi_jilu) + "\r\n签名档位置");
}

}  // namespace
}  // namespace lumora::testing
