// The main window on Windows: lumora-feed.exe on 127.0.0.1 feeds it over real HTTP, started by
// the window's own 25-second countdown, while the data folder sits under a Chinese name. Within
// 40 s the history box holds the 120 draws and the status reads "开奖完毕". With LUMORA_SHOT_DIR
// set, the window's picture is saved there as windows-main.png.
#include <QDir>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <filesystem>

#include "core/Files.h"
#include "core/Text.h"
#include "core/controls/Fmain.h"
#include "session/AfterDraw.h"
#include "ui/support/UiTest.h"

namespace lumora {
namespace {

namespace fs = std::filesystem;

struct MainWindowOnWindows : uitest::WindowTest {
  RecordingSound sound;
  QTemporaryDir temp;
  fs::path data;
  std::vector<std::string> applied;

  void SetUp() override {
    uitest::App();
    ASSERT_TRUE(temp.isValid());
    // The shipped data folder, copied to a folder whose name only UTF-16 paths can carry whole.
    data = PathFromUtf8(temp.path().toStdString()) / PathFromUtf8("彩票数据 ✓");
    std::error_code ec;
    fs::copy(PathFromUtf8(std::getenv("LUMORA_DATA")), data, fs::copy_options::recursive, ec);
    ASSERT_FALSE(ec) << ec.message();
    session.cx.data = DataFolder(data);
    session.cx.ports.sound = &sound;
    session.drawApplied = [this](const DrawRecord& r) { applied.push_back(r.period); };
    UseRealHttp();
    WindowTest::SetUp();
    bool started = false;
    shell->run([&started](Session& s) { started = StartupDefaults(s); });
    ASSERT_TRUE(started) << "start-up could not read " << PathToUtf8(data);
  }
};

TEST_F(MainWindowOnWindows, FeedFillsTheHistoryWithinFortySecondsFromAChineseDataFolder) {
  uitest::FeedChild feed;
  ASSERT_TRUE(feed.start({"--seed", "7", "--interval", "3600"}));
  session.cx.service.feedEndpoint = feed.url("/feed");
  window->move(0, 0);
  window->show();
  auto* history = Find<QPlainTextEdit>(fmain::Tkjh);
  auto* status = Find<QLabel>(fmain::Tnew);
  ASSERT_TRUE(history && status);
  auto lines = [&] { return SplitCrLf(ToCrLf(history->toPlainText().toStdString())).size(); };
  EXPECT_TRUE(uitest::Eventually([&] { return status->text() == "开奖完毕" && lines() == 120; }, 40000))
      << status->text().toStdString() << ", " << lines() << " lines";
  EXPECT_EQ(applied.size(), 1u);
  EXPECT_TRUE(history->toPlainText().startsWith("第"));

  // A file the engine writes lands in the Chinese folder, in GBK.
  EXPECT_TRUE(WriteTextFile(session.cx.data.file("txt/导出.txt"), "开奖完毕"));
  EXPECT_EQ(ReadWholeFileBytes(data / "txt" / PathFromUtf8("导出.txt")),
            std::optional<std::string>("\xbf\xaa\xbd\xb1\xcd\xea\xb1\xcf"));

  if (const char* dir = std::getenv("LUMORA_SHOT_DIR"); dir && *dir) {
    QTest::qWait(500);
    window->grab().save(QDir(QString::fromUtf8(dir)).filePath("windows-main.png"));
  }
}

}  // namespace
}  // namespace lumora
