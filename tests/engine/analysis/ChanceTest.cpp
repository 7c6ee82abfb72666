// What chance gives a judged run: exact tails against brute force, calibration on fair draws,
// Holm's adjustment, drawdowns, miss runs, the band.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <map>

#include "analysis/Chance.h"
#include "core/Random.h"

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

// The distribution of the sum by brute force: every combination of the periods' values.
std::map<int64_t, double> Enumerate(const std::vector<PeriodLaw>& laws) {
  std::map<int64_t, double> dist{{0, 1.0}};
  for (const PeriodLaw& law : laws) {
    std::map<int64_t, double> next;
    for (const auto& [v, p] : dist)
      for (const auto& [j, w] : law) next[v + j] += p * w / 1000.0;
    dist = next;
  }
  return dist;
}

// The per-draw law counted the slow way: for each number, the pools holding it.
PeriodLaw LawByCounting(const std::vector<NumberSet>& pools) {
  std::map<int, int> weight;
  for (int d = 0; d < 1000; ++d) {
    int n = 0;
    for (const NumberSet& pool : pools) n += pool.contains(d) ? 1 : 0;
    ++weight[n];
  }
  return PeriodLaw(weight.begin(), weight.end());
}

NumberSet RandomPool(Rng& rng, int size) {
  NumberSet pool;
  while (pool.count() < size) pool.add(static_cast<int>(rng.Below(1000)));
  return pool;
}

TEST(ChanceTest, ExactTailsMatchBruteForceForOneAndSeveralSeeds) {
  Rng rng(11);
  // One seed: ten periods of pools of 36..57 numbers; several seeds: six draws, three pools each.
  std::vector<PeriodLaw> single;
  for (int t = 0; t < 10; ++t) single.push_back(PoolLaw(36 + static_cast<int>(rng.Below(22))));
  std::vector<PeriodLaw> seeds;
  for (int t = 0; t < 6; ++t) {
    std::vector<NumberSet> pools;
    for (int k = 0; k < 3; ++k) pools.push_back(RandomPool(rng, 300 + 100 * k));
    std::vector<const NumberSet*> bet;
    for (const NumberSet& p : pools) bet.push_back(&p);
    ASSERT_EQ(PoolsLaw(bet), LawByCounting(pools));
    seeds.push_back(PoolsLaw(bet));
  }
  for (const auto* laws : {&single, &seeds}) {
    const auto dist = Enumerate(*laws);
    double mean = 0, second = 0;
    for (const auto& [v, p] : dist) mean += v * p, second += static_cast<double>(v) * v * p;
    for (int64_t s = 0; s <= dist.rbegin()->first + 1; ++s) {
      double upper = 0, lower = 0;
      for (const auto& [v, p] : dist) (v >= s ? upper : lower) += p;
      lower += dist.count(s) ? dist.at(s) : 0.0;
      const ChanceTails t = TailsOf(*laws, s);
      ASSERT_TRUE(t.exact);
      EXPECT_NEAR(t.upper, upper, 1e-12 + 1e-9 * upper) << s;
      EXPECT_NEAR(t.lower, lower, 1e-12 + 1e-9 * lower) << s;
      EXPECT_NEAR(t.p, std::min(1.0, 2 * std::min(upper, lower)), 1e-9) << s;
      EXPECT_NEAR(t.mean, mean, 1e-9);
      EXPECT_NEAR(t.variance, second - mean * mean, 1e-9);
      // The bound used when the convolution costs too much is never below the exact tails.
      const ChanceTails bound = TailsOf(*laws, s, 0);
      EXPECT_FALSE(bound.exact);
      EXPECT_GE(bound.upper, upper * (1 - 1e-9)) << s;
      EXPECT_GE(bound.lower, lower * (1 - 1e-9)) << s;
    }
  }
}

