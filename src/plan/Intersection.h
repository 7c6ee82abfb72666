#pragma once
// The plan pool: the intersection of the ticked monitor pools, written to the plan's boxes, and
// its way into the bet boxes.
#include <array>

#include "core/Context.h"
#include "core/NumberSet.h"
#include "plan/PlanState.h"

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

// T_touzhu_dd_0 = T_jihua_jj_dadi, T_touzhu_dd_1 = T_jihua_jj_dadi_zhushu.
void CopyIntersectionToBet(Context& cx);

}  // namespace lumora
