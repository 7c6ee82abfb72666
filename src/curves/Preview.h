#pragma once
// The K-line previews of the side window: a pool's profit curve as a bar chart scaled to the
// picture, without grid or labels.
#include "core/Context.h"
#include "core/Scene.h"
#include "curves/CurveState.h"

namespace lumora {

// Half-height for a curve: over 0 and y(1..119), M + 20 when M > -m, else 20 - m.
double PreviewHalfHeight(const ProfitCurve& curve);

// x from 0 to 125, y from R (top) to -R (bottom), bars of width 2 at x = k from y(k-1) to
// y(k) (red rising, blue otherwise), then the red zero axis.
Scene PreviewScene(const ProfitCurve& curve);

// Preview index 3 shows the plan pool T_jihua_jj_dadi, any other index p the backup box
// T_dd_beiyong_p. The curve is left in curves.profit; only the pictures 3, 4 and 5 of Fk exist,
// so for other indices nothing is painted.
void ShowPoolPreview(Context& cx, CurveState& curves, int p);

}  // namespace lumora
