#pragma once
// The control names of the shrink tool window (Form keys "Ftool.<name>").
// A control the window builds is listed here, or the binder refuses the window; a name the engine
// uses is listed here, or the tests fail.
#include "core/ControlNames.h"

namespace lumora::controls {

inline constexpr ControlEntry kFtool[] = {
    Array("C_all", 0, 27),
    Array("C_danzu", 0, 39),
    Array("C_danzu_gs", 0, 15),
    Array("C_dingwei_sha", 0, 29),
    Array("C_fushi_paichu", 0, 29),
    Array("C_guolv_ks", 0, 2),
    Array("Check_012_paichu", 0, 26),
    One("Check_danma_jc"),
    Array("Check_hewei_sha", 0, 9),
    Array("Check_kuadu_sha", 0, 9),
    Array("Check_pailie_daxiao", 0, 7),
    Array("Check_pailie_jiou", 0, 7),
    Array("Check_pailie_zhihe", 0, 7),
    One("L_zhushu"),
    One("T_lj_dd"),
    One("Tdd"),
};

}  // namespace lumora::controls
