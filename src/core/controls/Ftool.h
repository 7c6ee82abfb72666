#pragma once
// The controls of the shrink tool window, each with its kind (Form keys "Ftool.<name>").
// A widget the window builds is listed here, or the binder refuses the window.
#include "core/controls/Declare.h"

#define LUMORA_FTOOL_CONTROLS(ONE, ARRAY, P)    \
  ARRAY(P, Button, C_all, 0, 27)                \
  ARRAY(P, Button, C_danzu, 0, 39)              \
  ARRAY(P, Button, C_danzu_gs, 0, 15)           \
  ARRAY(P, Button, C_dingwei_sha, 0, 29)        \
  ARRAY(P, Button, C_fushi_paichu, 0, 29)       \
  ARRAY(P, Button, C_guolv_ks, 0, 2)            \
  ARRAY(P, CheckBox, Check_012_paichu, 0, 26)   \
  ONE(P, CheckBox, Check_danma_jc)              \
  ARRAY(P, CheckBox, Check_hewei_sha, 0, 9)     \
  ARRAY(P, CheckBox, Check_kuadu_sha, 0, 9)     \
  ARRAY(P, CheckBox, Check_pailie_daxiao, 0, 7) \
  ARRAY(P, CheckBox, Check_pailie_jiou, 0, 7)   \
  ARRAY(P, CheckBox, Check_pailie_zhihe, 0, 7)  \
  ONE(P, Label, L_zhushu)                       \
  ONE(P, TextBox, T_lj_dd)                      \
  ONE(P, TextBox, Tdd)

LUMORA_DECLARE_WINDOW(ftool, "Ftool", "Ftool.", LUMORA_FTOOL_CONTROLS)
