#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>

#include "core/Context.h"
#include "core/controls/Fmain.h"
#include "money/PlanStats.h"
#include "money/RiskOfRuin.h"

namespace lumora {
namespace {

// A statistics record set up for `scheme`, as ApplyStatsSettings leaves it.
PlanStats Record(const RiskScheme& scheme, int pool) {
  PlanStats st;
  st.betMode = scheme.mode;
  st.odds = static_cast<int32_t>(scheme.odds);
  for (int64_t m : scheme.multiples) st.multiples.push_back(static_cast<int32_t>(m));
  st.multipleCount = static_cast<int32_t>(st.multiples.size());
  st.pushPeriods = scheme.pushPeriods;
  st.step = 1;
  st.pushMultiple = 1;
  st.poolSize = pool;
  return st;
}

struct Outcome {
  bool ruined = false, taken = false;
  int64_t staked = 0, profit = 0;
  int longestMiss = 0;
};

// One game driven by the statistics' own bookings: the capital is the starting capital plus the
// booked profit, betting stops at either limit, the miss run is counted over all the draws.
template <class NextHit>
Outcome Play(const RiskQuestion& q, NextHit&& nextHit) {
  PlanStats st = Record(q.scheme, q.poolSize);
  Outcome o;
  int run = 0;
  bool betting = true;
  for (int64_t d = 0; d < q.draws; ++d) {
    const bool hit = nextHit();
    run = hit ? 0 : run + 1;
    o.longestMiss = std::max(o.longestMiss, run);
    if (!betting) continue;
    st.lastResult = hit ? 1 : 0;
    st.active = 1;
    BookStats(st);
    const int64_t capital = q.capital + st.profit;
    if (capital <= q.stopLoss) o.ruined = true;
    if (capital >= q.takeProfit) o.taken = true;
    betting = !o.ruined && !o.taken;
  }
  o.staked = st.turnover;
  o.profit = st.profit;
  return o;
}

RiskQuestion Question(RiskScheme scheme, int pool, int64_t draws, int64_t capital, int64_t low, int64_t high) {
  RiskQuestion q;
  q.scheme = std::move(scheme);
  q.poolSize = pool;
  q.draws = draws;
  q.capital = capital;
  q.stopLoss = low;
  q.takeProfit = high;
  return q;
}

RiskScheme Flat() { return {kStatsFlat, {}, 0, 1940}; }
RiskScheme Multiplier(std::vector<int64_t> m) { return {kStatsMultiplier, std::move(m), 0, 1940}; }
RiskScheme PushWave(int periods) { return {kStatsPushWave, {}, periods, 1940}; }

// Every hit/miss sequence of a few draws, weighted by its probability: the exact figures by
// enumeration, against the chain and the run recurrence.
TEST(RiskOfRuin, TinyCasesAgreeWithEnumeration) {
  const RiskQuestion cases[] = {
      Question(Multiplier({1, 2, 3}), 300, 12, 3000, 0, 6000),
      Question(Flat(), 400, 11, 1200, 100, 4000),
      Question(PushWave(3), 250, 10, 900, 0, 20000),
  };
  for (const RiskQuestion& q : cases) {
    const double p = q.poolSize / 1000.0;
    double ruin = 0, taken = 0, longest = 0, staked = 0;
    for (uint32_t bits = 0; bits < (1u << q.draws); ++bits) {
      int hits = 0;
      int64_t d = 0;
      Outcome o = Play(q, [&] {
        const bool hit = (bits >> d++) & 1u;
        hits += hit;
        return hit;
      });
      const double weight = std::pow(p, hits) * std::pow(1 - p, static_cast<double>(q.draws - hits));
      ruin += o.ruined * weight;
      taken += o.taken * weight;
      longest += o.longestMiss * weight;
      staked += static_cast<double>(o.staked) * weight;
    }
    const RiskAnswer a = ComputeRisk(q);
    ASSERT_EQ(a.error, "");
    EXPECT_FALSE(a.ruinIsBound);
    EXPECT_NEAR(a.ruin, ruin, 1e-12) << q.scheme.mode;
    EXPECT_NEAR(a.profitTaken, taken, 1e-12) << q.scheme.mode;
    EXPECT_NEAR(a.longestMissRun, longest, 1e-12) << q.scheme.mode;
    EXPECT_NEAR(a.staked, staked, 1e-9 * staked) << q.scheme.mode;
    EXPECT_GT(ruin, 0.01);
  }
}

// Seeded games of realistic size: each figure within 4.5 standard errors of the simulated mean.
// For flat and multiplier play the expected loss is also the mean loss actually booked.
TEST(RiskOfRuin, FiguresAgreeWithSimulation) {
  struct Case {
    RiskQuestion q;
    bool lossIsMeanLoss;
  };
  const Case cases[] = {
      // The capital frame's limits in units (5 and 300 at unit stake 0.02), capital 60: flat, 10 numbers.
      {Question(Flat(), 10, 600, 6000, 500, 30000), true},
      // The frame's multiple sequence with a 50-number plan.
      {Question(Multiplier({1, 1, 1, 1, 2, 2, 3, 4, 5, 6}), 50, 400, 13000, 500, 30000), true},
      // The statistics' default sequence, 100 numbers, the frame's default capital and limits.
      {Question(Multiplier({1, 2, 4, 8}), 100, 1000, 13000, 500, 30000), true},
      // Push-wave over three hits with a 100-number plan (multiples 1, 9.7, 94.09).
      {Question(PushWave(3), 100, 300, 13000, 500, 60000), false},
  };
  std::mt19937_64 rng(20261209);
  constexpr int kGames = 20000;
  for (const Case& c : cases) {
    const RiskQuestion& q = c.q;
    std::bernoulli_distribution draw(q.poolSize / 1000.0);
    double ruined = 0, runs = 0, runs2 = 0, staked = 0, staked2 = 0, loss = 0, loss2 = 0;
    for (int i = 0; i < kGames; ++i) {
      Outcome o = Play(q, [&] { return draw(rng); });
      ruined += o.ruined;
      runs += o.longestMiss;
      runs2 += double(o.longestMiss) * o.longestMiss;
      staked += static_cast<double>(o.staked);
      staked2 += static_cast<double>(o.staked) * static_cast<double>(o.staked);
      loss -= static_cast<double>(o.profit);
      loss2 += static_cast<double>(o.profit) * static_cast<double>(o.profit);
    }
    auto mean = [&](double s) { return s / kGames; };
    auto error = [&](double s, double s2) { return std::sqrt((s2 / kGames - mean(s) * mean(s)) / kGames); };
    const RiskAnswer a = ComputeRisk(q);
    ASSERT_EQ(a.error, "");
    EXPECT_FALSE(a.ruinIsBound);
    const double pRuin = mean(ruined);
    EXPECT_NEAR(a.ruin, pRuin, 4.5 * std::sqrt(std::max(pRuin * (1 - pRuin), 1e-4) / kGames)) << q.scheme.mode;
    EXPECT_NEAR(a.longestMissRun, mean(runs), 4.5 * error(runs, runs2)) << q.scheme.mode;
    EXPECT_NEAR(a.staked, mean(staked), 4.5 * error(staked, staked2)) << q.scheme.mode;
    EXPECT_NEAR(a.expectedLoss, a.staked * 0.03, 1e-9 * a.staked);
    if (c.lossIsMeanLoss) {
      EXPECT_NEAR(a.expectedLoss, mean(loss), 4.5 * error(loss, loss2)) << q.scheme.mode;
    }
    if (std::getenv("LUMORA_RISK_FIGURES"))
      std::printf(
          "ruin %.4f sim %.4f±%.4f | run %.2f sim %.2f±%.2f | staked %.0f sim %.0f±%.0f | loss %.1f sim %.1f±%.1f\n",
          a.ruin, pRuin, std::sqrt(pRuin * (1 - pRuin) / kGames), a.longestMissRun, mean(runs), error(runs, runs2),
          a.staked, mean(staked), error(staked, staked2), a.expectedLoss, mean(loss), error(loss, loss2));
    // Neither figure is trivially 0 or 1 here.
    EXPECT_GT(a.ruin, 0.02);
    EXPECT_LT(a.ruin, 0.98);
  }
}

TEST(RiskOfRuin, TooManyStatesGivesABoundOnTheRiskySide) {
  RiskQuestion q = Question(Multiplier({1, 2, 4}), 20, 500, 13000, 500, 30000);
  const RiskAnswer exact = ComputeRisk(q);
  q.maxStates = 600;
  const RiskAnswer coarse = ComputeRisk(q);
  ASSERT_EQ(coarse.error, "");
  EXPECT_FALSE(exact.ruinIsBound);
  EXPECT_TRUE(coarse.ruinIsBound);
  EXPECT_LE(coarse.states, 600);
  EXPECT_GT(coarse.grid, exact.grid);
  EXPECT_GE(coarse.ruin, exact.ruin);
  EXPECT_GE(coarse.staked, exact.staked);
  EXPECT_DOUBLE_EQ(coarse.longestMissRun, exact.longestMissRun);
}

TEST(RiskOfRuin, EdgesAndRefusals) {
  // Already at a limit: no bet is placed.
  EXPECT_EQ(ComputeRisk(Question(Flat(), 10, 100, 500, 500, 30000)).ruin, 1);
  const RiskAnswer done = ComputeRisk(Question(Flat(), 10, 100, 30000, 500, 30000));
  EXPECT_EQ(done.profitTaken, 1);
  EXPECT_EQ(done.staked, 0);
  // Every draw a hit: never ruined, no miss run.
  const RiskAnswer sure = ComputeRisk(Question(Flat(), 1000, 50, 13000, 500, 1000000));
  EXPECT_EQ(sure.ruin, 0);
  EXPECT_EQ(sure.longestMissRun, 0);
  EXPECT_EQ(sure.staked, 50 * 2000.0);
  // Refused, never answered with a wrapped or saturated figure.
  EXPECT_NE(ComputeRisk(Question(Flat(), 0, 100, 13000, 500, 30000)).error, "");
  EXPECT_NE(ComputeRisk(Question(Flat(), 1001, 100, 13000, 500, 30000)).error, "");
  EXPECT_NE(ComputeRisk(Question(Flat(), 10, 0, 13000, 500, 30000)).error, "");
  EXPECT_NE(ComputeRisk(Question(Multiplier({1, int64_t{1} << 50}), 10, 100, 13000, 500, 30000)).error, "");
  EXPECT_NE(ComputeRisk(Question(Flat(), 10, 100, int64_t{1} << 60, 500, int64_t{1} << 61)).error, "");
  // Long runs where hits are rare: one number bet over 5000 draws.
  EXPECT_NEAR(ExpectedLongestMissRun(0.5, 1), 0.5, 1e-15);
  EXPECT_NEAR(ExpectedLongestMissRun(0.5, 2), 0.25 * 0 + 0.5 * 1 + 0.25 * 2, 1e-15);
  const double rare = ExpectedLongestMissRun(0.001, 5000);
  EXPECT_GT(rare, 1500);
  EXPECT_LT(rare, 5000);
}

TEST(RiskOfRuin, PushWaveStepsAreTheStatisticsBookings) {
  const std::vector<RiskStep> steps = RiskSteps(PushWave(3), 100);
  ASSERT_EQ(steps.size(), 3u);
  // Multiples 1, 9.7, 94.09: stakes 200, 1940, 18818; a hit at the third step starts over.
  EXPECT_EQ(steps[0].stake, 200);
  EXPECT_EQ(steps[1].stake, 1940);
  EXPECT_EQ(steps[2].stake, 18818);
  EXPECT_EQ(steps[0].onHit, 1740);
  EXPECT_EQ(steps[2].nextOnHit, 0);
  EXPECT_EQ(steps[1].nextOnMiss, 0);
}

TEST(RiskOfRuin, CapitalFrameMoneyInUnits) {
  FundSettings fund{130, 129.6f, 19.4f, 5, 300};
  RiskQuestion q;
  ASSERT_TRUE(RiskMoneyFromFund(fund, q));
  EXPECT_EQ(q.capital, 12960);
  EXPECT_EQ(q.stopLoss, 500);
  EXPECT_EQ(q.takeProfit, 30000);
  fund.prize = 150;  // unit stake 0.2
  ASSERT_TRUE(RiskMoneyFromFund(fund, q));
  EXPECT_EQ(q.capital, 1296);
  fund.upper = 1e30f;
  EXPECT_FALSE(RiskMoneyFromFund(fund, q));
}

// The label beside the capital frame follows the boxes, the statistics' scheme and the plan pool.
TEST(RiskOfRuinShown, FollowsTheSettingsAndThePlanPool) {
  Context cx;
  MoneyState money;
  StatsState stats;
  PresetPlanStats(stats);
  const char* design[5] = {"130", "60", "19.4", "5", "300"};
  for (int i = 0; i < 5; ++i) cx.form.setText(fmain::T_zijin[i], design[i]);
  cx.form.setText(fmain::T_jihua_jj_dadi_zhushu, "0");
  StartRiskOfRuin(cx, money, stats.plan());
  EXPECT_EQ(cx.form.timer(fmain::Timer_zijin_fengxian).enabled, true);
  EXPECT_NE(cx.form.text(fmain::L_zijin_fengxian).find("计划注数须在1~1000之间"), std::string::npos);

  // A plan of 10 numbers, flat: the same figures as asked directly, in the frame's money.
  cx.form.setText(fmain::T_jihua_jj_dadi_zhushu, "10");
  ShowRiskOfRuin(cx, money, stats.plan());
  const RiskQuestion q = Question(RiskSchemeFromStats(stats.plan()), 10, kShownRiskDraws, 6000, 500, 30000);
  const RiskAnswer flat = ComputeRisk(q);
  const std::string shown = cx.form.text(fmain::L_zijin_fengxian);
  EXPECT_EQ(shown, RiskOfRuinText(q, flat, 100));
  EXPECT_NE(shown.find("（1000期，每期10注）：先到资金下限 "), std::string::npos) << shown;

  // A higher stop-loss, then the multiplier scheme: the text changes each time.
  cx.form.setText(fmain::T_zijin[3], "40");
  ShowRiskOfRuin(cx, money, stats.plan());
  const std::string higher = cx.form.text(fmain::L_zijin_fengxian);
  EXPECT_NE(higher, shown);
  stats.plan().betMode = kStatsMultiplier;
  stats.plan().multiples = {1, 2, 4};
  stats.plan().multipleCount = 3;
  ShowRiskOfRuin(cx, money, stats.plan());
  EXPECT_NE(cx.form.text(fmain::L_zijin_fengxian), higher);
  // A settlement that moves the capital counts as a change as well.
  const std::string before = cx.form.text(fmain::L_zijin_fengxian);
  cx.form.setText(fmain::T_zijin[1], "59.8");
  ShowRiskOfRuin(cx, money, stats.plan());
  EXPECT_NE(cx.form.text(fmain::L_zijin_fengxian), before);
}

}  // namespace
}  // namespace lumora
