#include "analysis/WalkForward.h"

#include <algorithm>

namespace lumora {
namespace {

// The periods of a run judged by draws [first, end): positions [from, to) in its periods, and the
// cumulative figures just before them.
struct Slice {
  size_t from = 0, to = 0;
  int64_t profitBefore = 0, turnoverBefore = 0;
  int64_t profit(const BacktestOutcome& o) const { return to > from ? o.periods[to - 1].profit - profitBefore : 0; }
  int64_t turnover(const BacktestOutcome& o) const { return to > from ? o.periods[to - 1].turnover - turnoverBefore : 0; }
};

Slice SliceOf(const BacktestOutcome& o, size_t first, size_t end) {
  Slice s;
  const auto& at = o.judgedDraw;
  s.from = static_cast<size_t>(std::lower_bound(at.begin(), at.end(), first) - at.begin());
  s.to = static_cast<size_t>(std::lower_bound(at.begin(), at.end(), end) - at.begin());
  if (s.from > 0) {
    s.profitBefore = o.periods[s.from - 1].profit;
    s.turnoverBefore = o.periods[s.from - 1].turnover;
  }
  return s;
}

}  // namespace

std::vector<WalkForwardFold> WalkForwardWindows(size_t drawCount, size_t warmUp, size_t train, size_t test, std::string& error) {
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

WalkForwardResult WalkForward(const SweepResult& sweep, size_t drawCount, size_t warmUp, size_t train, size_t test) {
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
  int64_t carriedProfit = 0, carriedTurnover = 0;
  for (WalkForwardFold& fold : result.folds) {
    // The choice sees the training draws only.
    bool any = false;
    for (size_t c = 0; c < byCombination.size(); ++c) {
      int64_t profit = 0;
      for (const SweepRun* run : byCombination[c]) profit += SliceOf(run->outcome, fold.trainFirst, fold.trainEnd).profit(run->outcome);
      if (!any || profit > fold.trainProfit) {
        fold.chosen = c;
        fold.trainProfit = profit;
        any = true;
      }
    }
    std::vector<std::vector<JudgedPeriod>> slices;
    for (const SweepRun* run : byCombination[fold.chosen]) {
      const BacktestOutcome& o = run->outcome;
      const Slice s = SliceOf(o, fold.testFirst, fold.testEnd);
      fold.testProfit += s.profit(o);
      fold.testTurnover += s.turnover(o);
      slices.emplace_back(o.periods.begin() + static_cast<std::ptrdiff_t>(s.from), o.periods.begin() + static_cast<std::ptrdiff_t>(s.to));
      if (slices.size() <= testBySeed.size()) {
        auto& all = testBySeed[slices.size() - 1];
        all.insert(all.end(), slices.back().begin(), slices.back().end());
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
    for (const auto& slice : slices) pointers.push_back(&slice);
    fold.test = SummariseSeeds(pointers);
    result.testProfit += fold.testProfit;
    result.testTurnover += fold.testTurnover;
    result.trainProfit += fold.trainProfit;
  }
  std::vector<const std::vector<JudgedPeriod>*> pointers;
  for (const auto& periods : testBySeed) pointers.push_back(&periods);
  result.test = SummariseSeeds(pointers);
  return result;
}

}  // namespace lumora
