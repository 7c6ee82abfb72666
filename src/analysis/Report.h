#pragma once
// The SVG reports of a backtest and a sweep: the cumulative
// profit of a run against the band chance gives it (mean and +-2 SD from the pools actually
// bet), and the hit rate against the pool size (chance: hit rate = pool size / 1000).
#include <string>
#include <vector>

#include "analysis/Chance.h"
#include "analysis/Sweep.h"

namespace lumora {

struct ReportRun {
  std::string title;                 // what ran (file name, combination)
  std::vector<JudgedPeriod> periods;
  int odds = 1940;
};

// One point of the hit-rate panel: a combination, or a pool-size group of a single run.
struct HitRatePoint {
  std::string label;
  double meanPool = 0;  // mean pool size over the periods
  ChanceSummary chance;
};

// A single run: its profit against chance and its hit rate in pool-size groups.
std::string BacktestReportSvg(const ReportRun& run);
// A sweep: the profit of its most profitable run against chance, and every combination's hit
// rate. `drawsName` names the draw file in the title.
std::string SweepReportSvg(const SweepSpec& spec, const SweepResult& result, const std::string& drawsName);

// Pool-size groups of a run (up to `groups` groups of equal period counts, by pool size).
std::vector<HitRatePoint> PoolSizeGroups(const std::vector<JudgedPeriod>& periods, int groups);

// The plain statement of what chance gives every pool at these odds.
std::string ChanceHeadline(int odds);

// Text with &, <, >, " escaped for XML.
std::string XmlEscape(const std::string& text);

}  // namespace lumora
