// The road of a new draw through the window: lumora-feed over real HTTP gives the first history,
// "开始计划" starts the plan, and each further draw is judged, recorded, booked and followed by
// the next plan's pending line; the monitor board gains a row per draw.
#include <QCheckBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <fstream>

#include "core/History.h"
#include "core/NumberSet.h"
#include "core/Text.h"
#include "core/controls/Fmain.h"
#include "plan/PlanTexts.h"
#include "session/AfterDraw.h"
#include "ui/support/UiTest.h"

namespace lumora {
namespace {

using uitest::FeedChild;

struct PlanRoadTest : uitest::WindowTest {
  FeedChild feed;

  void SetUp() override {
    UseDataCopy();
    UseRealHttp();
    WindowTest::SetUp();
    window->resize(1280, 800);
    window->show();
    StartProgram();
    prompter.notices.clear();
  }
  std::vector<std::string> RecordLines() {
    return SplitCrLf(ToCrLf(Find<QPlainTextEdit>(fmain::T_jh_dadi_jilu)->toPlainText().toStdString()));
  }
  int BoardRows() {
    int rows = 0;
    for (const auto& slot : session.plan.board) rows += slot[16] == 1;
    return rows;
  }
  void Shot(Button page, const char* file) {
    if (uitest::ShotDir().isEmpty()) return;
    Click(page);
    QTest::qWait(200);
    window->grab().save(uitest::ShotDir() + "/" + file);
  }
};

TEST_F(PlanRoadTest, DrawsFromTheFeedAreJudgedRecordedAndBooked) {
  ASSERT_TRUE(feed.start({"--seed", "11", "--interval", "2"}));
  session.cx.service.feedEndpoint = feed.url("/feed");
  Find<QCheckBox>(fmain::Check_pszj_sx)->setChecked(true);

  FetchNextDraw();  // the first history: nothing is judged
  EXPECT_EQ(Status(), "开奖完毕");
  EXPECT_EQ(BoardRows(), 0);
  Click(fmain::C_sst_0[2]);
  Click(fmain::C_jihua_ks);
  const std::string pool = session.cx.form.text(fmain::T_jihua_jj_dadi);
  ASSERT_FALSE(pool.empty());
  auto lines = RecordLines();
  ASSERT_FALSE(lines.empty());

  DrawRecord planAfter;
  for (int draw = 1; draw <= 2; ++draw) {
    QTest::qWait(2100);  // the feed's next draw
    planAfter = session.cx.draws.history[1];
    FetchNextDraw();
    EXPECT_EQ(BoardRows(), draw);
  }
  const std::string next = FollowingPeriod(session.cx.draws.history[1].period);
  // The plan is judged against its own period's draw (the newest, unless the answer brought two).
  const int judgedRow = RowOfDrawAfter(session.cx.draws, planAfter);
  ASSERT_GT(judgedRow, 0);
  const std::string judged = session.cx.draws.history[static_cast<size_t>(judgedRow)].period;
  lines = RecordLines();
  // The record: the rule, the judged lines, the next period's pending line, then the summary.
  auto pending = std::find_if(lines.begin(), lines.end(), [&](const std::string& l) {
    return l.find(next + plan_text::kHidden + plan_text::kSingleWindow + "-" + plan_text::kWaiting) !=
           std::string::npos;
  });
  ASSERT_NE(pending, lines.end()) << Find<QPlainTextEdit>(fmain::T_jh_dadi_jilu)->toPlainText().toStdString();
  ASSERT_NE(pending, lines.begin());
  const std::string& last = *(pending - 1);
  EXPECT_NE(last.find(judged + plan_text::kOpened + session.cx.draws.history[static_cast<size_t>(judgedRow)].digits),
            std::string::npos)
      << last;
  EXPECT_EQ(session.plan.recordIndex, 2);
  EXPECT_EQ(session.plan.justJudged, 0);
  EXPECT_NE(session.plan.lastJudgeResult, 0);
  // "显示统计利润信息": the statistics summary stands under the record.
  EXPECT_NE(std::find(pending, lines.end(), plan_text::kRule), lines.end());
  EXPECT_FALSE(session.stats.plan().summary.empty());
  EXPECT_NE(Find<QPlainTextEdit>(fmain::T_jh_dadi_jilu)
                ->toPlainText()
                .toStdString()
                .find(session.stats.plan().summary.substr(0, 20)),
            std::string::npos);

  Shot(fmain::C_sst_0[2], "plan-tab.png");
  Shot(fmain::C_sst_0[3], "monitor-tab.png");
}

// A feed faster than the requests (or an outage, or a sleeping computer): one answer brings several
// new draws. The plan is judged against the draw of the period it was made for, read here from
// the very file the feed serves, not against the newest draw of the answer.
TEST_F(PlanRoadTest, AnAnswerWithSeveralDrawsJudgesThePlanOfItsOwnPeriod) {
  std::vector<DrawRecord> file;
  std::string text;
  uint32_t x = 20261209;
  for (int i = 0; i < 200; ++i) {
    x = x * 1103515245u + 12345u;
    file.push_back({Pad(i % 120 + 1, 3), Pad(static_cast<int64_t>((x >> 8) % 100000), 5)});
    text += file.back().period + "-" + file.back().digits + "\n";
  }
  const std::string drawsFile = dataCopy->path().toStdString() + "/draws.txt";
  std::ofstream(drawsFile) << text;
  ASSERT_TRUE(feed.start({"--draws", QString::fromStdString(drawsFile), "--interval", "1"}));
  session.cx.service.feedEndpoint = feed.url("/feed");

  FetchNextDraw();
  Click(fmain::C_sst_0[2]);
  Click(fmain::C_jihua_ks);
  const DrawRecord anchor = session.cx.draws.history[1];
  const NumberSet pool = NumberSet::FromText(session.cx.form.text(fmain::T_jihua_jj_dadi));
  const auto at = std::find(file.begin(), file.end(), anchor);
  ASSERT_NE(at, file.end());
  ASSERT_NE(at + 1, file.end());
  const DrawRecord own = *(at + 1);  // the draw of the plan's own period, as the file has it

  QTest::qWait(3300);  // three or more new draws by the next request
  FetchNextDraw();
  ASSERT_NE(session.cx.draws.history[1], own) << "the answer brought only one draw";
  const bool hit = pool.contains(session.cx.draws.subNumberOf(own.digits));
  EXPECT_NE(session.plan.recordLines[0].find(own.period + plan_text::kOpened + own.digits), std::string::npos)
      << session.plan.recordLines[0];
  EXPECT_EQ(session.stats.plan().periods, 1);
  EXPECT_EQ(session.stats.plan().hits, hit ? 1 : 0);
  EXPECT_EQ(session.plan.hitMissTrail, hit ? plan_text::kHit : plan_text::kMiss);
  EXPECT_EQ(session.plan.board[1][15], ReadInt(own.period));
}

}  // namespace
}  // namespace lumora
