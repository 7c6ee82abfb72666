#include <gtest/gtest.h>

#include <limits>

#include "core/RecordingPorts.h"
#include "core/controls/Fmain.h"
#include "money/PlanStats.h"

namespace lumora {
namespace {

// Books one judged period of pool size z.
void Book(PlanStats& st, bool hit, int z) {
  st.active = 1;
  st.periods += 1;
  st.poolSize = z;
  if (hit) st.hits += 1;
  st.lastResult = hit ? 1 : 0;
  UpdateStats(st);
}

// A record of `mode` at its first step, as the settings leave it (push-wave over three hits).
PlanStats Scheme(int mode, std::vector<int32_t> multiples = {}, int odds = 1940) {
  PlanStats st;
  st.betMode = mode;
  st.odds = odds;
  st.step = 1;
  st.pushMultiple = 1;
  st.pushPeriods = 3;
  st.multipleCount = static_cast<int32_t>(multiples.size());
  st.multiples = std::move(multiples);
  return st;
}

TEST(PlanStatsTest, FiguresPastThirtyTwoBitsAreBookedAndPastSixtyFourAreRefused) {
  // Multiples 1-100000: the second miss stakes 2 x 765 x 100000; turnover passes 2^31 at once.
  PlanStats st = Scheme(kStatsMultiplier, {1, 100000});
  for (int i = 0; i < 30; ++i) Book(st, false, 765);
  EXPECT_EQ(st.turnover, 15LL * (2 * 765) + 15LL * (2 * 765 * 100000LL));
  EXPECT_EQ(st.profit, -st.turnover);
  EXPECT_FALSE(st.overflow);
  EXPECT_NE(st.summary.find(std::to_string(st.turnover)), std::string::npos);
  // Near the 64-bit limit a booking is refused, never saturated: the figures stay as they were.
  for (int mode : {kStatsFlat, kStatsMultiplier, kStatsPushWave}) {
    PlanStats big = st;
    big.betMode = mode;
    big.turnover = std::numeric_limits<int64_t>::max() - 10;
    const int64_t profit = big.profit;
    Book(big, false, 765);
    EXPECT_TRUE(big.overflow) << mode;
    EXPECT_EQ(big.turnover, std::numeric_limits<int64_t>::max() - 10) << mode;
    EXPECT_EQ(big.profit, profit) << mode;
    Book(big, true, 1);
    EXPECT_EQ(big.turnover, std::numeric_limits<int64_t>::max() - 10) << mode;
  }
}

TEST(PlanStatsTest, FlatBooksStakeAndWin) {
  StatsState stats;
  PresetPlanStats(stats);
  PlanStats& st = stats.plan();
  Book(st, false, 500);
  EXPECT_EQ(st.profit, -1000);
  EXPECT_EQ(st.turnover, 1000);
  Book(st, true, 500);
  EXPECT_EQ(st.profit, -1000 + 940);
  EXPECT_EQ(st.active, 0);
  // pad: ten blanks plus the turnover's extra digits ("2000" against "-60": one more).
  EXPECT_EQ(st.summary, "平刷 利润：-60" + std::string(11, ' ') + "统计/命中：2/1\r\n投注 总量：2000" +
                            std::string(10, ' ') + "方案一<平刷>\r\n");
  // Without a pending period the update only rebuilds the text.
  UpdateFlatStats(st);
  EXPECT_EQ(st.profit, -60);
}

TEST(PlanStatsTest, MultiplierStepsOnMissesAndWraps) {
  PlanStats st = Scheme(kStatsMultiplier, {1, 2, 4});
  Book(st, false, 100);
  EXPECT_EQ(st.profit, -200);
  EXPECT_EQ(st.step, 2);
  Book(st, false, 100);
  EXPECT_EQ(st.profit, -600);
  EXPECT_EQ(st.step, 3);
  Book(st, true, 100);
  EXPECT_EQ(st.profit, -600 + 4 * 1940 - 800);
  EXPECT_EQ(st.step, 1);
  EXPECT_EQ(st.turnover, 1400);
  EXPECT_NE(st.summary.find("计划/当前/倍数：3/1/1\r\n"), std::string::npos);
  EXPECT_NE(st.summary.find("方案二<倍投>(1-2-4)\r\n"), std::string::npos);
  for (int i = 0; i < 3; ++i) Book(st, false, 100);
  EXPECT_EQ(st.step, 1);  // the fourth step wraps at once
}

TEST(PlanStatsTest, PushWaveStakesTheWinAndStartsOver) {
  PlanStats st = Scheme(kStatsPushWave);
  Book(st, true, 100);
  EXPECT_EQ(st.lastWin, 1940);
  EXPECT_FLOAT_EQ(st.pushMultiple, 9.7f);
  EXPECT_EQ(st.step, 2);
  EXPECT_EQ(st.profit, 1740);
  EXPECT_NE(st.summary.find("推波/当前/倍数：3/2/9.7\r\n"), std::string::npos);
  EXPECT_EQ(st.summary.substr(st.summary.size() - std::string("方案三<推波>").size()), "方案三<推波>");
  Book(st, true, 100);
  Book(st, true, 100);
  EXPECT_EQ(st.step, 1);
  EXPECT_FLOAT_EQ(st.pushMultiple, 1);
  EXPECT_EQ(st.lastWin, 0);
  Book(st, true, 100);
  Book(st, false, 100);
  EXPECT_FLOAT_EQ(st.pushMultiple, 1);
  EXPECT_EQ(st.step, 1);
}

TEST(PlanStatsTest, PushWaveMultipleRoundsTheExactQuotientHalvesToEven) {
  PlanStats st = Scheme(kStatsPushWave, {}, 1947);
  Book(st, true, 120);  // 1947 / 240 = 8.1125
  EXPECT_EQ(st.lastWin, 1947);
  EXPECT_FLOAT_EQ(st.pushMultiple, 8.112f);
  EXPECT_NE(st.summary.find("/8.112\r\n"), std::string::npos) << st.summary;
}

TEST(PlanStatsTest, PushWaveWithAnEmptyPoolBooksNothing) {
  PlanStats st = Scheme(kStatsPushWave);
  st.step = 2;
  st.pushMultiple = 9.7f;
  st.profit = 1740;
  st.turnover = 200;
  Book(st, true, 0);
  EXPECT_EQ(st.profit, 1740);
  EXPECT_EQ(st.turnover, 200);
  EXPECT_FLOAT_EQ(st.pushMultiple, 1);
  EXPECT_EQ(st.step, 1);
  EXPECT_EQ(st.active, 0);
}

class ApplyStatsTest : public ::testing::Test {
 protected:
  Context cx;
  RecordingPrompter prompter;
  StatsState stats;
  void SetUp() override {
    cx.ports.prompter = &prompter;
    const char* texts[] = {"1940", "1", "1-2-4-8", "3", "0.01"};
    for (int i = 0; i < 5; ++i) cx.form.setText(fmain::T_szzx_canshu[i], texts[i]);
    cx.form.setChecked(fmain::Option_touzhu_sz[0], true);
    PresetPlanStats(stats);
    stats.plan().periods = 7;
  }
  void Select(int k) { cx.form.setOption(fmain::Option_touzhu_sz, k); }
  // Applies and expects a refusal with `message` that leaves the records alone.
  void ExpectRefused(const std::string& message) {
    EXPECT_FALSE(ApplyStatsSettings(cx, stats));
    EXPECT_EQ(prompter.lastText(), message);
    EXPECT_EQ(prompter.notices.back().title, "错误提示");
    EXPECT_EQ(stats.plan().periods, 7);
  }
};

TEST_F(ApplyStatsTest, BoundsOfOddsAndRebate) {
  cx.form.setText(fmain::T_szzx_canshu[0], "1700");
  ExpectRefused("赔率设置要在1700~2000之间");
  cx.form.setText(fmain::T_szzx_canshu[0], "2000");
  cx.form.setText(fmain::T_szzx_canshu[4], "0.51");
  ExpectRefused("返点设置要在0.005~0.5之间");
  cx.form.setText(fmain::T_szzx_canshu[4], "0.004");
  ExpectRefused("返点设置要在0.005~0.5之间");
  cx.form.setText(fmain::T_szzx_canshu[4], "0.5");
  EXPECT_TRUE(ApplyStatsSettings(cx, stats));
  EXPECT_EQ(stats.plan().odds, 2000);
  EXPECT_EQ(stats.plan().periods, 0);
  EXPECT_EQ(stats.plan().step, 1);
}

TEST_F(ApplyStatsTest, MultiplierSequenceIsCleanedOrRefused) {
  Select(1);
  cx.form.setText(fmain::T_szzx_canshu[2], "8");
  ExpectRefused("倍投输入格式不正确！");
  for (const char* bad : {"1-2-", "-1-2", "1--2"}) {
    cx.form.setText(fmain::T_szzx_canshu[2], bad);
    ExpectRefused("倍投输入格式不正确！");
  }
  cx.form.setText(fmain::T_szzx_canshu[2], " 1-2x-4 ");
  EXPECT_TRUE(ApplyStatsSettings(cx, stats));
  EXPECT_EQ(cx.form.text(fmain::T_szzx_canshu[2]), "1-2-4");
  EXPECT_EQ(stats.plan().betMode, kStatsMultiplier);
  EXPECT_EQ(stats.plan().multipleCount, 3);
  EXPECT_EQ(stats.plan().multiples, (std::vector<int32_t>{1, 2, 4}));
}

TEST_F(ApplyStatsTest, PushWaveNeedsTwoPeriods) {
  Select(2);
  cx.form.setText(fmain::T_szzx_canshu[3], "1.4");
  ExpectRefused("滚雪球，最少2期！");
  cx.form.setText(fmain::T_szzx_canshu[3], "1.6");
  EXPECT_TRUE(ApplyStatsSettings(cx, stats));
  EXPECT_EQ(stats.plan().pushPeriods, 2);
  EXPECT_FLOAT_EQ(stats.plan().pushMultiple, 1);
}

}  // namespace
}  // namespace lumora
