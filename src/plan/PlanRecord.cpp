#include "plan/PlanRecord.h"

#include <algorithm>
#include <cstdint>

#include "alarm/Notices.h"
#include "core/History.h"
#include "core/ProgressPanel.h"
#include "plan/Intersection.h"
#include "core/Text.h"
#include "curves/Preview.h"
#include "plan/BackupPools.h"
#include "plan/MonitorPools.h"
#include "plan/PlanModes.h"
#include "plan/PlanTexts.h"
#include "plan/PoolBoard.h"

namespace lumora {
namespace tx = plan_text;

namespace {

// Characters of a UTF-8 text (the phrases and marks are Chinese).
size_t CharCount(std::string_view s) {
  size_t n = 0;
  for (unsigned char c : s) n += (c & 0xC0) != 0x80 ? 1 : 0;
  return n;
}

// The last `n` characters of a UTF-8 text.
std::string LastChars(const std::string& s, size_t n) {
  size_t have = CharCount(s);
  if (have <= n) return s;
  size_t skip = have - n, i = 0;
  for (; i < s.size(); ++i) {
    if ((static_cast<unsigned char>(s[i]) & 0xC0) != 0x80) {
      if (skip == 0) break;
      --skip;
    }
  }
  return s.substr(i);
}

// Blanks only (the record text keeps its line breaks when trimmed).
std::string TrimBlanks(std::string_view s) {
  size_t b = s.find_first_not_of(' ');
  if (b == std::string_view::npos) return {};
  size_t e = s.find_last_not_of(' ');
  return std::string(s.substr(b, e - b + 1));
}

std::string SubGameLabel(int subStart) {
  return subStart == 1 ? tx::kFront : subStart == 2 ? tx::kMiddle : tx::kBack;
}

// name + label + size: "Lumora计划后三120注".
std::string LineHead(const Context& cx) {
  const Form& f = cx.form;
  return Trim(f.text("T_zdy_yongyu_2")) + SubGameLabel(cx.draws.subStart) +
         Pad(ReadInt(f.text("T_jihua_jj_dadi_zhushu")), 3) + tx::kCountUnit;
}

// "<N>期/当前<c>" of a multi-period plan.
std::string MultiWindow(const Context& cx, int counter) {
  return "<" + FormatNumber(ReadNumber(cx.form.text("T_duoqi"))) + ">期/当前<" + std::to_string(counter) + ">";
}

}  // namespace

void WritePlanPool(Context& cx, PlanState& plan, const NumberSet& pool) {
  std::string text = pool.text();
  cx.form.setText("T_rj_jh_dd", text);
  cx.form.setText("T_jihua_jj_dadi", text);
  cx.form.setText("T_jihua_jj_dadi_zhushu", std::to_string(pool.count()));
  plan.lastIntersection = std::move(text);
}

IntersectionRule ReadIntersectionRule(const Context& cx) {
  IntersectionRule rule;
  CountListText acc(cx.form.text("T_jiankong_rc"));
  for (int c = 0; c <= kMonitorPoolCount; ++c) rule.accepted[static_cast<size_t>(c)] = acc.accepts(c, kMonitorPoolCount);
  for (int j = 0; j < kMonitorPoolCount; ++j) rule.ticked[static_cast<size_t>(j)] = cx.form.checked(Indexed("Ch_jiankong_jj", j));
  return rule;
}

NumberSet IntersectPools(const IntersectionRule& rule, const std::array<NumberSet, kMonitorPoolCount>& pools) {
  // Coverage counts from each ticked pool's members.
  NumberCounts coverage(kMonitorPoolCount);
  for (size_t j = 0; j < pools.size(); ++j)
    if (rule.ticked[j]) coverage.add(pools[j]);
  return coverage.where([&](int c) { return rule.accepted[static_cast<size_t>(c)]; });
}

NumberSet IntersectMonitorPools(const Context& cx, const PlanState& plan) {
  return IntersectPools(ReadIntersectionRule(cx), plan.monitorPools);
}

void ComputeIntersectionPool(Context& cx, PlanState& plan) { WritePlanPool(cx, plan, IntersectMonitorPools(cx, plan)); }

void StartPlan(PlanEnv& env) {
  Context& cx = env.cx;
  Form& f = cx.form;
  if (Trim(f.text("Tkjh")).empty()) {
    cx.inform(tx::kNoDraws, tx::kNoDrawsTitle);
    return;
  }
  f.setEnabled("C_jihua_ks", false);
  env.plan.planAfter = cx.draws.history[1];
  if (f.checked("Check_bd") || env.plan.multiPeriodCounter == 1) {
    ShowProgressPanel(cx, 1);
    if (f.checked("Check_jh_dadi_chongfu")) RunModeOne(env);
    if (f.checked("Check_jh_dadi_fenzu")) RunModeTwo(env);
  }
  RefreshPlanFromBackups(env, false);
  ShowPoolPreview(cx, env.curves, 3);
  PaintPoolBoard(cx);
  WritePendingLine(env);
  if (f.checked("C_qunfa_sx")) f.setTimer("Timer_qf_dd", true, 1000);
  f.setEnabled("C_jihua_ks", true);
  ShowProgressPanel(cx, 0);
  f.setText("T_zhushu_ag", f.text("T_jihua_jj_dadi_zhushu"));
  cx.recorder().planStarted({Trim(f.text("T_zdy_yongyu_2")), FollowingPeriod(cx.draws.history[1].period),
                             SubGameLabel(cx.draws.subStart), f.text("T_jihua_jj_dadi"),
                             ReadInt(f.text("T_jihua_jj_dadi_zhushu"))});
}

void WritePendingLine(PlanEnv& env) {
  Context& cx = env.cx;
  Form& f = cx.form;
  PlanState& plan = env.plan;
  if (!f.checked("Check_jihua_sx")) return;

  std::string line = LineHead(cx) + FollowingPeriod(cx.draws.history[1].period) + tx::kHidden;
  if (f.checked("Check_duoqi"))
    line += MultiWindow(cx, plan.multiPeriodCounter) + tx::kWaiting;
  else
    line += std::string(tx::kSingleWindow) + "-" + tx::kWaiting;
  if (plan.multiPeriodCounter != 1 && plan.justJudged == 1 && plan.recordIndex > 0) plan.recordIndex -= 1;
  plan.recordLines[static_cast<size_t>(plan.recordIndex)] = Trim(line);

  int64_t keep = RoundHalfEven(ReadNumber(f.text("T_jh_qi_baoliu")));
  if (keep < 1 || keep > 200) {
    // The pending line is stored and the bet boxes still follow the new plan; only the record
    // text is not refreshed.
    cx.inform(tx::kKeepRange, tx::kKeepRangeTitle);
  } else {
    UpdateStats(env.stats.plan());
    std::string record = std::string(tx::kRule) + "\r\n";
    for (int64_t e = std::max<int64_t>(0, plan.recordIndex - keep); e <= plan.recordIndex; ++e)
      record += plan.recordLines[static_cast<size_t>(e)] + "\r\n";
    if (f.checked("Check_pszj_sx"))
      f.setText("T_jh_dadi_jilu", TrimBlanks(record) + tx::kRule + "\r\n" + env.stats.plan().summary);
    else
      f.setText("T_jh_dadi_jilu", TrimBlanks(record));
  }
  f.setText("T_zhushu_ag", f.text("T_jihua_jj_dadi_zhushu"));
  CopyIntersectionToBet(cx);
  plan.justJudged = 0;
}

const DrawRecord& PlanMadeAfter(const Context& cx, const PlanState& plan) {
  return plan.planAfter.empty() ? cx.draws.previousNewest : plan.planAfter;
}

namespace {
// The standing plan's period has no draw in the history: its line says so, nothing is booked, and
// the next plan takes a slot of its own.
void RecordNotJudged(PlanEnv& env, const DrawRecord& after) {
  Context& cx = env.cx;
  const Form& f = cx.form;
  PlanState& plan = env.plan;
  const std::string period = FollowingPeriod(after.period);
  const std::string why = DrawMissingText(after);
  std::string line = LineHead(cx) + period + tx::kHidden +
                     (f.checked("Check_duoqi") ? MultiWindow(cx, plan.multiPeriodCounter) : std::string(tx::kSingleWindow)) +
                     tx::kNotJudged;
  plan.lastJudgedLine = Trim(line);
  plan.recordLines[static_cast<size_t>(plan.recordIndex)] = plan.lastJudgedLine;
  cx.form.setText("Tnew", std::string(cx.form.text("Tnew")) + tx::kNotJudgedStatusBefore + period +
                              tx::kNotJudgedStatusAfter + why);
  cx.recorder().planNotJudged({period, why, plan.lastJudgedLine});
  plan.justJudged = 0;
}
}  // namespace

void JudgePlan(PlanEnv& env) {
  Context& cx = env.cx;
  Form& f = cx.form;
  PlanState& plan = env.plan;
  PlanStats& st = env.stats.plan();

  // The plan is judged against the draw of the period it was made for, wherever the history
  // holds it: when several draws arrive at once that is not the newest one.
  const DrawRecord& after = PlanMadeAfter(cx, plan);
  const int row = RowOfDrawAfter(cx.draws, after);
  if (row == 0) {
    RecordNotJudged(env, after);
    return;
  }

  std::string hitPhrase = Trim(f.text("T_zdy_yongyu_0")), missPhrase = Trim(f.text("T_zdy_yongyu_1"));
  size_t hitLen = CharCount(hitPhrase), missLen = CharCount(missPhrase);
  size_t fill = missLen < hitLen ? hitLen - missLen : 0;
  int32_t c0 = plan.multiPeriodCounter;

  st.active = 1;
  st.periods += 1;
  st.poolSize = ReadInt(f.text("T_jihua_jj_dadi_zhushu"));

  const DrawRecord& draw = cx.draws.history[static_cast<size_t>(row)];
  std::string sub = cx.draws.subNumber(row);
  auto inPool = [&](const std::string& pool) { return !sub.empty() && pool.find(sub) != std::string::npos; };
  // A pool kept as a set holds what its text holds: a three-digit sub-number is a member, any
  // other is looked for in the text.
  const int subValue = ParseThreeDigits(sub);
  auto inSet = [&](const NumberSet& pool) { return subValue >= 0 ? pool.contains(subValue) : inPool(pool.text()); };
  auto tickedCount = [&] {
    int n = 0;
    for (int j = 0; j < kMonitorPoolCount; ++j)
      if (f.checked(Indexed("Ch_jiankong_jj", j)) && inSet(plan.monitorPools[static_cast<size_t>(j)])) ++n;
    return n;
  };
  std::string countsLine;  // the CountsLine of T_jh_dadi_jilu_rc
  if (f.checked("Check_jh_dadi_fenzu")) {
    countsLine = tx::kModeTwoCounts;
  } else {
    int r = ReadInt(f.text("T_jh_dadi_chongfu_cs"));
    if (r > 1) {
      // Results beyond the stored ones (the count was raised after the last mode-one run) are
      // not there to count.
      int n = 0, upto = std::min(r, plan.repeatUpper());
      for (int k = 1; k <= upto; ++k) n += inSet(plan.repeatResults[static_cast<size_t>(k)]) ? 1 : 0;
      countsLine = std::to_string(r) + "-" + std::to_string(n);
    } else {
      countsLine = f.text("T_jiankong_15di_geshu") + "-" + std::to_string(tickedCount());
    }
  }

  bool hit = inPool(f.text("T_jihua_jj_dadi"));
  std::string phrase;
  if (hit) {
    phrase = hitPhrase;
    plan.multiPeriodCounter = 1;
    plan.hitMissTrail += tx::kHit;
    st.hits += 1;
    st.lastResult = 1;
    plan.lastJudgeResult = 1;
    env.money.multiplePosition = 0;
  } else {
    phrase = missPhrase;
    plan.hitMissTrail += tx::kMiss;
    st.lastResult = 0;
    plan.lastJudgeResult = 2;
  }

  const int64_t profitBefore = st.profit;
  UpdateStats(st);

  for (int i = 1; i <= kFundUsedRows; ++i) {
    auto& row = plan.fundCurve[static_cast<size_t>(i)];
    if (row[2] == 0) {
      row[1] = static_cast<float>(st.profit);
      row[2] = 1;
      break;
    }
  }

  std::string profitText;
  if (f.checked("Check_hang_lr")) {
    if (!hit) profitText = std::string(fill * 2, ' ');
    profitText += std::string(tx::kProfit) + std::to_string(st.profit);
  }

  std::string line = LineHead(cx) + draw.period + tx::kOpened + draw.digits +
                     (f.checked("Check_duoqi") ? MultiWindow(cx, c0) : std::string(tx::kSingleWindow)) + phrase +
                     profitText;
  plan.lastJudgedLine = Trim(line);
  plan.recordLines[static_cast<size_t>(plan.recordIndex)] = plan.lastJudgedLine;
  cx.recorder().planJudged({draw.period, draw.digits, hit, st.profit - profitBefore, st.profit,
                            StatsSchemeName(st), plan.lastJudgedLine});

  // Like the plan record, the counts record keeps the newest lines only: left running for days it
  // would otherwise grow by a line a period without end, and be laid out whole every period.
  f.setText("T_jh_dadi_jilu_rc",
            std::string(LastCrLfLines(f.text("T_jh_dadi_jilu_rc") + countsLine + "\r\n", kRecordSlots - 1)));

  if (CharCount(plan.hitMissTrail) > static_cast<size_t>(kTrailLength))
    plan.hitMissTrail = LastChars(plan.hitMissTrail, kTrailLength);

  TestAlarmPattern(cx, env.alarm, plan.hitMissTrail);

  if (f.checked("Check_duoqi") && !hit) {
    double n = ReadNumber(f.text("T_duoqi"));
    plan.multiPeriodCounter = plan.multiPeriodCounter >= n ? 1 : plan.multiPeriodCounter + 1;
  }
  plan.justJudged = 1;
}

void AdvanceRecordIndex(PlanState& plan) {
  plan.recordIndex += 1;
  if (plan.recordIndex >= kRecordSlots) {
    std::move(plan.recordLines.begin() + 1, plan.recordLines.end(), plan.recordLines.begin());
    plan.recordLines.back().clear();
    plan.recordIndex = kRecordSlots - 1;
  }
}

void UpdatePlan(PlanEnv& env) {
  env.cx.form.setEnabled("C_gx_jh", false);
  StartPlan(env);
  env.cx.form.setEnabled("C_gx_jh", true);
}

void ResetPlanRecord(PlanEnv& env) {
  env.plan.recordIndex = 0;
  env.cx.form.setText("T_jh_dadi_jilu", "");
  env.cx.form.setText("T_jh_dadi_jilu_rc", "");
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

void CopyPlanPool(PlanEnv& env) { CopyToClipboard(env.cx, env.cx.form.text("T_jihua_jj_dadi"), true); }

void CopyPlan(PlanEnv& env) {
  const Form& f = env.cx.form;
  std::string text = f.checked("Check_jihua_jilu_haoma")
                         ? f.text("T_jihua_jj_dadi") + "\r\n" + f.text("T_jh_dadi_jilu")
                         : f.text("T_jh_dadi_jilu");
  text += "\r\n" + Trim(f.text("T_jihua_qianming"));
  CopyToClipboard(env.cx, text);
}

void CopyComplement(PlanEnv& env) {
  env.cx.inform(tx::kComplement, tx::kComplementTitle);
  NumberSet pool = NumberSet::FromText(Trim(env.cx.form.text("T_jihua_jj_dadi")));
  std::string text;
  for (int i = 0; i < 1000; ++i)
    if (!pool.contains(i)) text += ThreeDigits(i) + " ";
  CopyToClipboard(env.cx, text);
}

void SaveSignature(Context& cx) {
  const Form& f = cx.form;
  std::string line = Trim(Trim(f.text("T_jihua_qianming")) + "@-@" + Trim(f.text("T_zdy_yongyu_0")) + "@-@" +
                          Trim(f.text("T_zdy_yongyu_1")) + "@-@" + Trim(f.text("T_zdy_yongyu_2")));
  if (WriteTextFile(cx.data.phrases(), line))
    cx.inform(tx::kSaved, tx::kSavedTitle);
  else
    cx.inform(tx::kSaveFailed, tx::kSaveFailedTitle);
}

void RecomputeToleranceSet(PlanEnv& env) {
  Context& cx = env.cx;
  int n = ReadInt(Trim(cx.form.text("T_jh_dadi_chongfu_cs")));
  std::string acc = Trim(cx.form.text("T_jh_dadi_chongfu_rc"));
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
