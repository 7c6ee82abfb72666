#include "plan/TrendFit.h"

#include "core/Files.h"
#include "core/Text.h"
#include "core/controls/Fmain.h"
#include "curves/CurveStore.h"
#include "curves/TrendMatching.h"
#include "curves/TrendText.h"

namespace lumora {

const TrendLine* StoredTrend(PlanEnv& env, int i) {
  PlanState& plan = env.plan;
  const size_t k = static_cast<size_t>(i);
  const std::string& text = env.curves.slots[k];
  if (plan.trendParsed[k] && plan.parsedTrendText[k] == text) return &plan.parsedTrend[k];
  TrendLine trend = env.curves.trend;  // a broken text changes only the positions before its fault
  if (!ParseTrendText(text, trend, nullptr)) return nullptr;
  plan.parsedTrendText[k] = text;
  plan.parsedTrend[k] = trend;
  plan.trendParsed[k] = true;
  return &plan.parsedTrend[k];
}

std::string FitMonitorPool(PlanEnv& env, int i) {
  if (const TrendLine* parsed = StoredTrend(env, i)) env.curves.trend = *parsed;
  else LoadTrendText(env.cx, env.curves, i);  // the notice, and the positions before the fault
  FitPoolToTrend(env.cx, env.curves, env.cx.form.value(fmain::T_quxian_zhushu[i]), i);
  return env.cx.form.text(fmain::Tdadi);
}

void RefreshStoredTrends(PlanEnv& env) {
  if (env.cx.headless) return;  // the store read at start-up stands
  // A store that cannot be read now keeps the trends read before: a plan start never ends the
  // program (the start-up read already checked the file).
  auto bytes = ReadWholeFileBytes(env.cx.data.curveStore());
  if (!bytes) return;
  if (auto slots = ParseCurveStore(*bytes)) env.curves.slots = *slots;
}

}  // namespace lumora
