// Saves survive a crash: lumora-save-loop saves the curve store, a scheme file, zdy.txt and the
// settings service's state over and over with the program's own code, and is killed (SIGKILL) at
// random moments. Every file is then either the old or the new version, never a mix, a cut or a
// missing file, and an interrupted save leaves nothing the program would take for data.
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <random>
#include <thread>

#include "core/Files.h"
#include "core/TextCodec.h"
#include "e2e/support/Process.h"

namespace lumora::e2e {
namespace {

namespace fs = std::filesystem;

// The files a save writes, relative to the data folder (a scheme's file name in the data folder's
// name form).
const std::vector<fs::path> kFiles = {"data.mdb", fs::path("fa") / FileNamePath("准准准方案.fa"), "zdy.txt",
                                      fs::path("state") / "settings.txt"};

fs::path Helper() { return BinDir() / "lumora-save-loop"; }

// The saves run in memory when the machine has /dev/shm, so 200 kills take a few seconds: a
// SIGKILL leaves the page cache as it is, so what is tried is the order of write and rename,
// the same on every file system (fsync matters for power cuts, which no test here can make).
fs::path WorkFolder() {
  std::error_code ec;
  if (!fs::is_directory("/dev/shm", ec)) return FreshTempDir();
  std::random_device rd;
  fs::path p = fs::path("/dev/shm") / ("lumora-crash-" + std::to_string(rd()) + std::to_string(getpid()));
  fs::create_directories(p);
  return p;
}

std::string Bytes(const fs::path& p) { return ReadWholeFileBytes(p).value_or("<missing>"); }

// Starts the endless saver; returns once it has saved a whole round (its "ready" line).
pid_t StartSaver(const fs::path& folder) {
  int out[2];
  if (pipe(out) != 0) return -1;
  pid_t pid = fork();
  if (pid == 0) {
    dup2(out[1], 1);
    close(out[0]);
    close(out[1]);
    execl(Helper().c_str(), "lumora-save-loop", folder.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  close(out[1]);
  pollfd p{out[0], POLLIN, 0};
  char c = 0;
  bool ready = poll(&p, 1, 10000) == 1 && read(out[0], &c, 1) == 1;
  close(out[0]);
  if (!ready) {
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    return -1;
  }
  return pid;
}

// Files of a folder tree that are none of the saved files.
std::vector<std::string> Others(const fs::path& folder) {
  std::vector<std::string> out;
  for (const auto& e : fs::recursive_directory_iterator(folder)) {
    if (!e.is_regular_file()) continue;
    std::string rel = fs::relative(e.path(), folder).string();
    if (std::find(kFiles.begin(), kFiles.end(), rel) == kFiles.end()) out.push_back(rel);
  }
  return out;
}

TEST(CrashSafeSaves, EveryFileIsTheOldOrTheNewVersionAfterAKill) {
  ASSERT_TRUE(fs::exists(Helper())) << Helper();
  // The two versions of every file, as the save code writes them.
  std::map<fs::path, std::pair<std::string, std::string>> versions;
  const fs::path ref0 = FreshTempDir(), ref1 = FreshTempDir();
  ASSERT_EQ(RunProgram(Helper(), {ref0.string(), "--once", "0"}).exitCode, 0);
  ASSERT_EQ(RunProgram(Helper(), {ref1.string(), "--once", "1"}).exitCode, 0);
  for (const fs::path& f : kFiles) {
    versions[f] = {Bytes(ref0 / f), Bytes(ref1 / f)};
    ASSERT_NE(versions[f].first, "<missing>") << f;
    ASSERT_NE(versions[f].first, versions[f].second) << f;
  }

  const fs::path folder = WorkFolder();
  ASSERT_EQ(RunProgram(Helper(), {folder.string(), "--once", "0"}).exitCode, 0);
  std::mt19937 rng(20261208);
  std::map<std::string, int> seen;  // "file:version" -> kills that left it so
  const int kKills = 200;
  int kills = 0;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  for (; kills < kKills && std::chrono::steady_clock::now() < deadline; ++kills) {
    pid_t pid = StartSaver(folder);
    ASSERT_GT(pid, 0) << "the saver did not start";
    std::this_thread::sleep_for(std::chrono::microseconds(std::uniform_int_distribution<int>(0, 4000)(rng)));
    kill(pid, SIGKILL);
    int status = 0;
    waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the saver ended before the kill";
    for (const fs::path& f : kFiles) {
      const std::string now = Bytes(folder / f);
      const bool old = now == versions[f].first, fresh = now == versions[f].second;
      ASSERT_TRUE(old || fresh) << f << " after kill " << kills << ": " << now.size() << " bytes, neither version";
      ++seen[f.string() + (old ? ":0" : ":1")];
    }
  }
  EXPECT_EQ(kills, kKills) << "fewer kills within the time limit";
  // The kills landed all over the loop: every file was found in both versions.
  for (const fs::path& f : kFiles) {
    EXPECT_GT(seen[f.string() + ":0"], 0) << f;
    EXPECT_GT(seen[f.string() + ":1"], 0) << f;
  }
  // A save cut off may leave its temporary file: a hidden ".lumora-save-N.tmp", which nothing
  // lists or reads (the scheme list takes every name holding ".fa").
  const std::vector<std::string> left = Others(folder);
  for (const std::string& o : left) {
    EXPECT_EQ(o.find(".fa"), std::string::npos) << o << " would be listed as a scheme";
    EXPECT_EQ(fs::path(o).filename().string().rfind(".lumora-save-", 0), 0u) << o;
  }
  std::printf("%d kills, %zu temporary files left by cut-off saves\n", kills, left.size());
  // They do not pile up: the next save into a folder removes those older than a minute.
  for (const std::string& o : left)
    fs::last_write_time(folder / o, fs::file_time_type::clock::now() - std::chrono::minutes(2));
  ASSERT_EQ(RunProgram(Helper(), {folder.string(), "--once", "1"}).exitCode, 0);
  EXPECT_EQ(Others(folder), std::vector<std::string>{});
  for (const fs::path& f : kFiles) EXPECT_EQ(Bytes(folder / f), versions[f].second) << f;
  for (const fs::path& p : {ref0, ref1, folder}) fs::remove_all(p);
}

}  // namespace
}  // namespace lumora::e2e
