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

void BM_Backtest10000Draws(benchmark::State& state) {
  const std::vector<DrawRecord> draws = SeededDraws(17, 10000 + 120);
  BacktestSettings settings;
  // The shipped data folder beside this program, wherever it is started from.
  settings.data = DataFolder::Locate(std::filesystem::read_symlink("/proc/self/exe")).root();
  settings.seed = 1;
  size_t periods = 0;
  for (auto _ : state) {
    AnsweringPrompter quiet;
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
