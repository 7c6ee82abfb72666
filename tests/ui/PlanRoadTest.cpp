// The road of a new draw through the window: lumora-feed over real HTTP gives the first history,
// "开始计划" starts the plan, and each further draw is judged, recorded, booked and followed by
// the next plan's pending line; the monitor board gains a row per draw.
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <filesystem>

#include "core/Text.h"
#include "plan/PlanTexts.h"
#include "session/AfterDraw.h"
#include "ui/support/UiTest.h"

namespace lumora {
namespace {

using uitest::FeedChild;

struct PlanRoadTest : uitest::WindowTest {
  QTemporaryDir data;
  FeedChild feed;

  void SetUp() override {
    std::filesystem::copy(std::getenv("LUMORA_DATA"), data.path().toStdString(),
                          std::filesystem::copy_options::recursive);
    session.cx.data = DataFolder(data.path().toStdString());
    UseRealHttp();
    WindowTest::SetUp();
    window->resize(1280, 800);
    window->show();
    bool started = false;
    shell->run([&started](Session& s) { started = StartupDefaults(s); });
    ASSERT_TRUE(started);
    prompter.notices.clear();
  }
  std::vector<std::string> RecordLines() {
    return SplitCrLf(ToCrLf(Find<QPlainTextEdit>("T_jh_dadi_jilu")->toPlainText().toStdString()));
  }
  int BoardRows() {
    int rows = 0;
    for (const auto& slot : session.plan.board) rows += slot[16] == 1;
    return rows;
  }
  void Shot(const char* page, const char* file) {
    const QByteArray dir = qgetenv("LUMORA_SHOT_DIR");
    if (dir.isEmpty()) return;
    Click(page);
    QTest::qWait(200);
    window->grab().save(QString(dir) + "/" + file);
  }
};

TEST_F(PlanRoadTest, DrawsFromTheFeedAreJudgedRecordedAndBooked) {
  ASSERT_TRUE(feed.start({"--seed", "11", "--interval", "2"}));
  session.cx.service.feedEndpoint = feed.url("/feed");
  Find<QCheckBox>("Check_pszj_sx")->setChecked(true);

  FetchNextDraw();  // the first history: nothing is judged
  EXPECT_EQ(Find<QLabel>("Tnew")->text(), "开奖完毕");
  EXPECT_EQ(BoardRows(), 0);
  Click("C_sst_0_2");
  Click("C_jihua_ks");
  const std::string pool = session.cx.form.text("T_jihua_jj_dadi");
  ASSERT_FALSE(pool.empty());
  auto lines = RecordLines();
  ASSERT_FALSE(lines.empty());

  for (int draw = 1; draw <= 2; ++draw) {
    QTest::qWait(2100);  // the feed's next draw
    FetchNextDraw();
    EXPECT_EQ(BoardRows(), draw);
  }
  const std::string next = FollowingPeriod(session.cx.draws.history[1].period);
  const std::string judged = session.cx.draws.history[1].period;
  lines = RecordLines();
  // The record: the rule, the judged lines, the next period's pending line, then the summary.
  auto pending = std::find_if(lines.begin(), lines.end(), [&](const std::string& l) {
    return l.find(next + plan_text::kHidden + plan_text::kSingleWindow + "-" + plan_text::kWaiting) != std::string::npos;
  });
  ASSERT_NE(pending, lines.end()) << Find<QPlainTextEdit>("T_jh_dadi_jilu")->toPlainText().toStdString();
  ASSERT_NE(pending, lines.begin());
  const std::string& last = *(pending - 1);
  EXPECT_NE(last.find(judged + plan_text::kOpened + session.cx.draws.history[1].digits), std::string::npos) << last;
  EXPECT_EQ(session.plan.recordIndex, 2);
  EXPECT_EQ(session.plan.justJudged, 0);
  EXPECT_NE(session.plan.lastJudgeResult, 0);
  // "显示统计利润信息": the statistics summary stands under the record.
  EXPECT_NE(std::find(pending, lines.end(), plan_text::kRule), lines.end());
  EXPECT_FALSE(session.stats.plan().summary.empty());
  EXPECT_NE(Find<QPlainTextEdit>("T_jh_dadi_jilu")->toPlainText().toStdString().find(session.stats.plan().summary.substr(0, 20)),
            std::string::npos);

  Shot("C_sst_0_2", "plan-tab.png");
  Shot("C_sst_0_3", "monitor-tab.png");
}

}  // namespace
}  // namespace lumora
