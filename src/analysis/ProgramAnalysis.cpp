#include "analysis/ProgramAnalysis.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "analysis/RunRisk.h"
#include "core/Text.h"
#include "money/Fund.h"
#include "settings/SchemeFile.h"

namespace lumora {
namespace {

// Notices of a run nobody watches are kept, not shown.
class QuietPrompter final : public AnsweringPrompter {
 public:
  void inform(const std::string&, const std::string&) override {}
};

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

const std::vector<std::string> kHeaders = {"运行 run",      "期数 periods", "命中 hits",      "期望 expected",
                                           "z",             "p",            "利润 profit",    "投注 turnover",
                                           "回撤 drawdown", "最长连挂 misses"};

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
  // A record the settings never filled (no odds yet) leaves the run on the design's scheme.
  const PlanStats& st = s.stats.plan();
  if (st.odds > 1700 && st.odds <= 2000) {
    job.settings.stats = StatsSchemeText(st);
    job.settings.odds = static_cast<int>(st.odds);
  }
  job.fund.principal = ToSingle(ReadNumber(s.cx.form.text("T_zijin_0")));
  job.fund.current = ToSingle(ReadNumber(s.cx.form.text("T_zijin_1")));
  job.fund.prize = ToSingle(ReadNumber(s.cx.form.text("T_zijin_2")));
  job.fund.lower = ToSingle(ReadNumber(s.cx.form.text("T_zijin_3")));
  job.fund.upper = ToSingle(ReadNumber(s.cx.form.text("T_zijin_4")));
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
  return "";
}

AnalysisOutcome RunAnalysisJob(const AnalysisJob& job, const std::atomic<bool>& cancel, const AnalysisProgress& progress) {
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
    QuietPrompter prompter;
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
    out.chart = ProfitAgainstChance(run.periods, run.odds, "回测 backtest: " + job.drawsName);
    const RunRiskFigures risk = RiskOfRun(RiskSchemeOf(job.settings), job.fund, run.periods);
    out.risk = {RiskHeading(risk.question.scheme, job.fund), RiskLine(risk)};
    out.summary = "回测 backtest: " + std::to_string(run.periods.size()) + " periods of " + job.drawsName;
    return out;
  }

  SweepSpec spec;
  spec.axes = job.axes;
  spec.base = job.settings;
  spec.seeds = std::max(1, job.seeds);
  spec.jobs = std::max(1, job.jobs);
  spec.cancel = &cancel;
  const std::vector<SweepCombination> grid = SweepCombinations(spec);
  if (std::string refused = CheckCombinations(grid); !refused.empty()) {
    out.error = refused;
    return out;
  }
  out.headers.push_back("Holm p");
  SweepResult result = RunSweepGrid(spec, grid, job.draws, [&](size_t done, size_t total, size_t) {
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
  if (result.luckiest >= 0) {
    const SweepRun& best = result.runs[static_cast<size_t>(result.luckiest)];
    out.chart = ProfitAgainstChance(best.outcome.periods, best.outcome.odds,
                                    "最高利润 most profitable of " + std::to_string(result.runs.size()) + " runs: " +
                                        grid[best.combination].label + " (band: one run by chance)");
  }
  out.risk = SweepRiskLines(grid, result, job.fund);
  out.summary = "扫描 sweep: " + std::to_string(grid.size()) + " combinations x " + std::to_string(spec.seeds) +
                " seeds over " + std::to_string(periods) + " periods of " + job.drawsName;
  return out;
}

Scene ProfitAgainstChance(const std::vector<JudgedPeriod>& periods, int odds, const std::string& title) {
  Scene sc;
  const size_t n = periods.size();
  const ChanceBand band = ChanceBandOf(periods, odds);
  double lo = 0, hi = 0;
  for (size_t i = 0; i < n; ++i) {
    lo = std::min({lo, static_cast<double>(periods[i].profit), band.mean[i] - 2 * band.sd[i]});
    hi = std::max({hi, static_cast<double>(periods[i].profit), band.mean[i] + 2 * band.sd[i]});
  }
  if (hi - lo < 1) hi = lo + 1;
  const double pad = (hi - lo) * 0.12;
  const double right = std::max<double>(1, static_cast<double>(n));
  // y grows upwards: the top edge is the highest profit shown.
  sc.setScale(-right * 0.02, hi + pad * 1.6, right * 1.02, lo - pad);
  sc.line(0, 0, right, 0, kLightGrey);
  // At most about 600 segments, whatever the number of periods.
  const size_t step = std::max<size_t>(1, n / 600);
  auto at = [&](size_t i) { return static_cast<double>(i + 1); };
  const Bgr bandColour = Rgb(154, 167, 189), meanColour = Rgb(58, 90, 140), runColour = Rgb(200, 16, 46);
  for (size_t i = step; i < n; i += step) {
    const size_t j = i - step;
    sc.line(at(j), band.mean[j] + 2 * band.sd[j], at(i), band.mean[i] + 2 * band.sd[i], bandColour);
    sc.line(at(j), band.mean[j] - 2 * band.sd[j], at(i), band.mean[i] - 2 * band.sd[i], bandColour);
    sc.line(at(j), band.mean[j], at(i), band.mean[i], meanColour);
    sc.line(at(j), static_cast<double>(periods[j].profit), at(i), static_cast<double>(periods[i].profit), runColour, 2);
  }
  const double textY = hi + pad * 1.5;
  sc.text(0, textY, title, kBlack, 10);
  if (n > 0) {
    const JudgedPeriod& last = periods.back();
    const double z = band.sd.back() > 0 ? (static_cast<double>(last.profit) - band.mean.back()) / band.sd.back() : 0;
    sc.text(0, textY - pad * 0.5,
            "红 run " + std::to_string(last.profit) + "   蓝 chance mean " + FormatNumber(band.mean.back(), 0) +
                "   灰 ±2 SD   差 " + FormatNumber(z, 2) + " SD   (" + std::to_string(n) + " periods)",
            meanColour, 9);
  }
  return sc;
}

}  // namespace lumora
