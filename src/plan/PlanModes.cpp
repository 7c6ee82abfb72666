#include "plan/PlanModes.h"

#include <array>

#include "core/Text.h"
#include "plan/MonitorPools.h"
#include "plan/PlanRecord.h"
#include "plan/PlanTexts.h"
#include "plan/TrendFit.h"
#include "curves/TrendMatching.h"
#include "core/controls/Fmain.h"

namespace lumora {
namespace tx = plan_text;

namespace {
// Repeat counts above this cannot be written in the three-digit count format.
constexpr int kMaxRepeats = 999;
}  // namespace

NumberSet CombineRepeats(const PlanState& plan, int r, const std::string& acc) {
  std::vector<NumberSet> sets(static_cast<size_t>(std::max(0, std::min(r, plan.repeatUpper()))) + 1);
  for (size_t k = 1; k < sets.size(); ++k) sets[k] = NumberSet::FromText(plan.repeatResults[k]);
  return CombineRepeatSets(sets, r, acc);
}

NumberSet CombineRepeatSets(const std::vector<NumberSet>& sets, int r, const std::string& acc) {
  CountListText list(acc);
  std::array<int, 1000> counts{};
  // Counted number by number (no bit search): the repeats' sets are dense.
  for (size_t k = 1; k < sets.size(); ++k)
    for (int n = 0; n < 1000; ++n) counts[static_cast<size_t>(n)] += sets[k].contains(n) ? 1 : 0;
  int sources = r > 99 ? 100 : 0;  // three-digit counts from r = 100 on
  std::vector<char> accepted(static_cast<size_t>(std::max(r, 0)) + 1);
  for (int c = 0; c <= std::max(r, 0); ++c) accepted[static_cast<size_t>(c)] = list.accepts(c, sources) ? 1 : 0;
  NumberSet result;
  for (int i = 0; i < 1000; ++i)
    if (accepted[static_cast<size_t>(counts[static_cast<size_t>(i)])]) result.add(i);
  return result;
}

namespace {

// Mode one's r repeats with every stored trend readable: each slot's fit is decided once and
// picked r times, and the repeats are intersected as sets. The same results, notices aside, as
// r rounds of ComputeMonitorPools and IntersectMonitorPools (there are none on this path).
// Returns false, having done nothing, when a trend is broken or the pools are kept by hand.
bool RunRepeatsDecidedOnce(PlanEnv& env, int r, std::vector<NumberSet>& sets) {
  Context& cx = env.cx;
  Form& f = cx.form;
  if (!f.checked(fmain::Op_jiankong_zihui)) return false;
  std::array<const TrendLine*, kMonitorPoolCount> trends{};
  for (int i = 0; i < kMonitorPoolCount; ++i)
    if (!(trends[static_cast<size_t>(i)] = StoredTrend(env, i))) return false;
  std::array<FitDecision, kMonitorPoolCount> decided;
  for (int i = 0; i < kMonitorPoolCount; ++i)
    decided[static_cast<size_t>(i)] = DecideFit(cx, *trends[static_cast<size_t>(i)], f.value(fmain::T_quxian_zhushu[i]), i);
  const IntersectionRule rule = ReadIntersectionRule(cx);
  // Coverage counts: the forced hits of the ticked pools are the same every round.
  std::array<uint8_t, 1000> forcedCoverage{};
  for (size_t i = 0; i < decided.size(); ++i)
    if (rule.ticked[i] && decided[i].size > 0) decided[i].hits.forEach([&](int n) { ++forcedCoverage[static_cast<size_t>(n)]; });
  std::array<NumberSet, kMonitorPoolCount> pools;
  std::vector<uint16_t> scratch;
  sets.assign(static_cast<size_t>(r) + 1, NumberSet());
  for (int k = 1; k <= r; ++k) {
    f.setText(fmain::L_jindu_news, std::string(tx::kProgress) + std::to_string(k) + "/" + std::to_string(r));
    std::array<uint8_t, 1000> coverage = forcedCoverage;
    const bool lastRound = k == r;
    for (size_t i = 0; i < pools.size(); ++i) {
      if (lastRound) pools[i] = decided[i].size > 0 ? decided[i].hits : NumberSet();
      const bool ticked = rule.ticked[i];
      PickFitNumbers(cx.rng, decided[i], scratch, [&](int v) {
        if (ticked) ++coverage[static_cast<size_t>(v)];
        if (lastRound) pools[i].add(v);
      });
    }
    NumberSet& met = sets[static_cast<size_t>(k)];
    for (int n = 0; n < 1000; ++n)
      if (rule.accepted[coverage[static_cast<size_t>(n)]]) met.add(n);
    env.plan.repeatResults[static_cast<size_t>(k)] = met.text();
  }
  // What the last round of fits leaves behind.
  for (size_t i = 0; i < pools.size(); ++i) env.plan.monitorPools[i] = pools[i].text();
  const size_t last = kMonitorPoolCount - 1;
  f.setText(fmain::Tdadi, env.plan.monitorPools[last]);
  env.curves.trend = *trends[last];
  env.curves.profit = decided[last].curve;
  env.plan.lastIntersection = env.plan.repeatResults[static_cast<size_t>(r)];
  return true;
}

}  // namespace

bool RunModeOne(PlanEnv& env) {
  Context& cx = env.cx;
  Form& f = cx.form;
  std::string count = Trim(f.text(fmain::T_jh_dadi_chongfu_cs));
  if (!IsDigits(count) || ReadNumber(count) > kMaxRepeats) {
    cx.inform(tx::kModeOneError, tx::kHintTitle);
    return false;
  }
  int r = f.value(fmain::T_jh_dadi_chongfu_cs);
  std::string acc = Trim(f.text(fmain::T_jh_dadi_chongfu_rc));
  RefreshStoredTrends(env);
  if (r < 2) {
    if (f.checked(fmain::Op_jiankong_zihui)) ComputeMonitorPools(env);
    ComputeIntersectionPool(cx, env.plan);
    return true;
  }
  env.plan.repeatResults.assign(static_cast<size_t>(r) + 1, std::string());
  std::vector<NumberSet> sets;
  if (RunRepeatsDecidedOnce(env, r, sets)) {
    WritePlanPool(cx, env.plan, CombineRepeatSets(sets, r, acc));
    return true;
  }
  for (int k = 1; k <= r; ++k) {
    f.setText(fmain::L_jindu_news, std::string(tx::kProgress) + std::to_string(k) + "/" + std::to_string(r));
    ComputeMonitorPools(env);
    env.plan.lastIntersection = IntersectMonitorPools(cx, env.plan).text();
    env.plan.repeatResults[static_cast<size_t>(k)] = env.plan.lastIntersection;
  }
  WritePlanPool(cx, env.plan, CombineRepeats(env.plan, r, acc));
  return true;
}

NumberSet ModeTwoPool(const PlanState& plan, const std::string& rulesText, const std::string& acc) {
  std::string rules = Trim(rulesText);
  for (const char* sep : {"。", "*", " ", ",", "+", "-", "/"}) rules = ReplaceAll(rules, sep, ".");
  struct Rule {
    std::vector<int> pools;       // monitor pool indices named by the left side (repeats count again)
    std::vector<char> acceptHits;  // hits 0..pools.size() accepted by the right side
  };
  std::vector<Rule> parsed;
  if (!rules.empty()) {
    for (const std::string& line : SplitCrLf(rules)) {
      if (!Contains(line, "=")) continue;
      std::vector<std::string> sides = Split(line, "=");
      Rule rule;
      for (const std::string& item : Split(sides[0], ".")) {
        if (Trim(item).empty()) continue;
        double v = ReadNumber(item);
        if (v > 0 && v < 16) rule.pools.push_back(static_cast<int>(v) - 1);
      }
      const std::string& right = sides.size() > 1 ? sides[1] : std::string();
      for (size_t h = 0; h <= rule.pools.size(); ++h) rule.acceptHits.push_back(Contains(right, std::to_string(h)) ? 1 : 0);
      parsed.push_back(std::move(rule));
    }
  }
  auto sets = MonitorPoolSets(plan);
  CountListText accepted(acc);
  std::vector<char> acceptMet(parsed.size() + 1);
  for (size_t m = 0; m <= parsed.size(); ++m) acceptMet[m] = accepted.accepts(static_cast<int>(m), 0) ? 1 : 0;
  NumberSet result;
  for (int i = 0; i < 1000; ++i) {
    size_t met = 0;
    for (const Rule& rule : parsed) {
      size_t hits = 0;
      for (int p : rule.pools) hits += sets[static_cast<size_t>(p)].contains(i) ? 1 : 0;
      met += rule.acceptHits[hits];
    }
    if (acceptMet[met]) result.add(i);
  }
  return result;
}

void RunModeTwo(PlanEnv& env) {
  RefreshStoredTrends(env);
  if (env.cx.form.checked(fmain::Op_jiankong_zihui)) ComputeMonitorPools(env);
  WritePlanPool(env.cx, env.plan,
                ModeTwoPool(env.plan, env.cx.form.text(fmain::T_moshier_input), Trim(env.cx.form.text(fmain::T_moshier_input_rc))));
}

void PaintModeColours(Context& cx) {
  bool one = cx.form.checked(fmain::Check_jh_dadi_chongfu);
  Bgr on = Rgb(0, 255, 0), off = Rgb(224, 224, 224);
  cx.form.setBackColor(fmain::Fr_ms1, one ? on : off);
  cx.form.setBackColor(fmain::Check_jh_dadi_chongfu, one ? on : off);
  cx.form.setBackColor(fmain::Fr_ms2, one ? off : on);
  cx.form.setBackColor(fmain::Check_jh_dadi_fenzu, one ? off : on);
}

void OnModeOneToggled(Context& cx) {
  cx.form.setChecked(fmain::Check_jh_dadi_fenzu, !cx.form.checked(fmain::Check_jh_dadi_chongfu));
  PaintModeColours(cx);
}

void OnModeTwoToggled(Context& cx) {
  cx.form.setChecked(fmain::Check_jh_dadi_chongfu, !cx.form.checked(fmain::Check_jh_dadi_fenzu));
  PaintModeColours(cx);
}

void OnRepeatCountEdited(Context& cx) {
  const std::string& text = cx.form.text(fmain::T_jh_dadi_chongfu_cs);
  std::string digits;
  for (char c : text)
    if (c >= '0' && c <= '9') digits += c;
  if (digits != text) cx.form.setText(fmain::T_jh_dadi_chongfu_cs, digits);
}

}  // namespace lumora
