#pragma once
// The control names of the side window with the scheme list and previews (Form keys "Fk.<name>").
// A control the window builds is listed here, or the binder refuses the window; a name the engine
// uses is listed here, or the tests fail.
#include "core/ControlNames.h"

namespace lumora::controls {

inline constexpr ControlEntry kFk[] = {
    Array("C_fangan", 0, 1),
    Array("L_pic_k", 3, 5),
    One("List_fangan"),
    Array("Pic_k", 3, 5),
    One("T_fangan_name"),
};

}  // namespace lumora::controls
