// The settings centre: the slide, and the settings exchange against a real lumora-feed.
#include <QElapsedTimer>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QTimer>

#include "core/Text.h"
#include "core/controls/Fmain.h"
#include "ui/support/UiTest.h"

namespace lumora {
namespace {

struct SettingsCentreTest : uitest::WindowTest {
  QTemporaryDir state;
  uitest::FeedChild feed;

  void SetUp() override {
    UseRealHttp();
    // The service keeps records only for its accounts: "demo" is one.
    QProcess add;
    add.setProcessEnvironment([] {
      auto env = QProcessEnvironment::systemEnvironment();
      env.insert("LUMORA_FEED_PASSWORD", "demo-pw");
      return env;
    }());
    add.start(qEnvironmentVariable("LUMORA_BIN") + "/lumora-feed", {"--add-user", "demo", "--state", state.path()});
    ASSERT_TRUE(add.waitForFinished(30000) && add.exitCode() == 0) << add.readAllStandardError().toStdString();
    session.cx.service.user = "demo";
    session.cx.service.password = "demo-pw";
    WindowTest::SetUp();
    window->show();
  }
  // The first start takes a free port; a restart comes back on the same one.
  void StartFeed() {
    ASSERT_TRUE(feed.start({"--state", state.path()}, feed.port()));
    session.cx.service.settingsEndpoint = feed.url("/settings");
  }
  QPushButton* Button(const ControlRef& control) { return Find<QPushButton>(control); }
};

TEST_F(SettingsCentreTest, PanelSlidesInAndOutAndTheBlinkKeepsToTwoPalettes) {
  auto* panel = window->findChild<QWidget*>(ObjectName(fmain::Frame_sz_zx));
  ASSERT_NE(panel, nullptr);
  EXPECT_LT(panel->x(), 0);
  Click(fmain::C_sz_zhongxin[0]);
  EXPECT_TRUE(uitest::Eventually([&] { return panel->x() == 0; }));
  EXPECT_TRUE(panel->isVisible());
  Click(fmain::C_sz_zx_off);
  EXPECT_TRUE(uitest::Eventually([&] { return panel->x() == -panel->width(); }));
  EXPECT_TRUE(uitest::Eventually([&] { return !panel->isVisible(); }));
  // The blink runs from start and moves both buttons. Each palette key names a picture in Qt's
  // pixmap cache: a new key every blink kept one more.
  QSet<qint64> keys;
  int changes = 0, last = -1;
  EXPECT_TRUE(uitest::Eventually(
      [&] {
        if (int now = session.cx.form.backColor(fmain::C_sz_zhongxin[0]); now != last) {
          last = now;
          ++changes;
          EXPECT_EQ(now, session.cx.form.backColor(fmain::C_k_yulan_shou));
          keys.insert(Button(fmain::C_sz_zhongxin[0])->palette().cacheKey());
        }
        return changes >= 6;
      },
      8000));
  EXPECT_EQ(keys.size(), 2);
}

TEST_F(SettingsCentreTest, UploadRestartDownloadAndStoppedService) {
  StartFeed();
  shell->run([](Session& s) {
    for (int i = 0; i < 15; ++i) s.cx.form.set(fmain::T_quxian_zhushu[i], 110 + 10 * i);
    s.cx.form.setText(fmain::T_moshier_input, "01.02=12\r\n03.04=1234\r\n10.11=12");
    s.cx.form.setText(fmain::T_jiankong_rc, "01.02.03");
  });
  Click(fmain::C_sz_zhongxin[3]);
  EXPECT_TRUE(uitest::Eventually([&] { return prompter.lastText() == std::string("数据上传服务器完毕"); }));
  feed.stop();
  StartFeed();  // a restarted service still has the record
  shell->run([](Session& s) {
    s.cx.form.setText(fmain::T_quxian_zhushu[2], "0");
    s.cx.form.setText(fmain::T_moshier_input, "");
  });
  Click(fmain::C_sz_zhongxin[4]);
  EXPECT_TRUE(uitest::Eventually([&] { return prompter.lastText() == std::string("用户数据读取成功"); }));
  EXPECT_EQ(session.cx.form.text(fmain::T_quxian_zhushu[2]), "130");
  EXPECT_EQ(session.cx.form.text(fmain::T_moshier_input), "01.02=12\r\n03.04=1234\r\n10.11=12");

  // Stopped service: the button stays disabled until the failure notice, within 16 s.
  feed.stop();
  QElapsedTimer clock;
  clock.start();
  Click(fmain::C_sz_zhongxin[4]);
  EXPECT_TRUE(uitest::Eventually([&] { return Contains(prompter.lastText(), "参数下载失败"); }, 17000));
  EXPECT_LT(clock.elapsed(), 17000);
  EXPECT_TRUE(Button(fmain::C_sz_zhongxin[4])->isEnabled());
  EXPECT_EQ(session.cx.form.text(fmain::T_quxian_zhushu[2]), "130");
}

TEST_F(SettingsCentreTest, AServiceThatNeverAnswersIsGivenUpOnAfterSixteenSeconds) {
  ASSERT_TRUE(feed.start({"--state", state.path(), "--fault", "hang"}));
  session.cx.service.settingsEndpoint = feed.url("/settings");
  int ticks = 0;  // the window's event loop keeps running all the while
  QTimer beat;
  QObject::connect(&beat, &QTimer::timeout, [&ticks] { ++ticks; });
  beat.start(100);
  QElapsedTimer clock;
  clock.start();
  Click(fmain::C_sz_zhongxin[4]);
  EXPECT_FALSE(Button(fmain::C_sz_zhongxin[4])->isEnabled());
  EXPECT_TRUE(uitest::Eventually([&] { return Contains(prompter.lastText(), "参数下载失败"); }, 18000));
  EXPECT_GE(clock.elapsed(), 15000);
  EXPECT_LT(clock.elapsed(), 17500);
  EXPECT_GT(ticks, 100);
  EXPECT_TRUE(Button(fmain::C_sz_zhongxin[4])->isEnabled());
}

}  // namespace
}  // namespace lumora
