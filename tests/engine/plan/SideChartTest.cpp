#include <gtest/gtest.h>

#include "core/controls/Fk.h"
#include "core/controls/Fmain.h"
#include "plan/FundChart.h"
#include "plan/PoolBoard.h"

namespace lumora {
namespace {

TEST(FundChart, HalfHeightAndStrokes) {
  FundCurve curve{};
  EXPECT_EQ(FundChartHalfHeight(curve), 20);  // no judged period: only the zero line
  EXPECT_EQ(FundChartScene(curve).items.size(), 1u);
  const float profits[3] = {10, 5, 5};
  for (int i = 0; i < 3; ++i) curve[static_cast<size_t>(i + 1)] = {0, profits[i], 1};
  Scene s = FundChartScene(curve);
  EXPECT_EQ(s.top, 30);
  EXPECT_EQ(s.height, -60);
  ASSERT_EQ(s.items.size(), 4u);
  auto stroke = [&](size_t k) { return std::get<SceneLine>(s.items[k]); };
  EXPECT_EQ(stroke(1).color, kRed);
  EXPECT_EQ(stroke(1).y2, 10);
  EXPECT_EQ(stroke(2).color, kBlue);
  EXPECT_EQ(stroke(3).color, kBlue);  // 5 -> 5: blue, zero length
  EXPECT_EQ(stroke(3).y1, stroke(3).y2);

  FundCurve low{};
  low[1] = {0, -50, 1};
  EXPECT_EQ(FundChartHalfHeight(low), 70);
  low[40] = {0, 30, 0};  // unfilled rows still count for the scale, but are not drawn
  EXPECT_EQ(FundChartHalfHeight(low), 70);
  low[40] = {0, 60, 0};
  EXPECT_EQ(FundChartHalfHeight(low), 80);
  EXPECT_EQ(FundChartScene(low).items.size(), 2u);
}

TEST(PoolBoard, RowSevenIsTestedOnTwoDigits) {
  Context cx;
  for (int i = 1; i <= 20; ++i) cx.draws.history[static_cast<size_t>(i)] = {"001", "00000"};
  cx.draws.history[1] = {"020", "12345"};  // newest: column 20; 后三 345, last two 45
  cx.form.setText(fmain::T_dd_beiyong[0], "345");
  cx.form.setText(fmain::T_dd_beiyong[6], "45");   // row 7, two-digit pool
  cx.form.setText(fmain::T_dd_beiyong[2], "045");  // row 3 holds "45" only inside "045": no hit
  PoolBoardCells cells = EvaluatePoolBoard(cx);
  EXPECT_EQ(cells[1][20], '2');
  EXPECT_EQ(cells[1][19], '1');
  EXPECT_EQ(cells[7][20], '2');
  EXPECT_EQ(cells[3][20], '1');
  EXPECT_EQ(cells[2][20], ' ');                    // empty pool: not evaluated
  cx.form.setText(fmain::T_dd_beiyong[6], "345");  // a three-digit pool in row 7 is tested the same way
  EXPECT_EQ(EvaluatePoolBoard(cx)[7][20], '2');
  cx.draws.subStart = 1;  // 前三 123: row 7 tests "23"
  EXPECT_EQ(EvaluatePoolBoard(cx)[7][20], '1');
  cx.form.setText(fmain::T_dd_beiyong[6], "123");
  EXPECT_EQ(EvaluatePoolBoard(cx)[7][20], '2');
  // A short history leaves the older columns empty instead of counting them as hits.
  cx.draws.history[5] = {};
  EXPECT_EQ(EvaluatePoolBoard(cx)[1][16], ' ');

  PaintPoolBoard(cx);
  const Scene& s = cx.form.scene(fk::Pic_k[5]);
  EXPECT_EQ(s.left, -1);
  EXPECT_EQ(s.width, 22);
  EXPECT_TRUE(cx.form.visible(fk::Pic_k[5]));
}

}  // namespace
}  // namespace lumora
