#include "money/Fund.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "core/History.h"
#include "core/NumberSet.h"
#include "core/Text.h"
#include "money/BetLog.h"
#include "money/FundTexts.h"

namespace lumora {

namespace {
namespace T = fund_texts;

NumberBox CapitalBox(int i) { return T::kCapital[i]; }

void ShowFund(Form& form, const FundSettings& f) {
  const float values[5] = {f.principal, f.current, f.prize, f.lower, f.upper};
  for (int i = 0; i < 5; ++i) form.setText(CapitalBox(i), SingleText(values[i]));
}
}  // namespace

float ToSingle(double value) {
  constexpr double kMax = std::numeric_limits<float>::max();
  if (std::isnan(value)) return std::numeric_limits<float>::quiet_NaN();
  if (value > kMax) return std::numeric_limits<float>::infinity();
  if (value < -kMax) return -std::numeric_limits<float>::infinity();
  return static_cast<float>(value);
}

std::string SingleText(float value) {
  if (value == 0) return "0";  // also -0
  char buf[64];
  auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed);
  if (ec != std::errc()) return FormatNumber(value);
  return std::string(buf, end);
}

const ControlTexts& FundDesignTexts() {
  static const ControlTexts texts = {
      {CapitalBox(0), "130"}, {CapitalBox(1), "130"}, {CapitalBox(2), "19.4"},
      {CapitalBox(3), "5"},   {CapitalBox(4), "300"}, {T::kSequence, "1-1-1-1-2-2-3-4-5-6"},
  };
  return texts;
}

void ApplyFundDesignValues(Form& form) {
  for (const auto& [key, text] : FundDesignTexts()) form.setText(key, text);
}

void ReadFundSettings(Context& cx, MoneyState& money) {
  const Form& form = cx.form;
  FundSettings& f = money.fund;
  f.principal = ToSingle(form.value(CapitalBox(0)));
  f.current = ToSingle(form.value(CapitalBox(1)));
  f.prize = ToSingle(form.value(CapitalBox(2)));
  f.lower = ToSingle(form.value(CapitalBox(3)));
  f.upper = ToSingle(form.value(CapitalBox(4)));
  money.betPlacedFlag = 0;
  ValidateMultipleSequence(cx, money);
}

void ValidateMultipleSequence(Context& cx, MoneyState& money) {
  std::string cleaned;
  for (char c : TrimView(cx.form.text(T::kSequence)))
    if (T::kSequenceAllowed.find(c) != std::string_view::npos) cleaned += c;
  cx.form.setText(T::kSequence, cleaned);
  if (cleaned.empty()) {
    cx.inform(std::string(T::kBadSequence), std::string(T::kBadSequenceTitle));
    money.sequenceValid = 0;
    return;
  }
  money.multipleSequence = cleaned;
  money.multiplePosition = 0;
  cx.form.setText(T::kSequenceState, std::string(T::kNotStarted));
  money.sequenceValid = 1;
}

int CheckFundLimits(const MoneyState& money) {
  const FundSettings& f = money.fund;
  // NaN fails both comparisons, so a broken value also stops betting.
  return (f.lower < f.current && f.current < f.upper) ? 1 : 2;
}

bool UnitStakeFor(float prize, double& unitStake) {
  if (prize >= 0 && prize <= 20) {
    unitStake = 0.02;
  } else if (prize >= 100 && prize <= 200) {
    unitStake = 0.2;
  } else if (prize >= 1000 && prize <= 2000) {
    unitStake = 2;
  } else {
    return false;
  }
  return true;
}

void RecordPlacedBet(MoneyState& money, std::string pool, int count, std::string multiple, DrawRecord after) {
  money.betAfter = std::move(after);
  money.betPool = std::move(pool);
  money.betCount = count;
  money.currentMultiple = std::move(multiple);
  money.betPlacedFlag = 1;
}

void SettleBet(Context& cx, MoneyState& money) {
  if (money.betPlacedFlag != 1) return;
  // A bet recorded without its draw is taken as placed after the newest draw before this one.
  const DrawRecord& after = money.betAfter.empty() ? cx.draws.previousNewest : money.betAfter;
  const int row = RowOfDrawAfter(cx.draws, after);
  if (row == 0) {
    const std::string why = DrawMissingText(after);
    money.betPlacedFlag = 2;
    LogBetMessage(cx, std::string(T::kNotSettled) + why);
    cx.recorder().betNotSettled(FollowingPeriod(after.period), why);
    return;
  }
  const DrawRecord& draw = cx.draws.history[static_cast<size_t>(row)];
  FundSettings& f = money.fund;
  double unit = 0.02;
  if (!UnitStakeFor(f.prize, unit)) {
    cx.inform(std::string(T::kBadPrize), std::string(T::kBadPrizeTitle));
    LogBetMessage(cx, std::string(T::kBadPrizeLog));
    unit = 0.02;
  }
  const double multiple = ReadNumber(money.currentMultiple);
  const double stake = unit * static_cast<double>(money.betCount) * multiple;
  // The draw of the bet's own period decides, tested against the pool that was actually bet.
  const bool hit = NumberSet::FromText(money.betPool).contains(cx.draws.subNumber(row));
  double capital = static_cast<double>(f.current);
  capital = hit ? static_cast<double>(f.prize) * multiple + capital - stake : capital - stake;
  f.current = ToSingle(capital);
  ShowFund(cx.form, f);
  money.betPlacedFlag = 2;
  cx.recorder().betSettled(
      {draw.period, hit, stake, money.currentMultiple, money.betCount, static_cast<double>(f.current)});
}

}  // namespace lumora
