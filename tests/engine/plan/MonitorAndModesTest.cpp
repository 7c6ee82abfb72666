#include <gtest/gtest.h>

#include <random>
#include <variant>

#include "core/controls/Fmain.h"
#include "engine/plan/PlanFixture.h"
#include "plan/Intersection.h"
#include "plan/MonitorPools.h"
#include "plan/PlanModes.h"
#include "plan/PlanRecord.h"

namespace lumora::testing {
namespace {

class MonitorTest : public PlanFixture {};

TEST_F(MonitorTest, BoardShiftsUpOnThe21stRow) {
  s.plan.monitorPools[0] = NumberSet::FromText("005 006");
  s.plan.monitorPools[14] = NumberSet::FromText("006");
  SetNewest("000", "00000");  // the draw the pools are made after
  for (int p = 1; p <= 20; ++p) {
    SetNewest(Pad(p, 3), p == 1 ? "00005" : "00006");
    RecordMonitorRow(s.cx, s.plan);
  }
  EXPECT_EQ(s.plan.board[1][15], 1);
  EXPECT_EQ(s.plan.board[1][0], 1);
  EXPECT_EQ(s.plan.board[1][14], 0);
  EXPECT_EQ(s.plan.board[2][14], 1);
  SetNewest("021", "00999");
  RecordMonitorRow(s.cx, s.plan);
  EXPECT_EQ(s.plan.board[1][15], 2);  // the oldest row is gone, the others moved up unchanged
  EXPECT_EQ(s.plan.board[1][14], 1);
  EXPECT_EQ(s.plan.board[19][15], 20);
  EXPECT_EQ(s.plan.board[20][15], 21);
  for (int i = 0; i < 15; ++i) EXPECT_EQ(s.plan.board[20][static_cast<size_t>(i)], 0);
  EXPECT_EQ(s.plan.board[21][16], 0);

  Scene sc = MonitorBoardScene(s.plan);
  int stars = 0, hits = 0;
  for (const auto& item : sc.items)
    if (auto* t = std::get_if<SceneText>(&item)) {
      if (t->text == "*" && t->y == (21 - 20) - 0.2) ++stars;
      if (t->text == "中") {
        ++hits;
        EXPECT_EQ(t->color, kRed);
      }
    }
  EXPECT_EQ(stars, 15);
  EXPECT_EQ(hits, 19 * 2);
  ClearMonitorBoard(s.cx, s.plan);
  EXPECT_EQ(s.plan.board[20][16], 0);
}

TEST_F(MonitorTest, KeepingThePoolsRefusesToRecompute) {
  form().setChecked(fmain::Op_jiankong_zihui, false);
  form().setChecked(fmain::Op_jiankong_shougong, true);
  s.plan.monitorPools[3] = NumberSet::FromText("123");
  PlanEnv e = env();
  EXPECT_FALSE(ComputeMonitorPools(e));
  EXPECT_EQ(prompter.lastText(), "请先选择“每期算号”");
  EXPECT_EQ(s.plan.monitorPools[3].text(), "123");
}

TEST_F(MonitorTest, IntersectionCountsOnlyTickedPools) {
  s.plan.monitorPools[0] = NumberSet::FromText("001 002 003");
  s.plan.monitorPools[1] = NumberSet::FromText("002 003");
  s.plan.monitorPools[2] = NumberSet::FromText("003");
  form().setChecked(fmain::Ch_jiankong_jj[2], false);
  form().setText(fmain::T_jiankong_rc, "02");
  ComputeIntersectionPool(s.cx, s.plan);
  EXPECT_EQ(form().text(fmain::T_jihua_jj_dadi), "002 003");
  EXPECT_EQ(form().text(fmain::T_rj_jh_dd), "002 003");
  EXPECT_EQ(s.plan.lastIntersection, "002 003");
  // "00" takes every number no ticked pool covers.
  form().setText(fmain::T_jiankong_rc, "00");
  ComputeIntersectionPool(s.cx, s.plan);
  EXPECT_EQ(form().text(fmain::T_jihua_jj_dadi_zhushu), "997");
  SelectAllMonitors(s.cx, 1);
  EXPECT_EQ(form().text(fmain::T_jiankong_15di_geshu), "0");
  SelectAllMonitors(s.cx, 0);
  EXPECT_EQ(form().text(fmain::T_jiankong_15di_geshu), "15");
}

class ModesTest : public PlanFixture {
 protected:
  void Repeats(std::vector<std::string> results) {
    s.plan.repeatResults.assign(1, NumberSet());
    for (auto& r : results) s.plan.repeatResults.push_back(NumberSet::FromText(r));
  }
};

// A count list accepts by substring, the counts written with as many digits as the repeats need.
TEST_F(ModesTest, CountListsAcceptBySubstringInTheRepeatsWidth) {
  // Numbers 0..10 appear in 0..10 of ten repeats: number k in repeats 1..k.
  std::vector<std::string> results(10);
  for (int k = 1; k <= 10; ++k) results[static_cast<size_t>(k - 1)] = Numbers(k, 11 - k);
  Repeats(results);
  EXPECT_EQ(CombineRepeats(s.plan, 10, "08.09.10").text(), "008 009 010");
  EXPECT_EQ(CombineRepeats(s.plan, 10, "01").count(), 1);  // number 1 alone, seen once
  results.assign(100, "005");
  for (int k = 0; k < 5; ++k) results[static_cast<size_t>(k)] += " 007";
  Repeats(results);
  EXPECT_EQ(CombineRepeats(s.plan, 100, "100").text(), "005");
  EXPECT_EQ(CombineRepeats(s.plan, 100, "005").text(), "007");
  EXPECT_EQ(CombineRepeats(s.plan, 100, "05").text(), "");  // two-digit lists no longer match
}

TEST_F(ModesTest, RecomputeToleranceSetRecombinesStoredRepeats) {
  form().setText(fmain::T_jh_dadi_chongfu_cs, "2");
  Repeats({"001 002", "002 003"});
  form().setText(fmain::T_jh_dadi_chongfu_rc, "02");
  PlanEnv e = env();
  RecomputeToleranceSet(e);
  EXPECT_EQ(form().text(fmain::T_jihua_jj_dadi), "002");
  EXPECT_EQ(form().text(fmain::T_jihua_jj_dadi_zhushu), "1");
  EXPECT_EQ(form().text(fmain::T_rj_jh_dd), "002");
  EXPECT_NE(prompter.lastText().find("本次更新容对完成。"), std::string::npos);
  form().setText(fmain::T_jh_dadi_chongfu_rc, "01.02");
  RecomputeToleranceSet(e);
  EXPECT_EQ(form().text(fmain::T_jihua_jj_dadi), "001 002 003");
  // The count box changed since the last run: refused, nothing changes.
  form().setText(fmain::T_jh_dadi_chongfu_cs, "3");
  RecomputeToleranceSet(e);
  EXPECT_EQ(prompter.lastText(), "出错啦。");
  EXPECT_EQ(form().text(fmain::T_jihua_jj_dadi_zhushu), "3");
}

TEST_F(ModesTest, ModeTwoParsesRulesAndSeparators) {
  s.plan.monitorPools[0] = NumberSet::FromText("001 002");
  s.plan.monitorPools[1] = NumberSet::FromText("002 003");
  s.plan.monitorPools[2] = NumberSet::FromText("003 004");
  // Separators 。 * blank , + - / all split pool numbers; items 0 and 16 are ignored.
  EXPECT_EQ(ModeTwoPool(s.plan, "1。2*0,16=2", "01").text(), "002");
  EXPECT_EQ(ModeTwoPool(s.plan, "1+2/3=1", "01").text(), "001 004");
  // A repeated pool counts twice; a line without "=" is no rule.
  EXPECT_EQ(ModeTwoPool(s.plan, "1-1=2\r\nnot a rule", "01").text(), "001 002");
  // Two rules: numbers meeting both.
  EXPECT_EQ(ModeTwoPool(s.plan, "1=1\r\n2=1", "02").text(), "002");
  // No rules: every number meets 0 rules, accepted only by "00".
  EXPECT_EQ(ModeTwoPool(s.plan, "", "01.02").count(), 0);
  EXPECT_EQ(ModeTwoPool(s.plan, "", "00").count(), 1000);
  // The right side "0" accepts numbers in none of the named pools.
  EXPECT_EQ(ModeTwoPool(s.plan, "1.2.3=0", "01").count(), 996);
}

TEST_F(ModesTest, ModeOneRefusesAnEmptyOrHugeCount) {
  PlanEnv e = env();
  form().setText(fmain::T_jh_dadi_chongfu_cs, "");
  EXPECT_FALSE(RunModeOne(e));
  EXPECT_EQ(prompter.lastText(), "输入数据有误，请检查格式。");
  form().setText(fmain::T_jh_dadi_chongfu_cs, "99999999999");
  EXPECT_FALSE(RunModeOne(e));
  EXPECT_EQ(prompter.notices.size(), 2u);
}

TEST_F(ModesTest, SwitchKeepsExactlyOneModeOnWithItsColours) {
  form().setChecked(fmain::Check_jh_dadi_chongfu, false);
  OnModeOneToggled(s.cx);
  EXPECT_TRUE(form().checked(fmain::Check_jh_dadi_fenzu));
  EXPECT_EQ(form().backColor(fmain::Fr_ms2), Rgb(0, 255, 0));
  EXPECT_EQ(form().backColor(fmain::Fr_ms1), Rgb(224, 224, 224));
  form().setChecked(fmain::Check_jh_dadi_fenzu, false);
  OnModeTwoToggled(s.cx);
  EXPECT_TRUE(form().checked(fmain::Check_jh_dadi_chongfu));
  EXPECT_EQ(form().backColor(fmain::Check_jh_dadi_chongfu), Rgb(0, 255, 0));
  form().setText(fmain::T_jh_dadi_chongfu_cs, "1a8");
  OnRepeatCountEdited(s.cx);
  EXPECT_EQ(form().text(fmain::T_jh_dadi_chongfu_cs), "18");
}

}  // namespace
}  // namespace lumora::testing

