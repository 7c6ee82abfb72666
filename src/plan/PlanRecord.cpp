#include "plan/PlanRecord.h"

#include <algorithm>
#include <cstdint>

#include "core/History.h"
#include "core/Text.h"
#include "core/controls/Fmain.h"
#include "plan/BackupPools.h"
#include "plan/Intersection.h"
#include "plan/PlanModes.h"
#include "plan/PlanTexts.h"

namespace lumora {
namespace tx = plan_text;

namespace {

// Blanks only (the record text keeps its line breaks when trimmed).
std::string TrimBlanks(std::string_view s) {
  size_t b = s.find_first_not_of(' ');
  if (b == std::string_view::npos) return {};
  size_t e = s.find_last_not_of(' ');
  return std::string(s.substr(b, e - b + 1));
}

}  // namespace

// Pieces of the record lines.
std::string SubGameLabel(int subStart) { return subStart == 1 ? tx::kFront : subStart == 2 ? tx::kMiddle : tx::kBack; }

// name + label + size: "Lumora计划后三120注".
std::string RecordLineHead(const Context& cx) {
  const Form& f = cx.form;
  return Trim(f.text(fmain::T_zdy_yongyu[2])) + SubGameLabel(cx.draws.subStart) +
         Pad(f.value(fmain::T_jihua_jj_dadi_zhushu), 3) + tx::kCountUnit;
}

// "<N>期/当前<c>" of a multi-period plan.
std::string MultiPeriodWindow(const Context& cx, int counter) {
  return "<" + FormatNumber(cx.form.value(fmain::T_duoqi)) + ">期/当前<" + std::to_string(counter) + ">";
}

void WritePendingLine(PlanEnv& env) {
  Context& cx = env.cx;
  Form& f = cx.form;
  PlanState& plan = env.plan;
  if (!f.checked(fmain::Check_jihua_sx)) return;

  std::string line = RecordLineHead(cx) + FollowingPeriod(cx.draws.history[1].period) + tx::kHidden;
  if (f.checked(fmain::Check_duoqi)) line += MultiPeriodWindow(cx, plan.multiPeriodCounter) + tx::kWaiting;
  else line += std::string(tx::kSingleWindow) + "-" + tx::kWaiting;
  if (plan.multiPeriodCounter != 1 && plan.justJudged == 1 && plan.recordIndex > 0) plan.recordIndex -= 1;
  plan.recordLines[static_cast<size_t>(plan.recordIndex)] = Trim(line);

  int64_t keep = f.value(fmain::T_jh_qi_baoliu);
  if (keep < 1 || keep > 200) {
    // The pending line is stored and the bet boxes still follow the new plan; only the record
    // text is not refreshed.
    cx.inform(tx::kKeepRange, tx::kKeepRangeTitle);
  } else {
    UpdateStats(env.stats.plan());
    std::string record = std::string(tx::kRule) + "\r\n";
    for (int64_t e = std::max<int64_t>(0, plan.recordIndex - keep); e <= plan.recordIndex; ++e)
      record += plan.recordLines[static_cast<size_t>(e)] + "\r\n";
    if (f.checked(fmain::Check_pszj_sx))
      f.setText(fmain::T_jh_dadi_jilu, TrimBlanks(record) + tx::kRule + "\r\n" + env.stats.plan().summary);
    else f.setText(fmain::T_jh_dadi_jilu, TrimBlanks(record));
  }
  f.setText(fmain::T_zhushu_ag, f.text(fmain::T_jihua_jj_dadi_zhushu));
  CopyIntersectionToBet(cx);
  plan.justJudged = 0;
}

void AdvanceRecordIndex(PlanState& plan) {
  plan.recordIndex += 1;
  if (plan.recordIndex >= kRecordSlots) {
    std::move(plan.recordLines.begin() + 1, plan.recordLines.end(), plan.recordLines.begin());
    plan.recordLines.back().clear();
    plan.recordIndex = kRecordSlots - 1;
  }
}

void ResetPlanRecord(PlanEnv& env) {
  env.plan.recordIndex = 0;
  env.cx.form.setText(fmain::T_jh_dadi_jilu, "");
  env.cx.form.setText(fmain::T_jh_dadi_jilu_rc, "");
  env.stats.plan().step = 1;
  env.stats.plan().pushMultiple = 1;
  RefreshPlanFromBackups(env, true);
}

void ConfirmStatsSettings(PlanEnv& env) {
  if (ApplyStatsSettings(env.cx, env.stats)) ResetPlanRecord(env);
}

void ClearPlan(PlanEnv& env) {
  // The answer arrives as an operation of its own; the stores behind `env` live as long as the
  // session, the PlanEnv itself does not.
  PlanEnv kept = env;
  env.cx.askYesNo(tx::kClearAsk, tx::kHintTitle, [kept](bool yes) mutable {
    if (yes) ConfirmStatsSettings(kept);
  });
}

void RecomputeToleranceSet(PlanEnv& env) {
  Context& cx = env.cx;
  int n = cx.form.value(fmain::T_jh_dadi_chongfu_cs);
  std::string acc = Trim(cx.form.text(fmain::T_jh_dadi_chongfu_rc));
  if (env.plan.repeatUpper() != n) {
    cx.inform(tx::kRecombineError, tx::kHintTitle);
    return;
  }
  // The recombined pool also becomes the mode's pool, so a rebuild from the backup pools keeps it.
  WritePlanPool(cx, env.plan, CombineRepeats(env.plan, n, acc));
  WritePendingLine(env);
  cx.inform(tx::kRecombined, tx::kHintTitle);
}

}  // namespace lumora
