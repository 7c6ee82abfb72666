#include "curves/Preview.h"

#include <algorithm>

#include "core/Text.h"
#include "core/controls/Fk.h"
#include "core/controls/Fmain.h"
#include "curves/PoolCurve.h"

namespace lumora {

namespace {
constexpr int kPlanPreview = 3;
constexpr int kBarWidth = 2;
constexpr int kLastBar = 119;
}  // namespace

double PreviewHalfHeight(const ProfitCurve& curve) {
  double max = 0, min = 0;
  for (int k = 1; k <= kLastBar; ++k) {
    max = std::max<double>(max, curve[static_cast<size_t>(k)]);
    min = std::min<double>(min, curve[static_cast<size_t>(k)]);
  }
  return max > -min ? max + 20 : 20 - min;
}

Scene PreviewScene(const ProfitCurve& curve) {
  Scene scene;
  const double r = PreviewHalfHeight(curve);
  scene.setScale(0, r, 125, -r);
  for (int k = 1; k <= kLastBar; ++k) {
    const double now = curve[static_cast<size_t>(k)];
    const double before = curve[static_cast<size_t>(k - 1)];
    scene.line(k, now, k, before, now > before ? kRed : kBlue, kBarWidth);
  }
  scene.line(0, 0, 125, 0, kRed, kBarWidth);
  return scene;
}

void ShowPoolPreview(Context& cx, CurveState& curves, int p) {
  // The curve is computed for the picture and for a later plot of it, both of a window.
  if (cx.headless) return;
  const std::string& pool =
      p == kPlanPreview ? cx.form.text(fmain::T_jihua_jj_dadi) : cx.form.text(fmain::T_dd_beiyong[p]);
  ComputePoolCurve(cx.draws, curves, Trim(pool));
  if (p < 3 || p > 5) return;
  const auto picture = fk::Pic_k[p];
  cx.form.setScene(picture, PreviewScene(curves.profit));
  cx.form.setVisible(picture, true);
}

}  // namespace lumora
