// Trend matching speed: one fit of 200 numbers over a full window, and the fifteen fits of a
// period's monitor pools in a row.
#include <benchmark/benchmark.h>

#include <random>

#include "core/Context.h"
#include "core/NumberSet.h"
#include "core/Text.h"
#include "core/controls/Fmain.h"
#include "curves/CurveStore.h"
#include "curves/PoolCurve.h"
#include "curves/TrendMatching.h"

namespace {

using namespace lumora;

void FillDraws(Context& cx) {
  std::mt19937_64 g(5);
  for (int row = 1; row <= kHistoryRows; ++row)
    cx.draws.history[row] = DrawRecord{Pad(row, 3), Pad(static_cast<int64_t>(g() % 100000), 5)};
  cx.draws.rebuildSubSeries();
}

void ClimbingTrend(CurveState& c) {
  for (int x = 1; x <= kTrendLength; ++x) c.trend[x] = 8 * x;
}

void BM_FitPoolToTrend200(benchmark::State& state) {
  Context cx;
  CurveState curves;
  FillDraws(cx);
  ClimbingTrend(curves);
  for (auto _ : state) {
    FitPoolToTrend(cx, curves, 200, kNoSlot);
    benchmark::DoNotOptimize(cx.form.text(fmain::Tdadi).data());
  }
}
BENCHMARK(BM_FitPoolToTrend200)->Unit(benchmark::kMicrosecond);

// Fifteen stored trends loaded and fitted one after another with the default sizes 110..250 and
// end control on every slot, as the per-period pool computation runs them.
void BM_FifteenFits(benchmark::State& state) {
  Context cx;
  CurveState curves;
  FillDraws(cx);
  cx.form.setChecked(fmain::Op_mos[0], true);
  for (int i = 0; i < kCurveSlots; ++i) {
    for (int x = 1; x <= kTrendLength; ++x) curves.trend[x] = (i % 5 - 2) * 3 * x;
    curves.slots[i] = [&] {
      std::string t;
      for (int x = 1; x <= kTrendLength; ++x) t += (x > 1 ? "*" : "") + std::to_string(curves.trend[x]);
      return t;
    }();
    cx.form.set(fmain::T_quxian_zhushu[i], 110 + 10 * i);
    cx.form.setChecked(fmain::Check_xl_md[i], true);
    cx.form.setText(fmain::T_xl_muduan[i], "1111111111");
  }
  for (auto _ : state) {
    for (int i = 0; i < kCurveSlots; ++i) {
      LoadTrendText(cx, curves, i);
      FitPoolToTrend(cx, curves, cx.form.value(fmain::T_quxian_zhushu[i]), i);
      benchmark::DoNotOptimize(cx.form.text(fmain::Tdadi).data());
    }
  }
}
BENCHMARK(BM_FifteenFits)->Unit(benchmark::kMicrosecond);

void BM_ComputePoolCurve500(benchmark::State& state) {
  Context cx;
  FillDraws(cx);
  std::string pool;
  for (int v = 0; v < 1000; v += 2) pool += ThreeDigits(v) + " ";
  for (auto _ : state) benchmark::DoNotOptimize(ComputePoolCurve(cx.draws, pool));
}
BENCHMARK(BM_ComputePoolCurve500)->Unit(benchmark::kMicrosecond);

}  // namespace
