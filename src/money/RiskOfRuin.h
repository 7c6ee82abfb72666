#pragma once
// Risk of ruin: what a money scheme of the statistics (flat, multiplier sequence, push-wave) does
// to a capital between a stop-loss and a take-profit when a plan of k combinations is bet every
// draw, each draw a hit with probability k/1000.
//
// Money is counted in whole units of the statistics: one combination at multiple 1 costs 2 units
// and a hit pays the odds times the multiple. The capital frame's figures convert to these units
// through its unit stake (RiskMoneyFromFund).
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/Context.h"
#include "money/MoneyState.h"
#include "money/PlanStats.h"

namespace lumora {

// A scheme as the statistics record holds it.
struct RiskScheme {
  int32_t mode = kStatsFlat;
  std::vector<int64_t> multiples;  // multiplier: the sequence (empty reads as multiple 1)
  int32_t pushPeriods = 0;         // push-wave: consecutive hits after which the wave starts over
  int64_t odds = 1940;             // prize of one winning combination at multiple 1
};
RiskScheme RiskSchemeFromStats(const PlanStats& st);
// A scheme named as lumora-cli names it: "flat", "multiplier:1-2-4" (whole multiples joined by
// "-") or "push-wave:N" (N of 2 or more). False with `why` naming the bad part otherwise.
bool ParseRiskScheme(std::string_view text, RiskScheme& scheme, std::string& why);

// What one draw does at a position of the scheme's progression.
struct RiskStep {
  int64_t stake = 0;   // units staked
  int64_t onHit = 0;   // capital change on a hit (prize less stake)
  int64_t onMiss = 0;  // capital change on a miss (minus the stake)
  int nextOnHit = 0;   // next position
  int nextOnMiss = 0;
};
// The progression of `scheme` for a pool of `poolSize` combinations, position 0 first, booked as
// the statistics book it. Empty when an amount would leave the exactly countable range (2^53).
std::vector<RiskStep> RiskSteps(const RiskScheme& scheme, int poolSize);

struct RiskQuestion {
  RiskScheme scheme;
  int poolSize = 0;        // k: combinations bet each draw, 1..1000
  int64_t draws = 1000;    // D: draws bet at most, 1..kRiskMaxDraws
  int64_t capital = 0;     // units
  int64_t stopLoss = 0;    // betting stops once the capital is at or below it
  int64_t takeProfit = 0;  // ... or at or above it
  // Largest number of (position, capital) states; also capped so that states x draws stays
  // within kRiskMaxWork. Beyond it the capital is counted on a coarser grid (see RiskAnswer).
  int64_t maxStates = int64_t{1} << 22;
};
inline constexpr int64_t kRiskMaxDraws = 100000;
inline constexpr int64_t kRiskMaxWork = 4000000000LL;

struct RiskAnswer {
  std::string error;       // the question was refused: why ("" when answered)
  double ruin = 0;         // P(stop-loss reached before take-profit within D draws)
  double profitTaken = 0;  // P(take-profit reached first within D draws)
  // When the states would not fit, every capital change is rounded down to a coarser grid: that
  // capital is never above the true one, so `ruin` is then an upper bound (never too small).
  bool ruinIsBound = false;
  int64_t grid = 1;           // units per capital state
  int64_t states = 0;         // states of the chain
  double longestMissRun = 0;  // expected longest run of misses in D draws (betting or not)
  double staked = 0;          // expected total staked until betting stops or D draws pass
  // With a coarse grid `staked` counts every one of the D draws (never stopping): an upper bound.
  bool stakedIsBound = false;
  double houseEdge = 0;     // 1 - odds / 2000
  double expectedLoss = 0;  // staked x houseEdge
};
RiskAnswer ComputeRisk(const RiskQuestion& q);

// Expected longest run of misses in `draws` independent draws, each a hit with probability `p`.
double ExpectedLongestMissRun(double p, int64_t draws);

// The capital frame's capital, stop-loss and take-profit in units: one unit is half the frame's
// unit stake (the price of one combination at multiple 1, chosen from its prize; 0.02 when the
// prize is in no range, as settlement does). Returns units per money of the frame.
double RiskUnitsPerMoney(const FundSettings& fund);
// Fills capital, stopLoss and takeProfit of `q` from `fund`; false when a value is not a finite
// amount within the countable range.
bool RiskMoneyFromFund(const FundSettings& fund, RiskQuestion& q);

// What the capital frame shows: the figures for `q` in the frame's money, one line each.
std::string RiskOfRuinText(const RiskQuestion& q, const RiskAnswer& a, double unitsPerMoney);

// The risk of ruin beside the capital frame, for the capital and limits its boxes hold now, the
// statistics' scheme and the plan pool's number of combinations, over kShownRiskDraws draws.
// Worked out again only when one of them changed; the label says why when it cannot be.
inline constexpr int64_t kShownRiskDraws = 1000;
void ShowRiskOfRuin(Context& cx, MoneyState& money, const PlanStats& st);
// Starts the timer that runs ShowRiskOfRuin once a second, and shows it at once.
void StartRiskOfRuin(Context& cx, MoneyState& money, const PlanStats& st);

}  // namespace lumora
