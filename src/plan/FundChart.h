#pragma once
// The plan's fund chart: the cumulative profit after each judged period as vertical strokes,
// red where the profit rose, blue where it fell or stayed.
#include "core/Context.h"
#include "core/Scene.h"
#include "plan/PlanState.h"

namespace lumora {

// Half-height of the chart: max + 20 when max > -min, otherwise 20 - min, over rows 1..120
// (unfilled rows count with their value, 0) and 0.
double FundChartHalfHeight(const FundCurve& curve);

// x from 0 to 125, y from R (top) to -R (bottom); the red zero line, then one stroke per filled
// row from the previous row's value, up to the first unfilled row.
Scene FundChartScene(const FundCurve& curve);

// Paints FundChartScene(plan.fundCurve) into Fk.Pic_k_4.
void PaintFundChart(Context& cx, const PlanState& plan);

}  // namespace lumora
