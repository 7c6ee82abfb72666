#include "money/PlanStats.h"

#include <algorithm>
#include <limits>

#include "core/Text.h"
#include "money/StatsTexts.h"

namespace lumora {
namespace {

namespace tx = stats_text;

int32_t Clamp32(int64_t v) {
  return static_cast<int32_t>(std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(),
                                                  std::numeric_limits<int32_t>::max()));
}
int32_t Round32(double v) { return Clamp32(RoundHalfEven(v)); }

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

void UpdateFlatStats(PlanStats& st) {
  if (st.active) {
    int64_t stake = 2LL * st.poolSize;
    st.profit = Clamp32(int64_t{st.profit} - stake + (st.lastResult == 1 ? st.odds : 0));
    st.turnover = Clamp32(int64_t{st.turnover} + stake);
    st.active = 0;
  }
  st.summary = std::string(tx::kFlatProfit) + std::to_string(st.profit) + Pad(st) + tx::kFlatCounts +
               std::to_string(st.periods) + "/" + std::to_string(st.hits) + "\r\n" + tx::kTurnover +
               std::to_string(st.turnover) + std::string(10, ' ') + tx::kFlatName + "\r\n";
}

void UpdateMultiplierStats(PlanStats& st) {
  if (st.active) {
    int64_t m = MultipleAt(st, st.step);
    int64_t stake = 2LL * st.poolSize * m;
    st.turnover = Clamp32(int64_t{st.turnover} + stake);
    if (st.lastResult == 1) {
      st.profit = Clamp32(int64_t{st.profit} + m * st.odds - stake);
      st.step = 1;
    } else {
      st.profit = Clamp32(int64_t{st.profit} - stake);
      st.step += 1;
    }
    st.active = 0;
    if (st.step > st.multipleCount) st.step = 1;
  }
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

void UpdatePushWaveStats(PlanStats& st) {
  if (st.active) {
    double w = st.pushMultiple;
    double stake = w * 2.0 * st.poolSize;
    if (st.poolSize <= 0) {
      // An empty plan stakes nothing and cannot win: nothing is booked, the wave starts over.
      st.pushMultiple = 1;
      st.step = 1;
      st.lastWin = 0;
    } else if (st.lastResult == 1) {
      st.turnover = Round32(stake + st.turnover);
      st.lastWin = Round32(w * st.odds);
      st.profit = Round32(w * st.odds + st.profit - stake);
      st.pushMultiple = static_cast<float>(RoundQuotientTo(st.lastWin, 2 * int64_t{st.poolSize}, 3));
      st.step += 1;
    } else {
      st.turnover = Round32(stake + st.turnover);
      st.profit = Round32(st.profit - stake);
      st.pushMultiple = 1;
      st.step = 1;
    }
    if (st.step > st.pushPeriods) {
      st.step = 1;
      st.lastWin = 0;
      st.pushMultiple = 1;
    }
    st.active = 0;
  }
  st.summary = std::string(tx::kPushProfit) + std::to_string(st.profit) + Pad(st) + tx::kPushCounts +
               std::to_string(st.pushPeriods) + "/" + std::to_string(st.step) + "/" +
               FormatNumber(st.pushMultiple, 3) + "\r\n" + tx::kPushTurnover + std::to_string(st.turnover) +
               std::string(10, ' ') + tx::kPushName;
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
  double odds = ReadNumber(f.text("T_szzx_canshu_0"));
  if (!(odds > 1700 && odds <= 2000)) return refuse(tx::kOdds);
  double rebate = ReadNumber(f.text("T_szzx_canshu_4"));
  if (!(rebate >= 0.005 && rebate <= 0.5)) return refuse(tx::kRebate);

  int32_t mode = f.checked("Option_touzhu_sz_1") ? kStatsMultiplier
                 : f.checked("Option_touzhu_sz_2") ? kStatsPushWave
                                                    : kStatsFlat;
  std::vector<int32_t> multiples;
  int32_t pushPeriods = 0;
  if (mode == kStatsMultiplier) {
    std::string seq = Trim(f.text("T_szzx_canshu_2"));
    if (!Contains(seq, "-")) return refuse(tx::kSequence);
    std::string clean;
    for (char c : seq)
      if ((c >= '0' && c <= '9') || c == '-') clean += c;
    // A sequence with an empty item ("1-2-", "-1-2", "1--2") has no multiple for that step.
    for (const std::string& item : Split(clean, "-")) {
      if (item.empty()) return refuse(tx::kSequence);
      multiples.push_back(ReadInt(item));
    }
    f.setText("T_szzx_canshu_2", clean);
  } else if (mode == kStatsPushWave) {
    pushPeriods = ReadInt(f.text("T_szzx_canshu_3"));
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
