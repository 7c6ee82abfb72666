#pragma once
// `sweep --train N --test M`: the walk-forward's folds and totals on standard output, and its CSV
// and report. The test draws are the honest figure, and every output says so.
#include <string>

#include "analysis/WalkForward.h"

namespace lumora::cli {

struct WalkForwardOutputs {
  std::string drawsPath, csvPath, reportPath;
  size_t train = 0, test = 0;
  long long seeds = 1;
};

// Prints the walk-forward of `sweep` and writes the outputs asked for. Returns the exit status.
int PrintWalkForward(const SweepResult& sweep, const WalkForwardResult& walk, size_t drawCount,
                     const WalkForwardOutputs& out);

}  // namespace lumora::cli
