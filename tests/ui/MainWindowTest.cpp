// The main window driven through its widgets: navigation, the draw feed over real HTTP from
// lumora-feed on 127.0.0.1, deletion and manual entry, the small windows and closing.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <unistd.h>

#include "alarm/Notices.h"
#include "core/RecordingPorts.h"
#include "core/Text.h"
#include "session/AfterDraw.h"
#include "session/DrawCycle.h"
#include "ui/MainWindow.h"
#include "ui/QtPorts.h"
#include "ui/Shell.h"

namespace lumora {
namespace {

QApplication& App() {
  static int argc = 1;
  static char name[] = "ui_MainWindowTest";
  static char* argv[] = {name, nullptr};
  static QApplication* app = new QApplication(argc, argv);
  return *app;
}

// lumora-feed on a loopback port of its own, for the whole test program.
struct FeedServer {
  QProcess process;
  int port = 0;
  bool start() {
    const char* bin = std::getenv("LUMORA_BIN");
    if (!bin) return false;
    port = 20000 + static_cast<int>(::getpid() % 20000);
    process.start(QString(bin) + "/lumora-feed",
                  {"--port", QString::number(port), "--seed", "7", "--interval", "3600", "--quiet"});
    if (!process.waitForStarted(5000)) return false;
    QTest::qWait(400);
    return process.state() == QProcess::Running;
  }
  ~FeedServer() {
    process.terminate();
    process.waitForFinished(3000);
  }
};

struct MainWindowTest : ::testing::Test {
  Session session;
  RecordingPrompter prompter;
  RecordingClipboard clipboard;
  RecordingSound sound;
  std::unique_ptr<Shell> shell;
  std::unique_ptr<QtHttp> http;
  std::unique_ptr<MainWindow> window;
  std::vector<std::string> applied;

