#pragma once
// The controls of the analysis window, each with its kind (Form keys "Ffenxi.<name>").
// A widget the window builds is listed here, or the binder refuses the window.
#include "core/controls/Declare.h"

#define LUMORA_FFENXI_CONTROLS(ONE, ARRAY, P)    \
  ONE(P, Button, C_fenxi_kaishi)                 \
  ONE(P, Button, C_fenxi_liulan)                 \
  ONE(P, Button, C_fenxi_quxiao)                 \
  ONE(P, Label, L_fenxi_fengxian)                \
  ONE(P, Label, L_fenxi_zhuangtai)               \
  ARRAY(P, OptionButton, Op_fenxi_laiyuan, 0, 1) \
  ONE(P, Widget, P_fenxi_jindu)                  \
  ONE(P, Picture, Pic_fenxi)                     \
  ONE(P, TextBox, T_fenxi_saomiao)               \
  ONE(P, TextBox, T_fenxi_wenjian)               \
  ONE(P, TextBox, T_fenxi_zhongzi)               \
  ONE(P, ListBox, Tab_fenxi)

LUMORA_DECLARE_WINDOW(ffenxi, "Ffenxi", "Ffenxi.", LUMORA_FFENXI_CONTROLS)
