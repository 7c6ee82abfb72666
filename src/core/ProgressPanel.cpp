#include "core/ProgressPanel.h"

namespace lumora {

void ShowProgressPanel(Context& cx, int flag) { cx.form.setVisible("Pic_jindu", flag == 1); }

}  // namespace lumora