  void SetUp() override {
    App();
    session.cx.data = DataFolder(std::getenv("LUMORA_DATA"));
    shell = std::make_unique<Shell>(session);
    http = std::make_unique<QtHttp>([this](std::function<void()> f) { shell->run([f](Session&) { f(); }); });
    session.cx.ports.prompter = &prompter;
    session.cx.ports.clipboard = &clipboard;
    session.cx.ports.sound = &sound;
    session.cx.ports.http = http.get();
    session.drawApplied = [this](const DrawRecord& r) { applied.push_back(r.period); };
    window = std::make_unique<MainWindow>(*shell);
    bool started = false;
    shell->run([&started](Session& s) { started = StartupDefaults(s); });
    ASSERT_TRUE(started);
    prompter.notices.clear();
  }
  template <typename W>
  W* Find(const char* name) {
    W* w = window->findChild<W*>(name);
    EXPECT_NE(w, nullptr) << name;
    return w;
  }
  void Click(const char* name) { QTest::mouseClick(Find<QPushButton>(name), Qt::LeftButton); }
  int HistoryLines() { return static_cast<int>(SplitCrLf(ToCrLf(Find<QPlainTextEdit>("Tkjh")->toPlainText().toStdString())).size()); }
};

TEST_F(MainWindowTest, NavigationShowsOnePageAndMarksItsButton) {
  EXPECT_TRUE(Find<QWidget>("Frame_ding_1")->isVisibleTo(window.get()));
  EXPECT_FALSE(Find<QWidget>("Frame_ding_2")->isVisibleTo(window.get()));
  Click("C_sst_0_3");
  for (int k = 1; k <= 5; ++k)
    EXPECT_EQ(Find<QWidget>(Indexed("Frame_ding", k).c_str())->isVisibleTo(window.get()), k == 3) << k;
  EXPECT_TRUE(Find<QPushButton>("C_sst_0_3")->styleSheet().contains("#00ffff"));
  EXPECT_TRUE(Find<QPushButton>("C_sst_0_1")->styleSheet().contains("#80ff80"));
  EXPECT_EQ(Find<QLabel>("Tnew")->text(), "更新倒计时");
  EXPECT_TRUE(Find<QCheckBox>("Cauto")->isChecked());
  EXPECT_TRUE(Find<QRadioButton>("Op_3x_moshi_0")->isChecked());
}

TEST_F(MainWindowTest, FeedOverHttpThenDeletionAndManualEntry) {
  FeedServer server;
  ASSERT_TRUE(server.start());
  session.cx.service.feedEndpoint = "http://127.0.0.1:" + std::to_string(server.port) + "/feed";

  Click("Cshoudong");
  EXPECT_FALSE(Find<QPushButton>("Cshoudong")->isEnabled());
  QTRY_COMPARE_WITH_TIMEOUT(Find<QLabel>("Tnew")->text(), QString("开奖完毕"), 10000);
  EXPECT_EQ(HistoryLines(), 120);
  EXPECT_TRUE(Find<QPlainTextEdit>("Tkjh")->toPlainText().startsWith("第"));
  ASSERT_EQ(applied.size(), 1u);
  EXPECT_EQ(session.cx.draws.updateCount, 1);
  std::string newest = session.cx.draws.history[1].period;

  // The same feed again: nothing new.
  Find<QCheckBox>("Cauto")->setChecked(false);
  Click("Cshoudong");
  QTRY_COMPARE_WITH_TIMEOUT(Find<QLabel>("Tnew")->text(), QString("没有更新"), 10000);
  EXPECT_TRUE(Find<QPushButton>("Cshoudong")->isEnabled());

  // Deletion: a cancelled count changes nothing; 3 winds back three draws.
  prompter.yesNoAnswers = {true, true};
  Click("C_kjh_shanchu");
  EXPECT_EQ(session.cx.draws.history[1].period, newest);
  prompter.yesNoAnswers = {true, true};
  prompter.textAnswers = {std::string("3")};
  Click("C_kjh_shanchu");
  EXPECT_EQ(session.cx.draws.history[1], session.cx.draws.deep[4]);
  EXPECT_EQ(prompter.lastText(), "删除成功");
  EXPECT_FALSE(Find<QCheckBox>("Cauto")->isChecked());

  // Manual entry through Fadd.
  Click("C_rulu_kjh");
  auto* fadd = Find<QWidget>("Fadd");
  ASSERT_TRUE(fadd->isVisible());
  auto* entry = fadd->findChild<QLineEdit*>("T_total_renshu");
  EXPECT_EQ(entry->text().toStdString(), FollowingPeriod(session.cx.draws.history[1].period) + "-12345");
  entry->setText("999-1234");
  QTest::mouseClick(fadd->findChild<QPushButton*>("C_rulu_kjh"), Qt::LeftButton);
  EXPECT_EQ(prompter.lastText(), "开奖号错误");
  EXPECT_TRUE(fadd->isVisible());
  entry->setText("999-12345");
  QTest::mouseClick(fadd->findChild<QPushButton*>("C_rulu_kjh"), Qt::LeftButton);
  EXPECT_FALSE(fadd->isVisible());
  EXPECT_TRUE(Find<QPlainTextEdit>("Tkjh")->toPlainText().startsWith("第999期：12345"));
  // Closed by the user and opened again: it shows again.
  Click("C_rulu_kjh");
  EXPECT_TRUE(fadd->isVisible());
  fadd->close();
  Click("C_rulu_kjh");
  EXPECT_TRUE(fadd->isVisible());
}

TEST_F(MainWindowTest, SubGameOptionRebuildsTheSeries) {
  for (int i = 1; i <= 120; ++i) session.cx.draws.incoming[i] = DrawRecord{Pad(121 - i, 3), "12345"};
  shell->run([](Session& s) { ApplyDraws(s); });
  window->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
  QTest::mouseClick(Find<QRadioButton>("Op_3x_moshi_2"), Qt::LeftButton);
  EXPECT_EQ(session.cx.draws.subStart, 1);
  EXPECT_EQ(session.cx.draws.subSeries[119], "123");
  QTest::mouseClick(Find<QRadioButton>("Op_3x_moshi_1"), Qt::LeftButton);
  EXPECT_EQ(session.cx.draws.subSeries[0], "234");
}

TEST_F(MainWindowTest, CopyNoticeAndAlarmWindowCloseThemselves) {
  shell->run([](Session& s) { ShowCopyNotice(s.cx); });
  auto* notice = Find<QWidget>("Ftishi");
  EXPECT_TRUE(notice->isVisible());
  QTRY_VERIFY_WITH_TIMEOUT(!notice->isVisible(), 3000);

  shell->run([](Session& s) { RaiseAlarm(s.cx, s.alarm); });
  auto* alarm = Find<QWidget>("Fbj");
  EXPECT_TRUE(alarm->isVisible());
  QTRY_COMPARE_WITH_TIMEOUT(sound.played.size(), size_t{1}, 2000);
  EXPECT_EQ(sound.played[0], session.cx.data.alarmSound().string());
  QTRY_COMPARE_WITH_TIMEOUT(alarm->findChild<QLabel*>("L20s")->text(), QString("8"), 3000);
  QTRY_VERIFY_WITH_TIMEOUT(!alarm->isVisible(), 9000);
}

TEST_F(MainWindowTest, CloseAsksAndNoKeepsTheWindow) {
  window->show();
  prompter.yesNoAnswers = {false};
  EXPECT_FALSE(window->close());
  EXPECT_TRUE(window->isVisible());
  EXPECT_EQ(prompter.questions.back().text, "是否要关闭软件？");
  prompter.yesNoAnswers = {true};
  EXPECT_TRUE(window->close());
}

}  // namespace
}  // namespace lumora
