#include "analysis/WalkForward.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <set>
#include <thread>

namespace lumora {
namespace {

// The periods of a run judged by draws [first, end): positions [from, to) in its periods, and the
// cumulative figures just before them.
struct Slice {
  size_t from = 0, to = 0;
  int64_t profitBefore = 0, turnoverBefore = 0;
  int64_t profit(const BacktestOutcome& o) const { return to > from ? o.periods[to - 1].profit - profitBefore : 0; }
  int64_t turnover(const BacktestOutcome& o) const {
    return to > from ? o.periods[to - 1].turnover - turnoverBefore : 0;
  }
};

Slice SliceOf(const BacktestOutcome& o, size_t first, size_t end) {
  Slice s;
  const auto before = [](const JudgedPeriod& p, size_t draw) { return p.draw < static_cast<int64_t>(draw); };
  const auto& at = o.periods;
  s.from = static_cast<size_t>(std::lower_bound(at.begin(), at.end(), first, before) - at.begin());
  s.to = static_cast<size_t>(std::lower_bound(at.begin(), at.end(), end, before) - at.begin());
  if (s.from > 0) {
    s.profitBefore = o.periods[s.from - 1].profit;
    s.turnoverBefore = o.periods[s.from - 1].turnover;
  }
  return s;
}

}  // namespace

std::vector<WalkForwardFold> WalkForwardWindows(size_t drawCount, size_t warmUp, size_t train, size_t test,
                                                std::string& error) {
  std::vector<WalkForwardFold> folds;
  if (train < 1 || test < 1) {
    error = "--train and --test want whole numbers of draws of 1 or more";
    return folds;
  }
  const size_t judged = drawCount > warmUp ? drawCount - warmUp : 0;
  if (train >= judged) {
    error = "walk-forward needs more than --train " + std::to_string(train) + " judged draws, and the file has " +
            std::to_string(judged) + " after the " + std::to_string(warmUp) + "-draw warm-up";
    return folds;
  }
  for (size_t start = warmUp; start + train < drawCount; start += test) {
    WalkForwardFold f;
    f.trainFirst = start;
    f.trainEnd = start + train;
    f.testFirst = f.trainEnd;
    f.testEnd = std::min(drawCount, f.testFirst + test);
    folds.push_back(f);
  }
  return folds;
}

WalkForwardResult WalkForward(const SweepResult& sweep, size_t drawCount, size_t warmUp, size_t train, size_t test,
                              bool chance) {
  WalkForwardResult result;
  result.folds = WalkForwardWindows(drawCount, warmUp, train, test, result.error);
  if (!result.error.empty()) return result;
  if (sweep.rows.empty() || sweep.runs.empty()) {
    result.error = "the sweep has no runs";
    result.folds.clear();
    return result;
  }
  // The runs of each combination in seed order.
  std::vector<std::vector<const SweepRun*>> byCombination(sweep.rows.size());
  for (const SweepRun& run : sweep.runs) byCombination[run.combination].push_back(&run);
  for (auto& runs : byCombination)
    std::sort(runs.begin(), runs.end(), [](const SweepRun* a, const SweepRun* b) { return a->seed < b->seed; });

  const size_t seeds = byCombination[0].size();
  std::vector<std::vector<JudgedPeriod>> testBySeed(seeds);  // every fold's test periods, per seed
  std::vector<std::vector<NumberSet>> testPoolsBySeed(seeds);
  int64_t carriedProfit = 0, carriedTurnover = 0;
  for (WalkForwardFold& fold : result.folds) {
    // The choice sees the training draws only.
    bool any = false;
    for (size_t c = 0; c < byCombination.size(); ++c) {
      int64_t profit = 0;
      for (const SweepRun* run : byCombination[c])
        profit += SliceOf(run->outcome, fold.trainFirst, fold.trainEnd).profit(run->outcome);
      if (!any || profit > fold.trainProfit) {
        fold.chosen = c;
        fold.trainProfit = profit;
        any = true;
      }
    }
    std::vector<std::vector<JudgedPeriod>> slices;
    std::vector<std::vector<NumberSet>> poolSlices;
    for (const SweepRun* run : byCombination[fold.chosen]) {
      const BacktestOutcome& o = run->outcome;
      const Slice s = SliceOf(o, fold.testFirst, fold.testEnd);
      fold.testProfit += s.profit(o);
      fold.testTurnover += s.turnover(o);
      slices.emplace_back(o.periods.begin() + static_cast<std::ptrdiff_t>(s.from),
                          o.periods.begin() + static_cast<std::ptrdiff_t>(s.to));
      if (o.pools.size() == o.periods.size())
        poolSlices.emplace_back(o.pools.begin() + static_cast<std::ptrdiff_t>(s.from),
                                o.pools.begin() + static_cast<std::ptrdiff_t>(s.to));
      else poolSlices.emplace_back();
      if (slices.size() <= testBySeed.size()) {
        auto& all = testBySeed[slices.size() - 1];
        all.insert(all.end(), slices.back().begin(), slices.back().end());
        auto& allPools = testPoolsBySeed[slices.size() - 1];
        allPools.insert(allPools.end(), poolSlices.back().begin(), poolSlices.back().end());
      }
      if (slices.size() == 1) {
        for (const JudgedPeriod& p : slices.back())
          result.testPeriods.push_back(JudgedPeriod{p.poolSize, p.hit, carriedProfit + p.profit - s.profitBefore,
                                                    carriedTurnover + p.turnover - s.turnoverBefore});
        carriedProfit += s.profit(o);
        carriedTurnover += s.turnover(o);
      }
    }
    std::vector<const std::vector<JudgedPeriod>*> pointers;
    std::vector<const std::vector<NumberSet>*> poolPointers;
    for (size_t k = 0; k < slices.size(); ++k) {
      pointers.push_back(&slices[k]);
      poolPointers.push_back(&poolSlices[k]);
    }
    if (chance) fold.test = SummariseSeeds(pointers, poolPointers);
    result.testProfit += fold.testProfit;
    result.testTurnover += fold.testTurnover;
    result.trainProfit += fold.trainProfit;
  }
  std::vector<const std::vector<JudgedPeriod>*> pointers;
  std::vector<const std::vector<NumberSet>*> poolPointers;
  for (size_t k = 0; k < seeds; ++k) {
    pointers.push_back(&testBySeed[k]);
    poolPointers.push_back(&testPoolsBySeed[k]);
  }
  if (chance) result.test = SummariseSeeds(pointers, poolPointers);
  return result;
}

namespace {

// Runs `runs[i]` for every i in `which` on up to `jobs` threads, each into its own slot.
void RunAll(std::vector<SweepRun>& runs, const std::vector<size_t>& which,
            const std::vector<SweepCombination>& combinations, const std::vector<DrawRecord>& draws, bool keepPools,
            int jobs, size_t& threads, const SweepProgress& progress, size_t doneBefore, size_t total) {
  std::atomic<size_t> next{0}, done{0};
  auto worker = [&] {
    for (size_t i; (i = next.fetch_add(1)) < which.size();) {
      SweepRun& run = runs[which[i]];
      AnsweringPrompter quiet;
      BacktestSettings s = combinations[run.combination].settings;
      s.seed = run.seed;
      s.keepPools = keepPools;
      run.outcome = RunBacktestOn(s, draws, quiet);
      done.fetch_add(1);
    }
  };
  threads = std::max<size_t>(1, std::min<size_t>(static_cast<size_t>(std::max(1, jobs)), which.size()));
  std::vector<std::thread> pool;
  for (size_t t = 0; t < threads; ++t) pool.emplace_back(worker);
  while (done.load() < which.size()) {
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    if (progress) progress(doneBefore + done.load(), total, threads);
  }
  for (std::thread& t : pool) t.join();
}

}  // namespace

WalkForwardResult RunWalkForward(const SweepSetup& setup, const std::vector<SweepCombination>& combinations,
                                 const std::vector<DrawRecord>& draws, size_t train, size_t test,
                                 const SweepProgress& progress, SweepResult* runs) {
  WalkForwardResult result;
  WalkForwardWindows(draws.size(), kHistoryRows, train, test, result.error);
  if (!result.error.empty()) return result;
  SweepResult sweep;
  for (size_t c = 0; c < combinations.size(); ++c) {
    sweep.rows.emplace_back();
    sweep.rows.back().label = combinations[c].label;
    sweep.rows.back().values = combinations[c].values;
    for (int k = 1; k <= setup.seeds; ++k)
      sweep.runs.push_back(SweepRun{c, static_cast<uint64_t>(k), {}, {}, 0, false});
  }
  sweep.odds = combinations.empty() ? setup.base.odds : OddsOf(combinations[0].settings);
  std::vector<size_t> every(sweep.runs.size());
  for (size_t i = 0; i < every.size(); ++i) every[i] = i;
  // The choice needs every run's periods; the test figures need the chosen runs' pools too.
  RunAll(sweep.runs, every, combinations, draws, false, setup.jobs, sweep.threads, progress, 0, every.size());
  for (const SweepRun& run : sweep.runs)
    if (!run.outcome.error.empty()) {
      result.error = combinations[run.combination].label + ": " + run.outcome.error;
      return result;
    }
  WalkForwardResult chosen = WalkForward(sweep, draws.size(), kHistoryRows, train, test, false);
  if (!chosen.error.empty()) return chosen;
  std::set<size_t> picked;
  for (const WalkForwardFold& f : chosen.folds) picked.insert(f.chosen);
  std::vector<size_t> again;
  for (size_t i = 0; i < sweep.runs.size(); ++i)
    if (picked.count(sweep.runs[i].combination)) again.push_back(i);
  size_t threads = 0;
  RunAll(sweep.runs, again, combinations, draws, true, setup.jobs, threads, progress, every.size(),
         every.size() + again.size());
  result = WalkForward(sweep, draws.size(), kHistoryRows, train, test);
  if (runs) *runs = std::move(sweep);
  return result;
}

}  // namespace lumora
