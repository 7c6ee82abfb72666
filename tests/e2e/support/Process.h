#pragma once
// Child processes for the end-to-end tests: a running lumora-feed, and one-shot commands.
#include <sys/types.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/RunProgram.h"

namespace lumora::e2e {

std::filesystem::path BinDir();        // LUMORA_BIN
std::filesystem::path FreshTempDir();  // an empty folder of its own per call, removed at the end

// lumora-feed started with `args` plus --port 0 and --quiet; the constructor waits for the
// "serving http(s)://127.0.0.1:PORT/..." line and reads the port. Stopped with SIGTERM on destruction.
// With `logFile` its log goes there (no --quiet).
class FeedProcess {
 public:
  explicit FeedProcess(std::vector<std::string> args, const std::filesystem::path& logFile = {});
  ~FeedProcess();
  FeedProcess(const FeedProcess&) = delete;
  FeedProcess& operator=(const FeedProcess&) = delete;

  int port() const { return port_; }
  pid_t pid() const { return pid_; }
  std::string url(const std::string& pathAndQuery) const;
  // Stops the service and returns its exit status.
  int stop();

 private:
  pid_t pid_ = -1;
  int port_ = -1;
};

// A program running in the background, its standard output and error going to files. Killed
// (SIGKILL) on destruction when it still runs.
class BackgroundProcess {
 public:
  BackgroundProcess(const std::filesystem::path& program, const std::vector<std::string>& args);
  ~BackgroundProcess();
  BackgroundProcess(const BackgroundProcess&) = delete;
  BackgroundProcess& operator=(const BackgroundProcess&) = delete;

  bool running();
  // Sends `signal` and waits up to `seconds` for the end: the exit code, or -1 when it did not
  // exit by itself (ended by a signal, or killed after the wait).
  int signalAndWait(int signal, int seconds);
  std::string err() const;  // what it wrote to standard error so far
  pid_t pid() const { return pid_; }

 private:
  pid_t pid_ = -1;
  std::filesystem::path dir_;
};

// One-shot runs: RunProgram(program, args[, input]) and RunCli(args[, input]).
using testing::RunCli;
using testing::RunProgram;
using testing::RunResult;

}  // namespace lumora::e2e
