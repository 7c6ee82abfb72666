#pragma once
// The whole program state: the shared context plus every subsystem's stores. One per process;
// the shell owns it, tests build as many as they like.
#include "alarm/AlarmState.h"
#include "core/Context.h"
#include "curves/CurveState.h"
#include "money/MoneyState.h"
#include "output/OutputState.h"
#include "plan/PlanState.h"
#include "session/OperationGate.h"
#include "settings/SettingsState.h"
#include "tools/ToolsState.h"

namespace lumora {

struct Session {
  Context cx;
  CurveState curves;
  PlanState plan;
  MoneyState money;
  ToolsState tools;
  AlarmState alarm;
  OutputState output;
  SettingsState settings;
  OperationGate gate;
};

}  // namespace lumora
