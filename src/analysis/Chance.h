#pragma once
// What chance alone would have given a judged run, and the figures an honest comparison of runs
// needs. A period whose plan pool holds k of the 1000 sub-numbers hits with probability k / 1000
// whatever the pool's curve, so the hits of a run are a sum of independent Bernoulli trials with
// known probabilities (a Poisson-binomial count) and every stake loses 1 - odds / 2000 of itself
// on average (3 % at odds 1940: a flat pool of k numbers costs 2k and returns 1.94k a draw).
#include <cstdint>
#include <utility>
#include <vector>

#include "core/NumberSet.h"

namespace lumora {

// One judged period as booked by the statistics.
struct JudgedPeriod {
  int poolSize = 0;  // k
  bool hit = false;
  int64_t profit = 0;    // cumulative profit after the booking
  int64_t turnover = 0;  // cumulative stake after the booking
  int64_t draw = -1;     // index of the judged draw in the replayed draws (-1: not known)
};

// What chance gives one period: value j (how many of the bets hit) with probability
// weight / 1000, the 1000 being the equally likely drawn numbers. Weights sum to 1000.
using PeriodLaw = std::vector<std::pair<int, int>>;  // (j, weight), j ascending, weights > 0

// One pool of k numbers: (0, 1000 - k), (1, k).
PeriodLaw PoolLaw(int poolSize);
// K pools bet on the same draw: j is how many of them hold the drawn number; the weight of j is
// how many of the 1000 numbers are held by exactly j pools.
PeriodLaw PoolsLaw(const std::vector<const NumberSet*>& pools);

// The tails of a sum of independent periods at an observed value s.
struct ChanceTails {
  double mean = 0, variance = 0;  // exact moments of the sum
  double upper = 1;               // P(sum >= s)
  double lower = 1;               // P(sum <= s)
  double p = 1;                   // two-sided: min(1, 2 min(upper, lower))
  // True: the distribution itself, convolved period by period (the mass of values below 1e-30
  // that is trimmed on the way is added to both tails, so neither is ever smaller than exact).
  // False: the convolution would cost too much and both tails are Chernoff bounds,
  // inf over t of E[exp(t (S - s))], also never smaller than exact.
  bool exact = true;
};
// `budget`: the most multiply-adds the convolution may take before the bound is used instead.
ChanceTails TailsOf(const std::vector<PeriodLaw>& periods, int64_t observed, double budget = 4e8);
// The same, always as the Chernoff bound (for checks and for very long files).
ChanceTails ChernoffTails(const std::vector<PeriodLaw>& periods, int64_t observed);

struct ChanceSummary {
  int64_t periods = 0;
  int64_t hits = 0;
  double expectedHits = 0;  // sum of k / 1000
  double variance = 0;      // exact variance of the hits under chance
  double z = 0;             // (hits - expected) / SD; 0 when the variance is 0
  double p = 1;             // two-sided p of the exact distribution (or its bound: !exact)
  bool exact = true;        // see ChanceTails::exact
};
// One run: the hits against the Poisson-binomial distribution of its pool sizes.
ChanceSummary SummariseHits(const std::vector<JudgedPeriod>& run);
// Runs of several seeds over the same draws (pools[i][n] is the pool run i bet in its judged
// period n). The seeds are not independent: the same draw judges every seed's pool. Per draw, the
// hits of the seeds are j with the weight of PoolsLaw over the pools that were bet on it; the sum
// over the draws is convolved exactly, and the variance is the exact one (per draw, the mean over
// numbers d of N(d)^2 less the square of the mean of N(d), N(d) the pools holding d).
ChanceSummary SummariseSeeds(const std::vector<const std::vector<JudgedPeriod>*>& runs,
                             const std::vector<const std::vector<NumberSet>*>& pools);

// Two-sided p-value of a standard normal z.
double TwoSidedP(double z);
// Holm's step-down adjustment, in the order given: each adjusted p is at least the raw one,
// never above 1, and keeps the order of the raw p-values.
std::vector<double> HolmAdjust(const std::vector<double>& p);

// Largest fall of the cumulative profit from an earlier peak (0 before the first period counts
// as a peak); 0 when it never falls.
int64_t LargestDrawdown(const std::vector<JudgedPeriod>& run);
// Longest run of consecutive misses.
int64_t LongestMissRun(const std::vector<JudgedPeriod>& run);

// The band of the cumulative profit under chance after each period, from the pool sizes and
// stakes actually booked: mean = sum stake (odds / 2000 - 1), SD = sqrt(sum (m odds)^2 p (1 - p))
// with the multiple m = stake / 2k of the period.
struct ChanceBand {
  std::vector<double> mean, sd;  // one per period
};
ChanceBand ChanceBandOf(const std::vector<JudgedPeriod>& run, int odds);

}  // namespace lumora
