// The real program as processes: one copy per data folder (a second start hands over to the
// first and ends; other folders run side by side; a killed copy's lock does not block), and the
// start-up failures that end it with their reason on standard error.
#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QMessageBox>
#include <QProcess>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <vector>

#include "core/Files.h"
#include "ui/SingleCopy.h"
#include "ui/support/UiTest.h"

namespace lumora {
namespace {

namespace fs = std::filesystem;

QString Q(const fs::path& p) { return QString::fromStdString(PathToUtf8(p)); }

class SingleCopyTest : public ::testing::Test {
 protected:
  void SetUp() override {
    uitest::App();
    root_ = fs::temp_directory_path() / ("lumora-single-" + std::to_string(QCoreApplication::applicationPid()) + "-" +
                                         ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(root_);
    fs::create_directories(root_);
  }
  void TearDown() override {
    for (auto& p : running_) {
      p->kill();
      p->waitForFinished(5000);
    }
    // Killed copies leave their sockets behind.
    for (const fs::path& dir : folders_) QLocalServer::removeServer(SingleCopyName(dir));
    fs::remove_all(root_);
  }

  // A copy of the shipped data folder.
  fs::path DataCopy(const std::string& name) {
    const fs::path dir = root_ / name;
    fs::copy(qEnvironmentVariable("LUMORA_DATA").toStdString(), dir, fs::copy_options::recursive);
    folders_.push_back(dir);
    return dir;
  }
  // lumora on `data`, with the start-up boxes left out and a feed address where nothing answers.
  QProcess* Start(const fs::path& data) {
    auto p = std::make_unique<QProcess>();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("LUMORA_START_FAILURE", "stderr");
    env.remove("LUMORA_DATA");
    p->setProcessEnvironment(env);
    p->start(qEnvironmentVariable("LUMORA_BIN") + "/lumora", {"--data", Q(data), "--feed", "http://127.0.0.1:9/feed"});
    EXPECT_TRUE(p->waitForStarted(5000));
    running_.push_back(std::move(p));
    return running_.back().get();
  }
  struct Ended {
    int status = -1;
    QString err;
  };
  Ended RunToEnd(const fs::path& data) {
    QProcess* p = Start(data);
    if (!p->waitForFinished(20000) || p->exitStatus() != QProcess::NormalExit) return {};
    return {p->exitCode(), QString::fromUtf8(p->readAllStandardError())};
  }
  // Whether a copy listens for the folder (it holds the lock and passed the checks up to there).
  static bool Listening(const fs::path& data) {
    QLocalSocket s;
    s.connectToServer(SingleCopyName(data));
    return s.waitForConnected(200);
  }
  static bool Up(QProcess* p, const fs::path& data) {
    return uitest::Eventually([&] { return p->state() == QProcess::Running && Listening(data); }, 15000);
  }

  fs::path root_;
  std::vector<fs::path> folders_;
  std::vector<std::unique_ptr<QProcess>> running_;
};

TEST_F(SingleCopyTest, ASecondStartOnTheSameFolderBringsTheFirstForwardAndEnds) {
  const fs::path data = DataCopy("data");
  QProcess* first = Start(data);
  ASSERT_TRUE(Up(first, data));
  // The same folder spelled another way.
  const Ended second = RunToEnd(data / "fa" / "..");
  EXPECT_EQ(second.status, 0) << second.err.toStdString();
  // The first copy answered that its window is in front.
  EXPECT_TRUE(second.err.contains("已把它的窗口带到前面")) << second.err.toStdString();
  QTest::qWait(300);
  EXPECT_EQ(first->state(), QProcess::Running);
  EXPECT_TRUE(Listening(data));
}

TEST_F(SingleCopyTest, CopiesOnDifferentFoldersRunSideBySide) {
  const fs::path one = DataCopy("one"), two = DataCopy("two");
  QProcess* a = Start(one);
  QProcess* b = Start(two);
  ASSERT_TRUE(Up(a, one));
  ASSERT_TRUE(Up(b, two));
  QTest::qWait(500);
  EXPECT_EQ(a->state(), QProcess::Running);
  EXPECT_EQ(b->state(), QProcess::Running);
  // lumora-cli takes no lock: it works beside the running program (once that has opened its journal).
  ASSERT_TRUE(uitest::Eventually([&] { return fs::exists(one / "journal.sqlite"); }, 15000));
  QProcess cli;
  cli.start(qEnvironmentVariable("LUMORA_BIN") + "/lumora-cli",
            {"journal", "--data", Q(one), "--csv", Q(root_ / "journal.csv")});
  ASSERT_TRUE(cli.waitForFinished(20000));
  EXPECT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().toStdString();
}

TEST_F(SingleCopyTest, TheLockOfAKilledCopyDoesNotBlockTheNextStart) {
  const fs::path data = DataCopy("data");
  QProcess* killed = Start(data);
  ASSERT_TRUE(Up(killed, data));
  killed->kill();  // SIGKILL: nothing is cleaned up
  ASSERT_TRUE(killed->waitForFinished(5000));
  ASSERT_TRUE(fs::exists(data / ".lumora.lock"));
  QProcess* next = Start(data);
  ASSERT_TRUE(Up(next, data));
  QLockFile lock(Q(data / ".lumora.lock"));
  qint64 pid = 0;
  QString host, app;
  ASSERT_TRUE(lock.getLockInfo(&pid, &host, &app));
  EXPECT_EQ(pid, next->processId());
}

TEST_F(SingleCopyTest, StartUpFailuresEndWithTheirReasonOnStandardError) {
  struct Case {
    const char* name;
    std::function<void(const fs::path&)> spoil;
    const char* says;
    std::string names;  // the path the text must name, relative to the folder
  };
  std::unique_ptr<QLockFile> held;  // this test process holds the lock and never listens
  const std::vector<Case> cases = {
      {"lock-held-by-a-silent-copy",
       [&held](const fs::path& d) {
         held = std::make_unique<QLockFile>(Q(d / ".lumora.lock"));
         ASSERT_TRUE(held->tryLock(0));
       },
       "没有回应", ""},
      {"missing-store", [](const fs::path& d) { fs::remove(d / "data.mdb"); }, "缺少曲线文件", "data.mdb"},
      {"damaged-store", [](const fs::path& d) { std::ofstream(d / "data.mdb", std::ios::binary) << "1*2\r\n3*4\r\n"; },
       "已损坏", "data.mdb"},
      {"no-folder", [](const fs::path& d) { fs::remove_all(d); }, "找不到数据目录", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const fs::path data = DataCopy(c.name);
    c.spoil(data);
    const Ended e = RunToEnd(data);
    EXPECT_EQ(e.status, kStartFailed);
    EXPECT_TRUE(e.err.contains(c.says)) << e.err.toStdString();
    EXPECT_TRUE(e.err.contains(Q(c.names.empty() ? data : data / c.names))) << e.err.toStdString();
    EXPECT_FALSE(Listening(data));
  }
}

TEST_F(SingleCopyTest, TheStartUpFailureBoxStaysUntilItIsClosed) {
  // Without the switch the reason is shown in a modal box: the call returns only once it is closed.
  qunsetenv("LUMORA_START_FAILURE");
  QString shown;
  bool closed = false;
  QTimer::singleShot(300, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    shown = box->text();
    QTimer::singleShot(300, [&, box] {
      closed = true;
      box->accept();
    });
  });
  EXPECT_EQ(ReportStartFailure("找不到数据目录：/nowhere"), kStartFailed);
  EXPECT_TRUE(closed);
  EXPECT_EQ(shown, "找不到数据目录：/nowhere");
}

}  // namespace
}  // namespace lumora
