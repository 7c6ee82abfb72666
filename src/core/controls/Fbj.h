#pragma once
// The controls of the alarm window, each with its kind (Form keys "Fbj.<name>").
// A widget the window builds is listed here, or the binder refuses the window.
#include "core/controls/Declare.h"

#define LUMORA_FBJ_CONTROLS(ONE, ARRAY, P) \
  ONE(P, Label, L20s)                      \
  ONE(P, Timer, Timer1)                    \
  ONE(P, Timer, Timer_bj)

LUMORA_DECLARE_WINDOW(fbj, "Fbj", "Fbj.", LUMORA_FBJ_CONTROLS)