TEST(ChanceTest, SeedsOnTheSameDrawsUseTheExactVariance) {
  // Two seeds betting the same 500 numbers: N(d) is 0 or 2, variance 1 a draw. Two seeds betting
  // the two halves: exactly one hit every draw, no variance at all.
  NumberSet low, high;
  for (int d = 0; d < 500; ++d) low.add(d), high.add(d + 500);
  std::vector<JudgedPeriod> a, b;
  for (int t = 0; t < 100; ++t) {
    a.push_back(JudgedPeriod{500, t % 2 == 0, 0, 0, 120 + t});
    b.push_back(JudgedPeriod{500, t % 2 == 1, 0, 0, 120 + t});
  }
  const std::vector<NumberSet> same(100, low), other(100, high);
  ChanceSummary shared = SummariseSeeds({&a, &b}, {&same, &same});
  EXPECT_EQ(shared.hits, 100);
  EXPECT_NEAR(shared.expectedHits, 100, 1e-9);
  EXPECT_NEAR(shared.variance, 100, 1e-9);
  ChanceSummary halves = SummariseSeeds({&a, &b}, {&same, &other});
  EXPECT_NEAR(halves.variance, 0, 1e-12);
  EXPECT_EQ(halves.p, 1);
  // A period one seed did not judge: the draws are matched by index, not by position.
  std::vector<JudgedPeriod> shorter(b.begin() + 1, b.end());
  const std::vector<NumberSet> fewer(99, low);
  ChanceSummary matched = SummariseSeeds({&a, &shorter}, {&same, &fewer});
  EXPECT_NEAR(matched.variance, 99 + 0.25, 1e-9);
  // One seed is the Poisson-binomial of its pool sizes; empty pools neither hit nor vary.
  EXPECT_EQ(SummariseSeeds({&a}, {&same}).p, SummariseHits(a).p);
  ChanceSummary none = SummariseHits(std::vector<JudgedPeriod>(5, JudgedPeriod{0, false, 0, 0}));
  EXPECT_EQ(none.z, 0);
  EXPECT_EQ(none.p, 1);
}

TEST(ChanceTest, ExactPIsCalibratedOnFairDraws) {
  // Fair draws judged against small pools (one seed) and against three seeds' overlapping pools:
  // a nominal 5 % test rejects about 5 % of the time, and never more (the distribution is
  // discrete). The old bound for dependent seeds rejected about 2 %.
  Rng rng(20261209);
  int single = 0, seeds = 0;
  const int files = 1000;
  for (int f = 0; f < files; ++f) {
    std::vector<JudgedPeriod> one;
    std::vector<std::vector<JudgedPeriod>> runs(3);
    std::vector<std::vector<NumberSet>> pools(3);
    for (int t = 0; t < 300; ++t) {
      const int drawn = static_cast<int>(rng.Below(1000));
      const int k = 36 + static_cast<int>(rng.Below(22));
      one.push_back(JudgedPeriod{k, rng.Below(1000) < static_cast<uint64_t>(k), 0, 0, t});
      if (t >= 60) continue;
      const NumberSet shared = RandomPool(rng, 100);
      for (size_t s = 0; s < 3; ++s) {
        NumberSet pool = shared | RandomPool(rng, 40);
        runs[s].push_back(JudgedPeriod{pool.count(), pool.contains(drawn), 0, 0, t});
        pools[s].push_back(pool);
      }
    }
    single += SummariseHits(one).p <= 0.05 ? 1 : 0;
    seeds += SummariseSeeds({&runs[0], &runs[1], &runs[2]}, {&pools[0], &pools[1], &pools[2]}).p <= 0.05 ? 1 : 0;
  }
  EXPECT_LE(single, files * 0.05 + 3 * std::sqrt(files * 0.05));
  EXPECT_GE(single, files * 0.03);
  EXPECT_LE(seeds, files * 0.05 + 3 * std::sqrt(files * 0.05));
  EXPECT_GE(seeds, files * 0.03);
  std::printf("calibration: p <= 0.05 in %d of %d (one seed), %d of %d (three seeds)\n", single, files, seeds, files);
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
