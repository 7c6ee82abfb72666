#include "analysis/Sweep.h"

#include <algorithm>
#include <chrono>
#include <limits>
#include <mutex>
#include <set>
#include <thread>

#include "analysis/ControlValues.h"
#include "core/Random.h"
#include "core/Text.h"
#include "money/PlanStats.h"

namespace lumora {
namespace {

// Notices of a run nobody answers: kept, the first few reported with the results.
class QuietPrompter final : public AnsweringPrompter {
 public:
  void inform(const std::string& text, const std::string& title) override {
    if (notices.size() < 4 && std::find(notices.begin(), notices.end(), "[" + title + "] " + text) == notices.end())
      notices.push_back("[" + title + "] " + text);
  }
  std::vector<std::string> notices;
};

}  // namespace

std::vector<SweepCombination> SweepCombinations(const SweepSetup& setup) {
  size_t count = 1;
  for (const SweepAxis& axis : setup.axes) count *= axis.values.size();
  std::vector<SweepCombination> out(count);
  BacktestSettings base = setup.base;
  ShareCurveStore(base);
  for (size_t c = 0; c < count; ++c) {
    SweepCombination& combo = out[c];
    combo.settings = base;
    size_t rest = c;
    combo.values.resize(setup.axes.size());
    for (size_t a = setup.axes.size(); a-- > 0;) {
      combo.values[a] = setup.axes[a].values[rest % setup.axes[a].values.size()];
      rest /= setup.axes[a].values.size();
    }
    for (size_t a = 0; a < setup.axes.size(); ++a) {
      combo.settings.controls.emplace_back(setup.axes[a].name, combo.values[a]);
      combo.label += (a ? " " : "") + setup.axes[a].name + "=" + combo.values[a];
    }
  }
  return out;
}

std::string CheckSweepAxes(const std::vector<SweepAxis>& axes, const std::string& given) {
  for (const SweepAxis& axis : axes) {
    std::set<std::string> seen;
    const std::string text = given + axis.name + "=" + Join(axis.values, ",");
    for (const std::string& value : axis.values) {
      if (Trim(value).empty()) return "an empty value in " + text + ": every value between the commas must be given";
      if (std::string why = CheckControlValue(axis.name, value); !why.empty()) return why;
      if (!seen.insert(Trim(value)).second)
        return "\"" + Trim(value) + "\" is given twice in " + text + " (its row would be booked twice)";
    }
  }
  return {};
}

std::string CheckCombinations(const std::vector<SweepCombination>& combinations) {
  for (const SweepCombination& c : combinations) {
    QuietPrompter quiet;
    BacktestOutcome dry = RunBacktestOn(c.settings, {}, quiet);
    if (!dry.error.empty()) return dry.error;
  }
  return {};
}

namespace {

// Shared state of a running sweep: per combination how many seeds are still running, and the
// per-replica maxima every finished run or combination is folded into. Maxima do not depend on
// the order runs finish in, so the figures do not depend on the thread count.
struct Gather {
  std::mutex lock;
  std::vector<int> seedsLeft;                // per combination
  std::vector<uint16_t> drawn;               // replicas x periods: the fair drawn number
  size_t periods = 0;                        // draws after the first 120
  int64_t firstDraw = 0;                     // index of the first judged draw
  std::vector<int64_t> bestPath;             // replicas x periods: highest cumulative profit of any run
  std::vector<int64_t> bestRow;              // replicas: highest profit of any combination over its seeds
  std::vector<std::vector<int64_t>> finals;  // per run: final profit on each replica
  std::ptrdiff_t luckiest = -1;
  std::string replayError;
};

// Replays one run's pools and money scheme on every fair sequence: folds its cumulative profit
// into the per-replica best path and keeps its final profit per replica.
void ReplayRun(Gather& g, const SweepSetup& setup, SweepRun& run, size_t index) {
  std::vector<int64_t>& finals = g.finals[index];
  finals.assign(static_cast<size_t>(setup.replicas), 0);
  std::vector<int64_t> path(g.periods);
  for (size_t r = 0; r < static_cast<size_t>(setup.replicas); ++r) {
    const bool fits = ReplayProfit(run.outcome, g.drawn.data() + r * g.periods, g.firstDraw, path);
    const int64_t final = path.empty() ? 0 : path.back();
    finals[r] = final;
    std::lock_guard<std::mutex> hold(g.lock);
    if (!fits && g.replayError.empty()) g.replayError = "a fair replay's profit passes the largest 64-bit figure";
    int64_t* best = g.bestPath.data() + r * g.periods;
    for (size_t t = 0; t < g.periods; ++t) best[t] = std::max(best[t], path[t]);
  }
}

// Random pools of the same sizes on the same draws, booked with the run's scheme. A random pool
// of k of the 1000 numbers holds the drawn number exactly when the drawn number's place in a
// random order of the 1000 is below k: one uniform place per period.
void Baseline(const SweepRun& run, size_t combination, int64_t& hits, int64_t& profit) {
  Rng rng(0x5eed0000ull + combination * 100003ull + run.seed);
  PlanStats st = run.outcome.scheme;
  for (const JudgedPeriod& p : run.outcome.periods) {
    const bool hit = rng.Below(1000) < static_cast<uint64_t>(std::max(0, p.poolSize));
    hits += hit ? 1 : 0;
    st.poolSize = p.poolSize;
    st.lastResult = hit ? 1 : 0;
    st.periods += 1;
    st.active = 1;
    BookStats(st);
  }
  profit += st.profit;
}

bool CheckedAdd(int64_t& into, int64_t more) { return !__builtin_add_overflow(into, more, &into); }

// Sums up combination c once all its seeds have run; keeps only the best run's periods.
void FinishCombination(Gather& g, const SweepSetup& setup, std::vector<SweepRun>& work, size_t c, SweepRow& row) {
  const size_t from = c * static_cast<size_t>(setup.seeds), to = from + static_cast<size_t>(setup.seeds);
  std::vector<const std::vector<JudgedPeriod>*> periods;
  std::vector<const std::vector<NumberSet>*> pools;
  bool fits = true;
  for (size_t j = from; j < to; ++j) {
    const SweepRun& run = work[j];
    if (!run.outcome.error.empty()) return;
    periods.push_back(&run.outcome.periods);
    pools.push_back(&run.outcome.pools);
    const auto& ps = run.outcome.periods;
    if (!ps.empty())
      fits = fits && CheckedAdd(row.profit, ps.back().profit) && CheckedAdd(row.turnover, ps.back().turnover);
    for (const JudgedPeriod& p : ps) row.poolSum += p.poolSize;
    row.drawdown = std::max(row.drawdown, LargestDrawdown(ps));
    row.missRun = std::max(row.missRun, LongestMissRun(ps));
    Baseline(run, c, row.baselineHits, row.baselineProfit);
  }
  row.chance = SummariseSeeds(periods, pools);
  std::vector<int64_t> sums(static_cast<size_t>(setup.replicas), 0);
  for (size_t j = from; j < to; ++j)
    for (size_t r = 0; r < sums.size(); ++r) fits = fits && CheckedAdd(sums[r], g.finals[j][r]);

  std::lock_guard<std::mutex> hold(g.lock);
  if (!fits && g.replayError.empty())
    g.replayError = row.label + ": the profit summed over the seeds passes the largest 64-bit figure";
  for (size_t r = 0; r < sums.size(); ++r) g.bestRow[r] = std::max(g.bestRow[r], sums[r]);
  // Only the most profitable run so far keeps its periods (ties: the earliest run).
  for (size_t j = from; j < to; ++j) {
    SweepRun& run = work[j];
    run.outcome.pools = {};
    g.finals[j] = {};
    if (!run.judged) continue;
    const SweepRun* best = g.luckiest >= 0 ? &work[static_cast<size_t>(g.luckiest)] : nullptr;
    if (!best || run.finalProfit > best->finalProfit ||
        (run.finalProfit == best->finalProfit && static_cast<std::ptrdiff_t>(j) < g.luckiest)) {
      if (best) work[static_cast<size_t>(g.luckiest)].outcome.periods = {};
      g.luckiest = static_cast<std::ptrdiff_t>(j);
    } else {
      run.outcome.periods = {};
    }
  }
}

double Quantile(std::vector<int64_t>& values, double q) {
  if (values.empty()) return 0;
  const size_t at = std::min(values.size() - 1, static_cast<size_t>(q * static_cast<double>(values.size())));
  std::nth_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(at), values.end());
  return static_cast<double>(values[at]);
}

}  // namespace

