#pragma once
// What chance alone would have given a judged run, and the figures an honest comparison of runs
// needs. A period whose plan pool holds k of the 1000 sub-numbers hits with probability k / 1000
// whatever the pool's curve, so the hits of a run are a sum of independent Bernoulli trials with
// known probabilities (a Poisson-binomial count) and every stake loses 1 - odds / 2000 of itself
// on average (3 % at odds 1940: a flat pool of k numbers costs 2k and returns 1.94k a draw).
#include <cstdint>
#include <vector>

namespace lumora {

// One judged period as booked by the statistics.
struct JudgedPeriod {
  int poolSize = 0;        // k
  bool hit = false;
  int64_t profit = 0;      // cumulative profit after the booking
  int64_t turnover = 0;    // cumulative stake after the booking
};

struct ChanceSummary {
  int64_t periods = 0;
  int64_t hits = 0;
  double expectedHits = 0;  // sum of k / 1000
  double variance = 0;      // sum of p (1 - p)
  double z = 0;             // (hits - expected) / SD; 0 when the variance is 0
  double p = 1;             // two-sided, normal approximation
};
ChanceSummary SummariseHits(const std::vector<JudgedPeriod>& run);
// Adds another run's counts and recomputes z and p: for runs over different draws.
void AddHits(ChanceSummary& into, const ChanceSummary& more);
// Runs of several seeds over the same draws, period by period. They are not independent (the
// same draw judges every seed's pool, and the pools share what the trends force), so the variance
// is the bound for fully dependent seeds, sum over periods of (sum over seeds of SD)^2: exact for
// one seed, never smaller than the truth, so z and p never overstate a difference from chance.
ChanceSummary SummariseSeeds(const std::vector<const std::vector<JudgedPeriod>*>& runs);

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
