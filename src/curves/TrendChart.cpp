#include "curves/TrendChart.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "core/Text.h"
#include "core/controls/Fmain.h"
#include "curves/CurveStore.h"
#include "curves/PoolCurve.h"
#include "curves/Texts.h"
#include "curves/TrendText.h"

namespace lumora {

namespace {

constexpr double kChartRight = 130;  // logical width of the chart; 120..130 is margin
constexpr double kNewest = 120;      // x of the newest period
constexpr int kGridRange = 1500;     // drawing grid: y from 1500 (top) to -1500 (bottom)
constexpr int kPlotPoints = 119;     // plots and curves use points 0..119

// A trend text part as a whole number: blanks around it, an optional sign, digits and at most one
// decimal point. Fractions round half to even; values outside the 32-bit range are not numbers.
bool ReadTrendPart(std::string_view part, int32_t& value) {
  std::string_view t = TrimView(part);
  size_t i = 0;
  if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
  bool digits = false, point = false;
  for (; i < t.size(); ++i) {
    if (t[i] >= '0' && t[i] <= '9') {
      digits = true;
    } else if (t[i] == '.' && !point) {
      point = true;
    } else {
      return false;
    }
  }
  if (!digits) return false;
  double v = RoundHalfEven(ReadNumber(t));
  if (v > std::numeric_limits<int32_t>::max() || v < std::numeric_limits<int32_t>::min()) return false;
  value = static_cast<int32_t>(v);
  return true;
}

bool HorizontalArmed(const Context& cx) { return !cx.form.enabled(fmain::C_huaxian_line); }

}  // namespace

int32_t CurvePoint(double value) {
  if (!(value < 2147483647.0)) return std::numeric_limits<int32_t>::max();
  if (!(value > -2147483648.0)) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(RoundHalfEven(value));
}

bool ParseTrendText(std::string_view text, TrendLine& trend, Scene* drawOn) {
  std::vector<std::string> parts = Split(TrimView(text), "*");
  for (int x = 1; x <= kTrendLength; ++x) {
    int32_t v = 0;
    if (static_cast<size_t>(x) > parts.size() || !ReadTrendPart(parts[x - 1], v)) return false;
    trend[x] = v;
    if (drawOn && x >= 2) drawOn->line(x - 1, trend[x - 1], x, v, kRed, 4);
  }
  return true;
}

void PrepareDrawingGrid(Context& cx) {
  Scene& s = cx.form.editScene(kTrendChart);
  s.clear();
  s.background = kWhite;
  s.setScale(0, kGridRange, kChartRight, -kGridRange);
  s.line(0, 0, kNewest, 0, kRed, 2);
  for (int sign : {1, -1}) {
    for (int v = 0; v <= 2000; v += 200) {
      s.line(0, sign * v, kNewest, sign * v, kBlue, 1);
      s.text(1, sign * v, std::to_string(sign * v), kBlue);
    }
  }
  s.line(kNewest, -kGridRange, kNewest, kGridRange, kGreen, 1);
  s.text(40, 730, curves_text::kDrawingHint, kBlack, 10);
}

void ArmHorizontalLine(Context& cx) {
  PrepareDrawingGrid(cx);
  cx.form.setEnabled(fmain::C_huaxian_line, false);
}

void PressTrendChart(Context& cx, CurveState& curves, double, double y) {
  if (++curves.clickCounter == 1) {
    PrepareDrawingGrid(cx);  // the "开始画线" press
    curves.trend.fill(0);
  } else {
    curves.clickCounter = 0;
    FillTrendGaps(curves.trend);
  }
  curves.lastX = 0;
  curves.lastY = 0;
  if (HorizontalArmed(cx)) {
    cx.form.editScene(kTrendChart).line(0, y, kChartRight, y, kRed, 3);
    cx.form.setEnabled(fmain::C_huaxian_line, true);
    curves.clickCounter = 0;
    const int32_t h = CurvePoint(y);
    for (int x = 0; x <= kTrendLength; ++x) curves.trend[x] = h;
  }
}

void MoveOverTrendChart(Context& cx, CurveState& curves, double x, double y) {
  if (curves.clickCounter != 1) return;
  const double fx = std::floor(x);
  if (!(fx >= -1e6 && fx <= 1e6)) return;
  RecordDrawPoint(cx, curves, static_cast<int>(fx), y);
}

void RecordDrawPoint(Context& cx, CurveState& curves, int x, double y) {
  if (curves.clickCounter != 1) return;
  const bool inRange = x >= 0 && x < kTrendPoints;
  if (curves.lastX != 0 || curves.lastY != 0)
    cx.form.editScene(kTrendChart).line(curves.lastX, curves.lastY, x, y, kRed, 3);
  curves.lastX = x;
  curves.lastY = CurvePoint(y);
  if (inRange) curves.trend[x] = curves.lastY;
}

void FillTrendGaps(TrendLine& trend) {
  for (int x = 2; x <= 118; ++x)
    if (trend[x] == 0) trend[x] = CurvePoint((static_cast<double>(trend[x + 1]) + trend[x - 1]) / 2);
}

std::string FormatTrendText(const TrendLine& trend) {
  std::string text;
  for (int x = 1; x <= kTrendLength; ++x) {
    if (x > 1) text += '*';
    text += std::to_string(trend[x]);
  }
  return text;
}

bool ShowTrendText(Context& cx, CurveState& curves, std::string_view text) {
  if (ParseTrendText(text, curves.trend, &cx.form.editScene(kTrendChart))) return true;
  cx.inform(curves_text::kBrokenTrend, curves_text::kTitleHint);
  return false;
}

void SaveTrendToSlot(Context& cx, CurveState& curves, int slot) {
  if (slot < 0 || slot >= kCurveSlots) return;
  curves.slots[slot] = FormatTrendText(curves.trend);
  WriteCurveStore(cx, curves);
}

bool LoadTrendFromSlot(Context& cx, CurveState& curves, int slot) {
  if (slot < 0 || slot >= kCurveSlots) return true;
  if (!ReadCurveStore(cx, curves, OnUnreadableStore::ProgramGoesOn)) return false;
  PrepareDrawingGrid(cx);
  ShowTrendText(cx, curves, curves.slots[slot]);
  return true;
}

ProfitScale ChooseProfitScale(const ProfitCurve& curve) {
  int64_t top = 0, bottom = 0;
  for (int k = 1; k <= kPlotPoints; ++k) {
    top = std::max<int64_t>(top, curve[k]);
    bottom = std::min<int64_t>(bottom, curve[k]);
  }
  int64_t r = top > -bottom ? top + 20 : 20 - bottom;
  if (r < 1500) r = 1500;
  ProfitScale scale;
  scale.range = static_cast<int>(std::min<int64_t>(r, std::numeric_limits<int32_t>::max()));
  scale.step = r <= 2000 ? 200 : r <= 5000 ? 300 : r <= 8000 ? 800 : r <= 10000 ? 1000 : 2000;
  return scale;
}

Scene ProfitCurveScene(const ProfitCurve& curve) {
  const ProfitScale scale = ChooseProfitScale(curve);
  const double r = scale.range;
  Scene s;
  s.background = kWhite;
  s.setScale(0, r, kChartRight, -r);
  for (int64_t v = 0; v <= scale.range; v += scale.step) {
    s.line(0, v, kNewest, v, kBlue, 1);
    s.text(1, v, std::to_string(v), kBlue);
  }
  for (int64_t v = -scale.step; v >= -scale.range; v -= scale.step) {
    s.line(0, v, kNewest, v, kBlue, 1);
    s.text(1, v, std::to_string(v), kBlue);
  }
  for (int k = 1; k <= kPlotPoints; ++k)
    s.line(k, curve[k], k, curve[k - 1], curve[k] > curve[k - 1] ? kRed : kBlue, 2);
  s.line(0, 0, kNewest, 0, kRed, 2);
  s.line(kNewest, -r, kNewest, r, kGreen, 1);
  return s;
}

void PlotProfitCurve(Context& cx, const CurveState& curves) {
  cx.form.setScene(kTrendChart, ProfitCurveScene(curves.profit));
}

void ShowPoolCurve(Context& cx, CurveState& curves) {
  ComputePoolCurve(cx.draws, curves, Trim(cx.form.text(fmain::Tdadi)));
  PlotProfitCurve(cx, curves);
}

bool CopyPoolText(Context& cx) {
  const std::string& pool = cx.form.text(fmain::Tdadi);
  bool ok = cx.ports.clipboard != nullptr;
  if (ok) {
    cx.ports.clipboard->clear();
    cx.ports.clipboard->setText(pool);
    ok = cx.ports.clipboard->text() == pool;
  }
  if (!ok) cx.inform(curves_text::kCopyFailed, curves_text::kTitleCopyFailed);
  return ok;
}

}  // namespace lumora
