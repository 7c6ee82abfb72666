#pragma once
// What the plan operations work on: the shared context and the stores of the subsystems a plan
// touches (trend matching, the statistics, the shared bet state, the alarm).
#include "alarm/AlarmState.h"
#include "core/Context.h"
#include "curves/CurveState.h"
#include "money/MoneyState.h"
#include "money/PlanStats.h"
#include "plan/PlanState.h"

namespace lumora {

struct PlanEnv {
  Context& cx;
  PlanState& plan;
  CurveState& curves;
  StatsState& stats;
  MoneyState& money;
  AlarmState& alarm;
};

}  // namespace lumora
