// The main window driven through its widgets: navigation, the draw feed over real HTTP from
// lumora-feed on 127.0.0.1, deletion and manual entry, the small windows and closing.
#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>

#include "alarm/Notices.h"
#include "core/Text.h"
#include "core/Version.h"
#include "core/controls/Fadd.h"
#include "core/controls/Fbj.h"
#include "core/controls/Fmain.h"
#include "core/controls/Ftishi.h"
#include "session/AfterDraw.h"
#include "session/DrawCycle.h"
#include "ui/support/UiTest.h"

namespace lumora {
namespace {

struct MainWindowTest : uitest::WindowTest {
  RecordingSound sound;
  std::vector<std::string> applied;

  void SetUp() override {
    UseShippedData();
    session.cx.ports.sound = &sound;
    session.drawApplied = [this](const DrawRecord& r) { applied.push_back(r.period); };
    UseRealHttp();
    WindowTest::SetUp();
    StartProgram();
    prompter.notices.clear();
  }
  int HistoryLines() {
    return static_cast<int>(SplitCrLf(ToCrLf(Find<QPlainTextEdit>(fmain::Tkjh)->toPlainText().toStdString())).size());
  }
};

TEST_F(MainWindowTest, NavigationShowsOnePageAndMarksItsButton) {
  EXPECT_TRUE(Find<QWidget>(fmain::Frame_ding[1])->isVisibleTo(window.get()));
  EXPECT_FALSE(Find<QWidget>(fmain::Frame_ding[2])->isVisibleTo(window.get()));
  Click(fmain::C_sst_0[3]);
  for (int k = 1; k <= 5; ++k) EXPECT_EQ(Find<QWidget>(fmain::Frame_ding[k])->isVisibleTo(window.get()), k == 3) << k;
  EXPECT_EQ(Find<QPushButton>(fmain::C_sst_0[3])->palette().color(QPalette::Button), QColor("#00ffff"));
  EXPECT_EQ(Find<QPushButton>(fmain::C_sst_0[1])->palette().color(QPalette::Button), QColor("#80ff80"));
  const char* const captions[6] = {"", "画线界面", "计划界面", "监控界面", "胆码排序", "附加功能"};
  for (int k = 1; k <= 5; ++k) {
    if (auto* page = Find<QGroupBox>(fmain::Frame_ding[k])) {
      EXPECT_EQ(page->title().toStdString(), captions[k]);
    }
  }
  EXPECT_EQ(Status(), "更新倒计时");
  EXPECT_TRUE(Find<QCheckBox>(fmain::Cauto)->isChecked());
  EXPECT_TRUE(Find<QRadioButton>(fmain::Op_3x_moshi[0])->isChecked());
}

TEST_F(MainWindowTest, OnASmallScreenTheWindowFitsAndItsPagesScroll) {
  // The test screen (800 × 600) is far smaller than the pages.
  window->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
  const QSize screen = window->screen()->availableGeometry().size();
  ASSERT_GT(window->naturalSize().width(), screen.width());
  EXPECT_LE(window->frameGeometry().width(), screen.width());
  EXPECT_LE(window->frameGeometry().height(), screen.height());
  // The part of a page beyond the window is reached by scrolling.
  auto* scroller = window->findChild<QScrollArea*>();
  ASSERT_NE(scroller, nullptr);
  EXPECT_TRUE(scroller->horizontalScrollBar()->isVisible());
  EXPECT_GT(scroller->horizontalScrollBar()->maximum(), 0);
  // With room for the whole page nothing scrolls.
  window->resize(4000, 3000);
  QTest::qWait(50);
  EXPECT_FALSE(scroller->horizontalScrollBar()->isVisible());
}

TEST_F(MainWindowTest, FeedOverHttpThenDeletionAndManualEntry) {
  uitest::FeedChild feed;
  ASSERT_TRUE(feed.start({"--seed", "7", "--interval", "3600"}));
  session.cx.service.feedEndpoint = feed.url("/feed");

  Click(fmain::Cshoudong);
  EXPECT_FALSE(Find<QPushButton>(fmain::Cshoudong)->isEnabled());
  EXPECT_TRUE(uitest::Eventually([&] { return Status() == "开奖完毕"; }, 10000));
  EXPECT_EQ(HistoryLines(), 120);
  EXPECT_TRUE(Find<QPlainTextEdit>(fmain::Tkjh)->toPlainText().startsWith("第"));
  ASSERT_EQ(applied.size(), 1u);
  EXPECT_EQ(session.cx.draws.updateCount, 1);
  std::string newest = session.cx.draws.history[1].period;

  // The same feed again: nothing new. While automatic update was on the button stayed disabled;
  // the countdown's 25th tick with it off enables it again.
  Find<QCheckBox>(fmain::Cauto)->setChecked(false);
  EXPECT_FALSE(Find<QPushButton>(fmain::Cshoudong)->isEnabled());
  for (int tick = 0; tick < 25; ++tick) shell->run([](Session& s) { UpdateCountdownTick(s); });
  EXPECT_TRUE(Find<QPushButton>(fmain::Cshoudong)->isEnabled());
  Click(fmain::Cshoudong);
  EXPECT_TRUE(uitest::Eventually([&] { return Status() == "没有更新"; }, 10000));
  EXPECT_TRUE(Find<QPushButton>(fmain::Cshoudong)->isEnabled());

  // Deletion: a cancelled count changes nothing; 3 winds back three draws.
  prompter.yesNoAnswers = {true, true};
  Click(fmain::C_kjh_shanchu);
  EXPECT_EQ(session.cx.draws.history[1].period, newest);
  prompter.yesNoAnswers = {true, true};
  prompter.textAnswers = {std::string("3")};
  Click(fmain::C_kjh_shanchu);
  EXPECT_EQ(session.cx.draws.history[1], session.cx.draws.deep[4]);
  EXPECT_EQ(prompter.lastText(), "删除成功");
  EXPECT_FALSE(Find<QCheckBox>(fmain::Cauto)->isChecked());

  // Manual entry through Fadd: a short draw refused, a good one taken.
  Click(fmain::C_rulu_kjh);
  auto* fadd = Find<QWidget>(fadd::window);
  ASSERT_TRUE(fadd->isVisible());
  auto* entry = uitest::Find<QLineEdit>(fadd, fadd::T_total_renshu);
  EXPECT_EQ(entry->text().toStdString(), FollowingPeriod(session.cx.draws.history[1].period) + "-12345");
  entry->setText("999-1234");
  uitest::Click(fadd, fadd::C_rulu_kjh);
  EXPECT_EQ(prompter.lastText(), "开奖号错误");
  EXPECT_TRUE(fadd->isVisible());
  entry->setText("999-12345");
  uitest::Click(fadd, fadd::C_rulu_kjh);
  EXPECT_FALSE(fadd->isVisible());
  EXPECT_TRUE(Find<QPlainTextEdit>(fmain::Tkjh)->toPlainText().startsWith("第999期：12345"));
  // Closed by the user and opened again: it shows again.
  Click(fmain::C_rulu_kjh);
  EXPECT_TRUE(fadd->isVisible());
  fadd->close();
  Click(fmain::C_rulu_kjh);
  EXPECT_TRUE(fadd->isVisible());
}

TEST_F(MainWindowTest, SubGameOptionRebuildsTheSeries) {
  for (int i = 1; i <= 120; ++i) session.cx.draws.incoming[i] = DrawRecord{Pad(121 - i, 3), "12345"};
  shell->run([](Session& s) { ApplyDraws(s); });
  window->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
  QTest::mouseClick(Find<QRadioButton>(fmain::Op_3x_moshi[2]), Qt::LeftButton);
  EXPECT_EQ(session.cx.draws.subStart, 1);
  EXPECT_EQ(session.cx.draws.subSeries[119], "123");
  QTest::mouseClick(Find<QRadioButton>(fmain::Op_3x_moshi[1]), Qt::LeftButton);
  EXPECT_EQ(session.cx.draws.subSeries[0], "234");
}

TEST_F(MainWindowTest, CopyNoticeAndAlarmWindowCloseThemselves) {
  shell->run([](Session& s) { ShowCopyNotice(s.cx); });
  auto* notice = Find<QWidget>(ftishi::window);
  EXPECT_TRUE(notice->isVisible());
  EXPECT_TRUE(uitest::Eventually([&] { return !notice->isVisible(); }, 3000));

  shell->run([](Session& s) { RaiseAlarm(s.cx, s.alarm); });
  auto* alarm = Find<QWidget>(fbj::window);
  EXPECT_TRUE(alarm->isVisible());
  ASSERT_TRUE(uitest::Eventually([&] { return sound.played.size() == 1; }, 2000));
  EXPECT_EQ(sound.played[0], session.cx.data.alarmSound().string());
  EXPECT_TRUE(
      uitest::Eventually([&] { return alarm->findChild<QLabel*>(ObjectName(fbj::L20s))->text() == "8"; }, 3000));
  EXPECT_TRUE(uitest::Eventually([&] { return !alarm->isVisible(); }, 9000));
}

TEST_F(MainWindowTest, CloseAsksAndNoKeepsTheWindow) {
  window->show();
  prompter.yesNoAnswers = {false};
  window->close();
  EXPECT_TRUE(window->isVisible());
  EXPECT_EQ(prompter.questions.back().text, "是否要关闭软件？");
  prompter.yesNoAnswers = {true};
  window->close();
  EXPECT_TRUE(uitest::Eventually([&] { return !window->isVisible(); }, 3000));
}

TEST_F(MainWindowTest, TheAboutBoxNamesTheVersionTheCommitAndTheLicence) {
  QPushButton* about = nullptr;
  for (auto* b : window->findChildren<QPushButton*>())
    if (b->text() == "关于") about = b;
  ASSERT_NE(about, nullptr);
  about->click();
  ASSERT_EQ(prompter.notices.size(), 1u);
  EXPECT_EQ(prompter.notices[0].title, "关于 Lumora");
  const std::string& text = prompter.notices[0].text;
  EXPECT_EQ(text.rfind(std::string("Lumora ") + kVersion + " (commit " + kCommit + ")\n", 0), 0u) << text;
  EXPECT_NE(text.find("GPL-3.0-or-later"), std::string::npos) << text;
}

}  // namespace
}  // namespace lumora
