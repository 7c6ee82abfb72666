#include "curves/PoolCurve.h"

#include "core/NumberSet.h"
#include "core/Text.h"
#include "curves/TrendText.h"

namespace lumora {

namespace {
int CountNumbers(std::string_view pool) {
  int n = 0;
  for (const std::string& piece : Split(pool, " "))
    if (!piece.empty()) ++n;
  return n;
}
}  // namespace

ProfitCurve ComputePoolCurve(const DrawStore& draws, std::string_view poolText) {
  std::string_view pool = TrimView(poolText);
  const int n = CountNumbers(pool);
  const NumberSet members = NumberSet::FromText(pool);
  const double cost = 0.2 * n;
  ProfitCurve y{};
  for (int k = 1; k <= kHistoryRows - 1; ++k) {
    double v = y[k - 1];
    if (members.contains(std::string_view(draws.subSeries[k]))) v += 200;
    y[k] = CurvePoint(v - cost);
  }
  return y;
}

void ComputePoolCurve(const DrawStore& draws, CurveState& curves, std::string_view poolText) {
  curves.profit = ComputePoolCurve(draws, poolText);
}

}  // namespace lumora