bool ReplayProfit(const BacktestOutcome& run, const uint16_t* drawn, int64_t firstDraw, std::vector<int64_t>& path) {
  PlanStats st = run.scheme;
  size_t n = 0;
  for (size_t t = 0; t < path.size(); ++t) {
    for (; n < run.periods.size() && run.periods[n].draw - firstDraw == static_cast<int64_t>(t); ++n) {
      st.poolSize = run.periods[n].poolSize;
      st.lastResult = n < run.pools.size() && run.pools[n].contains(drawn[t]) ? 1 : 0;
      st.periods += 1;
      st.active = 1;
      BookStats(st);
    }
    path[t] = st.profit;
  }
  return !st.overflow;
}

SweepResult RunSweepGrid(const SweepSetup& setup, const std::vector<SweepCombination>& combinations,
                         const std::vector<DrawRecord>& draws, const SweepProgress& progress) {
  SweepResult result;
  std::vector<SweepRun>& work = result.runs;
  for (size_t c = 0; c < combinations.size(); ++c)
    for (int k = 1; k <= setup.seeds; ++k) work.push_back(SweepRun{c, static_cast<uint64_t>(k), {}, {}, 0, false});
  result.rows.resize(combinations.size());
  for (size_t c = 0; c < combinations.size(); ++c) {
    result.rows[c].label = combinations[c].label;
    result.rows[c].values = combinations[c].values;
  }

  Gather g;
  g.seedsLeft.assign(combinations.size(), setup.seeds);
  g.firstDraw = static_cast<int64_t>(std::min<size_t>(draws.size(), kHistoryRows));
  g.periods = draws.size() - static_cast<size_t>(g.firstDraw);
  const int replicas = g.periods ? std::max(0, setup.replicas) : 0;
  SweepSetup local = setup;
  local.replicas = replicas;
  g.drawn.resize(static_cast<size_t>(replicas) * g.periods);
  Rng fair(setup.replicaSeed);
  for (uint16_t& d : g.drawn) d = static_cast<uint16_t>(fair.Below(1000));
  g.bestPath.assign(g.drawn.size(), std::numeric_limits<int64_t>::min());
  g.bestRow.assign(static_cast<size_t>(replicas), std::numeric_limits<int64_t>::min());
  g.finals.resize(work.size());

  std::atomic<size_t> next{0}, done{0};
  auto cancelled = [&] { return setup.cancel && setup.cancel->load(); };
  auto worker = [&] {
    for (size_t j; !cancelled() && (j = next.fetch_add(1)) < work.size();) {
      SweepRun& run = work[j];
      QuietPrompter quiet;
      BacktestSettings s = combinations[run.combination].settings;
      s.seed = run.seed;
      s.keepPools = true;
      run.outcome = RunBacktestOn(s, draws, quiet);
      run.notices = std::move(quiet.notices);
      run.judged = !run.outcome.periods.empty();
      run.finalProfit = run.judged ? run.outcome.periods.back().profit : 0;
      if (run.outcome.error.empty()) ReplayRun(g, local, run, j);
      bool last = false;
      {
        std::lock_guard<std::mutex> hold(g.lock);
        last = --g.seedsLeft[run.combination] == 0;
      }
      if (last) FinishCombination(g, local, work, run.combination, result.rows[run.combination]);
      done.fetch_add(1);
    }
  };
  result.threads = std::min<size_t>(static_cast<size_t>(std::max(1, setup.jobs)), work.size());
  std::vector<std::thread> pool;
  for (size_t t = 0; t < result.threads; ++t) pool.emplace_back(worker);
  while (done.load() < work.size() && !cancelled()) {
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    if (progress) progress(done.load(), work.size(), result.threads);
  }
  for (std::thread& t : pool) t.join();
  if (cancelled()) {
    result.cancelled = true;
    return result;
  }

  for (const SweepRun& run : work) {
    if (!run.outcome.error.empty()) {
      result.error = combinations[run.combination].label + ": " + run.outcome.error;
      return result;
    }
    for (const std::string& n : run.notices)
      if (result.notices.size() < 4 &&
          std::find(result.notices.begin(), result.notices.end(), n) == result.notices.end())
        result.notices.push_back(n);
  }
  if (!g.replayError.empty()) {
    result.error = g.replayError;
    return result;
  }
  result.luckiest = g.luckiest;

  std::vector<double> raw;
  for (const SweepRow& r : result.rows) raw.push_back(r.chance.p);
  std::vector<double> holm = HolmAdjust(raw);
  for (size_t c = 0; c < result.rows.size(); ++c) result.rows[c].holm = holm[c];

  result.replicas = replicas;
  if (replicas > 0) {
    auto share = [&](auto atLeast) {
      int count = 0;
      for (int r = 0; r < replicas; ++r) count += atLeast(static_cast<size_t>(r)) ? 1 : 0;
      return (1.0 + count) / (1.0 + replicas);
    };
    for (SweepRow& row : result.rows) row.selectionP = share([&](size_t r) { return g.bestRow[r] >= row.profit; });
    if (result.luckiest >= 0) {
      const int64_t best = work[static_cast<size_t>(result.luckiest)].finalProfit;
      result.bestRunSelectionP = share([&](size_t r) { return g.bestPath[r * g.periods + g.periods - 1] >= best; });
    }
    std::vector<int64_t> column(static_cast<size_t>(replicas));
    for (size_t t = 0; t < g.periods; ++t) {
      for (size_t r = 0; r < column.size(); ++r) column[r] = g.bestPath[r * g.periods + t];
      result.band.low.push_back(Quantile(column, 0.025));
      result.band.median.push_back(Quantile(column, 0.5));
      result.band.high.push_back(Quantile(column, 0.975));
    }
  }
  result.firstDraw = g.firstDraw;
  result.odds = result.highestOdds = combinations.empty() ? setup.base.odds : OddsOf(combinations[0].settings);
  for (const SweepCombination& c : combinations) {
    result.odds = std::min(result.odds, OddsOf(c.settings));
    result.highestOdds = std::max(result.highestOdds, OddsOf(c.settings));
  }
  return result;
}

}  // namespace lumora
