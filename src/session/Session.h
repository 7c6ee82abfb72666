#pragma once
// The whole program state: the shared context plus every subsystem's stores. One per process;
// the shell owns it, tests build as many as they like.
#include <functional>

#include "alarm/AlarmState.h"
#include "core/Context.h"
#include "core/Feed.h"
#include "curves/CurveState.h"
#include "money/MoneyState.h"
#include "money/PlanStats.h"
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
  StatsState stats;  // PlanStats records of the running plan
  ToolsState tools;
  AlarmState alarm;
  OutputState output;
  SettingsState settings;
  OperationGate gate;
  FeedState feed;  // the draw feed's countdown and last response
  // Runs after every applied draw with the new newest draw (the app prints it).
  std::function<void(const DrawRecord&)> drawApplied;
};

}  // namespace lumora
