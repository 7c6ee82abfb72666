#pragma once
// Walk-forward over a sweep: on each training window of N judged draws the combination with the
// highest profit (summed over its seeds) is chosen, and only the next M draws, which played no
// part in the choice, count as its result. The windows roll forward by M over the file. The test
// draws' figures are the honest estimate of choosing by backtest; the training figures are chosen
// with hindsight and overstate what the choice is worth.
//
// Every run of the sweep has covered the whole file with its plan and statistics running on, so a
// window's figures are the differences of the cumulative figures at its ends: what a player who
// switched to the chosen settings at the window's start would have booked, with the plan's state
// as those settings had built it.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "analysis/Chance.h"
#include "analysis/Sweep.h"

namespace lumora {

struct WalkForwardFold {
  size_t trainFirst = 0, trainEnd = 0;       // draws [trainFirst, trainEnd) of the file (0-based) judge the choice
  size_t testFirst = 0, testEnd = 0;         // draws [testFirst, testEnd) judge the chosen combination
  size_t chosen = 0;                         // index of the chosen combination (the lowest one on a tie)
  int64_t trainProfit = 0;                   // the chosen one's profit on the training draws, over its seeds
  int64_t testProfit = 0, testTurnover = 0;  // its profit and stake on the test draws, over its seeds
  ChanceSummary test;                        // its hits on the test draws against chance, over its seeds
};

struct WalkForwardResult {
  std::vector<WalkForwardFold> folds;
  ChanceSummary test;  // every test draw of every fold against chance
  int64_t testProfit = 0, testTurnover = 0;
  int64_t trainProfit = 0;  // the chosen combinations' training profits, summed (hindsight)
  // The first seed's test periods of the chosen combinations, one fold after another, with the
  // cumulative profit and stake carried across the folds (for a report).
  std::vector<JudgedPeriod> testPeriods;
  std::string error;  // why the windows do not fit the file ("" when they do)
};

// The windows over a file of `drawCount` draws whose first `warmUp` only fill the history:
// training windows start at warmUp, warmUp + test, ...; a fold needs at least one test draw, the
// last fold's test window may be shorter than `test`. Requires train, test >= 1 and
// warmUp + train + 1 <= drawCount (else `error` says so and there are no folds).
std::vector<WalkForwardFold> WalkForwardWindows(size_t drawCount, size_t warmUp, size_t train, size_t test,
                                                std::string& error);

// Walk-forward over finished runs of `drawCount` draws: sweep.runs hold every run's periods (and,
// for the test figures of several seeds, the pools of the chosen combinations' runs). The same
// runs give the same folds, whatever the thread count that produced them.
// `chance` false leaves the test hits' chance figures out (the choice and the money only).
WalkForwardResult WalkForward(const SweepResult& sweep, size_t drawCount, size_t warmUp, size_t train, size_t test,
                              bool chance = true);

// Runs every combination with seeds 1..setup.seeds over `draws` on setup.jobs threads, then the
// chosen combinations once more keeping their pools (for the exact chance of their test hits), and
// returns the walk-forward with the warm-up of kHistoryRows draws. `runs` (optional) receives the
// runs. Deterministic for any thread count. A run that could not start is the error.
WalkForwardResult RunWalkForward(const SweepSetup& setup, const std::vector<SweepCombination>& combinations,
                                 const std::vector<DrawRecord>& draws, size_t train, size_t test,
                                 const SweepProgress& progress = {}, SweepResult* runs = nullptr);

}  // namespace lumora
