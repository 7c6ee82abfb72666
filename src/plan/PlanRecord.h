#pragma once
// The plan: the intersection of the monitor pools, the plan start, the pending record line,
// the judgement of each draw and the plan record around it.
#include <array>
#include <string>

#include "core/NumberSet.h"
#include "plan/PlanEnv.h"

namespace lumora {

// Writes the plan pool (T_jihua_jj_dadi, its count, T_rj_jh_dd and LastIntersection).
void WritePlanPool(Context& cx, PlanState& plan, const NumberSet& pool);
// Intersection of the ticked monitor pools: a number whose CoverageCount (how many ticked pools
// hold it) occurs in T_jiankong_rc.
NumberSet IntersectMonitorPools(const Context& cx, const PlanState& plan);
// The same in two steps, for a plan that intersects many sets of pools under one setting: what
// the form says (ticked pools, accepted coverage counts), then the intersection of given pools.
struct IntersectionRule {
  std::array<bool, kMonitorPoolCount> ticked{};
  std::array<bool, kMonitorPoolCount + 1> accepted{};
};
IntersectionRule ReadIntersectionRule(const Context& cx);
NumberSet IntersectPools(const IntersectionRule& rule, const std::array<NumberSet, kMonitorPoolCount>& pools);
void ComputeIntersectionPool(Context& cx, PlanState& plan);

// 开始计划.
void StartPlan(PlanEnv& env);
// The pending line of the next period, the record text and the bet boxes (only with 自动计划).
void WritePendingLine(PlanEnv& env);
// The draw the standing plan was made after (it is for the period after it): the newest draw
// when StartPlan last ran, or, when no plan was started, the newest before the last history.
const DrawRecord& PlanMadeAfter(const Context& cx, const PlanState& plan);
// Judges the plan against the draw of the period it was made for. When the history does not hold
// that draw the plan is recorded as not judged: its line and the status say so, nothing is booked.
void JudgePlan(PlanEnv& env);
// RecordIndex + 1. Past the last slot the oldest line is dropped and the rest move down, so the
// record always holds the newest 400 lines and the current one.
void AdvanceRecordIndex(PlanState& plan);

// 参数变，更新计划.
void UpdatePlan(PlanEnv& env);
// 清空计划 (asks first) and the plan reset that follows confirmed statistics settings.
void ClearPlan(PlanEnv& env);
void ResetPlanRecord(PlanEnv& env);
// 修改参数后确认生效: statistics settings, then the plan record reset.
void ConfirmStatsSettings(PlanEnv& env);

// 复制大底, 复制计划, 复制反集, 保存签名.
void CopyPlanPool(PlanEnv& env);
void CopyPlan(PlanEnv& env);
void CopyComplement(PlanEnv& env);
void SaveSignature(Context& cx);

// 更新容对: recombines the stored repeat results with T_jh_dadi_chongfu_rc.
void RecomputeToleranceSet(PlanEnv& env);

}  // namespace lumora
