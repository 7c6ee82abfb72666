#pragma once
// Helpers shared by the trend chart and trend matching: the trend text parse and curve rounding.
#include <cstdint>
#include <string_view>

#include "core/Scene.h"
#include "curves/CurveState.h"

namespace lumora {

// A curve value rounded half to even and held in the 32-bit range.
int32_t CurvePoint(double value);

// Parses a trend text ("h1*h2*...*h120") into trend positions 1..120, in order. With `drawOn`,
// each position from 2 on adds a red width-4 segment from the previous position. Stops at the
// first missing or non-numeric part and returns false; positions parsed so far keep their new
// values. Parts beyond the 120th are ignored.
bool ParseTrendText(std::string_view text, TrendLine& trend, Scene* drawOn);

}  // namespace lumora
