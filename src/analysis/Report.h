#pragma once
// The reports of a backtest and a sweep, drawn as Scenes (pixels as logical units) so the program
// shows the same pictures the command line writes as SVG (core/SceneSvg.h).
// A backtest: the cumulative profit against the band chance gives that run (mean and +-2 SD from
// the pools and stakes actually booked), and the hit rate against the pool size.
// A sweep: the most profitable of its N runs against the band of the best of N runs on fair
// replays of the same periods, and every combination's hit rate against its pool size.
#include <string>
#include <vector>

#include "analysis/Chance.h"
#include "analysis/Sweep.h"
#include "core/Scene.h"

namespace lumora {

struct ReportRun {
  std::string title;  // what ran (file name, combination)
  std::vector<JudgedPeriod> periods;
  int odds = 1940;
};

// One point of the hit-rate panel: a combination, or a pool-size group of a single run.
struct HitRatePoint {
  std::string label;
  double meanPool = 0;  // mean pool size over the periods
  ChanceSummary chance;
};

Scene BacktestReportScene(const ReportRun& run);
// `drawsName` names the draw file in the title.
Scene SweepReportScene(const SweepSetup& setup, const SweepResult& result, const std::string& drawsName);

// The same as SVG documents.
std::string BacktestReportSvg(const ReportRun& run);
std::string SweepReportSvg(const SweepSetup& setup, const SweepResult& result, const std::string& drawsName);

// Pool-size groups of a run (up to `groups` groups of equal period counts, by pool size).
std::vector<HitRatePoint> PoolSizeGroups(const std::vector<JudgedPeriod>& periods, int groups);

// The plain statement of what chance gives every pool at these odds; for a range of odds
// (odds swept) it names the range instead of one value.
std::string ChanceHeadline(int odds, int highestOdds = 0);

// A p-value for people: "p 0.0123", and "p < 0.0001" below 0.0001 (never "p 0.0000").
std::string PValueText(double p);

}  // namespace lumora
