#include "analysis/ProgramAnalysis.h"

#include <algorithm>
#include <cstdio>

#include "analysis/Report.h"
#include "analysis/RunRisk.h"
#include "core/Text.h"
#include "core/controls/Fmain.h"
#include "money/Fund.h"
#include "settings/SchemeFile.h"

namespace lumora {
namespace {

// Notices of a run nobody watches are kept, not shown.
// Thrown from the per-period callback to leave a backtest that was cancelled.
struct Cancelled {};

std::string PText(double p) {
  if (p < 0.0001) return "< 0.0001";
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.4f", p);
  return buf;
}

std::vector<std::string> Cells(const std::string& label, const ChanceSummary& c, int64_t profit, int64_t turnover,
                               int64_t drawdown, int64_t misses) {
  return {label,
          std::to_string(c.periods),
          std::to_string(c.hits),
          FormatNumber(c.expectedHits, 1),
          FormatNumber(c.z, 2),
          PText(c.p),
          std::to_string(profit),
          std::to_string(turnover),
          std::to_string(drawdown),
          std::to_string(misses)};
}

const std::vector<std::string> kHeaders = {"运行 run",    "期数 periods",  "命中 hits",     "期望 expected",  "z", "p",
                                           "利润 profit", "投注 turnover", "回撤 drawdown", "最长连挂 misses"};

}  // namespace

std::vector<DrawRecord> HeldDraws(const DrawStore& store) {
  std::vector<DrawRecord> out;
  for (int i = kHistoryRows; i >= 1; --i)
    if (!store.history[static_cast<size_t>(i)].empty()) out.push_back(store.history[static_cast<size_t>(i)]);
  return out;
}

std::string StatsSchemeText(const PlanStats& st) {
  if (st.betMode == kStatsPushWave) return "push-wave:" + std::to_string(st.pushPeriods);
  if (st.betMode != kStatsMultiplier) return "flat";
  std::vector<std::string> items;
  for (auto m : st.multiples) items.push_back(std::to_string(m));
  // A one-item sequence is still a sequence to the statistics' check, which wants a "-".
  if (items.size() == 1) items.push_back(items.front());
  return "multiplier:" + Join(items, "-");
}

AnalysisJob CopyAnalysisJob(const Session& s) {
  AnalysisJob job;
  job.settings.data = s.cx.data.root();
  job.settings.start = s.cx.draws.subStart;
  SchemeText scheme = BuildSchemeText(s.cx.form);
  if (!scheme.error.empty()) job.error = scheme.error;
  job.settings.schemeText = std::move(scheme.text);
  // A record the settings never filled (no odds yet) leaves the run on the default scheme.
  const PlanStats& st = s.stats.plan();
  if (st.odds > 1700 && st.odds <= 2000) {
    job.settings.stats = StatsSchemeText(st);
    job.settings.odds = static_cast<int>(st.odds);
  }
  job.fund.principal = ToSingle(s.cx.form.value(fmain::T_zijin[0]));
  job.fund.current = ToSingle(s.cx.form.value(fmain::T_zijin[1]));
  job.fund.prize = ToSingle(s.cx.form.value(fmain::T_zijin[2]));
  job.fund.lower = ToSingle(s.cx.form.value(fmain::T_zijin[3]));
  job.fund.upper = ToSingle(s.cx.form.value(fmain::T_zijin[4]));
  job.draws = HeldDraws(s.cx.draws);
  job.drawsName = "程序中的开奖 held draws";
  return job;
}

std::string ParseSweepText(std::string_view text, std::vector<SweepAxis>& axes) {
  axes.clear();
  const std::string t = Trim(text);
  if (t.empty()) return "";
  const size_t eq = t.find('=');
  if (eq == std::string::npos || eq == 0 || eq + 1 == t.size()) return "扫描设置应为 NAME=V1,V2,...: " + t;
  SweepAxis axis{Trim(t.substr(0, eq)), {}};
  for (const std::string& v : Split(t.substr(eq + 1), ",")) {
    if (Trim(v).empty()) return "扫描设置有空值: " + t;
    axis.values.push_back(Trim(v));
  }
  axes.push_back(std::move(axis));
  std::string refused = CheckSweepAxes(axes);
  if (!refused.empty()) axes.clear();
  return refused;
}

AnalysisOutcome RunAnalysisJob(const AnalysisJob& job, const std::atomic<bool>& cancel,
                               const AnalysisProgress& progress) {
  AnalysisOutcome out;
  out.headers = kHeaders;
  if (!job.error.empty()) {
    out.error = job.error;
    return out;
  }
  if (job.draws.size() <= static_cast<size_t>(kHistoryRows)) {
    out.error = "只有 " + std::to_string(job.draws.size()) + " 期开奖：前 " + std::to_string(kHistoryRows) +
                " 期用于预热，回测需要更多开奖，请选择开奖文件 (" + std::to_string(job.draws.size()) +
                " draws: the first 120 only warm up)";
    return out;
  }
  const size_t periods = job.draws.size() - static_cast<size_t>(kHistoryRows);

  if (job.axes.empty()) {
    AnsweringPrompter prompter;
    size_t done = 0;
    BacktestOutcome run;
    try {
      run = RunBacktestOn(job.settings, job.draws, prompter, [&](const std::string&, const std::string&) {
        ++done;
        if (progress && (done % 16 == 0 || done == periods)) progress(done, periods);
        if (cancel.load()) throw Cancelled{};
      });
    } catch (const Cancelled&) {
      out.cancelled = true;
      return out;
    }
    if (!run.error.empty()) {
      out.error = run.error;
      return out;
    }
    const ChanceSummary chance = SummariseHits(run.periods);
    const JudgedPeriod last = run.periods.empty() ? JudgedPeriod{} : run.periods.back();
    out.rows.push_back(Cells(job.settings.stats, chance, last.profit, last.turnover, LargestDrawdown(run.periods),
                             LongestMissRun(run.periods)));
    const RunRiskFigures risk = RiskOfRun(RiskSchemeOf(job.settings), job.fund, run.periods);
    out.risk = {RiskHeading(risk.question.scheme, job.fund), RiskLine(risk)};
    out.chart = BacktestReportScene(ReportRun{job.drawsName, run.periods, run.odds});
    AppendRiskSection(out.chart, out.risk);
    out.summary = "回测 backtest: " + std::to_string(run.periods.size()) + " periods of " + job.drawsName;
    return out;
  }

  SweepSetup setup;
  setup.axes = job.axes;
  setup.base = job.settings;
  setup.seeds = std::max(1, job.seeds);
  setup.jobs = std::max(1, job.jobs);
  setup.cancel = &cancel;
  const std::vector<SweepCombination> grid = SweepCombinations(setup);
  if (std::string refused = CheckCombinations(grid); !refused.empty()) {
    out.error = refused;
    return out;
  }
  out.headers.push_back("Holm p");
  SweepResult result = RunSweepGrid(setup, grid, job.draws, [&](size_t done, size_t total, size_t) {
    if (progress) progress(done, total);
  });
  if (result.cancelled) {
    out.cancelled = true;
    return out;
  }
  if (!result.error.empty()) {
    out.error = result.error;
    return out;
  }
  for (const SweepRow& r : result.rows) {
    std::vector<std::string> cells = Cells(r.label, r.chance, r.profit, r.turnover, r.drawdown, r.missRun);
    cells.push_back(PText(r.holm));
    out.rows.push_back(std::move(cells));
  }
  out.risk = SweepRiskLines(grid, result, job.fund);
  out.chart = SweepReportScene(setup, result, job.drawsName);
  AppendRiskSection(out.chart, out.risk);
  out.summary = "扫描 sweep: " + std::to_string(grid.size()) + " combinations x " + std::to_string(setup.seeds) +
                " seeds over " + std::to_string(periods) + " periods of " + job.drawsName;
  return out;
}

}  // namespace lumora
