#include "analysis/Chance.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace lumora {

namespace {
void Finish(ChanceSummary& s) {
  const double sd = std::sqrt(s.variance);
  s.z = sd > 0 ? (static_cast<double>(s.hits) - s.expectedHits) / sd : 0.0;
  s.p = TwoSidedP(s.z);
}
}  // namespace

double TwoSidedP(double z) { return std::erfc(std::fabs(z) / std::sqrt(2.0)); }

ChanceSummary SummariseHits(const std::vector<JudgedPeriod>& run) {
  ChanceSummary s;
  for (const JudgedPeriod& p : run) {
    const double q = std::clamp(p.poolSize / 1000.0, 0.0, 1.0);
    s.periods += 1;
    s.hits += p.hit ? 1 : 0;
    s.expectedHits += q;
    s.variance += q * (1 - q);
  }
  Finish(s);
  return s;
}

void AddHits(ChanceSummary& into, const ChanceSummary& more) {
  into.periods += more.periods;
  into.hits += more.hits;
  into.expectedHits += more.expectedHits;
  into.variance += more.variance;
  Finish(into);
}

ChanceSummary SummariseSeeds(const std::vector<const std::vector<JudgedPeriod>*>& runs) {
  ChanceSummary s;
  size_t periods = 0;
  for (const auto* run : runs) periods = std::max(periods, run->size());
  for (size_t t = 0; t < periods; ++t) {
    double sd = 0;
    for (const auto* run : runs) {
      if (t >= run->size()) continue;
      const JudgedPeriod& p = (*run)[t];
      const double q = std::clamp(p.poolSize / 1000.0, 0.0, 1.0);
      s.periods += 1;
      s.hits += p.hit ? 1 : 0;
      s.expectedHits += q;
      sd += std::sqrt(q * (1 - q));
    }
    s.variance += sd * sd;
  }
  Finish(s);
  return s;
}

std::vector<double> HolmAdjust(const std::vector<double>& p) {
  const size_t m = p.size();
  std::vector<size_t> order(m);
  std::iota(order.begin(), order.end(), size_t{0});
  std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return p[a] < p[b]; });
  std::vector<double> adjusted(m);
  double running = 0;
  for (size_t rank = 0; rank < m; ++rank) {
    const size_t i = order[rank];
    running = std::max(running, std::min(1.0, static_cast<double>(m - rank) * p[i]));
    adjusted[i] = running;
  }
  return adjusted;
}

int64_t LargestDrawdown(const std::vector<JudgedPeriod>& run) {
  int64_t peak = 0, worst = 0;
  for (const JudgedPeriod& p : run) {
    peak = std::max(peak, p.profit);
    worst = std::max(worst, peak - p.profit);
  }
  return worst;
}

int64_t LongestMissRun(const std::vector<JudgedPeriod>& run) {
  int64_t now = 0, longest = 0;
  for (const JudgedPeriod& p : run) {
    now = p.hit ? 0 : now + 1;
    longest = std::max(longest, now);
  }
  return longest;
}

ChanceBand ChanceBandOf(const std::vector<JudgedPeriod>& run, int odds) {
  ChanceBand band;
  band.mean.reserve(run.size());
  band.sd.reserve(run.size());
  double mean = 0, variance = 0;
  int64_t turnoverBefore = 0;
  for (const JudgedPeriod& p : run) {
    const double stake = static_cast<double>(p.turnover - turnoverBefore);
    turnoverBefore = p.turnover;
    const double q = std::clamp(p.poolSize / 1000.0, 0.0, 1.0);
    mean += stake * (odds / 2000.0 - 1.0);
    if (p.poolSize > 0) {
      const double prize = stake / (2.0 * p.poolSize) * odds;
      variance += prize * prize * q * (1 - q);
    }
    band.mean.push_back(mean);
    band.sd.push_back(std::sqrt(variance));
  }
  return band;
}

}  // namespace lumora
