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

#include "analysis/Report.h"
#include "analysis/RunRisk.h"
#include "analysis/Sweep.h"
#include "analysis/WalkForward.h"
#include "cli/Backtest.h"
#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "cli/SweepChecks.h"
#include "cli/WalkForwardOutput.h"
#include "core/Files.h"
#include "core/SceneSvg.h"
#include "core/Text.h"

namespace lumora::cli {
namespace {

constexpr const char* kSweepUsage =
    "usage: lumora-cli sweep --draws FILE --set NAME=V1,V2,... [--set ...] [--seeds K] [--jobs N] [--csv FILE]\n"
    "                        [--report FILE.svg] [--curves FILE] [--scheme FILE] [--start 1|2|3] [--train N --test M]";

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

// `text` padded with blanks to `columns` terminal columns (wide characters count 2).
std::string PadColumns(const std::string& text, size_t columns) {
  const size_t used = static_cast<size_t>(DisplayColumns(text));
  return used >= columns ? text : text + std::string(columns - used, ' ');
}

std::string Seconds(double s) { return Fixed(s, s < 10 ? 1 : 0) + " s"; }

}  // namespace

int RunSweep(int argc, char** argv) {
  std::vector<SweepAxis> axes;
  std::string drawsPath, csvPath, reportPath, curves, scheme;
  long long seeds = 1, jobs = std::max(1u, std::thread::hardware_concurrency()), start = 3, train = 0, test = 0;
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
      if (!WholeNumber(v, seeds) || seeds < 1 || seeds > 10000)
        return Fail("--seeds must be a whole number from 1 to 10000");
    } else if (a == "--jobs") {
      if (!WholeNumber(v, jobs) || jobs < 1 || jobs > 256) return Fail("--jobs must be a whole number from 1 to 256");
    } else if (a == "--start") {
      if (!WholeNumber(v, start) || start < 1 || start > 3) return Fail("--start must be 1, 2 or 3");
    } else if (a == "--train" || a == "--test") {
      if (!WholeNumber(v, a == "--train" ? train : test) || (a == "--train" ? train : test) < 1)
        return Fail(a + " must be a whole number of draws of 1 or more");
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

  if ((train > 0) != (test > 0)) return Fail("walk-forward wants both --train N and --test M");
  // Everything that can be refused is refused before the first run.
  if (std::string error = CheckSweepAxes(axes, "--set "); !error.empty()) return Fail(error);
  if (!csvPath.empty() && csvPath == reportPath) return Fail("--csv and --report name the same file " + csvPath);
  for (const auto& [option, path] : {std::pair{"--csv", csvPath}, std::pair{"--report", reportPath}})
    if (!path.empty())
      if (std::string error = CheckOutputPath(option, path); !error.empty()) return Fail(error);

  DrawFile file = ReadDrawFile(drawsPath);
  if (!file.error.empty()) return Fail(file.error);
  if (std::string error = CheckWarmUp(drawsPath, file.draws.size()); !error.empty()) return Fail(error);
  if (train > 0) {
    std::string error;
    WalkForwardWindows(file.draws.size(), kWarmUpDraws, static_cast<size_t>(train), static_cast<size_t>(test), error);
    if (!error.empty()) return Fail(error);
  }

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
  SweepSetup setup;
  setup.axes = axes;
  setup.seeds = static_cast<int>(seeds);
  setup.jobs = static_cast<int>(jobs);
  setup.base.start = static_cast<int>(start);
  TempData temp;
  if (std::string error = PrepareDataFolder(args, setup.base, temp); !error.empty()) return Fail(error);
  if (std::string error = CheckGridSize(axes, seeds, jobs, setup.base, file.draws); !error.empty()) return Fail(error);
  size_t combinations = 1;
  for (const SweepAxis& axis : axes) combinations *= axis.values.size();

  const std::vector<SweepCombination> grid = SweepCombinations(setup);
  // Names and values checked on a bare session before any run: a mistyped name stops the sweep.
  if (std::string error = CheckCombinations(grid); !error.empty()) return Fail(error);

  const auto began = std::chrono::steady_clock::now();
  bool shown = false;
  // Progress on stderr once the sweep has run for a second.
  const SweepProgress progress = [&](size_t d, size_t total, size_t threads) {
    const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
    if (elapsed >= 1.0 && d < total) {
      std::string eta =
          d ? ", about " + Seconds(elapsed / static_cast<double>(d) * static_cast<double>(total - d)) + " left" : "";
      std::fprintf(stderr, "\rsweep: %zu/%zu runs on %zu threads, %s%s    ", d, total, threads,
                   Seconds(elapsed).c_str(), eta.c_str());
      shown = true;
    }
  };
  if (train > 0) {
    SweepResult runs;
    const WalkForwardResult walk =
        RunWalkForward(setup, grid, file.draws, static_cast<size_t>(train), static_cast<size_t>(test), progress, &runs);
    if (shown) std::fprintf(stderr, "\n");
    if (!walk.error.empty()) return Fail(walk.error);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
    std::fprintf(stderr, "sweep: %zu runs on %zu threads in %s\n", runs.runs.size(), runs.threads,
                 Seconds(seconds).c_str());
    return PrintWalkForward(runs, walk, file.draws.size(),
                            WalkForwardOutputs{drawsPath, csvPath, reportPath, static_cast<size_t>(train),
                                               static_cast<size_t>(test), seeds});
  }
  SweepResult result = RunSweepGrid(setup, grid, file.draws, progress);
  const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
  if (shown) std::fprintf(stderr, "\n");
  if (!result.error.empty()) return Fail(result.error);
  for (const std::string& n : result.notices) std::fprintf(stderr, "lumora-cli: %s\n", ToLf(n).c_str());
  const std::vector<SweepRow>& rows = result.rows;

  std::printf("%s\n", ChanceHeadline(result.odds, result.highestOdds).c_str());
  std::printf(
      "%zu combinations x %lld seeds over %zu draws (%s); sums over the seeds, drawdown and miss run of the worst seed.\n"
      "p: two-sided, min(1, 2 x the smaller tail) of the exact distribution of the hits under fair draws given the pools "
      "bet (several seeds: per draw, how many of their pools hold the drawn number, convolved over the draws); "
      "~ marks a Chernoff bound, never below the exact p, where the convolution would cost too much. z uses the exact "
      "variance. Holm p: adjusted over the %zu combinations. sel p: the chance that the best of the %zu combinations "
      "earns at least this profit on %d fair replays of these draws with the pools each bet. coin: random pools of the "
      "same sizes on the same draws, booked the same way.\n",
      combinations, seeds, file.draws.size(), drawsPath.c_str(), combinations, combinations, result.replicas);
  size_t labelWidth = 8;
  for (const SweepRow& r : rows) labelWidth = std::max(labelWidth, static_cast<size_t>(DisplayColumns(r.label)));
  labelWidth = std::min<size_t>(labelWidth, 60);
  std::printf("%3s  %s %8s %7s %9s %7s %10s %9s %9s %9s %10s %11s %12s %7s %9s %6s\n", "#",
              PadColumns("settings", labelWidth).c_str(), "periods", "hits", "expected", "z", "p", "Holm p", "sel p",
              "coin hits", "profit", "coin profit", "turnover", "return", "drawdown", "misses");
  for (size_t c = 0; c < rows.size(); ++c) {
    const SweepRow& r = rows[c];
    const double ret = r.turnover ? static_cast<double>(r.profit) / static_cast<double>(r.turnover) : 0.0;
    std::printf("%3zu  %s %8lld %7lld %9.1f %7.2f %10s %9s %9s %9lld %10lld %11lld %12lld %6.2f%% %9lld %6lld\n", c + 1,
                PadColumns(r.label, labelWidth).c_str(), static_cast<long long>(r.chance.periods),
                static_cast<long long>(r.chance.hits), r.chance.expectedHits, r.chance.z,
                ((r.chance.exact ? "" : "~") + PText(r.chance.p)).c_str(), PText(r.holm).c_str(),
                PText(r.selectionP).c_str(), static_cast<long long>(r.baselineHits), static_cast<long long>(r.profit),
                static_cast<long long>(r.baselineProfit), static_cast<long long>(r.turnover), 100 * ret,
                static_cast<long long>(r.drawdown), static_cast<long long>(r.missRun));
  }
  if (result.luckiest >= 0) {
    const SweepRun& best = result.runs[static_cast<size_t>(result.luckiest)];
    std::printf(
        "The most profitable of the %zu runs, %s seed %llu, ended at %lld; the best of %zu runs on a fair replay ends "
        "at least as high with selection-adjusted p %s.\n",
        result.runs.size(), rows[best.combination].label.c_str(), static_cast<unsigned long long>(best.seed),
        static_cast<long long>(best.finalProfit), result.runs.size(), PText(result.bestRunSelectionP).c_str());
  }
  const std::vector<std::string> risk = SweepRiskLines(grid, result, DesignFund());
  for (const std::string& line : risk) std::printf("%s\n", line.c_str());
  std::fprintf(stderr, "sweep: %zu runs on %zu threads in %s\n", result.runs.size(), result.threads,
               Seconds(wall).c_str());

  int status = 0;
  if (!csvPath.empty()) {
    std::string csv;
    for (const SweepAxis& axis : axes) csv += axis.name + ",";
    csv +=
        "seeds,periods,hits,expected_hits,z,p,holm_p,profit,turnover,return,largest_drawdown,longest_miss_run,p_exact,"
        "selection_p,coin_hits,coin_profit\n";
    for (const SweepRow& r : rows) {
      for (const std::string& v : r.values) csv += "\"" + ReplaceAll(v, "\"", "\"\"") + "\",";
      const double ret = r.turnover ? static_cast<double>(r.profit) / static_cast<double>(r.turnover) : 0.0;
      char buf[512];
      std::snprintf(buf, sizeof buf, "%lld,%lld,%lld,%.3f,%.4f,%.6g,%.6g,%lld,%lld,%.6f,%lld,%lld,%d,%.6g,%lld,%lld\n",
                    seeds, static_cast<long long>(r.chance.periods), static_cast<long long>(r.chance.hits),
                    r.chance.expectedHits, r.chance.z, r.chance.p, r.holm, static_cast<long long>(r.profit),
                    static_cast<long long>(r.turnover), ret, static_cast<long long>(r.drawdown),
                    static_cast<long long>(r.missRun), r.chance.exact ? 1 : 0, r.selectionP,
                    static_cast<long long>(r.baselineHits), static_cast<long long>(r.baselineProfit));
      csv += buf;
    }
    if (std::string why = WriteOutput("--csv", csvPath, csv); !why.empty()) status = Fail(why);
  }
  // Written whatever became of the CSV: one failed output never costs the other.
  if (!reportPath.empty()) {
    Scene report = SweepReportScene(setup, result, std::filesystem::path(drawsPath).filename().string());
    AppendRiskSection(report, risk);
    if (std::string why = WriteOutput("--report", reportPath, SceneSvg(report)); !why.empty()) status = Fail(why);
  }
  return status;
}

}  // namespace lumora::cli
