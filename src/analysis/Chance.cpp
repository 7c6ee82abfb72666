#include "analysis/Chance.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numeric>
#include <tuple>

namespace lumora {

namespace {

// Below this a probability at either end of the convolution is trimmed (and added to both tails).
constexpr double kTrim = 1e-30;

void Moments(const std::vector<PeriodLaw>& periods, double& mean, double& variance) {
  mean = variance = 0;
  for (const PeriodLaw& law : periods) {
    double m = 0, m2 = 0;
    for (const auto& [j, w] : law) {
      m += j * (w / 1000.0);
      m2 += static_cast<double>(j) * j * (w / 1000.0);
    }
    mean += m;
    variance += std::max(0.0, m2 - m * m);
  }
}

// log E[exp(t S)] of the sum, and its derivative in t.
double LogMgf(const std::vector<std::pair<const PeriodLaw*, int64_t>>& groups, double t) {
  double total = 0;
  for (const auto& [law, count] : groups) {
    double top = -1e300;
    for (const auto& [j, w] : *law) top = std::max(top, t * j);
    double sum = 0;
    for (const auto& [j, w] : *law) sum += (w / 1000.0) * std::exp(t * j - top);
    total += static_cast<double>(count) * (top + std::log(sum));
  }
  return total;
}

// inf over t of exp(log E[exp(t S)] - t s), t >= 0 (sign 1, upper tail) or t <= 0 (sign -1).
double ChernoffBound(const std::vector<std::pair<const PeriodLaw*, int64_t>>& groups, double s, int sign) {
  // The exponent is convex in t: golden-section search on [0, 60].
  auto f = [&](double u) { return LogMgf(groups, sign * u) - sign * u * s; };
  double a = 0, b = 60;
  const double g = (std::sqrt(5.0) - 1) / 2;
  double c = b - g * (b - a), d = a + g * (b - a), fc = f(c), fd = f(d);
  for (int i = 0; i < 120; ++i) {
    if (fc < fd) {
      b = d, d = c, fd = fc, c = b - g * (b - a), fc = f(c);
    } else {
      a = c, c = d, fc = fd, d = a + g * (b - a), fd = f(d);
    }
  }
  const double best = std::min({0.0, fc, fd, f(a), f(b)});
  return std::min(1.0, std::exp(best));
}

// Equal laws counted together (one seed's pool sizes repeat).
std::vector<std::pair<const PeriodLaw*, int64_t>> Grouped(const std::vector<PeriodLaw>& periods) {
  std::vector<const PeriodLaw*> sorted;
  for (const PeriodLaw& law : periods) sorted.push_back(&law);
  std::sort(sorted.begin(), sorted.end(), [](const PeriodLaw* a, const PeriodLaw* b) { return *a < *b; });
  std::vector<std::pair<const PeriodLaw*, int64_t>> groups;
  for (const PeriodLaw* law : sorted) {
    if (!groups.empty() && *groups.back().first == *law) {
      ++groups.back().second;
    } else {
      groups.emplace_back(law, 1);
    }
  }
  return groups;
}

void FinishTails(ChanceTails& t) {
  t.upper = std::min(1.0, t.upper);
  t.lower = std::min(1.0, t.lower);
  t.p = std::min(1.0, 2 * std::min(t.upper, t.lower));
}

ChanceSummary SummaryOf(int64_t periods, int64_t hits, double expected, const std::vector<PeriodLaw>& laws) {
  ChanceSummary s;
  s.periods = periods;
  s.hits = hits;
  const ChanceTails t = TailsOf(laws, hits);
  // The laws' own mean: for pools at hand it counts what they hold.
  s.expectedHits = laws.empty() ? expected : t.mean;
  s.variance = t.variance;
  const double sd = std::sqrt(s.variance);
  s.z = sd > 0 ? (static_cast<double>(hits) - expected) / sd : 0.0;
  s.p = t.p;
  s.exact = t.exact;
  return s;
}

}  // namespace

double TwoSidedP(double z) { return std::erfc(std::fabs(z) / std::sqrt(2.0)); }

PeriodLaw PoolLaw(int poolSize) {
  const int k = std::clamp(poolSize, 0, 1000);
  PeriodLaw law;
  if (k < 1000) law.emplace_back(0, 1000 - k);
  if (k > 0) law.emplace_back(1, k);
  return law;
}

PeriodLaw PoolsLaw(const std::vector<const NumberSet*>& pools) {
  std::array<int, 1000> held{};
  for (const NumberSet* pool : pools) pool->forEach([&](int d) { ++held[static_cast<size_t>(d)]; });
  std::vector<int> weight(pools.size() + 1, 0);
  for (int n : held) ++weight[static_cast<size_t>(n)];
  PeriodLaw law;
  for (size_t j = 0; j < weight.size(); ++j)
    if (weight[j] > 0) law.emplace_back(static_cast<int>(j), weight[j]);
  return law;
}

ChanceTails ChernoffTails(const std::vector<PeriodLaw>& periods, int64_t observed) {
  ChanceTails t;
  Moments(periods, t.mean, t.variance);
  t.exact = false;
  const auto groups = Grouped(periods);
  const double s = static_cast<double>(observed);
  t.upper = s <= t.mean ? 1.0 : ChernoffBound(groups, s, 1);
  t.lower = s >= t.mean ? 1.0 : ChernoffBound(groups, s, -1);
  FinishTails(t);
  return t;
}

ChanceTails TailsOf(const std::vector<PeriodLaw>& periods, int64_t observed, double budget) {
  ChanceTails t;
  Moments(periods, t.mean, t.variance);
  // The convolution's cost: every period touches the live width (about 24 SD, as values beyond
  // 12 SD of the mean fall under the trimming level) once per value it can add.
  double cost = 0;
  const double width = 24 * std::sqrt(t.variance) + 2;
  for (const PeriodLaw& law : periods) cost += width * static_cast<double>(law.size());
  if (cost > budget) return ChernoffTails(periods, observed);

  std::vector<double> cur{1.0}, next;
  int64_t lo = 0;  // the value of cur[0]
  double dropped = 0;
  for (const PeriodLaw& law : periods) {
    if (law.empty()) continue;
    const int jMin = law.front().first, span = law.back().first - jMin;
    next.assign(cur.size() + static_cast<size_t>(span), 0.0);
    for (const auto& [j, w] : law) {
      const double q = w / 1000.0;
      double* out = next.data() + (j - jMin);
      for (size_t i = 0; i < cur.size(); ++i) out[i] += q * cur[i];
    }
    size_t first = 0, last = next.size();
    while (first + 1 < last && next[first] < kTrim) dropped += next[first++];
    while (last - 1 > first && next[last - 1] < kTrim) dropped += next[--last];
    cur.assign(next.begin() + static_cast<std::ptrdiff_t>(first), next.begin() + static_cast<std::ptrdiff_t>(last));
    lo += jMin + static_cast<int64_t>(first);
  }
  double upper = 0, lower = 0;
  for (size_t i = 0; i < cur.size(); ++i) {
    const int64_t v = lo + static_cast<int64_t>(i);
    if (v >= observed) upper += cur[i];
    if (v <= observed) lower += cur[i];
  }
  t.upper = upper + dropped;
  t.lower = lower + dropped;
  FinishTails(t);
  return t;
}

ChanceSummary SummariseHits(const std::vector<JudgedPeriod>& run) {
  std::vector<PeriodLaw> laws;
  laws.reserve(run.size());
  int64_t hits = 0;
  double expected = 0;
  for (const JudgedPeriod& p : run) {
    laws.push_back(PoolLaw(p.poolSize));
    hits += p.hit ? 1 : 0;
    expected += std::clamp(p.poolSize, 0, 1000) / 1000.0;
  }
  return SummaryOf(static_cast<int64_t>(run.size()), hits, expected, laws);
}

ChanceSummary SummariseSeeds(const std::vector<const std::vector<JudgedPeriod>*>& runs,
                             const std::vector<const std::vector<NumberSet>*>& pools) {
  if (runs.size() == 1) return SummariseHits(*runs[0]);
  // Every run's periods keyed by the draw that judged them.
  std::vector<std::tuple<int64_t, size_t, size_t>> keyed;  // draw, run, period
  for (size_t r = 0; r < runs.size(); ++r)
    for (size_t n = 0; n < runs[r]->size(); ++n) {
      const int64_t draw = (*runs[r])[n].draw;
      keyed.emplace_back(draw >= 0 ? draw : static_cast<int64_t>(n), r, n);
    }
  std::sort(keyed.begin(), keyed.end());
  std::vector<PeriodLaw> laws;
  int64_t hits = 0;
  double expected = 0;
  std::vector<const NumberSet*> bet;
  for (size_t i = 0; i < keyed.size();) {
    bet.clear();
    const int64_t draw = std::get<0>(keyed[i]);
    for (; i < keyed.size() && std::get<0>(keyed[i]) == draw; ++i) {
      const auto [d, r, n] = keyed[i];
      const JudgedPeriod& p = (*runs[r])[n];
      hits += p.hit ? 1 : 0;
      expected += std::clamp(p.poolSize, 0, 1000) / 1000.0;
      if (r < pools.size() && n < pools[r]->size()) bet.push_back(&(*pools[r])[n]);
    }
    laws.push_back(PoolsLaw(bet));
  }
  return SummaryOf(static_cast<int64_t>(keyed.size()), hits, expected, laws);
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
