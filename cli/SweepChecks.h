#pragma once
// What `sweep` checks before it runs anything beyond the swept values (analysis/Sweep.h): the
// grid's size against what this machine can run and hold.
#include <string>
#include <vector>

#include "analysis/Sweep.h"

namespace lumora::cli {

// The limits of one sweep: runs (combinations x seeds) and judged draws over all runs, which is
// both the time and the memory the results take.
inline constexpr double kMaxCombinations = 100000;
inline constexpr double kMaxRuns = 1000000;
inline constexpr double kMaxJudgedDraws = 20000000;

// Why the grid of `axes` x `seeds` over `draws` is too large ("" when it fits), sized before
// anything is allocated: the counts, and the time it would take on `jobs` threads from one short
// run timed here on the first combination.
std::string CheckGridSize(const std::vector<SweepAxis>& axes, long long seeds, long long jobs,
                          const BacktestSettings& base, const std::vector<DrawRecord>& draws);

}  // namespace lumora::cli
