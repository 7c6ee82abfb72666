#include "analysis/RunRisk.h"

#include <algorithm>

#include "core/Text.h"
#include "money/Fund.h"

namespace lumora {

FundSettings DesignFund() {
  FundSettings f;
  float* values[5] = {&f.principal, &f.current, &f.prize, &f.lower, &f.upper};
  const auto& texts = FundDesignTexts();
  for (int i = 0; i < 5; ++i) *values[i] = ToSingle(ReadNumber(texts[static_cast<size_t>(i)].second));
  return f;
}

RiskScheme RiskSchemeOf(const BacktestSettings& settings) {
  RiskScheme scheme;
  std::string why;
  if (!settings.stats.empty() && !ParseRiskScheme(settings.stats, scheme, why)) scheme = RiskScheme{};
  scheme.odds = OddsOf(settings);
  return scheme;
}

RunRiskFigures RiskOfPools(const RiskScheme& scheme, const FundSettings& fund, double poolSum, int64_t periods) {
  RunRiskFigures r;
  if (periods <= 0) return r;
  r.asked = true;
  const int64_t pool = RoundHalfEven(poolSum / static_cast<double>(periods));
  if (pool < 1) {
    r.answer.error =
        "the pools were too small to bet (mean " + FormatNumber(poolSum / static_cast<double>(periods), 2) + ")";
    return r;
  }
  r.question.scheme = scheme;
  r.question.poolSize = static_cast<int>(std::min<int64_t>(pool, 1000));
  r.question.draws = std::min<int64_t>(periods, kRiskMaxDraws);
  r.unitsPerMoney = RiskUnitsPerMoney(fund);
  if (!RiskMoneyFromFund(fund, r.question)) {
    r.answer.error = "the capital or a limit is too large";
    return r;
  }
  r.answer = ComputeRisk(r.question);
  return r;
}

RunRiskFigures RiskOfRun(const RiskScheme& scheme, const FundSettings& fund, const std::vector<JudgedPeriod>& periods) {
  double pools = 0;
  for (const JudgedPeriod& p : periods) pools += p.poolSize;
  return RiskOfPools(scheme, fund, pools, static_cast<int64_t>(periods.size()));
}

std::string RiskLine(const RunRiskFigures& r) {
  if (!r.asked) return "";
  if (!r.answer.error.empty()) return "risk of ruin not worked out: " + r.answer.error;
  const RiskAnswer& a = r.answer;
  auto percent = [](double v) { return FormatNumber(v * 100, 2) + "%"; };
  return std::string("止损概率 ruin ") + (a.ruinIsBound ? "<= " : "") + percent(a.ruin) + " (take-profit first " +
         percent(a.profitTaken) + ") · 最长连挂 longest miss run " + FormatNumber(a.longestMissRun, 1) +
         " · 预计亏损 expected loss " + (a.stakedIsBound ? "<= " : "") +
         FormatNumber(a.expectedLoss / r.unitsPerMoney, 2) + " (pool " + std::to_string(r.question.poolSize) + ", " +
         std::to_string(r.question.draws) + " draws)";
}

std::string RiskHeading(const RiskScheme& scheme, const FundSettings& fund) {
  std::string name = "flat";
  if (scheme.mode == kStatsMultiplier) {
    std::vector<std::string> items;
    for (int64_t m : scheme.multiples) items.push_back(std::to_string(m));
    name = "multiplier " + Join(items, "-");
  } else if (scheme.mode == kStatsPushWave) {
    name = "push-wave " + std::to_string(scheme.pushPeriods);
  }
  return "风险 risk of ruin: capital " + SingleText(fund.current) + ", stop-loss " + SingleText(fund.lower) +
         ", take-profit " + SingleText(fund.upper) + " (prize " + SingleText(fund.prize) + "), " + name + " at odds " +
         std::to_string(scheme.odds) + ", each draw a hit with probability pool/1000";
}

std::vector<std::string> SweepRiskLines(const std::vector<SweepCombination>& combinations, const SweepResult& result,
                                        const FundSettings& fund) {
  std::vector<std::string> lines;
  if (combinations.empty()) return lines;
  lines.push_back(RiskHeading(RiskSchemeOf(combinations.front().settings), fund));
  // A row sums its seeds: its mean pool over all their periods, as many draws as one seed judged.
  const int64_t seeds = std::max<int64_t>(
      1, static_cast<int64_t>(result.runs.size()) / std::max<int64_t>(1, static_cast<int64_t>(combinations.size())));
  for (size_t c = 0; c < combinations.size() && c < result.rows.size(); ++c) {
    const SweepRow& row = result.rows[c];
    const RunRiskFigures risk =
        RiskOfPools(RiskSchemeOf(combinations[c].settings), fund, row.poolSum, row.chance.periods);
    if (risk.asked) {
      RunRiskFigures perSeed = risk;
      if (risk.answer.error.empty()) {
        perSeed.question.draws = std::max<int64_t>(1, row.chance.periods / seeds);
        perSeed.answer = ComputeRisk(perSeed.question);
      }
      lines.push_back("#" + std::to_string(c + 1) + " " + combinations[c].label + ": " + RiskLine(perSeed));
    }
  }
  return lines;
}

void AppendRiskSection(Scene& report, const std::vector<std::string>& lines) {
  if (lines.empty()) return;
  constexpr double kLine = 18, kLeft = 24;
  const double top = report.top + report.height;
  report.line(kLeft, top + 6, report.left + report.width - kLeft, top + 6, kLightGrey);
  double y = top + 14;
  for (const std::string& line : lines) {
    report.text(kLeft, y, line, line == lines.front() ? kBlack : Rgb(58, 90, 140), 9);
    y += kLine;
  }
  report.height = y + 10 - report.top;
}

}  // namespace lumora
