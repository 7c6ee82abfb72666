#pragma once
// Trend matching: builds a pool whose flat-bet profit curve over the newest 119 draws follows the
// current TrendLine, optionally forcing the newest draws to hits or misses (end control).
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/NumberSet.h"

#include "core/Context.h"
#include "curves/CurveState.h"

namespace lumora {

// Fits a pool of `n` numbers to curves.trend and writes it, ascending, to the text of "Tdadi".
// `q` is the trend slot 0..14 whose end-control settings apply ("Check_xl_md_q", "T_xl_muduan_q"
// with the mode of "Op_mos_0/1/2"), or kNoSlot (100) for the plain line fit. The simulated curve
// is left in curves.profit. n <= 0 empties "Tdadi". Callers read n from its text box with ReadInt
// (an empty or non-numeric text reads 0).
void FitPoolToTrend(Context& cx, CurveState& curves, int n, int q);

// The fit in its two halves. What the draws, the trend and the end control decide is the same
// for every repeat of a plan; only the random picks differ, so a plan decides each slot once and
// picks r times. FitPoolToTrend is DecideFit and then PickFitPool with cx.rng.
struct FitDecision {
  int size = 0;                      // n
  int trendHits = 0;                 // hits the trend forced (the mask's are not counted)
  NumberSet hits, misses;            // ForcedHitList, ForcedMissList
  ProfitCurve curve{};               // the simulated curve (all 0 when only the mask decides)
  std::vector<uint16_t> candidates;  // the numbers in neither list, ascending
};
FitDecision DecideFit(const Context& cx, const TrendLine& trend, int n, int q);
// The random half of a decided fit, as often as wanted (a plan picks r times from one decision).
// The pick rule over the candidates: k = n - trendHits times take a(floor(r * U)) with U the
// current upper index, move a(U) into its place and shrink; every candidate when k reaches their
// number. The candidates' order is kept between rounds: a round touches k places and puts them
// back, instead of copying all candidates.
class FitPicks {
 public:
  explicit FitPicks(const FitDecision& d);
  // The picked numbers, not the forced hits; empty when n <= 0.
  NumberSet pick(Rng& rng);

 private:
  int k_ = 0;
  NumberSet all_;                // every candidate, when k reaches their number
  std::vector<uint16_t> order_;  // the candidates, ascending, at the start of every round
  std::vector<uint32_t> undo_;   // place << 16 | number taken from there, step by step
};

// The forced hits and n - trendHits random picks from the candidates (all of them when that many
// or more are wanted); an empty set when n <= 0.
NumberSet PickFitPool(Rng& rng, const FitDecision& d);

// k items drawn without replacement from a space-separated list, each followed by one space, the
// result trimmed. Step rule: i = floor(r * U) with U the current upper index, a(U) moves into a(i).
// k at or above the number of items takes them all; k <= 0 gives "".
std::string PickRandomItems(Rng& rng, std::string_view list, int k);

// Loads a stored slot's trend text into curves.trend (no drawing). Shows the broken-trend notice
// and returns false when the text has fewer than 120 numbers or a part that is not a number; the
// positions parsed before the fault keep their new values, the rest their old ones.
bool LoadTrendText(Context& cx, CurveState& curves, int slot);
bool LoadTrendText(Context& cx, CurveState& curves, std::string_view text);

// "按线寻找大底": refuses without draws ("没有开奖数据，请先更新"); otherwise fits a pool of
// "T_dadi_zhushu" numbers to the trend (slot 100) and plots the pool's real curve ("K线").
void LookForPool(Context& cx, CurveState& curves);

// Checks of the per-slot settings boxes after a user's edit: a pool size above 980 is reset to
// "400" with its notice, and the sizes are copied to the "L_xl_zhushu" labels; an end-control mask
// longer than 10 characters is cleared with its notice.
void CheckCurveCount(Context& cx, int slot);
void CheckEndControlMask(Context& cx, int slot);

// L_xl_zhushu_i shows the text of T_quxian_zhushu_i, i = 0..14.
void CopyCurveCounts(Context& cx);

}  // namespace lumora
