#include "analysis/Sweep.h"

#include <algorithm>
#include <chrono>
#include <thread>

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

std::vector<SweepCombination> SweepCombinations(const SweepSpec& spec) {
  size_t count = 1;
  for (const SweepAxis& axis : spec.axes) count *= axis.values.size();
  std::vector<SweepCombination> out(count);
  for (size_t c = 0; c < count; ++c) {
    SweepCombination& combo = out[c];
    combo.settings = spec.base;
    size_t rest = c;
    combo.values.resize(spec.axes.size());
    for (size_t a = spec.axes.size(); a-- > 0;) {
      combo.values[a] = spec.axes[a].values[rest % spec.axes[a].values.size()];
      rest /= spec.axes[a].values.size();
    }
    for (size_t a = 0; a < spec.axes.size(); ++a) {
      combo.settings.controls.emplace_back(spec.axes[a].name, combo.values[a]);
      combo.label += (a ? " " : "") + spec.axes[a].name + "=" + combo.values[a];
    }
  }
  return out;
}

std::string CheckCombinations(const std::vector<SweepCombination>& combinations) {
  for (const SweepCombination& c : combinations) {
    QuietPrompter quiet;
    BacktestOutcome dry = RunBacktestOn(c.settings, {}, quiet);
    if (!dry.error.empty()) return dry.error;
  }
  return {};
}

SweepResult RunSweepGrid(const SweepSpec& spec, const std::vector<SweepCombination>& combinations,
                         const std::vector<DrawRecord>& draws, const SweepProgress& progress) {
  SweepResult result;
  std::vector<SweepRun>& work = result.runs;
  for (size_t c = 0; c < combinations.size(); ++c)
    for (int k = 1; k <= spec.seeds; ++k) work.push_back(SweepRun{c, static_cast<uint64_t>(k), {}, {}});

  std::atomic<size_t> next{0}, done{0};
  auto cancelled = [&] { return spec.cancel && spec.cancel->load(); };
  auto worker = [&] {
    for (size_t j; !cancelled() && (j = next.fetch_add(1)) < work.size();) {
      QuietPrompter quiet;
      BacktestSettings s = combinations[work[j].combination].settings;
      s.seed = work[j].seed;
      work[j].outcome = RunBacktestOn(s, draws, quiet);
      work[j].notices = std::move(quiet.notices);
      done.fetch_add(1);
    }
  };
  result.threads = std::min<size_t>(static_cast<size_t>(std::max(1, spec.jobs)), work.size());
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
      if (result.notices.size() < 4 && std::find(result.notices.begin(), result.notices.end(), n) == result.notices.end())
        result.notices.push_back(n);
  }

  result.rows.resize(combinations.size());
  for (size_t c = 0; c < combinations.size(); ++c) {
    result.rows[c].label = combinations[c].label;
    result.rows[c].values = combinations[c].values;
  }
  for (size_t j = 0; j < work.size(); ++j) {
    const SweepRun& run = work[j];
    SweepRow& r = result.rows[run.combination];
    const auto& periods = run.outcome.periods;
    if (!periods.empty()) {
      r.profit += periods.back().profit;
      r.turnover += periods.back().turnover;
      const auto* best = result.luckiest >= 0 ? &work[static_cast<size_t>(result.luckiest)].outcome.periods : nullptr;
      if (!best || best->empty() || periods.back().profit > best->back().profit) result.luckiest = static_cast<std::ptrdiff_t>(j);
    }
    for (const JudgedPeriod& p : periods) r.poolSum += p.poolSize;
    r.drawdown = std::max(r.drawdown, LargestDrawdown(periods));
    r.missRun = std::max(r.missRun, LongestMissRun(periods));
  }
  for (size_t c = 0; c < result.rows.size(); ++c) {
    std::vector<const std::vector<JudgedPeriod>*> runs;
    for (const SweepRun& run : work)
      if (run.combination == c) runs.push_back(&run.outcome.periods);
    result.rows[c].chance = SummariseSeeds(runs);
  }
  std::vector<double> raw;
  for (const SweepRow& r : result.rows) raw.push_back(r.chance.p);
  std::vector<double> holm = HolmAdjust(raw);
  for (size_t c = 0; c < result.rows.size(); ++c) result.rows[c].holm = holm[c];
  result.odds = combinations.empty() ? spec.base.odds : OddsOf(combinations[0].settings);
  return result;
}

}  // namespace lumora
