// lumora-cli backtest: replays a draw file through the after-draw pipeline with the design's
// defaults, "自动计划" ticked and "每期算号" selected, and prints every judged period.
#include <cstdio>
#include <string>

#include "analysis/Report.h"
#include "analysis/RunRisk.h"
#include "cli/Backtest.h"
#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "core/Files.h"
#include "core/SceneSvg.h"

namespace lumora::cli {
namespace {

namespace fs = std::filesystem;

constexpr const char* kBacktestUsage =
    "usage: lumora-cli backtest --draws FILE [--curves FILE] [--scheme FILE] "
    "[--stats flat|multiplier:SEQ|push-wave:N] [--odds N] [--start 1|2|3] [--seed N] [--report FILE.svg]";

}  // namespace

int RunBacktest(int argc, char** argv) {
  Args args(argc, argv, 0);
  if (!args.ok()) return Fail(args.error() + "\n" + kBacktestUsage);
  for (const std::string& name :
       args.unknown({"--draws", "--curves", "--scheme", "--stats", "--odds", "--start", "--seed", "--report"}))
    return Fail("unknown option " + name + "\n" + kBacktestUsage);
  if (!args.has("--draws")) return Fail(std::string("--draws is required\n") + kBacktestUsage);
  long long start = 3, seed = 0, odds = 1940;
  if (!WholeNumber(args.get("--start", "3"), start) || start < 1 || start > 3) return Fail("--start must be 1, 2 or 3");
  if (args.has("--seed") && !WholeNumber(args.get("--seed"), seed))
    return Fail("--seed must be a whole number of 0 or more");
  if (args.has("--odds") && (!WholeNumber(args.get("--odds"), odds) || odds > 1000000))
    return Fail("--odds must be a whole number");

  if (args.has("--report"))
    if (std::string why = CheckOutputPath("--report", args.get("--report")); !why.empty()) return Fail(why);
  DrawFile file = ReadDrawFile(args.get("--draws"));
  if (!file.error.empty()) return Fail(file.error);
  if (std::string why = CheckWarmUp(args.get("--draws"), file.draws.size()); !why.empty()) return Fail(why);

  BacktestSettings settings;
  settings.start = static_cast<int>(start);
  if (args.has("--seed")) settings.seed = static_cast<uint64_t>(seed);
  settings.odds = static_cast<int>(odds);
  if (args.has("--stats") || args.has("--odds")) settings.stats = args.get("--stats", "flat");
  TempData temp;
  std::string error = PrepareDataFolder(args, settings, temp);
  if (!error.empty()) return Fail(error);

  PrintingPrompter prompter;
  BacktestOutcome run = RunBacktestOn(
      settings, file.draws, prompter,
      [](const std::string& pool, const std::string& line) { std::printf("%s\n%s\n", pool.c_str(), line.c_str()); });
  if (!run.error.empty()) return Fail(run.error);
  ChanceSummary chance = SummariseHits(run.periods);
  const JudgedPeriod last = run.periods.empty() ? JudgedPeriod{} : run.periods.back();
  std::printf("%s\n", run.summary.c_str());
  std::printf("hits=%lld periods=%lld expected=%.2f profit=%lld turnover=%lld %s (two-sided, %s)\n",
              static_cast<long long>(chance.hits), static_cast<long long>(chance.periods), chance.expectedHits,
              static_cast<long long>(last.profit), static_cast<long long>(last.turnover), PValueText(chance.p).c_str(),
              chance.exact ? "exact" : "a bound never below the exact p");
  std::vector<std::string> risk;
  if (const RunRiskFigures r = RiskOfRun(RiskSchemeOf(settings), DesignFund(), run.periods); r.asked)
    risk = {RiskHeading(r.question.scheme, DesignFund()), RiskLine(r)};
  for (const std::string& line : risk) std::printf("%s\n", line.c_str());
  if (args.has("--report")) {
    ReportRun r{PathToUtf8(PathFromUtf8(args.get("--draws")).filename()), run.periods, run.odds};
    Scene report = BacktestReportScene(r);
    AppendRiskSection(report, risk);
    if (std::string why = WriteOutput("--report", args.get("--report"), SceneSvg(report)); !why.empty())
      return Fail(why);
  }
  return 0;
}

}  // namespace lumora::cli
