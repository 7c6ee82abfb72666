#include "ui/Shutdown.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <memory>

#if QT_CONFIG(sessionmanager)
#include <QSessionManager>
#endif

#ifndef _WIN32
#include <fcntl.h>
#include <unistd.h>
#include <QSocketNotifier>
#include <cerrno>
#include <csignal>
#endif

namespace lumora {

namespace {

#ifndef _WIN32
int gSignalPipe[2] = {-1, -1};

// Async-signal-safe: one write of the signal's number, errno kept.
extern "C" void WriteSignal(int sig) {
  const int saved = errno;
  const unsigned char b = static_cast<unsigned char>(sig);
  [[maybe_unused]] const ssize_t n = write(gSignalPipe[1], &b, 1);
  errno = saved;
}

const char* SignalName(int sig) {
  switch (sig) {
    case SIGTERM: return "SIGTERM";
    case SIGINT: return "SIGINT";
    case SIGHUP: return "SIGHUP";
  }
  return "signal";
}
#endif

}  // namespace

void EndLikeClosing(std::function<void(const std::string& how)> end) {
  auto once = [end = std::move(end), done = std::make_shared<bool>(false)](const std::string& how) {
    if (*done) return;
    *done = true;
    end(how);
    QCoreApplication::exit(0);
  };
#ifndef _WIN32
  if (gSignalPipe[0] < 0 && pipe2(gSignalPipe, O_CLOEXEC | O_NONBLOCK) == 0) {
    auto* notifier = new QSocketNotifier(gSignalPipe[0], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, [once] {
      unsigned char b = 0;
      int first = 0;
      while (read(gSignalPipe[0], &b, 1) == 1)
        if (!first) first = b;
      if (first) once(SignalName(first));
    });
    struct sigaction sa {};
    sa.sa_handler = WriteSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    for (int sig : {SIGTERM, SIGINT, SIGHUP}) sigaction(sig, &sa, nullptr);
  }
#endif
#if QT_CONFIG(sessionmanager)
  // The session asks for the program's data before it ends: the journal is written there, while
  // the program still may (Windows ends it soon after).
  if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
    QObject::connect(app, &QGuiApplication::commitDataRequest, app, [once](QSessionManager&) { once("session end"); });
#endif
}

}  // namespace lumora
