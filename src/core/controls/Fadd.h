#pragma once
// The controls of the manual draw entry window, each with its kind (Form keys "Fadd.<name>").
// A widget the window builds is listed here, or the binder refuses the window.
#include "core/controls/Declare.h"

#define LUMORA_FADD_CONTROLS(ONE, ARRAY, P) \
  ONE(P, Button, C_rulu_kjh)                \
  ONE(P, TextBox, T_total_renshu)

LUMORA_DECLARE_WINDOW(fadd, "Fadd", "Fadd.", LUMORA_FADD_CONTROLS)
