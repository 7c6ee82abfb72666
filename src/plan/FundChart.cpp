#include "plan/FundChart.h"

#include <algorithm>

#include "plan/SideCharts.h"

namespace lumora {

namespace {
constexpr int kValue = 1;
constexpr int kFilled = 2;
constexpr int kStrokeWidth = 2;
}  // namespace

double FundChartHalfHeight(const FundCurve& curve) {
  double max = 0, min = 0;
  for (int i = 1; i <= kFundUsedRows; ++i) {
    double v = curve[static_cast<size_t>(i)][kValue];
    max = std::max(max, v);
    min = std::min(min, v);
  }
  return max > -min ? max + 20 : 20 - min;
}

Scene FundChartScene(const FundCurve& curve) {
  Scene scene;
  const double r = FundChartHalfHeight(curve);
  scene.setScale(0, r, 125, -r);
  scene.line(0, 0, 125, 0, kRed);
  for (int i = 1; i <= kFundUsedRows; ++i) {
    const auto& row = curve[static_cast<size_t>(i)];
    if (row[kFilled] == 0) break;
    const double before = curve[static_cast<size_t>(i - 1)][kValue];
    const double now = row[kValue];
    scene.line(i, before, i, now, now > before ? kRed : kBlue, kStrokeWidth);
  }
  return scene;
}

void PaintFundChart(Context& cx, const PlanState& plan) {
  if (cx.headless) return;
  cx.form.setScene(kFundPicture, FundChartScene(plan.fundCurve));
}

}  // namespace lumora
