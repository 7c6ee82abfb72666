#include "cli/WalkForwardOutput.h"

#include <cstdio>
#include <filesystem>

#include "analysis/Report.h"
#include "cli/CliSupport.h"
#include "core/Files.h"
#include "core/Text.h"

namespace lumora::cli {
namespace {

std::string PValue(double p) {
  char buf[32];
  if (p < 0.0001) return "<0.0001";
  std::snprintf(buf, sizeof buf, "%.4f", p);
  return buf;
}

std::string Percent(int64_t part, int64_t whole) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.2f%%",
                whole ? 100.0 * static_cast<double>(part) / static_cast<double>(whole) : 0.0);
  return buf;
}

// Draws [first, end) as the file's line numbers of draws, 1-based: "121-1120".
std::string DrawRange(size_t first, size_t end) { return std::to_string(first + 1) + "-" + std::to_string(end); }

}  // namespace

int PrintWalkForward(const SweepResult& sweep, const WalkForwardResult& walk, size_t drawCount,
                     const WalkForwardOutputs& out) {
  const std::string seedsText = std::to_string(out.seeds) + (out.seeds == 1 ? " seed" : " seeds");
  std::printf("%s\n", ChanceHeadline(sweep.odds).c_str());
  std::printf(
      "Walk-forward over %s (%zu draws, %zu judged after the %zu-draw warm-up), %zu combinations x %s: each fold chooses the\n"
      "combination with the highest profit on %zu training draws and books it on the next %zu test draws, then rolls on by %zu.\n"
      "Only the test draws are an honest figure: they played no part in the choice. The training profit is the best of %zu\n"
      "chosen with hindsight and overstates what choosing by backtest is worth.\n",
      out.drawsPath.c_str(), drawCount, drawCount > kWarmUpDraws ? drawCount - kWarmUpDraws : 0, kWarmUpDraws,
      sweep.rows.size(), seedsText.c_str(), out.train, out.test, out.test, sweep.rows.size());
  std::printf("%4s  %-11s  %-11s  %-40s %12s %7s %7s %9s %6s %9s %11s %11s\n", "fold", "train", "test",
              "chosen on the training draws", "train profit", "periods", "hits", "expected", "z", "p", "test profit",
              "turnover");
  for (size_t i = 0; i < walk.folds.size(); ++i) {
    const WalkForwardFold& f = walk.folds[i];
    std::printf("%4zu  %-11s  %-11s  %-40s %12lld %7lld %7lld %9.1f %6.2f %9s %11lld %11lld\n", i + 1,
                DrawRange(f.trainFirst, f.trainEnd).c_str(), DrawRange(f.testFirst, f.testEnd).c_str(),
                sweep.rows[f.chosen].label.c_str(), static_cast<long long>(f.trainProfit),
                static_cast<long long>(f.test.periods), static_cast<long long>(f.test.hits), f.test.expectedHits,
                f.test.z, PValue(f.test.p).c_str(), static_cast<long long>(f.testProfit),
                static_cast<long long>(f.testTurnover));
  }
  std::printf(
      "test draws, all %zu folds (the honest figure): %lld periods, %lld hits against %.1f expected by chance, z %.2f, p %s "
      "(two-sided); profit %lld on turnover %lld (return %s)\n",
      walk.folds.size(), static_cast<long long>(walk.test.periods), static_cast<long long>(walk.test.hits),
      walk.test.expectedHits, walk.test.z, PValue(walk.test.p).c_str(), static_cast<long long>(walk.testProfit),
      static_cast<long long>(walk.testTurnover), Percent(walk.testProfit, walk.testTurnover).c_str());
  std::printf("training draws of the chosen combinations (hindsight, not a forecast): profit %lld\n",
              static_cast<long long>(walk.trainProfit));

  int status = 0;
  if (!out.csvPath.empty()) {
    std::string csv =
        "fold,train_first_draw,train_last_draw,test_first_draw,test_last_draw,chosen,train_profit,test_periods,test_hits,"
        "test_expected_hits,test_z,test_p,test_profit,test_turnover\n";
    for (size_t i = 0; i < walk.folds.size(); ++i) {
      const WalkForwardFold& f = walk.folds[i];
      char buf[512];
      std::snprintf(buf, sizeof buf, "%zu,%zu,%zu,%zu,%zu,\"%s\",%lld,%lld,%lld,%.3f,%.4f,%.6g,%lld,%lld\n", i + 1,
                    f.trainFirst + 1, f.trainEnd, f.testFirst + 1, f.testEnd,
                    ReplaceAll(sweep.rows[f.chosen].label, "\"", "\"\"").c_str(), static_cast<long long>(f.trainProfit),
                    static_cast<long long>(f.test.periods), static_cast<long long>(f.test.hits), f.test.expectedHits,
                    f.test.z, f.test.p, static_cast<long long>(f.testProfit), static_cast<long long>(f.testTurnover));
      csv += buf;
    }
    if (std::string why = WriteOutput("--csv", out.csvPath, csv); !why.empty()) status = Fail(why);
  }
  if (!out.reportPath.empty()) {
    const ReportRun run{
        "walk-forward, test draws only (the honest figure): the chosen combination of each fold, seed 1, " +
            PathToUtf8(PathFromUtf8(out.drawsPath).filename()),
        walk.testPeriods, sweep.odds};
    if (std::string why = WriteOutput("--report", out.reportPath, BacktestReportSvg(run)); !why.empty())
      status = Fail(why);
  }
  return status;
}

}  // namespace lumora::cli
