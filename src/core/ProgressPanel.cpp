#include "core/ProgressPanel.h"
#include "core/controls/Fmain.h"

namespace lumora {

void ShowProgressPanel(Context& cx, int flag) { cx.form.setVisible(fmain::Pic_jindu, flag == 1); }

}  // namespace lumora
