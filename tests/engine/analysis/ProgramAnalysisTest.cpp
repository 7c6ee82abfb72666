// What the analysis window's runs are made of, without the window: the draw file reader, the job
// copied from a session, the sweep text, and the risk of ruin of a run.
#include <gtest/gtest.h>

#include <atomic>

#include "analysis/ProgramAnalysis.h"
#include "analysis/RunRisk.h"
#include "core/controls/Fmain.h"
#include "money/Fund.h"
#include "plan/PlanDefaults.h"
#include "settings/SchemeFile.h"

namespace lumora {
namespace {

TEST(ProgramAnalysis, TheJobIsACopyOfTheSessionsSettings) {
  Session s;
  ApplyPlanDesignValues(s.cx.form);
  ApplyFundDesignValues(s.cx.form);
  PresetPlanStats(s.stats);
  s.stats.plan().betMode = kStatsMultiplier;
  s.stats.plan().multiples = {1, 2, 4};
  s.cx.form.setText(fmain::T_zijin[1], "88.5");
  s.cx.draws.subStart = 2;
  s.cx.draws.history[1] = {"003", "33333"};
  s.cx.draws.history[2] = {"002", "22222"};
  s.cx.draws.history[3] = {"001", "11111"};
  const AnalysisJob job = CopyAnalysisJob(s);
  EXPECT_EQ(job.error, "");
  EXPECT_EQ(job.settings.stats, "multiplier:1-2-4");
  EXPECT_EQ(job.settings.odds, 1940);
  EXPECT_EQ(job.settings.start, 2);
  EXPECT_EQ(job.settings.schemeText, BuildSchemeText(s.cx.form).text);
  EXPECT_FLOAT_EQ(job.fund.current, 88.5f);
  ASSERT_EQ(job.draws.size(), 3u);
  EXPECT_EQ(job.draws.front().period, "001");  // oldest first
  EXPECT_EQ(job.draws.back().period, "003");
  // A one-multiple sequence still names a sequence the statistics accept.
  s.stats.plan().multiples = {3};
  EXPECT_EQ(StatsSchemeText(s.stats.plan()), "multiplier:3-3");
  s.stats.plan().betMode = kStatsPushWave;
  s.stats.plan().pushPeriods = 4;
  EXPECT_EQ(StatsSchemeText(s.stats.plan()), "push-wave:4");

  // A record the settings never filled keeps the default scheme.
  Session bare;
  EXPECT_EQ(CopyAnalysisJob(bare).settings.stats, "");

  // The copy is all a run sees: 120 draws only warm up, and the refusal says so.
  std::atomic<bool> cancel{false};
  const AnalysisOutcome few = RunAnalysisJob(job, cancel, {});
  EXPECT_NE(few.error.find("只有 3 期开奖"), std::string::npos) << few.error;
}

TEST(ProgramAnalysis, SweepTextIsOneControlWithValues) {
  const std::string box = fmain::T_jh_dadi_chongfu_cs.name();  // as the player types it
  std::vector<SweepAxis> axes;
  EXPECT_EQ(ParseSweepText("  ", axes), "");
  EXPECT_TRUE(axes.empty());
  EXPECT_EQ(ParseSweepText(box + " = 6, 9 ,12", axes), "");
  ASSERT_EQ(axes.size(), 1u);
  EXPECT_EQ(axes[0].name, box);
  EXPECT_EQ(axes[0].values, (std::vector<std::string>{"6", "9", "12"}));
  EXPECT_NE(ParseSweepText(box + "=", axes), "");
  EXPECT_NE(ParseSweepText("=6,9", axes), "");
  EXPECT_NE(ParseSweepText(box + "=6,,9", axes), "");
  // Values are checked against the control's kind before anything runs, as in the cli.
  EXPECT_NE(ParseSweepText(box + "=6,abc", axes).find("\"abc\" is not a value of " + box), std::string::npos);
}

TEST(ProgramAnalysis, RiskOfARunUsesItsMeanPool) {
  const std::vector<JudgedPeriod> periods = {{0, false, 0, 0}, {10, false, -20, 20}, {30, true, 1880, 80}};
  const RunRiskFigures r = RiskOfRun(RiskScheme{}, DesignFund(), periods);
  ASSERT_TRUE(r.asked);
  EXPECT_EQ(r.question.poolSize, 13);  // 40 numbers over 3 periods
  EXPECT_EQ(r.question.draws, 3);
  EXPECT_EQ(r.question.capital, 13000);
  EXPECT_EQ(r.question.stopLoss, 500);
  EXPECT_EQ(r.question.takeProfit, 30000);
  EXPECT_NE(RiskLine(r).find("(pool 13, 3 draws)"), std::string::npos) << RiskLine(r);
  EXPECT_EQ(RiskLine(RiskOfRun(RiskScheme{}, DesignFund(), {{0, false, 0, 0}})),
            "risk of ruin not worked out: the pools were too small to bet (mean 0)");
  EXPECT_EQ(RiskLine(RiskOfRun(RiskScheme{}, DesignFund(), {})), "");
  BacktestSettings settings;
  settings.stats = "push-wave:3";
  settings.odds = 1800;
  const RiskScheme scheme = RiskSchemeOf(settings);
  EXPECT_EQ(scheme.mode, kStatsPushWave);
  EXPECT_EQ(scheme.pushPeriods, 3);
  EXPECT_EQ(scheme.odds, 1800);
}

}  // namespace
}  // namespace lumora
