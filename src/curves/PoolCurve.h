#pragma once
// The profit curve of a concrete pool over the newest 119 draws of the window.
#include <string_view>

#include "core/Draws.h"
#include "curves/CurveState.h"

namespace lumora {

// y(0) = 0; for k = 1..119: y(k) = round(y(k-1) + 200 on a hit - 0.2 n), halves to even, where a
// hit means SubNumberSeries slot k is in the pool and n is the count of numbers in the trimmed
// pool text. Point 120 stays 0. An empty slot (short history) is a period without a hit.
ProfitCurve ComputePoolCurve(const DrawStore& draws, std::string_view poolText);

// The same into curves.profit.
void ComputePoolCurve(const DrawStore& draws, CurveState& curves, std::string_view poolText);

}  // namespace lumora
