#include "plan/PlanJudgement.h"

#include <algorithm>
#include <cstdint>

#include "alarm/Notices.h"
#include "core/History.h"
#include "core/Text.h"
#include "core/controls/Fmain.h"
#include "plan/PlanRecord.h"
#include "plan/PlanTexts.h"

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

// The standing plan's period has no draw in the history: its line says so, nothing is booked, and
// the next plan takes a slot of its own.
void RecordNotJudged(PlanEnv& env, const DrawRecord& after) {
  Context& cx = env.cx;
  const Form& f = cx.form;
  PlanState& plan = env.plan;
  const std::string period = FollowingPeriod(after.period);
  const std::string why = DrawMissingText(after);
  std::string line = RecordLineHead(cx) + period + tx::kHidden +
                     (f.checked(fmain::Check_duoqi) ? MultiPeriodWindow(cx, plan.multiPeriodCounter)
                                                    : std::string(tx::kSingleWindow)) +
                     tx::kNotJudged;
  plan.lastJudgedLine = Trim(line);
  plan.recordLines[static_cast<size_t>(plan.recordIndex)] = plan.lastJudgedLine;
  cx.form.setText(fmain::Tnew, std::string(cx.form.text(fmain::Tnew)) + tx::kNotJudgedStatusBefore + period +
                                   tx::kNotJudgedStatusAfter + why);
  cx.recorder().planNotJudged({period, why, plan.lastJudgedLine});
  plan.justJudged = 0;
}

}  // namespace

const DrawRecord& PlanMadeAfter(const Context& cx, const PlanState& plan) {
  return plan.planAfter.empty() ? cx.draws.previousNewest : plan.planAfter;
}

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

  std::string hitPhrase = Trim(f.text(fmain::T_zdy_yongyu[0])), missPhrase = Trim(f.text(fmain::T_zdy_yongyu[1]));
  size_t hitLen = CharCount(hitPhrase), missLen = CharCount(missPhrase);
  size_t fill = missLen < hitLen ? hitLen - missLen : 0;
  int32_t c0 = plan.multiPeriodCounter;

  st.active = 1;
  st.periods += 1;
  st.poolSize = f.value(fmain::T_jihua_jj_dadi_zhushu);

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
      if (f.checked(fmain::Ch_jiankong_jj[j]) && inSet(plan.monitorPools[static_cast<size_t>(j)])) ++n;
    return n;
  };
  std::string countsLine;  // the CountsLine of T_jh_dadi_jilu_rc
  if (f.checked(fmain::Check_jh_dadi_fenzu)) {
    countsLine = tx::kModeTwoCounts;
  } else {
    int r = f.value(fmain::T_jh_dadi_chongfu_cs);
    if (r > 1) {
      // Results beyond the stored ones (the count was raised after the last mode-one run) are
      // not there to count.
      int n = 0, upto = std::min(r, plan.repeatUpper());
      for (int k = 1; k <= upto; ++k) n += inSet(plan.repeatResults[static_cast<size_t>(k)]) ? 1 : 0;
      countsLine = std::to_string(r) + "-" + std::to_string(n);
    } else {
      countsLine = f.text(fmain::T_jiankong_15di_geshu) + "-" + std::to_string(tickedCount());
    }
  }

  bool hit = inPool(f.text(fmain::T_jihua_jj_dadi));
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
  if (f.checked(fmain::Check_hang_lr)) {
    if (!hit) profitText = std::string(fill * 2, ' ');
    profitText += std::string(tx::kProfit) + std::to_string(st.profit);
  }

  std::string line = RecordLineHead(cx) + draw.period + tx::kOpened + draw.digits +
                     (f.checked(fmain::Check_duoqi) ? MultiPeriodWindow(cx, c0) : std::string(tx::kSingleWindow)) +
                     phrase + profitText;
  plan.lastJudgedLine = Trim(line);
  plan.recordLines[static_cast<size_t>(plan.recordIndex)] = plan.lastJudgedLine;
  cx.recorder().planJudged(
      {draw.period, draw.digits, hit, st.profit - profitBefore, st.profit, StatsSchemeName(st), plan.lastJudgedLine});

  // Like the plan record, the counts record keeps the newest lines only: left running for days it
  // would otherwise grow by a line a period without end, and be laid out whole every period.
  f.setText(fmain::T_jh_dadi_jilu_rc,
            std::string(LastCrLfLines(f.text(fmain::T_jh_dadi_jilu_rc) + countsLine + "\r\n", kRecordSlots - 1)));

  if (CharCount(plan.hitMissTrail) > static_cast<size_t>(kTrailLength))
    plan.hitMissTrail = LastChars(plan.hitMissTrail, kTrailLength);

  TestAlarmPattern(cx, env.alarm, plan.hitMissTrail);

  if (f.checked(fmain::Check_duoqi) && !hit) {
    double n = f.value(fmain::T_duoqi);
    plan.multiPeriodCounter = plan.multiPeriodCounter >= n ? 1 : plan.multiPeriodCounter + 1;
  }
  plan.justJudged = 1;
}

}  // namespace lumora
