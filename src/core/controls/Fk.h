#pragma once
// The controls of the scheme window, each with its kind (Form keys "Fk.<name>").
// A widget the window builds is listed here, or the binder refuses the window.
#include "core/controls/Declare.h"

#define LUMORA_FK_CONTROLS(ONE, ARRAY, P) \
  ARRAY(P, Button, C_fangan, 0, 1)        \
  ARRAY(P, Label, L_pic_k, 3, 5)          \
  ONE(P, ListBox, List_fangan)            \
  ARRAY(P, Picture, Pic_k, 3, 5)          \
  ONE(P, TextBox, T_fangan_name)

LUMORA_DECLARE_WINDOW(fk, "Fk", "Fk.", LUMORA_FK_CONTROLS)
