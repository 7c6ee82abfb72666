#include "plan/Intersection.h"

namespace lumora {

void CopyIntersectionToBet(Context& cx) {
  cx.form.setText("T_touzhu_dd_0", cx.form.text("T_jihua_jj_dadi"));
  cx.form.setText("T_touzhu_dd_1", cx.form.text("T_jihua_jj_dadi_zhushu"));
}

}  // namespace lumora
