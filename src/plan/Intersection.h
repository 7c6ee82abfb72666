#pragma once
// The plan pool, the intersection of the monitor pools, and its way into the bet boxes.
#include "core/Context.h"

namespace lumora {

// T_touzhu_dd_0 = T_jihua_jj_dadi, T_touzhu_dd_1 = T_jihua_jj_dadi_zhushu.
void CopyIntersectionToBet(Context& cx);

}  // namespace lumora
