#pragma once
// Draw histories and contexts for the curves tests.
#include <string>
#include <vector>

#include "core/NumberSet.h"
#include "core/Text.h"
#include "curves/CurveState.h"
#include "engine/support/EngineFixture.h"

namespace lumora::test {

// A history whose sub-numbers (后三) are `subs`, oldest first; the last one is row 1. Fewer than
// 120 leave the older rows empty.
inline void FillHistory(DrawStore& draws, const std::vector<int>& subs) {
  for (auto& row : draws.history) row = DrawRecord{};
  const int count = static_cast<int>(subs.size());
  for (int row = 1; row <= kHistoryRows && row <= count; ++row)
    draws.history[row] = DrawRecord{Pad(row, 3), "12" + ThreeDigits(subs[count - row])};
  draws.subStart = 3;
  draws.rebuildSubSeries();
}

// 120 distinct sub-numbers 100, 107, 114, ... (7 apart, modulo 1000), oldest first.
inline std::vector<int> DistinctSubs() {
  std::vector<int> subs;
  for (int i = 0; i < kHistoryRows; ++i) subs.push_back((100 + 7 * i) % 1000);
  return subs;
}

struct Bench : testing::RecordedContext {
  CurveState curves;
  Bench() { cx.rng.seed(7); }
};

inline int Count(const std::string& pool) {
  int n = 0;
  for (size_t i = 0; i < pool.size(); i += 4) ++n;
  return pool.empty() ? 0 : n;
}

}  // namespace lumora::test
