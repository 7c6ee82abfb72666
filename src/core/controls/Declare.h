#pragma once
// Turns a window's list of controls into its handles and its catalogue.
//
// A window's header lists each control once, as ONE(P, Kind, name) or
// ARRAY(P, Kind, name, first, last), and declares the window:
//
//   #define LUMORA_FADD_CONTROLS(ONE, ARRAY, P) ONE(P, Button, C_rulu_kjh) ONE(P, IntBox, T_total_renshu)
//   LUMORA_DECLARE_WINDOW(fadd, "Fadd", "Fadd.", LUMORA_FADD_CONTROLS)
//
// which gives lumora::fadd::C_rulu_kjh, lumora::fadd::T_total_renshu, lumora::fadd::window (the
// window itself) and lumora::fadd::kCatalogue.
#include "core/Control.h"
#include "core/ControlNames.h"

#define LUMORA_CONTROL_HANDLE(P, KIND, NAME) inline constexpr ::lumora::KIND NAME{{P #NAME}};
#define LUMORA_CONTROL_ARRAY_HANDLE(P, KIND, NAME, FIRST, LAST) \
  inline constexpr ::lumora::ControlArray<::lumora::KIND::kKind> NAME{P #NAME, FIRST, LAST};
#define LUMORA_CONTROL_ENTRY(P, KIND, NAME) ::lumora::ControlEntry{P #NAME, #NAME, ::lumora::KIND::kKind, -1, -1},
#define LUMORA_CONTROL_ARRAY_ENTRY(P, KIND, NAME, FIRST, LAST) \
  ::lumora::ControlEntry{P #NAME, #NAME, ::lumora::KIND::kKind, FIRST, LAST},

#define LUMORA_DECLARE_WINDOW(NS, WINDOW, PREFIX, LIST)                             \
  namespace lumora::NS {                                                            \
  inline constexpr ::lumora::Window window{{WINDOW}};                               \
  LIST(LUMORA_CONTROL_HANDLE, LUMORA_CONTROL_ARRAY_HANDLE, PREFIX)                  \
  inline constexpr ::lumora::ControlEntry kControls[] = {                           \
      LIST(LUMORA_CONTROL_ENTRY, LUMORA_CONTROL_ARRAY_ENTRY, PREFIX)};              \
  inline constexpr ::lumora::WindowCatalogue kCatalogue{WINDOW, PREFIX, kControls}; \
  }
