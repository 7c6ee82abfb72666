#include "plan/TrendFit.h"

#include "core/Files.h"
#include "core/Text.h"
#include "curves/CurveStore.h"
#include "curves/TrendMatching.h"

namespace lumora {

std::string FitMonitorPool(PlanEnv& env, int i) {
  LoadTrendText(env.cx, env.curves, i);
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
