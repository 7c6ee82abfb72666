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

struct SweepSetup {
  std::vector<SweepAxis> axes;
  BacktestSettings base;  // data folder, scheme, start; the axes' controls are added to it
  int seeds = 1;          // seeds 1..seeds per combination
  int jobs = 1;           // threads
  // Fair replays for the best of N: this many drawn-number sequences (uniform per period) made
  // from `replicaSeed`; 0 skips them.
  int replicas = 200;
  uint64_t replicaSeed = 20261209;
  const std::atomic<bool>* cancel = nullptr;  // set from another thread to stop (the result says so)
};

// One cell of the grid: the values of every axis and the settings that run it.
struct SweepCombination {
  std::string label;                // "NAME=V NAME=V"
  std::vector<std::string> values;  // one per axis
  BacktestSettings settings;
};

// Every combination of the axes' values, the last axis varying fastest. The count is the product
// of the axes' sizes; the caller sizes the grid before asking for it. All of them share one
// reading of the curve store (ShareCurveStore).
std::vector<SweepCombination> SweepCombinations(const SweepSetup& setup);

// Why `axes` cannot be swept ("" when every value of every axis can be set): the first value that
// is not of its control's kind, an empty value, or a value given twice, named with its control as
// `given` + "NAME=V1,V2,..." (the cli says "--set ").
std::string CheckSweepAxes(const std::vector<SweepAxis>& axes, const std::string& given = "");

// Every combination's names and values tried on a bare session before any run. Returns why the
// first one was refused ("" when all are accepted).
std::string CheckCombinations(const std::vector<SweepCombination>& combinations);

// One backtest of the sweep. Once its combination is summed up only the most profitable run
// keeps its periods (and no run keeps its pools): a sweep's memory does not grow with its runs.
struct SweepRun {
  size_t combination = 0;
  uint64_t seed = 0;
  BacktestOutcome outcome;
  std::vector<std::string> notices;  // the first few distinct notices of the run
  int64_t finalProfit = 0;           // the statistics' profit at the end of the run
  bool judged = false;               // the run judged at least one period
};

// One combination over its seeds: sums over the seeds, drawdown and miss run of its worst seed.
struct SweepRow {
  std::string label;
  std::vector<std::string> values;
  ChanceSummary chance;  // hits of all seeds against their exact distribution under fair draws
  double holm = 1;       // p Holm-adjusted over the combinations
  // The chance that the most profitable of the N combinations (profit summed over the seeds) on
  // fair replays of these periods, with the pools each combination bet, earns at least this
  // row's profit: (1 + replicas at least as high) / (1 + replicas).
  double selectionP = 1;
  int64_t profit = 0, turnover = 0, drawdown = 0, missRun = 0;
  double poolSum = 0;  // sum of the pool sizes over every seed's periods
  // Random pools of the same sizes on the same draws (seeded per combination and seed), booked
  // with the same money scheme: the plan against a coin of the same size.
  int64_t baselineHits = 0, baselineProfit = 0;
};

// The chance band of the best of N: per period (draw after the first 120), quantiles over the
// fair replays of the highest cumulative profit among the N runs.
struct BestOfBand {
  std::vector<double> low, median, high;  // 2.5 %, 50 %, 97.5 %
};

struct SweepResult {
  std::vector<SweepRow> rows;        // combination order
  std::vector<SweepRun> runs;        // combination-major, seeds 1..K within
  std::ptrdiff_t luckiest = -1;      // index in runs of the run with the highest final profit, -1 if none
  std::vector<std::string> notices;  // the first four distinct notices over all runs
  int odds = 1940;                   // the lowest odds of the combinations
  int highestOdds = 1940;            // the highest (above `odds` when odds were swept)
  int64_t firstDraw = 0;             // index of the first judged draw: band entry t is draw firstDraw + t
  size_t threads = 0;                // threads used
  int replicas = 0;                  // fair replays made
  // The chance that the best of the N runs on a fair replay ends at least as high as the most
  // profitable run did: its selection-adjusted p. 1 without replays.
  double bestRunSelectionP = 1;
  BestOfBand band;
  bool cancelled = false;
  std::string error;  // the first run that could not start: "LABEL: why"
};

// The cumulative profit after each draw from `firstDraw` on (path.size() draws) that a run kept
// with its pools books when the drawn numbers are drawn[0..]: its pools and money scheme replayed
// on other draws. False when a figure passes the 64-bit range (the path stops growing there).
bool ReplayProfit(const BacktestOutcome& run, const uint16_t* drawn, int64_t firstDraw, std::vector<int64_t>& path);

// Called on the calling thread about five times a second while the runs go on.
using SweepProgress = std::function<void(size_t done, size_t total, size_t threads)>;

// Runs every combination with seeds 1..setup.seeds over `draws` on setup.jobs threads and gathers
// the rows. The result is the same for any thread count.
SweepResult RunSweepGrid(const SweepSetup& setup, const std::vector<SweepCombination>& combinations,
                         const std::vector<DrawRecord>& draws, const SweepProgress& progress = {});

}  // namespace lumora
