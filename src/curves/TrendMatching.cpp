#include "curves/TrendMatching.h"

#include <vector>

#include "core/NumberSet.h"
#include "core/Text.h"
#include "core/controls/Fmain.h"
#include "curves/PoolCurve.h"
#include "curves/Texts.h"
#include "curves/TrendChart.h"
#include "curves/TrendText.h"

namespace lumora {

namespace {

// The pick rule over an array: k times take a(floor(r * U)), move a(U) into its place, shrink.
// Taking every item once k reaches the number of items.
template <typename T>
std::vector<T> PickFrom(Rng& rng, std::vector<T> a, int k) {
  std::vector<T> picked;
  if (k <= 0 || a.empty()) return picked;
  if (static_cast<size_t>(k) >= a.size()) return a;
  picked.reserve(static_cast<size_t>(k));
  for (int step = 0; step < k; ++step) {
    const size_t upper = a.size() - 1;
    const size_t i = static_cast<size_t>(rng.Below(upper));
    picked.push_back(a[i]);
    a[i] = a[upper];
    a.pop_back();
  }
  return picked;
}

// ParseThreeDigits of the sub-number of history row `row`, without building the text.
int SubNumberValue(const DrawStore& draws, int row) {
  const std::string& digits = draws.history.at(static_cast<size_t>(row)).digits;
  const size_t at = static_cast<size_t>(draws.subStart - 1);
  if (draws.subStart < 1 || draws.subStart > 3 || digits.size() < at + 3) return ParseThreeDigits(draws.subNumber(row));
  int v = 0;
  for (size_t i = at; i < at + 3; ++i) {
    if (digits[i] < '0' || digits[i] > '9') return -1;
    v = v * 10 + (digits[i] - '0');
  }
  return v;
}

// The end-control mask of slot q, read from the right: the rightmost character is the newest draw
// (history row 1). "1" forces a hit, "0" a miss; other characters are skipped and do not advance.
void ApplyMask(const Context& cx, int q, NumberSet& hits, NumberSet& misses) {
  const std::string& mask = cx.form.text(fmain::T_xl_muduan[q]);
  int row = 1;
  for (size_t c = mask.size(); c-- > 0;) {
    if (mask[c] != '1' && mask[c] != '0') continue;
    if (row <= kHistoryRows) {
      int d = SubNumberValue(cx.draws, row);
      if (d >= 0) (mask[c] == '1' ? hits : misses).add(d);
    }
    ++row;
  }
}

}  // namespace

std::string PickRandomItems(Rng& rng, std::string_view list, int k) {
  std::vector<std::string> items = Split(list, " ");
  if (items.size() == 1 && items[0].empty()) items.clear();
  std::string out;
  for (const std::string& item : PickFrom(rng, std::move(items), k)) {
    out += item;
    out += ' ';
  }
  return Trim(out);
}

FitDecision DecideFit(const Context& cx, const TrendLine& trend, int n, int q) {
  FitDecision d;
  d.size = n;
  d.curve.fill(0);
  if (n <= 0) return d;
  ProfitCurve& y = d.curve;
  NumberSet& forcedHits = d.hits;      // ForcedHitList
  NumberSet& forcedMisses = d.misses;  // ForcedMissList
  const bool slotted = q != kNoSlot && q >= 0 && q < kCurveSlots;
  const bool maskOn = slotted && cx.form.checked(fmain::Check_xl_md[q]);
  const bool randomOnly = slotted && cx.form.checked(fmain::Op_mos[1]);
  const bool maskFirst = slotted && cx.form.checked(fmain::Op_mos[0]);

  if (maskFirst && maskOn) ApplyMask(cx, q, forcedHits, forcedMisses);
  if (!randomOnly) {
    const double cost = 0.1 * (2.0 * n);
    for (int k = 1; k <= kHistoryRows - 1; ++k) {
      // A row without a draw (short history) is a period without a winning number.
      const int d3 = SubNumberValue(cx.draws, kHistoryRows - k);
      bool hit = false;
      if (d3 < 0) {
        hit = false;
      } else if (forcedHits.contains(d3)) {
        hit = true;
      } else if (forcedMisses.contains(d3)) {
        hit = false;
      } else if (static_cast<int64_t>(trend[static_cast<size_t>(k)]) - y[static_cast<size_t>(k - 1)] < 0) {
        // no 32-bit overflow at the extremes
        forcedMisses.add(d3);
      } else {
        hit = true;
        forcedHits.add(d3);
        ++d.trendHits;
      }
      y[static_cast<size_t>(k)] = CurvePoint(y[static_cast<size_t>(k - 1)] + (hit ? 200.0 : 0.0) - cost);
    }
  }
  if (randomOnly && maskOn) ApplyMask(cx, q, forcedHits, forcedMisses);

  // The numbers left to pick from, ascending.
  const NumberSet open = NumberSet::All() - (forcedHits | forcedMisses);
  d.candidates.reserve(static_cast<size_t>(open.count()));
  open.forEach([&](int v) { d.candidates.push_back(static_cast<uint16_t>(v)); });
  return d;
}

FitPicks::FitPicks(const FitDecision& d) : k_(d.size > 0 ? d.size - d.trendHits : 0) {
  if (k_ <= 0 || d.candidates.empty()) {
    k_ = 0;
  } else if (static_cast<size_t>(k_) >= d.candidates.size()) {
    for (uint16_t v : d.candidates) all_.add(v);
  } else {
    order_ = d.candidates;
    undo_.resize(static_cast<size_t>(k_));
  }
}

NumberSet FitPicks::pick(Rng& rng) {
  if (order_.empty()) return all_;
  RangeDraws draws(rng);
  uint16_t* order = order_.data();
  uint32_t* undo = undo_.data();
  size_t upper = order_.size() - 1;
  for (size_t step = 0; step < static_cast<size_t>(k_); ++step, --upper) {
    const size_t i = static_cast<size_t>(draws.Below(upper));
    undo[step] = static_cast<uint32_t>(i) << 16 | order[i];
    order[i] = order[upper];
  }
  // The writes undone in reverse order leave the candidates as the round found them; the numbers
  // taken are the ones undone.
  NumberSet picked;
  for (size_t s = static_cast<size_t>(k_); s-- > 0;) {
    const uint16_t v = static_cast<uint16_t>(undo[s] & 0xFFFF);
    order[undo[s] >> 16] = v;
    picked.add(v);
  }
  return picked;
}

NumberSet PickFitPool(Rng& rng, const FitDecision& d) {
  if (d.size <= 0) return NumberSet();
  return d.hits | FitPicks(d).pick(rng);
}

void FitPoolToTrend(Context& cx, CurveState& curves, int n, int q) {
  FitDecision d = DecideFit(cx, curves.trend, n, q);
  curves.profit = d.curve;
  if (n <= 0) {
    cx.form.setText(fmain::Tdadi, "");
    return;
  }
  cx.form.setText(fmain::Tdadi, PickFitPool(cx.rng, d).text());
}

bool LoadTrendText(Context& cx, CurveState& curves, int slot) {
  if (slot < 0 || slot >= kCurveSlots) return LoadTrendText(cx, curves, std::string_view());
  return LoadTrendText(cx, curves, std::string_view(curves.slots[slot]));
}

bool LoadTrendText(Context& cx, CurveState& curves, std::string_view text) {
  if (ParseTrendText(text, curves.trend, nullptr)) return true;
  cx.inform(curves_text::kBrokenTrend, curves_text::kTitleHint);
  return false;
}

void LookForPool(Context& cx, CurveState& curves) {
  if (TrimView(cx.form.text(fmain::Tkjh)).empty()) {
    cx.inform(curves_text::kNoDraws, curves_text::kTitleHint);
    return;
  }
  FitPoolToTrend(cx, curves, cx.form.value(fmain::T_dadi_zhushu), kNoSlot);
  ShowPoolCurve(cx, curves);
}

void CheckCurveCount(Context& cx, int slot) {
  const auto key = fmain::T_quxian_zhushu[slot];
  if (ReadNumber(cx.form.text(key)) > 980) {
    cx.inform(curves_text::kTooManyNumbers, curves_text::kTitleTooMany);
    cx.form.setText(key, curves_text::kResetCount);
  }
  CopyCurveCounts(cx);
}

void CheckEndControlMask(Context& cx, int slot) {
  const auto key = fmain::T_xl_muduan[slot];
  const std::string& text = cx.form.text(key);
  size_t characters = 0;
  for (unsigned char c : text)
    if ((c & 0xC0) != 0x80) ++characters;
  if (characters > 10) {
    cx.inform(curves_text::kMaskTooLong, curves_text::kTitleMaskTooLong);
    cx.form.setText(key, "");
  }
}

void CopyCurveCounts(Context& cx) {
  for (int i = 0; i < 15; ++i) cx.form.setText(fmain::L_xl_zhushu[i], cx.form.text(fmain::T_quxian_zhushu[i]));
}

}  // namespace lumora
