#pragma once
// The plan engine's view of the session.
#include "plan/PlanEnv.h"
#include "session/Session.h"

namespace lumora {

inline PlanEnv PlanEnvOf(Session& s) { return PlanEnv{s.cx, s.plan, s.curves, s.stats, s.money, s.alarm}; }

}  // namespace lumora
