#pragma once
// The banker tab's buttons that reach into the plan's backup pools.
#include "session/Session.h"

namespace lumora {

// "将上面过滤结果插到底部5个交集底": the banker filter's result into the first empty source pool
// box, normalised and counted there. Nothing happens when all five hold text.
void InsertBankerResultIntoPlan(Session& s);

// "更新【含胆码，交集底】" (C_danma_gengxin): the plan pool rebuilt from the backup pools.
void UpdatePlanFromBanker(Session& s);

// "若断组号码有变化，点此来更新计划" (C_dz_jj_gx): disabled while it presses C_danma_gengxin.
void UpdatePlanAfterGroupChange(Session& s);

}  // namespace lumora
