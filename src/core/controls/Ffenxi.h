#pragma once
// The control names of the analysis window (Form keys "Ffenxi.<name>"): a backtest or a small
// sweep of the current settings, with its chart, table and risk of ruin.
// A control the window builds is listed here, or the binder refuses the window; a name the engine
// uses is listed here, or the tests fail.
#include "core/ControlNames.h"

namespace lumora::controls {

inline constexpr ControlEntry kFfenxi[] = {
    One("C_fenxi_kaishi"),
    One("C_fenxi_liulan"),
    One("C_fenxi_quxiao"),
    One("L_fenxi_fengxian"),
    One("L_fenxi_zhuangtai"),
    Array("Op_fenxi_laiyuan", 0, 1),
    One("P_fenxi_jindu"),
    One("Pic_fenxi"),
    One("T_fenxi_saomiao"),
    One("T_fenxi_wenjian"),
    One("T_fenxi_zhongzi"),
    One("Tab_fenxi"),
};

}  // namespace lumora::controls
