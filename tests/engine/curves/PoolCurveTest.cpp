#include <gtest/gtest.h>

#include "curves/PoolCurve.h"
#include "engine/curves/CurveTestSupport.h"

namespace lumora {
namespace {

std::string PoolOf(int first, int count) {
  NumberSet s;
  for (int i = 0; i < count; ++i) s.add(first + i);
  return s.text();
}

TEST(PoolCurve, CostsAndHitsAreRoundedAtEveryStep) {
  DrawStore draws;
  test::FillHistory(draws, std::vector<int>(kHistoryRows, 999));

  ProfitCurve empty = ComputePoolCurve(draws, "   ");
  for (int32_t v : empty) EXPECT_EQ(v, 0);

  // 7 numbers cost 1.4 a period; rounded every step they lose exactly 1 a period.
  ProfitCurve seven = ComputePoolCurve(draws, PoolOf(0, 7));
  EXPECT_EQ(seven[1], -1);
  EXPECT_EQ(seven[119], -119);
  EXPECT_EQ(seven[120], 0);

  ProfitCurve big = ComputePoolCurve(draws, PoolOf(0, 500));
  EXPECT_EQ(big[119], -11900);

  // 120 numbers, one hit at k = 1 (slot 1 is history row 119).
  draws.history[119].digits = "12005";
  draws.rebuildSubSeries();
  ProfitCurve one = ComputePoolCurve(draws, " " + PoolOf(0, 120) + " ");
  EXPECT_EQ(one[1], 176);
  EXPECT_EQ(one[2], 152);
}

TEST(PoolCurve, ShortHistoryCountsMissingDrawsAsPeriodsWithoutHit) {
  DrawStore draws;
  test::FillHistory(draws, {5, 5, 5});                             // rows 1..3 only: slots 117..119
  ProfitCurve y = ComputePoolCurve(draws, "005 006 007 008 009");  // cost 1 a period
  EXPECT_EQ(y[116], -116);
  EXPECT_EQ(y[117], -116 + 199);
  EXPECT_EQ(y[119], -116 + 3 * 199);
}

}  // namespace
}  // namespace lumora
