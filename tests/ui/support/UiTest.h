#pragma once
// What the GUI tests share: the test program's one QApplication, finding widgets by their
// design names, a main window over a session with the recording ports, and a lumora-feed child.
#include <gtest/gtest.h>

#include <QApplication>
#include <QProcess>
#include <QPushButton>
#include <QString>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "core/Control.h"
#include "core/RecordingPorts.h"
#include "ui/MainWindow.h"
#include "ui/QtPorts.h"
#include "ui/Shell.h"
#include "ui/Widgets.h"

namespace lumora::uitest {

QApplication& App();

template <typename W>
W* Find(const QObject* root, const QString& name) {
  W* w = root->findChild<W*>(name);
  EXPECT_NE(w, nullptr) << name.toStdString();
  return w;
}
template <typename W>
W* Find(const QObject* root, const ControlRef& control) {
  return Find<W>(root, ObjectName(control));
}
// Waits, serving events, until `done` holds or `ms` have passed; false on a timeout. (The QTRY_
// macros report to QTest's own result log, which a gtest run never reads: a timeout there would
// pass unseen.)
template <typename F>
bool Eventually(F done, int ms = 5000) {
  return QTest::qWaitFor(done, ms);
}

// A real mouse click: the button must be on a shown page.
void Click(const QObject* root, const QString& name);
inline void Click(const QObject* root, const ControlRef& control) { Click(root, ObjectName(control)); }

// The main window built over `session`, recording prompter and clipboard in place. Tests that
// need something in the session before the window exists set it in their own SetUp first.
struct WindowTest : ::testing::Test {
  Session session;
  RecordingPrompter prompter;
  RecordingClipboard clipboard;
  std::unique_ptr<Shell> shell;
  std::unique_ptr<QtHttp> http;
  std::unique_ptr<MainWindow> window;
  std::unique_ptr<QTemporaryDir> dataCopy;

  void SetUp() override;
  // The session reads the shipped data folder (LUMORA_DATA) in place, or a copy of it the test
  // may change (dataCopy). Called before SetUp.
  void UseShippedData();
  void UseDataCopy();
  // The real network port, its answers entering through the shell like the program's own.
  void UseRealHttp();
  // The program's start-up (statistics preset, capital frame, plan settings) through the shell;
  // the test fails when it is refused.
  void StartProgram();
  // Presses of "手动更新" until the next draw is applied. With "自动更新" off the button comes back
  // after every answer.
  void FetchNextDraw();
  template <typename W>
  W* Find(const QString& name) {
    return uitest::Find<W>(window.get(), name);
  }
  template <typename W>
  W* Find(const ControlRef& control) {
    return uitest::Find<W>(window.get(), control);
  }
  void Click(const QString& name) { uitest::Click(window.get(), name); }
  void Click(const ControlRef& control) { uitest::Click(window.get(), control); }
  // The status line under the draws.
  QString Status();
};

// The folder named by LUMORA_SHOT_DIR, where tests save pictures for review by eye; empty when unset.
QString ShotDir();

// lumora-feed as a child process on 127.0.0.1. Port 0 lets it take a free port; the one it
// took is read from its "serving" line.
class FeedChild {
 public:
  ~FeedChild() { stop(); }
  bool start(QStringList args, int port = 0);
  void stop();
  int port() const { return port_; }
  std::string url(const char* path) const { return "http://127.0.0.1:" + std::to_string(port_) + path; }

 private:
  QProcess process_;
  int port_ = 0;
};

}  // namespace lumora::uitest
