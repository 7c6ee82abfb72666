#include "plan/Intersection.h"

#include <algorithm>

#include "core/Text.h"
#include "core/controls/Fmain.h"

namespace lumora {

void WritePlanPool(Context& cx, PlanState& plan, const NumberSet& pool) {
  std::string text = pool.text();
  cx.form.setText(fmain::T_rj_jh_dd, text);
  cx.form.setText(fmain::T_jihua_jj_dadi, text);
  cx.form.set(fmain::T_jihua_jj_dadi_zhushu, pool.count());
  plan.lastIntersection = std::move(text);
}

IntersectionRule ReadIntersectionRule(const Context& cx) {
  IntersectionRule rule;
  CountListText acc(cx.form.text(fmain::T_jiankong_rc));
  for (int c = 0; c <= kMonitorPoolCount; ++c)
    rule.accepted[static_cast<size_t>(c)] = acc.accepts(c, kMonitorPoolCount);
  for (int j = 0; j < kMonitorPoolCount; ++j)
    rule.ticked[static_cast<size_t>(j)] = cx.form.checked(fmain::Ch_jiankong_jj[j]);
  return rule;
}

NumberSet IntersectPools(const IntersectionRule& rule, const std::array<NumberSet, kMonitorPoolCount>& pools) {
  // Coverage counts from each ticked pool's members.
  NumberCounts coverage(kMonitorPoolCount);
  for (size_t j = 0; j < pools.size(); ++j)
    if (rule.ticked[j]) coverage.add(pools[j]);
  return coverage.where([&](int c) { return rule.accepted[static_cast<size_t>(c)]; });
}

NumberSet IntersectMonitorPools(const Context& cx, const PlanState& plan) {
  return IntersectPools(ReadIntersectionRule(cx), plan.monitorPools);
}

void ComputeIntersectionPool(Context& cx, PlanState& plan) { WritePlanPool(cx, plan, IntersectMonitorPools(cx, plan)); }

void CopyIntersectionToBet(Context& cx) {
  cx.form.setText(fmain::T_touzhu_dd[0], cx.form.text(fmain::T_jihua_jj_dadi));
  cx.form.setText(fmain::T_touzhu_dd[1], cx.form.text(fmain::T_jihua_jj_dadi_zhushu));
}

}  // namespace lumora
