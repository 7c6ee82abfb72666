#pragma once
// The plan record: its lines (the pending line of the next period, the judged lines before it),
// the slots that hold them, and the record's reset.
#include <string>

#include "plan/PlanEnv.h"

namespace lumora {

// Pieces of a record line: the sub-game's label, the head (name + label + size:
// "Lumora计划后三120注") and the window of a multi-period plan ("<N>期/当前<c>").
std::string SubGameLabel(int subStart);
std::string RecordLineHead(const Context& cx);
std::string MultiPeriodWindow(const Context& cx, int counter);

// The pending line of the next period, the record text and the bet boxes (only with 自动计划).
void WritePendingLine(PlanEnv& env);
// RecordIndex + 1. Past the last slot the oldest line is dropped and the rest move down, so the
// record always holds the newest 400 lines and the current one.
void AdvanceRecordIndex(PlanState& plan);

// 清空计划 (asks first) and the plan reset that follows confirmed statistics settings.
void ClearPlan(PlanEnv& env);
void ResetPlanRecord(PlanEnv& env);
// 修改参数后确认生效: statistics settings, then the plan record reset.
void ConfirmStatsSettings(PlanEnv& env);

// 更新容对: recombines the stored repeat results with T_jh_dadi_chongfu_rc.
void RecomputeToleranceSet(PlanEnv& env);

}  // namespace lumora
