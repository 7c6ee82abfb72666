#pragma once
// The one place the plan engine asks trend matching for a pool.
#include <string>

#include "plan/PlanEnv.h"

namespace lumora {

// Loads stored trend `i` and fits a pool of T_quxian_zhushu_i numbers to it (slot code i);
// returns the pool that trend matching leaves in Tdadi.
std::string FitMonitorPool(PlanEnv& env, int i);

// Stored trend `i` parsed (each text once), or nullptr when its text is broken (FitMonitorPool
// then loads it again and shows the broken-trend notice every time).
const TrendLine* StoredTrend(PlanEnv& env, int i);

// Re-reads the stored trends before a plan mode runs (only the refresh of the slots matters).
void RefreshStoredTrends(PlanEnv& env);

}  // namespace lumora
