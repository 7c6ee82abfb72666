#pragma once
// The control names of the alarm window (Form keys "Fbj.<name>").
// A control the window builds is listed here, or the binder refuses the window; a name the engine
// uses is listed here, or the tests fail.
#include "core/ControlNames.h"

namespace lumora::controls {

inline constexpr ControlEntry kFbj[] = {
    One("L20s"),
    // Timers: in the Form only, run by the shell as QTimers.
    FormOnly("Timer1"),
    FormOnly("Timer_bj"),
};

}  // namespace lumora::controls
