#include "e2e/support/Process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <deque>
#include <regex>
#include <stdexcept>

namespace lumora::e2e {

namespace {

pid_t Spawn(const std::filesystem::path& program, const std::vector<std::string>& args, int outFd, int errFd) {
  std::vector<std::string> all{program.string()};
  all.insert(all.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (auto& a : all) argv.push_back(a.data());
  argv.push_back(nullptr);
  pid_t pid = fork();
  if (pid == 0) {
    dup2(outFd, 1);
    dup2(errFd, 2);
    execv(argv[0], argv.data());
    _exit(127);
  }
  return pid;
}

void ReadAll(int fd, std::string& into) {
  char buf[4096];
  ssize_t n;
  while ((n = read(fd, buf, sizeof buf)) > 0) into.append(buf, static_cast<size_t>(n));
}

// Sends `signal` to `pid` and waits up to `seconds` for its end, killing it after that; `pid` is
// spent either way. The exit code, or -1 when it did not exit by itself in time.
int SignalAndWait(pid_t& pid, int signal, int seconds) {
  if (pid <= 0) return -1;
  kill(pid, signal);
  int status = 0;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
  pid_t done = 0;
  while ((done = waitpid(pid, &status, WNOHANG)) == 0 && std::chrono::steady_clock::now() < deadline) usleep(10000);
  if (done == 0) {
    kill(pid, SIGKILL);
    waitpid(pid, &status, 0);
  }
  pid = -1;
  return done != 0 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

std::filesystem::path BinDir() {
  const char* bin = std::getenv("LUMORA_BIN");
  if (!bin) throw std::runtime_error("LUMORA_BIN is not set");
  return bin;
}

std::filesystem::path FreshTempDir() {
  // Kept until the test program ends, then removed with whatever the test left in it.
  static std::deque<testing::ScratchFolder> folders;
  return folders.emplace_back("e2e").path();
}

FeedProcess::FeedProcess(std::vector<std::string> args, const std::filesystem::path& logFile) {
  args.insert(args.end(), {"--port", "0"});
  if (logFile.empty()) args.push_back("--quiet");
  int out[2];
  if (pipe(out) != 0) throw std::runtime_error("pipe failed");
  int devnull =
      logFile.empty() ? open("/dev/null", O_WRONLY) : open(logFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  pid_ = Spawn(BinDir() / "lumora-feed", args, out[1], devnull);
  close(out[1]);
  close(devnull);
  std::string text;
  std::regex serving(R"(serving https?://127\.0\.0\.1:(\d+)/)");
  std::smatch m;
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!std::regex_search(text, m, serving) && std::chrono::steady_clock::now() < deadline) {
    pollfd p{out[0], POLLIN, 0};
    if (poll(&p, 1, 100) > 0) {
      char buf[512];
      ssize_t n = read(out[0], buf, sizeof buf);
      if (n <= 0) break;
      text.append(buf, static_cast<size_t>(n));
    }
  }
  close(out[0]);
  if (!std::regex_search(text, m, serving)) {
    stop();
    throw std::runtime_error("lumora-feed did not start: " + text);
  }
  port_ = std::stoi(m[1]);
}

FeedProcess::~FeedProcess() { stop(); }

std::string FeedProcess::url(const std::string& pathAndQuery) const {
  return "http://127.0.0.1:" + std::to_string(port_) + pathAndQuery;
}

int FeedProcess::stop() {
  // A service that does not stop when told is a fault to report, not a test that hangs: after
  // 10 s it is killed and counts as not having exited.
  return SignalAndWait(pid_, SIGTERM, 10);
}

BackgroundProcess::BackgroundProcess(const std::filesystem::path& program, const std::vector<std::string>& args)
    : dir_(FreshTempDir()) {
  int out = open((dir_ / "out").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  int err = open((dir_ / "err").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  pid_ = Spawn(program, args, out, err);
  close(out);
  close(err);
}

BackgroundProcess::~BackgroundProcess() {
  if (pid_ > 0) {
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
  }
  std::error_code ec;
  std::filesystem::remove_all(dir_, ec);
}

bool BackgroundProcess::running() { return pid_ > 0 && waitpid(pid_, nullptr, WNOHANG) == 0; }

int BackgroundProcess::signalAndWait(int signal, int seconds) { return SignalAndWait(pid_, signal, seconds); }

std::string BackgroundProcess::err() const {
  std::string text;
  int fd = open((dir_ / "err").c_str(), O_RDONLY);
  if (fd >= 0) {
    ReadAll(fd, text);
    close(fd);
  }
  return text;
}

}  // namespace lumora::e2e
