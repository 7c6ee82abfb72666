#include "plan/TrendFit.h"

#include "core/Files.h"
#include "core/Text.h"
#include "curves/CurveStore.h"
#include "curves/TrendMatching.h"

namespace lumora {

std::string FitMonitorPool(PlanEnv& env, int i) {
  PlanState& plan = env.plan;
  const size_t k = static_cast<size_t>(i);
  const std::string& text = env.curves.slots[k];
  if (plan.trendParsed[k] && plan.parsedTrendText[k] == text) {
    env.curves.trend = plan.parsedTrend[k];
  } else if (LoadTrendText(env.cx, env.curves, i)) {
    // Only a text that parsed is kept: a broken one is loaded (and reported) every time.
    plan.parsedTrendText[k] = text;
    plan.parsedTrend[k] = env.curves.trend;
    plan.trendParsed[k] = true;
  }
  FitPoolToTrend(env.cx, env.curves, ReadInt(env.cx.form.text(Indexed("T_quxian_zhushu", i))), i);
  return env.cx.form.text("Tdadi");
}

void RefreshStoredTrends(PlanEnv& env) {
  // A store that cannot be read now keeps the trends read before: a plan start never ends the
  // program (the start-up read already checked the file).
  auto bytes = ReadWholeFileBytes(env.cx.data.curveStore());
  if (!bytes) return;
  if (auto slots = ParseCurveStore(*bytes)) env.curves.slots = *slots;
}

}  // namespace lumora
