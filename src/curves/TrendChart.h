#pragma once
// The trend chart "Pic" of the drawing tab: the drawing grid, freehand strokes and horizontal
// lines, stored trends drawn as polylines, and the bar ("K线") plot of a profit curve. Every chart
// is a Scene in the Form.
#include <string>
#include <string_view>

#include "core/Context.h"
#include "core/Scene.h"
#include "core/controls/Fmain.h"
#include "curves/CurveState.h"

namespace lumora {

inline constexpr auto kTrendChart = fmain::Pic;

// "开始画线" (and start-up): clears "Pic" and draws the empty drawing grid.
void PrepareDrawingGrid(Context& cx);
// "点此画水平直线": the grid, then arms the horizontal-line mode (the button is disabled).
void ArmHorizontalLine(Context& cx);

// Mouse button pressed on the chart at logical (x, y): the drawing state machine.
void PressTrendChart(Context& cx, CurveState& curves, double x, double y);
// Mouse moved over the chart to logical (x, y): RecordDrawPoint(floor(x), y).
void MoveOverTrendChart(Context& cx, CurveState& curves, double x, double y);
// Records a point of the stroke in progress (nothing unless a stroke is being drawn).
void RecordDrawPoint(Context& cx, CurveState& curves, int x, double y);
// Interpolates the zero gaps of positions 2..118 from the left.
void FillTrendGaps(TrendLine& trend);

// TrendLine(1..120) joined by "*".
std::string FormatTrendText(const TrendLine& trend);
// Parses a trend text into the TrendLine while drawing it as a red polyline on "Pic". Same
// failure rule as LoadTrendText.
bool ShowTrendText(Context& cx, CurveState& curves, std::string_view text);

// "C_gengxin(i)": slot i becomes the current trend and the whole store is written.
void SaveTrendToSlot(Context& cx, CurveState& curves, int slot);
// "C_duqu(i)": rereads the store, draws the grid and shows slot i. False when the store could not
// be read: the notice was shown, the chart and the slots are as they were and the program goes on.
bool LoadTrendFromSlot(Context& cx, CurveState& curves, int slot);

// The vertical half-range R and grid step s of a profit-curve plot.
struct ProfitScale {
  int range = 1500;
  int step = 200;
};
ProfitScale ChooseProfitScale(const ProfitCurve& curve);
// The bar chart of a profit curve (points 0..119) with grid and labels.
Scene ProfitCurveScene(const ProfitCurve& curve);
// Plots curves.profit on "Pic".
void PlotProfitCurve(Context& cx, const CurveState& curves);
// "K线": the real curve of the trimmed pool text in "Tdadi", plotted.
void ShowPoolCurve(Context& cx, CurveState& curves);
// "复制大底": puts the text of "Tdadi" on the clipboard. False (with the copy-failed notice) when
// the clipboard did not take it; the caller then shows no copy notice.
bool CopyPoolText(Context& cx);

}  // namespace lumora
