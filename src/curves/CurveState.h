#pragma once
// The process-wide stores of the curves subsystem, created at start-up and kept for the whole run:
// the fifteen stored trend texts, the user's trend line, the last profit curve and the drawing
// state of the trend chart.
#include <array>
#include <cstdint>
#include <string>

namespace lumora {

inline constexpr int kCurveSlots = 15;    // CurveSlots 0..14
inline constexpr int kTrendPoints = 131;  // TrendLine 0..130; positions 1..120 are used
inline constexpr int kTrendLength = 120;  // positions saved, loaded and matched
inline constexpr int kCurvePoints = 121;  // ProfitCurve 0..120; plots use 0..119
inline constexpr int kNoSlot = 100;       // slot code of the demonstration fit

// A drawn trend: heights in curve units, index = period position (1 oldest .. 120 newest).
using TrendLine = std::array<int32_t, kTrendPoints>;
// A pool's profit curve: y(0) = 0, then one point per period of the window, oldest first.
using ProfitCurve = std::array<int32_t, kCurvePoints>;

struct CurveState {
  std::array<std::string, kCurveSlots> slots{};  // CurveSlots: trend texts as read from the store
  TrendLine trend{};                             // TrendLine, all 0 at start-up
  ProfitCurve profit{};                          // ProfitCurve: the last one computed or simulated

  // Drawing state of the trend chart. The horizontal-line mode is armed while the button
  // "C_huaxian_line" is disabled (the Form holds that flag).
  int clickCounter = 0;  // 0 idle, 1 a freehand stroke is being drawn
  int lastX = 0;         // last recorded point; (0, 0) = the stroke has no point yet
  int lastY = 0;
};

}  // namespace lumora
