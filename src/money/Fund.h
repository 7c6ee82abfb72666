#pragma once
// Bet fund management: the capital with its stop-loss and take-profit limits, the multiple
// sequence of automatic betting, and the settlement of every placed bet after the next draw.
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/Context.h"
#include "money/MoneyState.h"

namespace lumora {

// The capital boxes T_zijin_0..4 and the multiple sequence with their design texts: the capital
// frame creates its boxes with them, and lumora-cli gives a bare Form the same values.
const ControlTexts& FundDesignTexts();
void ApplyFundDesignValues(Form& form);

// Reads the five FundSettings from T_zijin_0..4 (leading numeric part), puts BetPlacedFlag back
// to 0 (a bet placed before the settings were re-read is never settled), then validates the
// multiple sequence.
void ReadFundSettings(Context& cx, MoneyState& money);

// Cleans T_zd_touzhu_beitou_0 to the characters "0123456789.-" and writes it back. An empty
// result is refused ("倍数有误，请检查"); otherwise it becomes the MultipleSequence, the position
// starts over and T_zd_touzhu_beitou_1 shows "未开始".
void ValidateMultipleSequence(Context& cx, MoneyState& money);

// 1 when lower limit < current capital < upper limit (strict, single precision), else 2.
int CheckFundLimits(const MoneyState& money);

// Price of one combination at multiple 1 for the prize p: 0.02 for 0..20, 0.2 for 100..200,
// 2 for 1000..2000 (all inclusive); nothing for any other prize.
bool UnitStakeFor(float prize, double& unitStake);

// Records a bet the betting run has just placed after the draw `after` (the newest then): the pool
// text actually sent, its number of combinations and its multiple. It is for the period after
// `after`; the next new draw settles it.
void RecordPlacedBet(MoneyState& money, std::string pool, int count, std::string multiple, DrawRecord after);

// Settles the placed bet (BetPlacedFlag 1) against the draw of the period it was placed for: a
// hit when that draw's sub-number is in the pool that was bet. Moves the current capital by the
// win and the stake, shows the five values again and sets the flag to 2. When the history does not
// hold that draw (several draws came at once and it was not among them, a wind-back) no money
// moves: the bet log says so and the flag is set to 2 all the same, so the bet is never settled
// against another period's draw. Without a placed bet nothing happens. Run once for each new draw
// (fed or typed in), never after a deletion.
void SettleBet(Context& cx, MoneyState& money);

// Shortest decimal text that reads back as the same single-precision value ("129.6", "130").
std::string SingleText(float value);

// A double narrowed to single precision; values beyond its range become infinities.
float ToSingle(double value);

}  // namespace lumora
