#pragma once
// The judgement of the standing plan against the draw of the period it was made for.
#include "plan/PlanEnv.h"

namespace lumora {

// The draw the standing plan was made after (it is for the period after it): the newest draw
// when StartPlan last ran, or, when no plan was started, the newest before the last history.
const DrawRecord& PlanMadeAfter(const Context& cx, const PlanState& plan);
// Judges the plan against the draw of the period it was made for. When the history does not hold
// that draw the plan is recorded as not judged: its line and the status say so, nothing is booked.
void JudgePlan(PlanEnv& env);

}  // namespace lumora
