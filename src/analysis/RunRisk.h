#pragma once
// The risk of ruin beside a backtest or a sweep: the run's money scheme and its mean pool size,
// the capital frame's capital and limits, over as many draws as the run judged.
#include <string>
#include <vector>

#include "analysis/Backtest.h"
#include "analysis/Chance.h"
#include "analysis/Sweep.h"
#include "core/Scene.h"
#include "money/MoneyState.h"
#include "money/RiskOfRuin.h"

namespace lumora {

struct RunRiskFigures {
  bool asked = false;  // false: the run judged no period (nothing to ask)
  RiskQuestion question;
  RiskAnswer answer;
  double unitsPerMoney = 100;
};

// The capital frame's values as the window creates them (130, 130, 19.4, 5, 300).
FundSettings DesignFund();
// The statistics scheme a backtest runs with: its --stats text (flat when empty) and its odds.
RiskScheme RiskSchemeOf(const BacktestSettings& settings);
// The figures for `periods` judged under `scheme`: the pool is the mean pool size over the
// periods (rounded; a mean below one half is no bet, said in the answer's error), the horizon the
// number of periods. Nothing is asked without periods.
RunRiskFigures RiskOfRun(const RiskScheme& scheme, const FundSettings& fund, const std::vector<JudgedPeriod>& periods);
// The same from a sum of pool sizes over a number of periods.
RunRiskFigures RiskOfPools(const RiskScheme& scheme, const FundSettings& fund, double poolSum, int64_t periods);
// One line for a report or a table: "ruin 12.3% before take-profit 0.5% · longest miss run 70.1 ·
// expected loss 10.89 (pool 50, 400 draws)"; "" when nothing was asked.
std::string RiskLine(const RunRiskFigures& risk);
// The heading of a risk section: the capital, limits and scheme every line is for.
std::string RiskHeading(const RiskScheme& scheme, const FundSettings& fund);

// The risk section of a sweep: the heading, then per combination "#N LABEL: " and its RiskLine
// (its own scheme and odds, its mean pool over every seed, as many draws as one seed judged).
std::vector<std::string> SweepRiskLines(const std::vector<SweepCombination>& combinations, const SweepResult& result,
                                        const FundSettings& fund);

// Adds the risk section under a report drawn as a Scene (pixels as logical units, y down): a rule,
// then one text line each, the scene made taller to hold them.
void AppendRiskSection(Scene& report, const std::vector<std::string>& lines);

}  // namespace lumora
