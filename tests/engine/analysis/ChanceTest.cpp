// What chance gives a judged run: p-values, Holm's adjustment, drawdowns, miss runs, the band.
#include <gtest/gtest.h>

#include <cmath>

#include "analysis/Chance.h"

namespace lumora {
namespace {

std::vector<JudgedPeriod> MakeRun(const std::vector<int>& profits, const std::string& hits, int pool = 100) {
  std::vector<JudgedPeriod> run;
  for (size_t i = 0; i < profits.size(); ++i)
    run.push_back(JudgedPeriod{pool, hits[i] == '1', profits[i], static_cast<int64_t>(i + 1) * 2 * pool});
  return run;
}

TEST(ChanceTest, TwoSidedPValuesOfTheNormal) {
  EXPECT_NEAR(TwoSidedP(0), 1.0, 1e-12);
  EXPECT_NEAR(TwoSidedP(1.959964), 0.05, 1e-6);
  EXPECT_NEAR(TwoSidedP(-1.959964), 0.05, 1e-6);
  EXPECT_NEAR(TwoSidedP(3), 0.0026998, 1e-6);
  EXPECT_NEAR(TwoSidedP(1), 0.3173105, 1e-6);
}

TEST(ChanceTest, HolmStepsDownAndStaysMonotoneAndCapped) {
  // Sorted 0.005, 0.01, 0.03, 0.04 times 4, 3, 2, 1: 0.02, 0.03, 0.06, then max(0.04, 0.06).
  std::vector<double> adjusted = HolmAdjust({0.01, 0.04, 0.03, 0.005});
  ASSERT_EQ(adjusted.size(), 4u);
  EXPECT_NEAR(adjusted[0], 0.03, 1e-12);
  EXPECT_NEAR(adjusted[1], 0.06, 1e-12);
  EXPECT_NEAR(adjusted[2], 0.06, 1e-12);
  EXPECT_NEAR(adjusted[3], 0.02, 1e-12);
  EXPECT_EQ(HolmAdjust({0.5, 0.9}), (std::vector<double>{1.0, 1.0}));
  EXPECT_TRUE(HolmAdjust({}).empty());
}

TEST(ChanceTest, DrawdownFromTheHighestEarlierPeakAndLongestMissRun) {
  // Peak 0 at the start counts: -50 is a drawdown of 50; later peak 120 down to -30 is 150.
  auto run = MakeRun({-50, 100, 120, 40, -30, 60}, "010001");
  EXPECT_EQ(LargestDrawdown(run), 150);
  EXPECT_EQ(LongestMissRun(run), 3);
  EXPECT_EQ(LargestDrawdown(MakeRun({10, 20, 30}, "111")), 0);
  EXPECT_EQ(LongestMissRun(MakeRun({10, 20, 30}, "111")), 0);
  EXPECT_EQ(LongestMissRun(MakeRun({-1, -2, -3}, "000")), 3);
  EXPECT_EQ(LargestDrawdown({}), 0);
}

TEST(ChanceTest, HitsAgainstThePoissonBinomialOfThePoolSizes) {
  // 100 periods at 500 of 1000: expected 50, variance 25, so 60 hits is z = 2.
  std::vector<JudgedPeriod> run(100, JudgedPeriod{500, false, 0, 0});
  for (int i = 0; i < 60; ++i) run[static_cast<size_t>(i)].hit = true;
  ChanceSummary s = SummariseHits(run);
  EXPECT_EQ(s.periods, 100);
  EXPECT_EQ(s.hits, 60);
  EXPECT_NEAR(s.expectedHits, 50, 1e-9);
  EXPECT_NEAR(s.z, 2.0, 1e-9);
  EXPECT_NEAR(s.p, TwoSidedP(2.0), 1e-12);
  // A second seed with exactly the expected hits halves z's numerator over twice the variance.
  std::vector<JudgedPeriod> more(100, JudgedPeriod{500, false, 0, 0});
  for (int i = 0; i < 50; ++i) more[static_cast<size_t>(i)].hit = true;
  AddHits(s, SummariseHits(more));
  EXPECT_NEAR(s.z, 10 / std::sqrt(50.0), 1e-9);
  // The same two runs as seeds over the same draws: the variance bound (0.5 + 0.5)^2 a period
  // is twice the independent sum, so z shrinks by sqrt(2).
  std::vector<JudgedPeriod> first(run.begin(), run.end());
  ChanceSummary seeds = SummariseSeeds({&first, &more});
  EXPECT_EQ(seeds.hits, 110);
  EXPECT_NEAR(seeds.expectedHits, 100, 1e-9);
  EXPECT_NEAR(seeds.variance, 100, 1e-9);
  EXPECT_NEAR(seeds.z, 1.0, 1e-9);
  ChanceSummary single = SummariseSeeds({&first});
  EXPECT_NEAR(single.z, SummariseHits(first).z, 1e-12);
  // Empty pools can neither hit nor vary: z stays 0 and p 1.
  ChanceSummary none = SummariseHits(std::vector<JudgedPeriod>(5, JudgedPeriod{0, false, 0, 0}));
  EXPECT_EQ(none.z, 0);
  EXPECT_EQ(none.p, 1);
}

TEST(ChanceTest, ChanceBandFollowsTheBookedStakes) {
  // Flat pool of 100 at odds 1940: stake 200 a period, mean -6 a period, SD 1940 sqrt(0.09) = 582.
  auto flat = MakeRun({-200, -400, 1340}, "001");
  ChanceBand band = ChanceBandOf(flat, 1940);
  ASSERT_EQ(band.mean.size(), 3u);
  EXPECT_NEAR(band.mean[0], -6, 1e-9);
  EXPECT_NEAR(band.mean[2], -18, 1e-9);
  EXPECT_NEAR(band.sd[0], 582, 1e-9);
  EXPECT_NEAR(band.sd[2], 582 * std::sqrt(3.0), 1e-9);
  // A doubled multiple doubles the stake's mean and the prize's SD.
  std::vector<JudgedPeriod> doubled{{100, false, -400, 400}};
  ChanceBand b2 = ChanceBandOf(doubled, 1940);
  EXPECT_NEAR(b2.mean[0], -12, 1e-9);
  EXPECT_NEAR(b2.sd[0], 1164, 1e-9);
}

}  // namespace
}  // namespace lumora
