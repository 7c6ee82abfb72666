#include <gtest/gtest.h>

#include <variant>

#include "core/controls/Fmain.h"
#include "curves/Texts.h"
#include "curves/TrendChart.h"
#include "curves/TrendMatching.h"
#include "engine/curves/CurveTestSupport.h"

namespace lumora {
namespace {

std::vector<SceneLine> Lines(const Scene& s, int width = -1) {
  std::vector<SceneLine> out;
  for (const SceneItem& item : s.items)
    if (auto* l = std::get_if<SceneLine>(&item); l && (width < 0 || l->width == width)) out.push_back(*l);
  return out;
}

TEST(TrendGaps, RunsFillFromTheLeftAndTheEdgesStay) {
  TrendLine t{};
  t[10] = 100;
  t[13] = 301;  // 100, 0, 0, 301 -> 100, 50, round((301 + 50) / 2) = 176 (175.5 -> 176), 301
  t[20] = -7;
  t[21] = 0;
  t[22] = -8;  // (-8 + -7) / 2 = -7.5 -> -8 (half to even)
  t[119] = 0;
  t[120] = 0;
  t[118] = 0;
  t[117] = 40;
  FillTrendGaps(t);
  EXPECT_EQ(t[11], 50);
  EXPECT_EQ(t[12], 176);
  EXPECT_EQ(t[21], -8);
  EXPECT_EQ(t[118], 20);  // its right neighbour 119 is 0
  EXPECT_EQ(t[1], 0);
  EXPECT_EQ(t[119], 0);
  EXPECT_EQ(t[120], 0);
  // Position 2 takes its left neighbour position 1 into account; a gap before 10 fills towards it.
  EXPECT_EQ(t[9], 50);
}

TEST(DrawingStateMachine, AStrokeRecordsWhatTheMouseCrossed) {
  test::Bench b;
  PrepareDrawingGrid(b.cx);
  b.curves.trend.fill(9);
  MoveOverTrendChart(b.cx, b.curves, 5.5, 300);  // idle: nothing recorded
  EXPECT_EQ(b.curves.trend[5], 9);

  PressTrendChart(b.cx, b.curves, 3, 100);  // first click: grid again, trend reset
  EXPECT_EQ(b.curves.clickCounter, 1);
  EXPECT_EQ(b.curves.trend[5], 0);
  const size_t gridItems = b.cx.form.scene(kTrendChart).items.size();

  MoveOverTrendChart(b.cx, b.curves, 5.9, 100.5);  // first point: nothing drawn, 100.5 -> 100
  MoveOverTrendChart(b.cx, b.curves, 8.2, 300);
  MoveOverTrendChart(b.cx, b.curves, 8.7, 350.5);  // same x again: overwritten, 350.5 -> 350
  MoveOverTrendChart(b.cx, b.curves, 140, 500);    // outside the line: skipped, point still moves
  MoveOverTrendChart(b.cx, b.curves, 7.1, -2.5);   // drawing back over position 7
  EXPECT_EQ(b.curves.trend[5], 100);
  EXPECT_EQ(b.curves.trend[8], 350);
  EXPECT_EQ(b.curves.trend[7], -2);
  const Scene& s = b.cx.form.scene(kTrendChart);
  ASSERT_EQ(s.items.size(), gridItems + 4);
  auto last = std::get<SceneLine>(s.items.back());
  EXPECT_EQ(last.x1, 140);
  EXPECT_EQ(last.width, 3);
  EXPECT_EQ(last.color, kRed);

  PressTrendChart(b.cx, b.curves, 50, 0);  // second click ends the stroke and fills the gaps
  EXPECT_EQ(b.curves.clickCounter, 0);
  EXPECT_EQ(b.curves.trend[4], 50);   // between 0 and 100
  EXPECT_EQ(b.curves.trend[6], 49);   // between 100 and -2
  EXPECT_EQ(b.curves.trend[9], 175);  // between 350 and a gap
  EXPECT_EQ(b.curves.trend[10], 88);  // 87.5 rounds to even
  EXPECT_EQ(b.curves.trend[1], 0);
  MoveOverTrendChart(b.cx, b.curves, 30, 400);
  EXPECT_EQ(b.curves.trend[30], 0);  // nothing is recorded after the end
}

TEST(DrawingStateMachine, HorizontalLineIsOneClickAndAConstantTrend) {
  test::Bench b;
  ArmHorizontalLine(b.cx);
  EXPECT_FALSE(b.cx.form.enabled(fmain::C_huaxian_line));
  PressTrendChart(b.cx, b.curves, 60, 412.5);
  EXPECT_TRUE(b.cx.form.enabled(fmain::C_huaxian_line));
  EXPECT_EQ(b.curves.clickCounter, 0);
  for (int x = 0; x <= 120; ++x) EXPECT_EQ(b.curves.trend[x], 412) << x;
  EXPECT_EQ(b.curves.trend[121], 0);
  auto line = std::get<SceneLine>(b.cx.form.scene(kTrendChart).items.back());
  EXPECT_EQ(line.x1, 0);
  EXPECT_EQ(line.x2, 130);
  EXPECT_EQ(line.y1, 412.5);
  MoveOverTrendChart(b.cx, b.curves, 30, -900);  // idle afterwards
  EXPECT_EQ(b.curves.trend[30], 412);

  // Armed in the middle of a stroke: the click ends the stroke and draws the line.
  PressTrendChart(b.cx, b.curves, 1, 1);
  MoveOverTrendChart(b.cx, b.curves, 10, 50);
  ArmHorizontalLine(b.cx);
  PressTrendChart(b.cx, b.curves, 1, -200);
  EXPECT_EQ(b.curves.clickCounter, 0);
  EXPECT_EQ(b.curves.trend[10], -200);
}

TEST(TrendText, FormatsAndParsesOneHundredTwentyNumbers) {
  test::Bench b;
  for (int x = 0; x <= 130; ++x) b.curves.trend[x] = x * 10 - 600;
  std::string text = FormatTrendText(b.curves.trend);
  EXPECT_EQ(std::count(text.begin(), text.end(), '*'), 119);
  EXPECT_EQ(text.substr(0, 9), "-590*-580");
  EXPECT_EQ(text.substr(text.size() - 3), "600");

  CurveState other;
  EXPECT_TRUE(LoadTrendText(b.cx, other, std::string_view(text + "*77*88")));  // extra parts ignored
  for (int x = 1; x <= 120; ++x) EXPECT_EQ(other.trend[x], b.curves.trend[x]);
  EXPECT_EQ(other.trend[121], 0);
  EXPECT_TRUE(b.prompter.notices.empty());
}

TEST(TrendText, ShortOrBrokenTextKeepsWhatWasParsed) {
  test::Bench b;
  b.curves.trend.fill(5);
  std::string text;
  for (int x = 1; x <= 119; ++x) text += std::to_string(x) + "*";
  text.pop_back();
  EXPECT_FALSE(LoadTrendText(b.cx, b.curves, std::string_view(text)));
  ASSERT_EQ(b.prompter.notices.size(), 1u);
  EXPECT_EQ(b.prompter.notices[0].text, curves_text::kBrokenTrend);
  EXPECT_EQ(b.prompter.notices[0].title, "提示");
  EXPECT_EQ(b.curves.trend[119], 119);
  EXPECT_EQ(b.curves.trend[120], 5);

  // A part that is not a number stops the parse there; the polyline drawn so far stays.
  PrepareDrawingGrid(b.cx);
  const size_t grid = b.cx.form.scene(kTrendChart).items.size();
  EXPECT_FALSE(ShowTrendText(b.cx, b.curves, "1*2*3*x*5"));
  EXPECT_EQ(b.cx.form.scene(kTrendChart).items.size(), grid + 2);
  EXPECT_EQ(b.curves.trend[3], 3);
  EXPECT_EQ(b.curves.trend[4], 4);
  // An empty slot and the store's marker are broken trends, too.
  EXPECT_FALSE(LoadTrendText(b.cx, b.curves, std::string_view("")));
  EXPECT_FALSE(LoadTrendText(b.cx, b.curves, std::string_view("********")));
  EXPECT_EQ(b.prompter.notices.size(), 4u);
}

TEST(ProfitPlot, RangeAndStep) {
  // The curve's highest and lowest points: the range is the larger magnitude plus 20 (1500 at
  // least), and the step follows the range.
  struct Case {
    int32_t high, low, range, step;
  } cases[] = {{0, 0, 1500, 200},        {1980, 0, 2000, 200},      {1981, 0, 2001, 300},
               {100, -4990, 5010, 800},  {100, -4980, 5000, 300},   {100, -7980, 8000, 800},
               {100, -7981, 8001, 1000}, {100, -9980, 10000, 1000}, {100, -9981, 10001, 2000}};
  ProfitCurve y{};
  for (const Case& c : cases) {
    y[50] = c.high;
    y[60] = c.low;
    EXPECT_EQ(ChooseProfitScale(y).range, c.range) << c.high << " " << c.low;
    EXPECT_EQ(ChooseProfitScale(y).step, c.step) << c.high << " " << c.low;
  }
  // Point 120 is not plotted and does not count; equal magnitudes take the negative side.
  y.fill(0);
  y[120] = 90000;
  y[3] = 3000;
  y[4] = -3000;
  EXPECT_EQ(ChooseProfitScale(y).range, 3020);
}

TEST(ProfitPlot, BarsAreRedUpBlueFlatOrDown) {
  ProfitCurve y{};
  y[1] = 160;
  y[2] = 120;
  y[3] = 120;
  for (int k = 4; k <= 120; ++k) y[k] = 120;
  Scene s = ProfitCurveScene(y);
  auto bars = Lines(s, 2);
  ASSERT_GE(bars.size(), 119u);
  EXPECT_EQ(bars[0].x1, 1);
  EXPECT_EQ(bars[0].y1, 160);
  EXPECT_EQ(bars[0].y2, 0);
  EXPECT_EQ(bars[0].color, kRed);
  EXPECT_EQ(bars[1].color, kBlue);
  EXPECT_EQ(bars[2].color, kBlue);
  // Grid: 0, ±200 ... ±1400 with step 200 inside R = 1500.
  auto grid = Lines(s, 1);
  EXPECT_EQ(std::count_if(grid.begin(), grid.end(), [](const SceneLine& l) { return l.color == kBlue; }), 15);
  EXPECT_EQ(s.top, 1500);
}

TEST(SlotBoxes, PoolSizeAndMaskChecks) {
  test::Bench b;
  b.cx.form.setText(fmain::T_quxian_zhushu[4], "980");
  CheckCurveCount(b.cx, 4);
  EXPECT_TRUE(b.prompter.notices.empty());
  EXPECT_EQ(b.cx.form.text(fmain::L_xl_zhushu[4]), "980");
  b.cx.form.setText(fmain::T_quxian_zhushu[4], "981abc");
  CheckCurveCount(b.cx, 4);
  EXPECT_EQ(b.prompter.lastText(), curves_text::kTooManyNumbers);
  EXPECT_EQ(b.cx.form.text(fmain::T_quxian_zhushu[4]), "400");
  EXPECT_EQ(b.cx.form.text(fmain::L_xl_zhushu[4]), "400");

  b.cx.form.setText(fmain::T_xl_muduan[2], "一二三四五六七八九十");  // ten characters
  CheckEndControlMask(b.cx, 2);
  EXPECT_EQ(b.cx.form.text(fmain::T_xl_muduan[2]), "一二三四五六七八九十");
  b.cx.form.setText(fmain::T_xl_muduan[2], "10101010101");
  CheckEndControlMask(b.cx, 2);
  EXPECT_EQ(b.cx.form.text(fmain::T_xl_muduan[2]), "");
  EXPECT_EQ(b.prompter.notices.back().title, "出错拉");
}

}  // namespace
}  // namespace lumora
