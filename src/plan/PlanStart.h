#pragma once
// Starting the plan: 开始计划 and 参数变，更新计划.
#include "plan/PlanEnv.h"

namespace lumora {

// 开始计划: runs the plan modes, rebuilds the plan pool from the backup pools, paints the preview
// and the pool board, and writes the pending record line.
void StartPlan(PlanEnv& env);
// 参数变，更新计划.
void UpdatePlan(PlanEnv& env);

}  // namespace lumora
