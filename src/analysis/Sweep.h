#pragma once
// A sweep: the backtest for every combination of named settings and K seeds, on N threads, with
// what chance gives each combination. Results do not depend on the thread count: every run has
// its own session and seed, and rows come in combination order.
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "analysis/Backtest.h"
#include "analysis/Chance.h"

namespace lumora {

// One swept control and the values it takes.
struct SweepAxis {
  std::string name;
  std::vector<std::string> values;
};

struct SweepSpec {
  std::vector<SweepAxis> axes;
  BacktestSettings base;  // data folder, scheme, start; the axes' controls are added to it
  int seeds = 1;          // seeds 1..seeds per combination
  int jobs = 1;           // threads
  const std::atomic<bool>* cancel = nullptr;  // set from another thread to stop (the result says so)
};

// One cell of the grid: the values of every axis and the settings that run it.
struct SweepCombination {
  std::string label;                // "NAME=V NAME=V"
  std::vector<std::string> values;  // one per axis
  BacktestSettings settings;
};

// Every combination of the axes' values, the last axis varying fastest. The count is the product
// of the axes' sizes; the caller sizes the grid before asking for it.
std::vector<SweepCombination> SweepCombinations(const SweepSpec& spec);

// Every combination's names and values tried on a bare session before any run. Returns why the
// first one was refused ("" when all are accepted).
std::string CheckCombinations(const std::vector<SweepCombination>& combinations);

// One backtest of the sweep.
struct SweepRun {
  size_t combination = 0;
  uint64_t seed = 0;
  BacktestOutcome outcome;
  std::vector<std::string> notices;  // the first few distinct notices of the run
};

// One combination over its seeds: sums over the seeds, drawdown and miss run of its worst seed.
struct SweepRow {
  std::string label;
  std::vector<std::string> values;
  ChanceSummary chance;
  double holm = 1;  // p Holm-adjusted over the combinations
  int64_t profit = 0, turnover = 0, drawdown = 0, missRun = 0;
  double poolSum = 0;  // sum of the pool sizes over every seed's periods
};

struct SweepResult {
  std::vector<SweepRow> rows;         // combination order
  std::vector<SweepRun> runs;         // combination-major, seeds 1..K within
  std::ptrdiff_t luckiest = -1;       // index in runs of the run with the highest final profit, -1 if none
  std::vector<std::string> notices;   // the first four distinct notices over all runs
  int odds = 1940;                    // the odds of the first combination
  size_t threads = 0;                 // threads used
  bool cancelled = false;
  std::string error;                  // the first run that could not start: "LABEL: why"
};

// Called on the calling thread about five times a second while the runs go on.
using SweepProgress = std::function<void(size_t done, size_t total, size_t threads)>;

// Runs every combination with seeds 1..spec.seeds over `draws` on spec.jobs threads and gathers
// the rows. The result is the same for any thread count.
SweepResult RunSweepGrid(const SweepSpec& spec, const std::vector<SweepCombination>& combinations,
                         const std::vector<DrawRecord>& draws, const SweepProgress& progress = {});

}  // namespace lumora
