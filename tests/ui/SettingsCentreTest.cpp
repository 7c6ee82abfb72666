// The settings centre: the slide, and the settings exchange against a real lumora-feed.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "core/RecordingPorts.h"
#include "core/Text.h"
#include "ui/MainWindow.h"
#include "ui/QtPorts.h"
#include "ui/Shell.h"

namespace lumora {
namespace {

QApplication& App() {
  static int argc = 1;
  static char name[] = "ui_SettingsCentreTest";
  static char* argv[] = {name, nullptr};
  static QApplication* app = new QApplication(argc, argv);
  return *app;
}

constexpr int kPort = 18693;

struct SettingsCentreTest : ::testing::Test {
  QTemporaryDir state;
  Session session;
  RecordingPrompter prompter;
  std::unique_ptr<Shell> shell;
  std::unique_ptr<QtHttp> http;
  std::unique_ptr<MainWindow> window;
  QProcess feed;

  void SetUp() override {
    App();
    session.cx.ports.prompter = &prompter;
    shell = std::make_unique<Shell>(session);
    http = std::make_unique<QtHttp>([this](std::function<void()> f) { shell->run([f](Session&) { f(); }); });
    session.cx.ports.http = http.get();
    session.cx.service.settingsEndpoint = "http://127.0.0.1:" + std::to_string(kPort) + "/settings";
    session.cx.service.user = "demo";
    window = std::make_unique<MainWindow>(*shell);
    window->show();
  }
  void TearDown() override { StopFeed(); }
  void StartFeed() {
    feed.start(qEnvironmentVariable("LUMORA_BIN") + "/lumora-feed",
               {"--port", QString::number(kPort), "--state", state.path(), "--quiet"});
    ASSERT_TRUE(feed.waitForStarted());
    QTest::qWait(600);
  }
  void StopFeed() {
    if (feed.state() == QProcess::NotRunning) return;
    feed.terminate();
    if (!feed.waitForFinished(3000)) feed.kill(), feed.waitForFinished();
  }
  QPushButton* Button(const QString& name) { return window->findChild<QPushButton*>(name); }
  void Click(const QString& name) { QTest::mouseClick(Button(name), Qt::LeftButton); }
};

TEST_F(SettingsCentreTest, PanelSlidesInAndOut) {
  auto* panel = window->findChild<QWidget*>("Frame_sz_zx");
  ASSERT_NE(panel, nullptr);
  EXPECT_LT(panel->x(), 0);
  Click("C_sz_zhongxin_0");
  QTRY_COMPARE(panel->x(), 0);
  EXPECT_TRUE(panel->isVisible());
  Click("C_sz_zx_off");
  QTRY_COMPARE(panel->x(), -panel->width());
  QTRY_VERIFY(!panel->isVisible());
  // The blink runs from start and moves both buttons.
  QTRY_VERIFY(session.cx.form.backColor("C_sz_zhongxin_0") >= 0);
  EXPECT_EQ(session.cx.form.backColor("C_sz_zhongxin_0"), session.cx.form.backColor("C_k_yulan_shou"));
}

TEST_F(SettingsCentreTest, UploadRestartDownloadAndStoppedService) {
  StartFeed();
  shell->run([](Session& s) {
    for (int i = 0; i < 15; ++i) s.cx.form.setText(Indexed("T_quxian_zhushu", i), std::to_string(110 + 10 * i));
    s.cx.form.setText("T_moshier_input", "01.02=12\r\n03.04=1234\r\n10.11=12");
    s.cx.form.setText("T_jiankong_rc", "01.02.03");
  });
  Click("C_sz_zhongxin_3");
  QTRY_COMPARE(prompter.lastText(), std::string("数据上传服务器完毕"));
  StopFeed();
  StartFeed();  // a restarted service still has the record
  shell->run([](Session& s) {
    s.cx.form.setText("T_quxian_zhushu_2", "0");
    s.cx.form.setText("T_moshier_input", "");
  });
  Click("C_sz_zhongxin_4");
  QTRY_COMPARE(prompter.lastText(), std::string("用户数据读取成功"));
  EXPECT_EQ(session.cx.form.text("T_quxian_zhushu_2"), "130");
  EXPECT_EQ(session.cx.form.text("T_moshier_input"), "01.02=12\r\n03.04=1234\r\n10.11=12");

  // Stopped service: the button stays disabled until the failure notice, within 16 s.
  StopFeed();
  QElapsedTimer clock;
  clock.start();
  Click("C_sz_zhongxin_4");
  QTRY_VERIFY_WITH_TIMEOUT(Contains(prompter.lastText(), "参数下载失败"), 17000);
  EXPECT_LT(clock.elapsed(), 17000);
  EXPECT_TRUE(Button("C_sz_zhongxin_4")->isEnabled());
  EXPECT_EQ(session.cx.form.text("T_quxian_zhushu_2"), "130");
}

}  // namespace
}  // namespace lumora
