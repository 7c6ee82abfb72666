// The desktop program ended from outside, as a logout or a service manager ends it: the real
// lumora on Qt's offscreen platform with a copy of the shipped data folder, told SIGTERM. It
// ends as closing its window does: exit code 0, the run's end written, and the journal
// checkpointed into journal.sqlite, so that file alone (copied without its -wal) is whole.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "e2e/support/Process.h"

namespace lumora::e2e {
namespace {

namespace fs = std::filesystem;
using Rows = std::vector<std::vector<std::string>>;

// Rows of `sql`, or nothing when the database cannot be read (yet).
Rows Query(const fs::path& db, const std::string& sql) {
  Rows rows;
  sqlite3* h = nullptr;
  if (sqlite3_open_v2(db.c_str(), &h, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
    sqlite3_busy_timeout(h, 2000);
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(h, sql.c_str(), -1, &st, nullptr) == SQLITE_OK) {
      while (sqlite3_step(st) == SQLITE_ROW) {
        rows.emplace_back();
        for (int i = 0; i < sqlite3_column_count(st); ++i) {
          const unsigned char* t = sqlite3_column_text(st, i);
          rows.back().push_back(t ? reinterpret_cast<const char*>(t) : "NULL");
        }
      }
    }
    sqlite3_finalize(st);
  }
  sqlite3_close_v2(h);
  return rows;
}

// A loopback port nobody listens on: bound once by the system's choice, then let go.
int UnusedPort() {
  int s = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t len = sizeof a;
  int port = -1;
  if (bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0 &&
      getsockname(s, reinterpret_cast<sockaddr*>(&a), &len) == 0)
    port = ntohs(a.sin_port);
  close(s);
  return port;
}

TEST(ProgramShutdown, SigtermEndsTheRunLikeClosingAndLeavesTheJournalWholeInItsFile) {
  const fs::path work = FreshTempDir(), data = work / "data", db = data / "journal.sqlite";
  fs::copy(std::getenv("LUMORA_DATA"), data, fs::copy_options::recursive);
  fs::remove(db);
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  const std::string feed = "http://127.0.0.1:" + std::to_string(UnusedPort()) + "/draws";
  BackgroundProcess lumora(BinDir() / "lumora", {"--data", data.string(), "--feed", feed});
  // Up: its journal holds its run.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (Query(db, "SELECT count(*) FROM runs") != Rows{{"1"}} && std::chrono::steady_clock::now() < deadline) {
    ASSERT_TRUE(lumora.running()) << lumora.err();
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  ASSERT_EQ(Query(db, "SELECT count(*) FROM runs"), (Rows{{"1"}})) << lumora.err();

  EXPECT_EQ(lumora.signalAndWait(SIGTERM, 30), 0) << lumora.err();
  const fs::path alone = work / "alone.sqlite";
  fs::copy_file(db, alone);
  EXPECT_EQ(Query(alone, "PRAGMA integrity_check"), (Rows{{"ok"}}));
  EXPECT_EQ(Query(alone, "SELECT version FROM schema_version"), (Rows{{"3"}}));
  const Rows runs = Query(alone, "SELECT how, data, feed, ended IS NOT NULL FROM runs");
  EXPECT_EQ(runs, (Rows{{"SIGTERM", data.string(), feed, "1"}}));
  EXPECT_EQ(Query(alone, "SELECT version <> '' FROM runs"), (Rows{{"1"}}));
  fs::remove_all(work);
}

}  // namespace
}  // namespace lumora::e2e
