// lumora-cli sweep: parses the grid, runs it (analysis/Sweep.h) and prints the table, the CSV and
// the report.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "cli/Backtest.h"
#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "analysis/Report.h"
#include "analysis/RunRisk.h"
#include "analysis/Sweep.h"
#include "core/Files.h"
#include "core/Text.h"

namespace lumora::cli {
namespace {

constexpr const char* kSweepUsage =
    "usage: lumora-cli sweep --draws FILE --set NAME=V1,V2,... [--set ...] [--seeds K] [--jobs N] [--csv FILE]\n"
    "                        [--report FILE.svg] [--curves FILE] [--scheme FILE] [--start 1|2|3]";

std::string Fixed(double v, int decimals) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.*f", decimals, v);
  return buf;
}

// p-values small enough to need an exponent keep three significant digits.
std::string PText(double p) {
  char buf[64];
  std::snprintf(buf, sizeof buf, p < 0.001 ? "%.2e" : "%.4f", p);
  return buf;
}

std::string Seconds(double s) { return Fixed(s, s < 10 ? 1 : 0) + " s"; }

}  // namespace

int RunSweep(int argc, char** argv) {
  std::vector<SweepAxis> axes;
  std::string drawsPath, csvPath, reportPath, curves, scheme;
  long long seeds = 1, jobs = std::max(1u, std::thread::hardware_concurrency()), start = 3;
  for (int i = 0; i < argc; ++i) {
    const std::string a = argv[i];
    if (i + 1 >= argc) return Fail(a + " needs a value\n" + kSweepUsage);
    const std::string v = argv[++i];
    if (a == "--draws") {
      drawsPath = v;
    } else if (a == "--set") {
      const size_t eq = v.find('=');
      if (eq == std::string::npos || eq == 0 || eq + 1 == v.size()) return Fail("--set wants NAME=V1,V2,...: " + v);
      SweepAxis axis{Trim(v.substr(0, eq)), Split(v.substr(eq + 1), ",")};
      for (const SweepAxis& other : axes)
        if (other.name == axis.name) return Fail("--set " + axis.name + " is given twice");
      axes.push_back(std::move(axis));
    } else if (a == "--seeds") {
      if (!WholeNumber(v, seeds) || seeds < 1 || seeds > 10000) return Fail("--seeds must be a whole number from 1 to 10000");
    } else if (a == "--jobs") {
      if (!WholeNumber(v, jobs) || jobs < 1 || jobs > 256) return Fail("--jobs must be a whole number from 1 to 256");
    } else if (a == "--start") {
      if (!WholeNumber(v, start) || start < 1 || start > 3) return Fail("--start must be 1, 2 or 3");
    } else if (a == "--csv") {
      csvPath = v;
    } else if (a == "--report") {
      reportPath = v;
    } else if (a == "--curves") {
      curves = v;
    } else if (a == "--scheme") {
      scheme = v;
    } else {
      return Fail("unknown option " + a + "\n" + kSweepUsage);
    }
  }
  if (drawsPath.empty()) return Fail(std::string("--draws is required\n") + kSweepUsage);
  if (axes.empty()) return Fail(std::string("at least one --set NAME=V1,V2,... is required\n") + kSweepUsage);

  size_t combinations = 1;
  for (const SweepAxis& axis : axes) {
    combinations *= axis.values.size();
    if (combinations > 100000) return Fail("more than 100000 combinations");
  }

  DrawFile file = ReadDrawFile(drawsPath);
  if (!file.error.empty()) return Fail(file.error);

  // The options the data folder and scheme come from, in the backtest's own form.
  std::vector<std::string> words;
  for (const auto& [name, value] : {std::pair{"--curves", curves}, std::pair{"--scheme", scheme}})
    if (!value.empty()) {
      words.push_back(name);
      words.push_back(value);
    }
  std::vector<char*> wordPtrs;
  for (std::string& w : words) wordPtrs.push_back(w.data());
  Args args(static_cast<int>(wordPtrs.size()), wordPtrs.data(), 0);
  SweepSpec spec;
  spec.axes = axes;
  spec.seeds = static_cast<int>(seeds);
  spec.jobs = static_cast<int>(jobs);
  spec.base.start = static_cast<int>(start);
  TempData temp;
  if (std::string error = PrepareDataFolder(args, spec.base, temp); !error.empty()) return Fail(error);

  const std::vector<SweepCombination> grid = SweepCombinations(spec);
  // Names and values checked on a bare session before any run: a mistyped name stops the sweep.
  if (std::string error = CheckCombinations(grid); !error.empty()) return Fail(error);

  const auto began = std::chrono::steady_clock::now();
  bool shown = false;
  // Progress on stderr once the sweep has run for a second.
  SweepResult result = RunSweepGrid(spec, grid, file.draws, [&](size_t d, size_t total, size_t threads) {
    const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
    if (elapsed >= 1.0 && d < total) {
      std::string eta = d ? ", about " + Seconds(elapsed / static_cast<double>(d) * static_cast<double>(total - d)) + " left" : "";
      std::fprintf(stderr, "\rsweep: %zu/%zu runs on %zu threads, %s%s    ", d, total, threads, Seconds(elapsed).c_str(), eta.c_str());
      shown = true;
    }
  });
  const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
  if (shown) std::fprintf(stderr, "\n");
  if (!result.error.empty()) return Fail(result.error);
  for (const std::string& n : result.notices) std::fprintf(stderr, "lumora-cli: %s\n", ToLf(n).c_str());
  const std::vector<SweepRow>& rows = result.rows;

  std::printf("%s\n", ChanceHeadline(result.odds).c_str());
  std::printf("%zu combinations x %lld seeds over %zu draws (%s); sums over the seeds, drawdown and miss run of the worst seed.\n"
              "z and p (two-sided, normal approximation) compare the hits with chance; the seeds replay the same draws, so their "
              "variance is the bound for fully dependent seeds (exact for one seed); p is Holm-adjusted over the %zu combinations.\n",
              combinations, seeds, file.draws.size(), drawsPath.c_str(), combinations);
  std::printf("%3s  %-44s %8s %7s %9s %7s %9s %9s %10s %10s %7s %9s %6s\n", "#", "settings", "periods", "hits", "expected", "z", "p",
              "Holm p", "profit", "turnover", "return", "drawdown", "misses");
  for (size_t c = 0; c < rows.size(); ++c) {
    const SweepRow& r = rows[c];
    const double ret = r.turnover ? static_cast<double>(r.profit) / static_cast<double>(r.turnover) : 0.0;
    std::printf("%3zu  %-44s %8lld %7lld %9.1f %7.2f %9s %9s %10lld %10lld %6.2f%% %9lld %6lld\n", c + 1, r.label.c_str(),
                static_cast<long long>(r.chance.periods), static_cast<long long>(r.chance.hits), r.chance.expectedHits, r.chance.z,
                PText(r.chance.p).c_str(), PText(r.holm).c_str(), static_cast<long long>(r.profit),
                static_cast<long long>(r.turnover), 100 * ret, static_cast<long long>(r.drawdown),
                static_cast<long long>(r.missRun));
  }
  for (const std::string& line : SweepRiskLines(grid, result, DesignFund())) std::printf("%s\n", line.c_str());
  std::fprintf(stderr, "sweep: %zu runs on %zu threads in %s\n", result.runs.size(), result.threads, Seconds(wall).c_str());

  if (!csvPath.empty()) {
    std::string csv;
    for (const SweepAxis& axis : axes) csv += axis.name + ",";
    csv += "seeds,periods,hits,expected_hits,z,p,holm_p,profit,turnover,return,largest_drawdown,longest_miss_run\n";
    for (const SweepRow& r : rows) {
      for (const std::string& v : r.values) csv += "\"" + ReplaceAll(v, "\"", "\"\"") + "\",";
      const double ret = r.turnover ? static_cast<double>(r.profit) / static_cast<double>(r.turnover) : 0.0;
      char buf[512];
      std::snprintf(buf, sizeof buf, "%lld,%lld,%lld,%.3f,%.4f,%.6g,%.6g,%lld,%lld,%.6f,%lld,%lld\n", seeds,
                    static_cast<long long>(r.chance.periods), static_cast<long long>(r.chance.hits), r.chance.expectedHits,
                    r.chance.z, r.chance.p, r.holm, static_cast<long long>(r.profit), static_cast<long long>(r.turnover), ret,
                    static_cast<long long>(r.drawdown), static_cast<long long>(r.missRun));
      csv += buf;
    }
    if (!WriteFileAtomic(csvPath, csv)) return Fail("cannot write " + csvPath);
  }
  if (!reportPath.empty() &&
      !WriteFileAtomic(reportPath, SweepReportSvg(spec, result, std::filesystem::path(drawsPath).filename().string())))
    return Fail("cannot write " + reportPath);
  return 0;
}

}  // namespace lumora::cli
