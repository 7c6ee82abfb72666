#include "plan/PlanModes.h"

#include <array>

#include "core/Text.h"
#include "core/controls/Fmain.h"
#include "curves/TrendMatching.h"
#include "plan/Intersection.h"
#include "plan/MonitorPools.h"
#include "plan/PlanTexts.h"
#include "plan/TrendFit.h"

namespace lumora {
namespace tx = plan_text;

namespace {
// Repeat counts above this cannot be written in the three-digit count format.
constexpr int kMaxRepeats = 999;
}  // namespace

NumberSet CombineRepeats(const PlanState& plan, int r, const std::string& acc) {
  const size_t upto = static_cast<size_t>(std::max(0, std::min(r, plan.repeatUpper())));
  return CombineRepeatSets(std::vector<NumberSet>(plan.repeatResults.begin(),
                                                  plan.repeatResults.begin() + static_cast<std::ptrdiff_t>(upto) + 1),
                           r, acc);
}

NumberSet CombineRepeatSets(const std::vector<NumberSet>& sets, int r, const std::string& acc) {
  CountListText list(acc);
  const int most = static_cast<int>(sets.size()) - 1;  // no number is counted more often
  NumberCounts counts(std::max(most, 0));
  for (size_t k = 1; k < sets.size(); ++k) counts.add(sets[k]);
  int sources = r > 99 ? 100 : 0;  // three-digit counts from r = 100 on
  return counts.where([&](int c) { return c <= std::max(r, 0) && list.accepts(c, sources); });
}

namespace {

// Mode one's r repeats with every stored trend readable: each slot's fit is decided once and
// picked r times, and the repeats are intersected as sets. The same results, notices aside, as
// r rounds of ComputeMonitorPools and IntersectMonitorPools (there are none on this path).
// Returns false, having done nothing, when a trend is broken or the pools are kept by hand.
bool RunRepeatsDecidedOnce(PlanEnv& env, int r) {
  Context& cx = env.cx;
  Form& f = cx.form;
  if (!f.checked(fmain::Op_jiankong_zihui)) return false;
  std::array<const TrendLine*, kMonitorPoolCount> trends{};
  for (int i = 0; i < kMonitorPoolCount; ++i)
    if (!(trends[static_cast<size_t>(i)] = StoredTrend(env, i))) return false;
  std::array<FitDecision, kMonitorPoolCount> decided;
  for (int i = 0; i < kMonitorPoolCount; ++i)
    decided[static_cast<size_t>(i)] =
        DecideFit(cx, *trends[static_cast<size_t>(i)], f.value(fmain::T_quxian_zhushu[i]), i);
  const IntersectionRule rule = ReadIntersectionRule(cx);
  // Coverage counts: the forced hits of the ticked pools are the same every round.
  NumberCounts forcedCoverage(kMonitorPoolCount);
  for (size_t i = 0; i < decided.size(); ++i)
    if (rule.ticked[i] && decided[i].size > 0) forcedCoverage.add(decided[i].hits);
  std::vector<FitPicks> picks;
  picks.reserve(decided.size());
  for (const FitDecision& d : decided) picks.emplace_back(d);
  for (int k = 1; k <= r; ++k) {
    // The progress label only for a window to show (the last round's text is left either way).
    if (!cx.headless || k == r)
      f.setText(fmain::L_jindu_news, std::string(tx::kProgress) + std::to_string(k) + "/" + std::to_string(r));
    NumberCounts coverage = forcedCoverage;
    const bool lastRound = k == r;
    for (size_t i = 0; i < picks.size(); ++i) {
      const NumberSet picked = picks[i].pick(cx.rng);
      if (rule.ticked[i]) coverage.add(picked);
      // What the last round of fits leaves behind.
      if (lastRound) env.plan.monitorPools[i] = decided[i].size > 0 ? decided[i].hits | picked : NumberSet();
    }
    env.plan.repeatResults[static_cast<size_t>(k)] =
        coverage.where([&](int c) { return rule.accepted[static_cast<size_t>(c)]; });
  }
  const size_t last = kMonitorPoolCount - 1;
  f.setText(fmain::Tdadi, env.plan.monitorPools[last].text());
  env.curves.trend = *trends[last];
  env.curves.profit = decided[last].curve;
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
  env.plan.repeatResults.assign(static_cast<size_t>(r) + 1, NumberSet());
  if (RunRepeatsDecidedOnce(env, r)) {
    WritePlanPool(cx, env.plan, CombineRepeats(env.plan, r, acc));
    return true;
  }
  for (int k = 1; k <= r; ++k) {
    f.setText(fmain::L_jindu_news, std::string(tx::kProgress) + std::to_string(k) + "/" + std::to_string(r));
    ComputeMonitorPools(env);
    env.plan.repeatResults[static_cast<size_t>(k)] = IntersectMonitorPools(cx, env.plan);
    env.plan.lastIntersection = env.plan.repeatResults[static_cast<size_t>(k)].text();
  }
  WritePlanPool(cx, env.plan, CombineRepeats(env.plan, r, acc));
  return true;
}

NumberSet ModeTwoPool(const PlanState& plan, const std::string& rulesText, const std::string& acc) {
  std::string rules = Trim(rulesText);
  for (const char* sep : {"。", "*", " ", ",", "+", "-", "/"}) rules = ReplaceAll(rules, sep, ".");
  struct Rule {
    std::vector<int> pools;        // monitor pool indices named by the left side (repeats count again)
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
      for (size_t h = 0; h <= rule.pools.size(); ++h)
        rule.acceptHits.push_back(Contains(right, std::to_string(h)) ? 1 : 0);
      parsed.push_back(std::move(rule));
    }
  }
  const auto& sets = plan.monitorPools;
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
                ModeTwoPool(env.plan, env.cx.form.text(fmain::T_moshier_input),
                            Trim(env.cx.form.text(fmain::T_moshier_input_rc))));
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
