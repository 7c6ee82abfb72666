#pragma once
// The controls of the notice window, each with its kind (Form keys "Ftishi.<name>").
// A widget the window builds is listed here, or the binder refuses the window.
#include "core/controls/Declare.h"

#define LUMORA_FTISHI_CONTROLS(ONE, ARRAY, P) \
  ARRAY(P, Frame, Shape_shan, 0, 3)           \
  ONE(P, Timer, Timer1)                       \
  ONE(P, Timer, Timer_shan)

LUMORA_DECLARE_WINDOW(ftishi, "Ftishi", "Ftishi.", LUMORA_FTISHI_CONTROLS)
