// Walk-forward over a finished sweep: the windows, the choice on the training draws only, and the
// test figures as differences of the cumulative ones.
#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "analysis/WalkForward.h"

namespace lumora {
namespace {

// A run judged on draws `warmUp`.. with the given profit per period (stake 2 per period, pool 1).
SweepRun Run(size_t combination, uint64_t seed, size_t warmUp, const std::vector<int64_t>& gains) {
  SweepRun run{combination, seed, {}, {}};
  int64_t profit = 0, turnover = 0;
  for (size_t i = 0; i < gains.size(); ++i) {
    profit += gains[i];
    turnover += 2;
    run.outcome.periods.push_back(JudgedPeriod{1, gains[i] > 0, profit, turnover, static_cast<int64_t>(warmUp + i)});
  }
  return run;
}

SweepResult Sweep(const std::vector<std::vector<std::vector<int64_t>>>& gainsByCombinationAndSeed, size_t warmUp) {
  SweepResult s;
  for (size_t c = 0; c < gainsByCombinationAndSeed.size(); ++c) {
    s.rows.emplace_back();
    s.rows.back().label = "c" + std::to_string(c);
    for (size_t k = 0; k < gainsByCombinationAndSeed[c].size(); ++k)
      s.runs.push_back(Run(c, k + 1, warmUp, gainsByCombinationAndSeed[c][k]));
  }
  return s;
}

TEST(WalkForwardTest, WindowsRollByTheTestLengthAndTheLastOneMayBeShort) {
  std::string error;
  auto folds = WalkForwardWindows(180, 120, 20, 10, error);
  ASSERT_EQ(error, "");
  ASSERT_EQ(folds.size(), 4u);
  EXPECT_EQ(folds[0].trainFirst, 120u);
  EXPECT_EQ(folds[0].trainEnd, 140u);
  EXPECT_EQ(folds[0].testEnd, 150u);
  EXPECT_EQ(folds[3].trainFirst, 150u);
  EXPECT_EQ(folds[3].testFirst, 170u);
  EXPECT_EQ(folds[3].testEnd, 180u);
  // A test window cut short by the end of the file still counts; a fold without test draws does not.
  folds = WalkForwardWindows(175, 120, 20, 10, error);
  ASSERT_EQ(folds.size(), 4u);
  EXPECT_EQ(folds[3].testEnd, 175u);
  EXPECT_EQ(WalkForwardWindows(141, 120, 20, 10, error).size(), 1u);
  for (auto [draws, train, test] :
       {std::tuple{140, 20, 10}, std::tuple{130, 20, 10}, std::tuple{200, 0, 10}, std::tuple{200, 10, 0}}) {
    error.clear();
    EXPECT_TRUE(WalkForwardWindows(static_cast<size_t>(draws), 120, static_cast<size_t>(train),
                                   static_cast<size_t>(test), error)
                    .empty());
    EXPECT_NE(error, "") << draws << " " << train << " " << test;
  }
}

TEST(WalkForwardTest, ChoosesOnTrainingDrawsOnlyAndBooksTheDifferencesOnTheTestDraws) {
  // Two judged draws of training, two of test, rolling by two; two seeds per combination.
  // Combination 0 wins the first training window, 1 the second; each then does badly.
  const std::vector<int64_t> a1 = {5, 5, -7, -7, -1, -1, 3, 3}, a2 = {1, 1, -1, -1, -1, -1, 0, 0};
  const std::vector<int64_t> b1 = {0, 0, 9, 9, -4, -4, 1, 1}, b2 = {0, 0, 9, 9, -4, -4, 2, 2};
  const SweepResult sweep = Sweep({{a1, a2}, {b1, b2}}, 10);
  const WalkForwardResult walk = WalkForward(sweep, 18, 10, 2, 2);
  ASSERT_EQ(walk.error, "");
  ASSERT_EQ(walk.folds.size(), 3u);
  // Fold 1: train draws 10-11 (a: 12, b: 0), test draws 12-13.
  EXPECT_EQ(walk.folds[0].chosen, 0u);
  EXPECT_EQ(walk.folds[0].trainProfit, 12);
  EXPECT_EQ(walk.folds[0].testProfit, -16);
  EXPECT_EQ(walk.folds[0].testTurnover, 8);
  EXPECT_EQ(walk.folds[0].test.periods, 4);  // two periods, two seeds
  // Fold 2: train draws 12-13 (a: -16, b: 36), test draws 14-15 (b: -16).
  EXPECT_EQ(walk.folds[1].chosen, 1u);
  EXPECT_EQ(walk.folds[1].trainProfit, 36);
  EXPECT_EQ(walk.folds[1].testProfit, -16);
  // Fold 3: train draws 14-15 (a: -4, b: -16), test draws 16-17 (a: 6).
  EXPECT_EQ(walk.folds[2].chosen, 0u);
  EXPECT_EQ(walk.folds[2].testProfit, 6);
  EXPECT_EQ(walk.testProfit, -26);
  EXPECT_EQ(walk.trainProfit, 12 + 36 - 4);
  EXPECT_EQ(walk.test.periods, 12);
  // The first seed's test periods, cumulative across the folds.
  ASSERT_EQ(walk.testPeriods.size(), 6u);
  EXPECT_EQ(walk.testPeriods[1].profit, -14);
  EXPECT_EQ(walk.testPeriods[3].profit, -14 - 8);
  EXPECT_EQ(walk.testPeriods[5].profit, -14 - 8 + 6);
  EXPECT_EQ(walk.testPeriods[5].turnover, 12);
}

TEST(WalkForwardTest, ATieGoesToTheFirstCombinationWhateverTheRunOrder) {
  const std::vector<int64_t> same = {1, 1, 1, 1};
  SweepResult sweep = Sweep({{same}, {same}, {same}}, 120);
  std::reverse(sweep.runs.begin(), sweep.runs.end());
  const WalkForwardResult walk = WalkForward(sweep, 124, 120, 2, 2);
  ASSERT_EQ(walk.folds.size(), 1u);
  EXPECT_EQ(walk.folds[0].chosen, 0u);
}

}  // namespace
}  // namespace lumora
