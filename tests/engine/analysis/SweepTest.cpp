// A sweep in the library over generated draws: the fair replays book what the real run booked
// when replayed on the real draws, the best-of-N figures are ordered, the coin baseline hits at
// the rate of its pool sizes, and nothing depends on the thread count.
#include <gtest/gtest.h>

#include <cmath>

#include "analysis/Report.h"
#include "analysis/Sweep.h"
#include "core/Random.h"
#include "core/SceneSvg.h"
#include "core/Text.h"
#include "core/controls/Fmain.h"
#include "engine/support/EngineFixture.h"

namespace lumora {
namespace {

BacktestSettings Base() {
  BacktestSettings s;
  s.data = testing::ShippedDataFolder();
  return s;
}

TEST(SweepTest, ReplayOnTheRealDrawsBooksTheRealProfit) {
  const std::vector<DrawRecord> draws = SeededDraws(7, 220);
  for (const char* stats : {"flat", "multiplier:1-3-9", "push-wave:3"}) {
    BacktestSettings s = Base();
    s.stats = stats;
    s.seed = 4;
    s.keepPools = true;
    AnsweringPrompter quiet;
    const BacktestOutcome run = RunBacktestOn(s, draws, quiet);
    ASSERT_TRUE(run.error.empty()) << run.error;
    ASSERT_FALSE(run.periods.empty());
    ASSERT_EQ(run.pools.size(), run.periods.size());
    // The judged number is the last three digits (start 3).
    std::vector<uint16_t> drawn;
    for (size_t i = 120; i < draws.size(); ++i)
      drawn.push_back(static_cast<uint16_t>(std::stoi(draws[i].digits.substr(2))));
    std::vector<int64_t> path(drawn.size());
    ASSERT_TRUE(ReplayProfit(run, drawn.data(), 120, path));
    for (const JudgedPeriod& p : run.periods)
      EXPECT_EQ(path[static_cast<size_t>(p.draw - 120)], p.profit) << stats << " draw " << p.draw;
  }
}

TEST(SweepTest, BestOfNFiguresAndTheCoinDoNotDependOnThreads) {
  SweepSetup setup;
  setup.base = Base();
  setup.axes = {SweepAxis{fmain::T_jh_dadi_chongfu_cs.name(), {"9", "18"}},
                SweepAxis{fmain::T_jiankong_rc.name(), {"01.02", "01.02.03"}}};
  setup.seeds = 2;
  setup.replicas = 100;
  const std::vector<DrawRecord> draws = SeededDraws(9, 320);
  const auto grid = SweepCombinations(setup);
  ASSERT_EQ(CheckCombinations(grid), "");
  setup.jobs = 1;
  const SweepResult one = RunSweepGrid(setup, grid, draws);
  setup.jobs = 3;
  const SweepResult three = RunSweepGrid(setup, grid, draws);
  ASSERT_EQ(one.error, "");
  ASSERT_EQ(one.rows.size(), 4u);
  EXPECT_EQ(SweepReportSvg(setup, one, "f"), SweepReportSvg(setup, three, "f"));
  EXPECT_EQ(one.luckiest, three.luckiest);
  EXPECT_EQ(one.bestRunSelectionP, three.bestRunSelectionP);
  for (size_t c = 0; c < 4; ++c) {
    const SweepRow &a = one.rows[c], &b = three.rows[c];
    EXPECT_EQ(a.selectionP, b.selectionP);
    EXPECT_EQ(a.chance.p, b.chance.p);
    EXPECT_EQ(a.baselineProfit, b.baselineProfit);
  }

  // The band of the best of N: ordered, one entry per judged draw; the best run's p is a share
  // of (1 + replicas) and the row with the most profit has the smallest selection p.
  ASSERT_EQ(one.band.low.size(), 200u);
  for (size_t t = 0; t < 200; ++t) {
    EXPECT_LE(one.band.low[t], one.band.median[t]);
    EXPECT_LE(one.band.median[t], one.band.high[t]);
  }
  EXPECT_GT(one.bestRunSelectionP, 0);
  EXPECT_LE(one.bestRunSelectionP, 1);
  EXPECT_NEAR(std::round(one.bestRunSelectionP * 101), one.bestRunSelectionP * 101, 1e-9);
  for (const SweepRow& a : one.rows)
    for (const SweepRow& b : one.rows)
      if (a.profit > b.profit) {
        EXPECT_LE(a.selectionP, b.selectionP);
      }
  // Only the most profitable run keeps its periods.
  for (size_t j = 0; j < one.runs.size(); ++j)
    EXPECT_EQ(one.runs[j].outcome.periods.empty(), static_cast<std::ptrdiff_t>(j) != one.luckiest) << j;

  // The coin: random pools of the same sizes hit about as often as chance says.
  for (const SweepRow& r : one.rows) {
    EXPECT_NEAR(
        static_cast<double>(r.baselineHits), r.chance.expectedHits,
        5 * std::sqrt(r.chance.expectedHits * (1 - r.chance.expectedHits / static_cast<double>(r.chance.periods))) + 1)
        << r.label;
  }
}

}  // namespace
}  // namespace lumora
