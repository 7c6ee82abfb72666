#pragma once
// The control names of the copy notice window (Form keys "Ftishi.<name>").
// A control the window builds is listed here, or the binder refuses the window; a name the engine
// uses is listed here, or the tests fail.
#include "core/ControlNames.h"

namespace lumora::controls {

inline constexpr ControlEntry kFtishi[] = {
    Array("Shape_shan", 0, 3),
    // Timers: in the Form only, run by the shell as QTimers.
    FormOnly("Timer1"),
    FormOnly("Timer_shan"),
};

}  // namespace lumora::controls