namespace lumora::testing {
namespace {

// Mode one decides each slot's fit once and picks r times; the r rounds of fitting every slot and
// intersecting the pools must give the same pools, repeats, plan and leftovers for one seed.
class ModeOneRepeatsTest : public PlanFixture {
 protected:
  void Prepare(Session& t) {
    std::mt19937 draws(9);
    for (int i = 1; i <= kHistoryRows; ++i)
      t.cx.draws.history[static_cast<size_t>(i)] = DrawRecord{Pad(i, 3), Pad(static_cast<int>(draws() % 100000), 5)};
    t.cx.draws.rebuildSubSeries();
    for (int q = 0; q < kCurveSlots; ++q) {
      std::string text;
      for (int k = 1; k <= kTrendLength; ++k)
        text += (k > 1 ? "*" : "") + std::to_string((q % 5 - 2) * 6 * k + (k % 7) * 30);
      t.curves.slots[static_cast<size_t>(q)] = text;
    }
    Form& f = t.cx.form;
    f.setChecked(fmain::Op_jiankong_zihui, true);
    f.setChecked(fmain::Check_xl_md[3], true);  // end control on slot 3, before the fit
    f.setChecked(fmain::Op_mos[0], true);
    f.setText(fmain::T_xl_muduan[3], "1x0");
    f.setText(fmain::T_quxian_zhushu[5], "0");    // an empty pool
    f.setText(fmain::T_quxian_zhushu[6], "990");  // more than there is to pick from
    f.setChecked(fmain::Ch_jiankong_jj[2], false);
    f.setText(fmain::T_jh_dadi_chongfu_cs, "6");
    t.cx.rng.seed(5);
  }
};

TEST_F(ModeOneRepeatsTest, DecidingOnceGivesWhatEveryRoundOfFitsGives) {
  Prepare(s);
  PlanEnv fast = env();
  ASSERT_TRUE(RunModeOne(fast));

  Session ref;
  RecordingPrompter p2;
  ref.cx.ports = Ports{&clipboard, &sound, &p2, nullptr, &clock};
  ApplyPlanDesignValues(ref.cx.form);
  for (int i = 0; i < 15; ++i) ref.cx.form.setChecked(fmain::Ch_jiankong_jj[i], true);
  Prepare(ref);
  PlanEnv slow = PlanEnvOf(ref);
  const int r = 6;
  ref.plan.repeatResults.assign(r + 1, NumberSet());
  for (int k = 1; k <= r; ++k) {
    ASSERT_TRUE(ComputeMonitorPools(slow));
    ref.plan.repeatResults[static_cast<size_t>(k)] = IntersectMonitorPools(ref.cx, ref.plan);
  }
  NumberSet plan = CombineRepeats(ref.plan, r, ref.cx.form.text(fmain::T_jh_dadi_chongfu_rc));

  EXPECT_EQ(form().text(fmain::T_jihua_jj_dadi), plan.text());
  EXPECT_EQ(s.plan.repeatResults, ref.plan.repeatResults);
  EXPECT_EQ(s.plan.monitorPools, ref.plan.monitorPools);
  EXPECT_TRUE(s.plan.monitorPools[5].empty());
  EXPECT_EQ(s.plan.monitorPools[6].count(), 990);
  EXPECT_EQ(form().text(fmain::Tdadi), ref.cx.form.text(fmain::Tdadi));
  EXPECT_EQ(s.curves.profit, ref.curves.profit);
  EXPECT_EQ(s.curves.trend, ref.curves.trend);
  EXPECT_EQ(s.cx.rng(), ref.cx.rng());  // the same number of draws from the generator
}

}  // namespace
}  // namespace lumora::testing
