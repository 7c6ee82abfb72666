// The exact chance tails of a sweep row over 10,000 judged draws: one seed (the Poisson-binomial
// of its pool sizes) and three seeds on the same draws (per draw, how many of their pools hold the
// drawn number, convolved), for small and large pools. A backtest of the same 10,000 draws takes
// seconds; these should take a small fraction of that.
#include <benchmark/benchmark.h>

#include "analysis/Chance.h"
#include "core/Random.h"

namespace {

using namespace lumora;

constexpr int kDraws = 10000;

NumberSet RandomPool(Rng& rng, int size) {
  NumberSet pool;
  while (pool.count() < size) pool.add(static_cast<int>(rng.Below(1000)));
  return pool;
}

void BM_ExactTailsOneSeed(benchmark::State& state) {
  const int size = static_cast<int>(state.range(0));
  Rng rng(3);
  std::vector<JudgedPeriod> run;
  for (int t = 0; t < kDraws; ++t) {
    const int k = size - 10 + static_cast<int>(rng.Below(21));
    run.push_back(JudgedPeriod{k, rng.Below(1000) < static_cast<uint64_t>(k), 0, 0, t});
  }
  for (auto _ : state) benchmark::DoNotOptimize(SummariseHits(run));
}
BENCHMARK(BM_ExactTailsOneSeed)->Arg(50)->Arg(765)->Unit(benchmark::kMillisecond);

void BM_ExactTailsThreeSeeds(benchmark::State& state) {
  const int size = static_cast<int>(state.range(0));
  Rng rng(4);
  std::vector<std::vector<JudgedPeriod>> runs(3);
  std::vector<std::vector<NumberSet>> pools(3);
  for (int t = 0; t < kDraws; ++t) {
    const int drawn = static_cast<int>(rng.Below(1000));
    const NumberSet shared = RandomPool(rng, size * 2 / 3);
    for (size_t s = 0; s < 3; ++s) {
      NumberSet pool = shared | RandomPool(rng, size / 3);
      runs[s].push_back(JudgedPeriod{pool.count(), pool.contains(drawn), 0, 0, t});
      pools[s].push_back(pool);
    }
  }
  for (auto _ : state)
    benchmark::DoNotOptimize(SummariseSeeds({&runs[0], &runs[1], &runs[2]}, {&pools[0], &pools[1], &pools[2]}));
}
BENCHMARK(BM_ExactTailsThreeSeeds)->Arg(50)->Arg(765)->Unit(benchmark::kMillisecond);

}  // namespace
