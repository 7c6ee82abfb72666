#include "plan/PlanState.h"
