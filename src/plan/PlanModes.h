#pragma once
// The two plan modes: mode one (the fifteen lines fitted r times, repeats combined) and mode
// two (free group rules over the fifteen pools), and the switch between them.
#include <string>
#include <vector>

#include "core/NumberSet.h"
#include "plan/PlanEnv.h"

namespace lumora {

// Returns false when mode one stopped with its message.
bool RunModeOne(PlanEnv& env);
// Numbers found in an accepted number of the repeat results 1..r.
NumberSet CombineRepeats(const PlanState& plan, int r, const std::string& acc);
// The same over repeat results given as sets (slots 1..size()-1).
NumberSet CombineRepeatSets(const std::vector<NumberSet>& sets, int r, const std::string& acc);
void RunModeTwo(PlanEnv& env);
// Mode two's pool from a rules text (lines "pools=accepted counts") and its accepted rule counts.
NumberSet ModeTwoPool(const PlanState& plan, const std::string& rules, const std::string& acc);

// Mode switch: ticking or unticking either "生效" box keeps exactly one mode on.
void OnModeOneToggled(Context& cx);
void OnModeTwoToggled(Context& cx);
void PaintModeColours(Context& cx);
// T_jh_dadi_chongfu_cs keeps digits only.
void OnRepeatCountEdited(Context& cx);

}  // namespace lumora
