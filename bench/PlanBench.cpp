// The plan start with the design's defaults (mode one, r = 18, fifteen lines) and the judgement
// of a draw followed by the next plan start (one backtest period without the history copy).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <filesystem>
#include <random>
#include <vector>

#include "core/RecordingPorts.h"
#include "core/Text.h"
#include "core/controls/Fmain.h"
#include "curves/CurveStore.h"
#include "curves/TrendMatching.h"
#include "plan/MonitorPools.h"
#include "plan/PlanDefaults.h"
#include "plan/PlanJudgement.h"
#include "plan/PlanRecord.h"
#include "plan/PlanStart.h"
#include "plan/TrendFit.h"
#include "session/AfterDraw.h"
#include "session/PlanSession.h"

namespace lumora {
namespace {

struct PlanBenchSession {
  Session s;
  RecordingPrompter prompter;
  RecordingClipboard clipboard;
  FixedClock clock;
  std::mt19937 draws{11};
  bool ready = false;  // the curve store was read: without it there is nothing to fit

  PlanBenchSession() {
    s.cx.ports = Ports{&clipboard, nullptr, &prompter, nullptr, &clock};
    // The shipped data folder beside this program, wherever it is started from.
    s.cx.data = DataFolder::Locate(std::filesystem::read_symlink("/proc/self/exe"));
    ApplyPlanDesignValues(s.cx.form);
    ready = StartupDefaults(s);
    for (int i = 1; i <= kHistoryRows; ++i) s.cx.draws.history[static_cast<size_t>(i)] = Draw(121 - i);
    s.cx.draws.rebuildSubSeries();
    s.cx.form.setText(fmain::Tkjh, "draws");
  }
  DrawRecord Draw(int period) {
    return DrawRecord{Pad(period % 1000, 3), Pad(std::uniform_int_distribution<int>(0, 99999)(draws), 5)};
  }
};

void BM_StartPlanDefaults(benchmark::State& state) {
  PlanBenchSession b;
  if (!b.ready) return state.SkipWithError("no curve store in the data folder");
  PlanEnv env = PlanEnvOf(b.s);
  for (auto _ : state) StartPlan(env);
  benchmark::DoNotOptimize(b.s.cx.form.text(fmain::T_jihua_jj_dadi));
}
BENCHMARK(BM_StartPlanDefaults)->Unit(benchmark::kMillisecond);

// The random picks alone of one default plan start: fifteen decided fits picked r = 18 times each.
// What the pick rule itself costs, whatever else a plan start does (items: numbers picked).
void BM_DefaultPlanPicks(benchmark::State& state) {
  PlanBenchSession b;
  if (!b.ready) return state.SkipWithError("no curve store in the data folder");
  PlanEnv env = PlanEnvOf(b.s);
  RefreshStoredTrends(env);
  std::vector<FitPicks> picks;
  int64_t perStart = 0;
  for (int i = 0; i < kMonitorPoolCount; ++i) {
    const TrendLine* trend = StoredTrend(env, i);
    if (!trend) return state.SkipWithError("a stored trend is broken");
    const FitDecision d = DecideFit(b.s.cx, *trend, b.s.cx.form.value(fmain::T_quxian_zhushu[i]), i);
    picks.emplace_back(d);
    perStart += std::min<int64_t>(d.size - d.trendHits, static_cast<int64_t>(d.candidates.size()));
  }
  const int rounds = b.s.cx.form.value(fmain::T_jh_dadi_chongfu_cs);
  for (auto _ : state)
    for (int k = 0; k < rounds; ++k)
      for (FitPicks& p : picks) benchmark::DoNotOptimize(p.pick(b.s.cx.rng));
  state.SetItemsProcessed(state.iterations() * perStart * rounds);
}
BENCHMARK(BM_DefaultPlanPicks)->Unit(benchmark::kMillisecond);

void BM_JudgeAndStartPlan(benchmark::State& state) {
  PlanBenchSession b;
  if (!b.ready) return state.SkipWithError("no curve store in the data folder");
  PlanEnv env = PlanEnvOf(b.s);
  StartPlan(env);
  int period = 121;
  for (auto _ : state) {
    b.s.cx.draws.history[1] = b.Draw(period++);
    b.s.cx.draws.rebuildSubSeries();
    RecordMonitorRow(b.s.cx, b.s.plan);
    JudgePlan(env);
    AdvanceRecordIndex(b.s.plan);
    StartPlan(env);
  }
}
BENCHMARK(BM_JudgeAndStartPlan)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace lumora
