#pragma once
// The control names of the manual draw entry window (Form keys "Fadd.<name>").
// A control the window builds is listed here, or the binder refuses the window; a name the engine
// uses is listed here, or the tests fail.
#include "core/ControlNames.h"

namespace lumora::controls {

inline constexpr ControlEntry kFadd[] = {
    One("C_rulu_kjh"),
    One("T_total_renshu"),
};

}  // namespace lumora::controls
