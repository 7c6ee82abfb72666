#pragma once
// Feed answers as the draw-feed service writes them, for tests that drive the engine's feed.
#include <string>

#include "core/Text.h"

namespace lumora::testing {

// The digits the test feeds give period `period` (the same in every test: 151 gives 96102).
inline std::string Digits(int period) { return Pad((period * 7919 + 333) % 100000, 5); }

// An answer of 150 draws ending with period `newest`, oldest first.
inline std::string FeedEndingAt(int newest) {
  std::string b = "**ok***-*";
  for (int p = newest - 149; p <= newest; ++p) b += Pad(p, 3) + "-" + Digits(p) + (p == newest ? "" : "\r\n");
  return b + "*-*";
}

}  // namespace lumora::testing
