#include "ui/support/UiTest.h"

#include "core/controls/Fmain.h"
#include "session/AfterDraw.h"

#include <QCheckBox>
#include <QLabel>
#include <QRegularExpression>
#include <filesystem>

namespace lumora::uitest {

QApplication& App() {
  static int argc = 1;
  static char name[] = "ui_test";
  static char* argv[] = {name, nullptr};
  static QApplication* app = new QApplication(argc, argv);
  return *app;
}

void Click(const QObject* root, const QString& name) {
  if (auto* button = Find<QPushButton>(root, name)) QTest::mouseClick(button, Qt::LeftButton);
}

void WindowTest::SetUp() {
  App();
  session.cx.ports.prompter = &prompter;
  session.cx.ports.clipboard = &clipboard;
  shell = std::make_unique<Shell>(session);
  prompter.dispatch = [this](std::function<void()> answer) { shell->run([answer](Session&) { answer(); }); };
  window = std::make_unique<MainWindow>(*shell);
}

void WindowTest::UseShippedData() {
  const char* data = std::getenv("LUMORA_DATA");
  ASSERT_NE(data, nullptr);
  session.cx.data = DataFolder(data);
}

void WindowTest::UseDataCopy() {
  const char* data = std::getenv("LUMORA_DATA");
  ASSERT_NE(data, nullptr);
  dataCopy = std::make_unique<QTemporaryDir>();
  std::filesystem::copy(data, dataCopy->path().toStdString(), std::filesystem::copy_options::recursive);
  session.cx.data = DataFolder(dataCopy->path().toStdString());
}

QString WindowTest::Status() { return Find<QLabel>(fmain::Tnew)->text(); }

QString ShotDir() { return qEnvironmentVariable("LUMORA_SHOT_DIR"); }

void WindowTest::UseRealHttp() {
  App();
  http = std::make_unique<QtHttp>([this](std::function<void()> f) { shell->run([f](Session&) { f(); }); });
  session.cx.ports.http = http.get();
}

void WindowTest::StartProgram() {
  bool started = false;
  shell->run([&started](Session& s) { started = StartupDefaults(s); });
  ASSERT_TRUE(started);
}

void WindowTest::FetchNextDraw() {
  Find<QCheckBox>(fmain::Cauto)->setChecked(false);
  const int before = session.cx.draws.updateCount;
  for (int tries = 0; tries < 20 && session.cx.draws.updateCount == before; ++tries) {
    Click(fmain::Cshoudong);
    (void)QTest::qWaitFor([&] { return Find<QPushButton>(fmain::Cshoudong)->isEnabled(); }, 5000);
    if (session.cx.draws.updateCount == before) QTest::qWait(500);
  }
  ASSERT_EQ(session.cx.draws.updateCount, before + 1);
}

bool FeedChild::start(QStringList args, int port) {
  const QString bin = qEnvironmentVariable("LUMORA_BIN");
  if (bin.isEmpty()) return false;
  args << "--port" << QString::number(port) << "--quiet";
  process_.start(bin + "/lumora-feed", args);
  if (!process_.waitForStarted(5000)) return false;
  static const QRegularExpression serving(R"(serving http://127\.0\.0\.1:(\d+)/)");
  QString out;
  QDeadlineTimer deadline(10000);
  while (!deadline.hasExpired() && process_.state() == QProcess::Running) {
    process_.waitForReadyRead(100);
    out += QString::fromUtf8(process_.readAllStandardOutput());
    if (auto m = serving.match(out); m.hasMatch()) {
      port_ = m.captured(1).toInt();
      return true;
    }
  }
  return false;
}

void FeedChild::stop() {
  if (process_.state() == QProcess::NotRunning) return;
  process_.terminate();
  if (!process_.waitForFinished(3000)) process_.kill(), process_.waitForFinished();
}

}  // namespace lumora::uitest
