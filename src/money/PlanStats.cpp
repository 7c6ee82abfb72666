#include "money/PlanStats.h"

#include <algorithm>
#include <limits>

#include "core/Text.h"
#include "core/controls/Fmain.h"
#include "money/StatsTexts.h"

namespace lumora {
namespace {

namespace tx = stats_text;

int32_t Clamp32(int64_t v) {
  return static_cast<int32_t>(
      std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}
int32_t Round32(double v) { return Clamp32(RoundHalfEven(v)); }

// Checked 64-bit arithmetic: false when the result would not fit.
bool Add(int64_t a, int64_t b, int64_t& out) { return !__builtin_add_overflow(a, b, &out); }
bool Mul(int64_t a, int64_t b, int64_t& out) { return !__builtin_mul_overflow(a, b, &out); }
// A money figure of the push-wave (a double) rounded half to even, when it fits 64 bits.
bool Round64(double v, int64_t& out) {
  if (!(v > -9.2e18 && v < 9.2e18)) return false;
  out = RoundHalfEven(v);
  return true;
}

// Ten blanks, and as many more as the turnover's text is longer than the profit's.
std::string Pad(const PlanStats& st) {
  size_t t = std::to_string(st.turnover).size(), p = std::to_string(st.profit).size();
  return std::string(10 + (t > p ? t - p : 0), ' ');
}

int32_t MultipleAt(const PlanStats& st, int32_t step) {
  size_t i = static_cast<size_t>(step - 1);
  return step >= 1 && i < st.multiples.size() ? st.multiples[i] : 1;
}

}  // namespace

void PresetPlanStats(StatsState& stats) {
  stats.records = {};
  PlanStats& st = stats.plan();
  st.odds = 1940;
  st.rebate = 0.01f;
  st.step = 1;
}

namespace {

void BookFlat(PlanStats& st) {
  if (st.active && !st.overflow) {
    const int64_t stake = 2LL * st.poolSize;
    int64_t profit = 0, turnover = 0;
    if (Add(st.profit, (st.lastResult == 1 ? st.odds : 0) - stake, profit) && Add(st.turnover, stake, turnover)) {
      st.profit = profit;
      st.turnover = turnover;
    } else {
      st.overflow = true;
    }
  }
  st.active = 0;
}

}  // namespace

void UpdateFlatStats(PlanStats& st) {
  BookFlat(st);
  st.summary = std::string(tx::kFlatProfit) + std::to_string(st.profit) + Pad(st) + tx::kFlatCounts +
               std::to_string(st.periods) + "/" + std::to_string(st.hits) + "\r\n" + tx::kTurnover +
               std::to_string(st.turnover) + std::string(10, ' ') + tx::kFlatName + "\r\n";
}

namespace {

void BookMultiplier(PlanStats& st) {
  if (st.active && !st.overflow) {
    const int64_t m = MultipleAt(st, st.step);
    int64_t stake = 0, win = 0, turnover = 0, profit = 0;
    if (Mul(2LL * st.poolSize, m, stake) && Mul(m, st.lastResult == 1 ? st.odds : 0, win) &&
        Add(st.turnover, stake, turnover) && Add(st.profit, win - stake, profit)) {
      st.turnover = turnover;
      st.profit = profit;
      st.step = st.lastResult == 1 ? 1 : st.step + 1;
      if (st.step > st.multipleCount) st.step = 1;
    } else {
      st.overflow = true;
    }
  }
  st.active = 0;
}

}  // namespace

void UpdateMultiplierStats(PlanStats& st) {
  BookMultiplier(st);
  st.summary = std::string(tx::kMultProfit) + std::to_string(st.profit) + Pad(st) + tx::kMultCounts +
               std::to_string(st.multipleCount) + "/" + std::to_string(st.step) + "/" +
               std::to_string(MultipleAt(st, st.step)) + "\r\n" + tx::kTurnover + std::to_string(st.turnover) +
               std::string(10, ' ') + StatsSchemeName(st) + "\r\n";
}

std::string StatsSchemeName(const PlanStats& st) {
  if (st.betMode == kStatsPushWave) return tx::kPushName;
  if (st.betMode != kStatsMultiplier) return tx::kFlatName;
  std::vector<std::string> items;
  for (int32_t m : st.multiples) items.push_back(std::to_string(m));
  return std::string(tx::kMultName) + Join(items, "-") + ")";
}

namespace {

void BookPushWave(PlanStats& st) {
  if (st.active && !st.overflow) {
    double w = st.pushMultiple;
    double stake = w * 2.0 * st.poolSize;
    if (st.poolSize <= 0) {
      // An empty plan stakes nothing and cannot win: nothing is booked, the wave starts over.
      st.pushMultiple = 1;
      st.step = 1;
      st.lastWin = 0;
    } else if (int64_t turnover = 0, profit = 0, win = 0;
               !Round64(stake + static_cast<double>(st.turnover), turnover) ||
               !Round64(static_cast<double>(st.profit) - stake + (st.lastResult == 1 ? w * st.odds : 0.0), profit) ||
               !Round64(w * st.odds, win)) {
      st.overflow = true;
    } else if (st.lastResult == 1) {
      st.turnover = turnover;
      st.lastWin = win;
      st.profit = profit;
      st.pushMultiple = static_cast<float>(RoundQuotientTo(st.lastWin, 2 * int64_t{st.poolSize}, 3));
      st.step += 1;
    } else {
      st.turnover = turnover;
      st.profit = profit;
      st.pushMultiple = 1;
      st.step = 1;
    }
    if (st.step > st.pushPeriods) {
      st.step = 1;
      st.lastWin = 0;
      st.pushMultiple = 1;
    }
  }
  st.active = 0;
}

}  // namespace

void UpdatePushWaveStats(PlanStats& st) {
  BookPushWave(st);
  st.summary = std::string(tx::kPushProfit) + std::to_string(st.profit) + Pad(st) + tx::kPushCounts +
               std::to_string(st.pushPeriods) + "/" + std::to_string(st.step) + "/" + FormatNumber(st.pushMultiple, 3) +
               "\r\n" + tx::kPushTurnover + std::to_string(st.turnover) + std::string(10, ' ') + tx::kPushName;
}

void BookStats(PlanStats& st) {
  switch (st.betMode) {
    case kStatsMultiplier: BookMultiplier(st); break;
    case kStatsPushWave: BookPushWave(st); break;
    default: BookFlat(st); break;
  }
}

void UpdateStats(PlanStats& st) {
  switch (st.betMode) {
    case kStatsMultiplier: UpdateMultiplierStats(st); break;
    case kStatsPushWave: UpdatePushWaveStats(st); break;
    default: UpdateFlatStats(st); break;
  }
}

bool ApplyStatsSettings(Context& cx, StatsState& stats) {
  Form& f = cx.form;
  auto refuse = [&](const char* text) {
    cx.inform(text, tx::kErrorTitle);
    return false;
  };
  double odds = f.value(fmain::T_szzx_canshu[0]);
  if (!(odds > 1700 && odds <= 2000)) return refuse(tx::kOdds);
  double rebate = f.value(fmain::T_szzx_canshu[4]);
  if (!(rebate >= 0.005 && rebate <= 0.5)) return refuse(tx::kRebate);

  int32_t mode = f.checked(fmain::Option_touzhu_sz[1])   ? kStatsMultiplier
                 : f.checked(fmain::Option_touzhu_sz[2]) ? kStatsPushWave
                                                         : kStatsFlat;
  std::vector<int32_t> multiples;
  int32_t pushPeriods = 0;
  if (mode == kStatsMultiplier) {
    std::string seq = Trim(f.text(fmain::T_szzx_canshu[2]));
    if (!Contains(seq, "-")) return refuse(tx::kSequence);
    std::string clean;
    for (char c : seq)
      if ((c >= '0' && c <= '9') || c == '-') clean += c;
    // A sequence with an empty item ("1-2-", "-1-2", "1--2") has no multiple for that step.
    for (const std::string& item : Split(clean, "-")) {
      if (item.empty() || item.size() > 9) return refuse(tx::kSequence);
      multiples.push_back(ReadInt(item));
    }
    f.setText(fmain::T_szzx_canshu[2], clean);
  } else if (mode == kStatsPushWave) {
    pushPeriods = ReadInt(f.text(fmain::T_szzx_canshu[3]));
    if (pushPeriods < 2) return refuse(tx::kPushWave);
  }

  stats.records = {};
  PlanStats& st = stats.plan();
  st.odds = Round32(odds);
  st.rebate = static_cast<float>(rebate);
  st.betMode = mode;
  st.multipleCount = static_cast<int32_t>(multiples.size());
  st.multiples = std::move(multiples);
  st.pushPeriods = pushPeriods;
  st.step = 1;
  st.pushMultiple = 1;
  return true;
}

}  // namespace lumora
