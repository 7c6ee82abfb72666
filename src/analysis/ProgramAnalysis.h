#pragma once
// The program's analysis window, engine side: a backtest or a small sweep of the program's current
// settings over the draws it holds or a draw file. The job is copied from the session on the user
// interface thread; running it touches nothing of the session, so it can run on a worker thread
// while the draw cycle goes on.
#include <atomic>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/Backtest.h"
#include "analysis/Sweep.h"
#include "core/Scene.h"
#include "money/MoneyState.h"
#include "session/Session.h"

namespace lumora {

struct AnalysisJob {
  BacktestSettings settings;      // data folder, plan settings (as a scheme text), scheme and odds
  std::vector<DrawRecord> draws;  // oldest first
  std::string drawsName;
  std::vector<SweepAxis> axes;  // none: one backtest
  int seeds = 1;                // a sweep's seeds 1..seeds per combination
  int jobs = 1;                 // a sweep's threads
  FundSettings fund;            // the capital frame's figures, for the risk of ruin
  std::string error;            // the settings could not be copied ("" when they were)
};

// Copies what a run needs from the session as it is now: the plan settings as a scheme file holds
// them, the statistics' scheme and odds, the sub-game, the data folder, the capital frame's boxes
// and the draws the program holds.
AnalysisJob CopyAnalysisJob(const Session& s);

// The draws of the history, oldest first (the program holds the newest 120).
std::vector<DrawRecord> HeldDraws(const DrawStore& store);

// The statistics scheme of a record as a backtest names it ("flat", "multiplier:1-2-4", "push-wave:3").
std::string StatsSchemeText(const PlanStats& st);

// "NAME=V1,V2,..." as one swept control; blank text is no sweep. Returns why it was refused,
// each value checked against its control's kind as a sweep of the cli does.
std::string ParseSweepText(std::string_view text, std::vector<SweepAxis>& axes);

struct AnalysisOutcome {
  std::string error;  // why nothing ran ("" when it did)
  bool cancelled = false;
  std::vector<std::string> headers;
  std::vector<std::vector<std::string>> rows;  // one per run or combination
  Scene chart;                                 // the report, with the risk section under it
  std::vector<std::string> risk;               // heading and lines of the risk of ruin
  std::string summary;                         // one line: what ran
};

// done / total: judged periods of a backtest, runs of a sweep. Called on the running thread.
using AnalysisProgress = std::function<void(size_t done, size_t total)>;

// Runs `job`; `cancel` set from another thread stops it soon (the outcome says so).
AnalysisOutcome RunAnalysisJob(const AnalysisJob& job, const std::atomic<bool>& cancel,
                               const AnalysisProgress& progress);

}  // namespace lumora
