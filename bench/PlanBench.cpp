// The plan start with the design's defaults (mode one, r = 18, fifteen lines) and the judgement
// of a draw followed by the next plan start (one backtest period without the history copy).
#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>

#include "core/RecordingPorts.h"
#include "core/Text.h"
#include "core/controls/Fmain.h"
#include "curves/CurveStore.h"
#include "plan/MonitorPools.h"
#include "plan/PlanDefaults.h"
#include "plan/PlanJudgement.h"
#include "plan/PlanRecord.h"
#include "plan/PlanStart.h"
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
