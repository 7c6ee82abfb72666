#pragma once
// Draw files as lumora-cli reads them, for the tests that run it over made-up days.
#include <random>
#include <string>

#include "core/Text.h"

namespace lumora::testing {

// `count` fair draws in the file's line form ("001-12345\n"), periods 001..120 repeating, the digits
// drawn from `seed`.
inline std::string DrawLines(int count, unsigned seed) {
  std::mt19937 rng(seed);
  std::string out;
  for (int i = 0; i < count; ++i) out += Pad(i % 120 + 1, 3) + "-" + Pad(static_cast<int>(rng() % 100000), 5) + "\n";
  return out;
}

}  // namespace lumora::testing
