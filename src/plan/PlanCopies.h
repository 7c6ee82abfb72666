#pragma once
// The plan tab's copy buttons (复制大底, 复制计划, 复制反集) and 保存签名, the signature and phrases
// the copied plan ends with.
#include "plan/PlanEnv.h"

namespace lumora {

void CopyPlanPool(PlanEnv& env);
void CopyPlan(PlanEnv& env);
void CopyComplement(PlanEnv& env);
void SaveSignature(Context& cx);

}  // namespace lumora
