// A backtest with the default settings over 10,000 judged draws (10,120 draws, the first 120 the
// history): judged periods a second is the figure a sweep's wall time follows.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <vector>

#include "analysis/Backtest.h"
#include "core/Random.h"
#include "core/Text.h"

namespace lumora {
namespace {

class QuietRun final : public AnsweringPrompter {
 public:
  void inform(const std::string&, const std::string&) override {}
};

std::vector<DrawRecord> SeededDraws(uint64_t seed, int count) {
  Rng rng(seed);
  std::vector<DrawRecord> draws;
  draws.reserve(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i)
    draws.push_back(DrawRecord{Pad(i % 120 + 1, 3), Pad(static_cast<int64_t>(rng.Below(100000)), 5)});
  return draws;
}

void BM_Backtest10000Draws(benchmark::State& state) {
  const std::vector<DrawRecord> draws = SeededDraws(17, 10000 + 120);
  BacktestSettings settings;
  // The shipped data folder beside this program, wherever it is started from.
  settings.data = DataFolder::Locate(std::filesystem::read_symlink("/proc/self/exe")).root();
  settings.seed = 1;
  size_t periods = 0;
  for (auto _ : state) {
    QuietRun quiet;
    BacktestOutcome run = RunBacktestOn(settings, draws, quiet);
    if (!run.error.empty()) return state.SkipWithError(run.error.c_str());
    periods += run.periods.size();
    benchmark::DoNotOptimize(run.summary);
  }
  state.SetItemsProcessed(static_cast<int64_t>(periods));
  state.counters["periods/s"] = benchmark::Counter(static_cast<double>(periods), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_Backtest10000Draws)->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace
}  // namespace lumora
