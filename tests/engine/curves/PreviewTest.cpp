#include <gtest/gtest.h>

#include "core/controls/Fk.h"
#include "core/controls/Fmain.h"
#include "curves/Preview.h"

namespace lumora {
namespace {

TEST(Preview, ScaleAndPlanIndex) {
  ProfitCurve c{};
  EXPECT_EQ(PreviewHalfHeight(c), 20);
  c[10] = 3000;
  c[50] = -500;
  EXPECT_EQ(PreviewHalfHeight(c), 3020);
  Scene s = PreviewScene(c);
  EXPECT_EQ(s.top, 3020);
  EXPECT_EQ(s.top + s.height, -3020);
  EXPECT_EQ(s.items.size(), 120u);  // 119 bars and the zero axis
  c[10] = 0;
  c[120] = 9000;  // point 120 is not plotted and does not scale
  EXPECT_EQ(PreviewHalfHeight(c), 520);

  // Index 3 is the plan pool, never backup box 3; an empty pool is a flat line with R = 20.
  Context cx;
  CurveState curves;
  cx.form.setText(fmain::T_jihua_jj_dadi, "");
  cx.form.setText(fmain::T_dd_beiyong[3], "000 001 002");
  ShowPoolPreview(cx, curves, 3);
  EXPECT_EQ(cx.form.scene(fk::Pic_k[3]).top, 20);
  EXPECT_TRUE(cx.form.visible(fk::Pic_k[3]));
  cx.form.setText(fmain::T_dd_beiyong[6], "000 001 002");
  cx.form.takeChanged();
  ShowPoolPreview(cx, curves, 6);  // no picture 6 (strict names would refuse it): only the curve is computed
  EXPECT_LT(curves.profit[119], 0);
  EXPECT_TRUE(cx.form.takeChanged().empty());
}

}  // namespace
}  // namespace lumora
