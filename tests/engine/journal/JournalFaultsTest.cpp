// The journal under the faults a long run meets, on real files and real SQLite: a damaged file,
// a journal that cannot be opened at start, another connection holding the database, a killed
// run found at the next start, a version-1 journal, a clock that jumps back, a copy taken while
// it is written.
#include <gtest/gtest.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <random>
#include <thread>

#include "core/Files.h"
#include "core/RecordingPorts.h"
#include "core/Text.h"
#include "engine/journal/JournalSupport.h"
#include "journal/Journal.h"
#include "journal/JournalExport.h"
#include "support/RunProgram.h"

namespace lumora {
namespace {

using namespace journal_test;
using namespace std::chrono_literals;

// A journal with its clock and the notices it showed.
struct Recording {
  FixedClock clock;
  RecordingPrompter prompter;
  Journal journal;
  int statusChanges = 0;
  explicit Recording(const fs::path& db) : journal(db, &clock, &prompter, {"0.1", "/data", "http://feed"}) {
    clock.time = std::chrono::system_clock::from_time_t(1796000000);  // 2026-12-01
    journal.onStatusChange([this] { ++statusChanges; });
  }
  // One sequence of a draw, a judgement, a plan and a log line for period `n`.
  void Sequence(int n) {
    const std::string p = std::to_string(n);
    journal.beginSequence(p, "12345", "feed");
    journal.planJudged({p, "12345", false, -10, -10 * n, "方案一<平刷>", "line " + p});
    journal.planStarted({"Lumora计划", std::to_string(n + 1), "后三", "000 001", 2});
    journal.betLogLine("log " + p);
    journal.endSequence();
    clock.advance(1min);
  }
  std::vector<Notice> notices() const { return prompter.notices; }
};

// The kinds and periods of the draws, judgements, plans and log lines in written order.
Rows InOrder(const fs::path& db) {
  return Query(db,
               "SELECT kind, period FROM (SELECT seq, 'draw' AS kind, period FROM draws UNION ALL "
               "SELECT seq, 'judgement', period FROM judgements UNION ALL SELECT seq, 'plan', period FROM plans "
               "UNION ALL SELECT seq, 'log', substr(line, 5) FROM bet_log) ORDER BY seq");
}

Rows Expected(int from, int to) {
  Rows r;
  for (int n = from; n <= to; ++n) {
    const std::string p = std::to_string(n);
    r.push_back({"draw", p});
    r.push_back({"judgement", p});
    r.push_back({"plan", std::to_string(n + 1)});
    r.push_back({"log", p});
  }
  return r;
}

// Every row of a sequence refers to its own draw (a line told on its own refers to none).
void ExpectSequencesWhole(const fs::path& db) {
  EXPECT_EQ(Query(db, "SELECT count(*) FROM judgements j JOIN draws d ON d.id = j.draw_id WHERE d.period <> j.period"),
            (Rows{{"0"}}));
  EXPECT_EQ(
      Query(db, "SELECT count(*) FROM bet_log b JOIN draws d ON d.id = b.draw_id WHERE 'log ' || d.period <> b.line"),
      (Rows{{"0"}}));
}

// Another connection holding the write lock until it is let go.
struct WriteLock {
  sqlite3* h = nullptr;
  explicit WriteLock(const fs::path& db) {
    EXPECT_EQ(sqlite3_open(db.c_str(), &h), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(h, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(h);
  }
  void release() {
    if (h) sqlite3_exec(h, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close_v2(h);
    h = nullptr;
  }
  ~WriteLock() { release(); }
};

std::string Random(size_t n, unsigned seed) {
  std::mt19937 rng(seed);
  std::string s(n, '\0');
  for (char& c : s) c = static_cast<char>(rng());
  return s;
}

TEST_F(JournalFaults, ADamagedFileIsKeptAsideWithItsLogAndANewJournalRecords) {
  struct Case {
    const char* name;
    std::function<void(const fs::path&)> damage;
  } cases[] = {
      {"random bytes",
       [](const fs::path& db) {
         ASSERT_TRUE(WriteFileAtomic(db, Random(40000, 1)));
         ASSERT_TRUE(WriteFileAtomic(fs::path(db).concat("-wal"), Random(9000, 2)));
         ASSERT_TRUE(WriteFileAtomic(fs::path(db).concat("-shm"), Random(32768, 3)));
       }},
      {"cut short",
       [](const fs::path& db) {
         {
           Recording r(db);
           ASSERT_TRUE(r.journal.open());
           for (int n = 1; n <= 300; ++n) r.Sequence(n);
         }
         ASSERT_FALSE(fs::exists(fs::path(db).concat("-wal")));  // all of it in the file
         fs::resize_file(db, fs::file_size(db) / 2);
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir scratch;
    const fs::path file = scratch.path() / kJournalFile;
    c.damage(file);
    const auto before = ReadWholeFileBytes(file);
    const auto wal = ReadWholeFileBytes(fs::path(file).concat("-wal"));
    Recording r(file);
    EXPECT_TRUE(r.journal.open());
    r.Sequence(1);
    r.Sequence(2);
    r.journal.close(kRunClosed);

    // Kept under the local time of the move: journal.damaged-20261201-080000.sqlite in UTC+8.
    const std::string stamp = DateTimeText(std::chrono::system_clock::from_time_t(1796000000));
    const fs::path keptLocal =
        scratch.path() / ("journal.damaged-" + stamp.substr(0, 4) + stamp.substr(5, 2) + stamp.substr(8, 2) + "-" +
                          stamp.substr(11, 2) + stamp.substr(14, 2) + stamp.substr(17, 2) + ".sqlite");
    EXPECT_TRUE(ReadWholeFileBytes(keptLocal) == before) << keptLocal;
    if (wal) {
      EXPECT_TRUE(ReadWholeFileBytes(fs::path(keptLocal).concat("-wal")) == wal);
    }
    EXPECT_EQ(Query(file, "PRAGMA integrity_check"), (Rows{{"ok"}}));
    EXPECT_EQ(InOrder(file), Expected(1, 2));
    EXPECT_EQ(Query(file, "SELECT id, how FROM runs"), (Rows{{"1", "closed"}}));
    ASSERT_EQ(r.notices().size(), 1u);
    EXPECT_NE(r.notices()[0].text.find(PathToUtf8(keptLocal.filename())), std::string::npos) << r.notices()[0].text;
    EXPECT_NE(r.notices()[0].text.find("damaged"), std::string::npos);
    EXPECT_EQ(r.journal.statusText(), "");
  }
}

TEST_F(JournalFaults, AJournalThatCouldNotOpenAtStartOpensAtALaterSequence) {
  const fs::path folder = dir.path() / "not yet";
  const fs::path late = folder / kJournalFile;
  Recording r(late);
  EXPECT_FALSE(r.journal.open());
  r.Sequence(1);
  r.Sequence(2);
  EXPECT_FALSE(r.journal.isOpen());
  EXPECT_EQ(r.journal.waiting(), 8);
  EXPECT_NE(r.journal.statusText().find("8 rows waiting"), std::string::npos) << r.journal.statusText();
  EXPECT_GT(r.statusChanges, 0);
  fs::create_directory(folder);  // the space, the folder, the permission is back
  r.Sequence(3);
  EXPECT_TRUE(r.journal.isOpen());
  EXPECT_EQ(r.journal.waiting(), 0);
  EXPECT_EQ(r.journal.statusText(), "");
  EXPECT_EQ(InOrder(late), Expected(1, 3));
  ExpectSequencesWhole(late);
  // The rows told before it could open belong to this run, which started when the program did.
  EXPECT_EQ(Query(late, "SELECT DISTINCT run FROM draws"), (Rows{{"1"}}));
  EXPECT_EQ(Query(late, "SELECT started FROM runs"),
            (Rows{{DateTimeText(std::chrono::system_clock::from_time_t(1796000000))}}));
  EXPECT_EQ(r.notices().size(), 1u);  // one cause, one notice
}

TEST_F(JournalFaults, ABusyDatabaseIsWaitedForAndTheRowsArriveInOrder) {
  Recording r(db);
  ASSERT_TRUE(r.journal.open());
  r.Sequence(1);
  WriteLock other(db);
  std::thread letGo([&] {
    std::this_thread::sleep_for(2s);
    other.release();
  });
  const auto start = std::chrono::steady_clock::now();
  r.Sequence(2);
  r.journal.betLogLine("log x");  // on its own, after the sequence
  const auto waited = std::chrono::steady_clock::now() - start;
  letGo.join();
  EXPECT_GE(waited, 1500ms);  // the lock was really held while the sequence was written
  r.Sequence(3);
  Rows want = Expected(1, 3);
  want.insert(want.begin() + 8, Row{"log", "x"});
  EXPECT_EQ(InOrder(db), want);
  EXPECT_EQ(r.journal.failures(), 0);
  EXPECT_TRUE(r.notices().empty());
  EXPECT_EQ(r.statusChanges, 0);
}

TEST_F(JournalFaults, RowsThatOutlastTheWaitAreKeptAndWrittenAtTheNextCommit) {
  Recording r(db);
  ASSERT_TRUE(r.journal.open());
  r.journal.setBusyWait(200ms);
  r.Sequence(1);
  {
    WriteLock other(db);
    r.Sequence(2);
    r.journal.betLogLine("log y");
    r.Sequence(3);
    EXPECT_EQ(r.journal.waiting(), 9);
    EXPECT_NE(r.journal.statusText().find("9 rows waiting"), std::string::npos) << r.journal.statusText();
    EXPECT_NE(r.journal.statusText().find("another program holds the journal"), std::string::npos);
    EXPECT_EQ(r.notices().size(), 1u);  // three failures, one cause, one notice
    EXPECT_EQ(InOrder(db), Expected(1, 1));
  }
  r.Sequence(4);
  Rows want = Expected(1, 4);
  want.insert(want.begin() + 8, Row{"log", "y"});
  EXPECT_EQ(InOrder(db), want);
  ExpectSequencesWhole(db);
  EXPECT_EQ(r.journal.waiting(), 0);
  EXPECT_EQ(r.journal.statusText(), "");
  EXPECT_EQ(r.notices().size(), 1u);

  // At the bound the oldest whole sequences give way; the run's row counts them.
  r.journal.setWaitingLimit(10);
  {
    WriteLock other(db);
    for (int n = 5; n <= 8; ++n) r.Sequence(n);
    EXPECT_EQ(r.journal.waiting(), 8);  // sequences 7 and 8
    EXPECT_EQ(r.journal.lost(), 8);     // sequences 5 and 6
    EXPECT_NE(r.journal.statusText().find("8 rows dropped"), std::string::npos) << r.journal.statusText();
  }
  r.Sequence(9);
  Rows kept = want;
  for (const Row& row : Expected(7, 9)) kept.push_back(row);
  EXPECT_EQ(InOrder(db), kept);
  EXPECT_EQ(Query(db, "SELECT lost FROM runs"), (Rows{{"8"}}));
}

// A run in a child process that ends without closing (a kill), after a plan for period 8.
void RunKilled(const fs::path& db) {
  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    auto* r = new Recording(db);  // never closed
    r->clock.advance(1h);
    if (!r->journal.open()) _exit(3);
    for (int n = 5; n <= 7; ++n) r->Sequence(n);
    _exit(0);
  }
  int status = 0;
  waitpid(child, &status, 0);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
}

TEST_F(JournalFaults, RunsAreRecordedAndAKilledRunIsFoundAtTheNextStart) {
  {
    Recording r(db);
    ASSERT_TRUE(r.journal.open());
    EXPECT_EQ(r.journal.run(), 1);
    r.Sequence(1);
    r.Sequence(2);
    r.journal.planNotJudged({"3", "没有3期的开奖号", "line 3"});  // the standing plan, accounted for already
    r.journal.close("SIGTERM");
  }
  RunKilled(db);
  Recording r(db);
  r.clock.advance(2h);
  ASSERT_TRUE(r.journal.open());
  EXPECT_EQ(r.journal.run(), 3);
  r.Sequence(9);
  const std::string t0 = DateTimeText(std::chrono::system_clock::from_time_t(1796000000));
  auto at = [](std::chrono::minutes m) { return DateTimeText(std::chrono::system_clock::from_time_t(1796000000) + m); };
  EXPECT_EQ(Query(db, "SELECT id, started, version, data, feed, ended, how FROM runs"),
            (Rows{{"1", t0, "0.1", "/data", "http://feed", at(2min), "SIGTERM"},
                  {"2", at(60min), "0.1", "/data", "http://feed", at(62min), kRunNotClosed},
                  {"3", at(120min), "0.1", "/data", "http://feed", "NULL", "NULL"}}));
  // Run 1's plan for 3 was not judged for its own reason; run 2's plan for 8 was standing at the kill.
  EXPECT_EQ(Query(db, "SELECT run, period, reason FROM not_judged ORDER BY seq"),
            (Rows{{"1", "3", "没有3期的开奖号"}, {"2", "8", kPlanNotJudgedKilled}}));
  EXPECT_EQ(Query(db, "SELECT run, count(*) FROM draws GROUP BY run"), (Rows{{"1", "2"}, {"2", "3"}, {"3", "1"}}));
  // In the export each run starts and ends where it did.
  JournalCsv csv = ExportJournalCsv(db, "", "");
  ASSERT_EQ(csv.error, "");
  std::vector<std::string> kinds;
  for (const std::string& line : Split(csv.text.substr(3), "\r\n"))
    if (!line.empty()) kinds.push_back(Split(line, ",")[1]);
  EXPECT_EQ(kinds,
            (std::vector<std::string>{
                "kind",    "run start", "judgement",  "plan",    "bet",       "judgement", "plan", "bet", "not judged",
                "run end", "run start", "judgement",  "plan",    "bet",       "judgement", "plan", "bet", "judgement",
                "plan",    "bet",       "not judged", "run end", "run start", "judgement", "plan", "bet"}));
}

// The tables and rows of version 1, as that version wrote them.
void WriteVersion1(const fs::path& db) {
  sqlite3* h = nullptr;
  ASSERT_EQ(sqlite3_open(db.c_str(), &h), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(h, R"sql(
PRAGMA journal_mode=WAL;
CREATE TABLE schema_version(version INTEGER NOT NULL);
CREATE TABLE draws(
  id INTEGER PRIMARY KEY, at TEXT NOT NULL, period TEXT NOT NULL, digits TEXT NOT NULL, source TEXT NOT NULL);
CREATE TABLE plans(
  id INTEGER PRIMARY KEY, at TEXT NOT NULL, draw_id INTEGER REFERENCES draws(id),
  name TEXT NOT NULL, period TEXT NOT NULL, sub_game TEXT NOT NULL, pool TEXT NOT NULL, size INTEGER NOT NULL);
CREATE TABLE judgements(
  id INTEGER PRIMARY KEY, at TEXT NOT NULL, draw_id INTEGER REFERENCES draws(id),
  period TEXT NOT NULL, digits TEXT NOT NULL, hit INTEGER NOT NULL, profit_change INTEGER NOT NULL,
  profit INTEGER NOT NULL, scheme TEXT NOT NULL, line TEXT NOT NULL);
CREATE TABLE settlements(
  id INTEGER PRIMARY KEY, at TEXT NOT NULL, draw_id INTEGER REFERENCES draws(id),
  period TEXT NOT NULL, hit INTEGER NOT NULL, stake REAL NOT NULL, multiple TEXT NOT NULL,
  count INTEGER NOT NULL, capital REAL NOT NULL);
CREATE TABLE bet_log(
  id INTEGER PRIMARY KEY, at TEXT NOT NULL, draw_id INTEGER REFERENCES draws(id), line TEXT NOT NULL);
INSERT INTO schema_version VALUES(1);
INSERT INTO draws VALUES(1, '2026-11-30 10:00:00', '101', '11111', 'feed');
INSERT INTO judgements VALUES(1, '2026-11-30 10:00:00', 1, '101', '11111', 1, 940, 940, 'S', 'judged 101');
INSERT INTO plans VALUES(1, '2026-11-30 10:00:00', 1, 'P', '102', '后三', '000', 1);
INSERT INTO bet_log VALUES(1, '2026-11-30 09:59:00', NULL, 'log 0');
INSERT INTO draws VALUES(2, '2026-11-30 10:01:00', '102', '22222', 'feed');
INSERT INTO judgements VALUES(2, '2026-11-30 10:01:00', 2, '102', '22222', 0, -60, 880, 'S', 'judged 102');
)sql",
                         nullptr, nullptr, nullptr),
            SQLITE_OK)
      << sqlite3_errmsg(h);
  sqlite3_close(h);
}

TEST_F(JournalFaults, AVersion1JournalIsMigratedInPlaceKeepingItsRows) {
  WriteVersion1(db);
  // Exported as it is before a later program opens it.
  JournalCsv v1 = ExportJournalCsv(db, "", "");
  ASSERT_EQ(v1.error, "");
  EXPECT_EQ(v1.rows, 4);
  {
    Recording r(db);
    ASSERT_TRUE(r.journal.open());
    r.Sequence(103);
  }
  EXPECT_EQ(Query(db, "SELECT version FROM schema_version"), (Rows{{"3"}}));
  EXPECT_EQ(Query(db, "PRAGMA foreign_key_check"), Rows{});
  // The old rows in the order their export gave them, without a run; the new ones after them.
  EXPECT_EQ(InOrder(db), (Rows{{"log", "0"},
                               {"draw", "101"},
                               {"judgement", "101"},
                               {"plan", "102"},
                               {"draw", "102"},
                               {"judgement", "102"},
                               {"draw", "103"},
                               {"judgement", "103"},
                               {"plan", "104"},
                               {"log", "103"}}));
  EXPECT_EQ(Query(db, "SELECT period, run FROM draws ORDER BY seq"),
            (Rows{{"101", "NULL"}, {"102", "NULL"}, {"103", "1"}}));
  JournalCsv v2 = ExportJournalCsv(db, "", "");
  ASSERT_EQ(v2.error, "");
  const auto lines = Split(v2.text.substr(3), "\r\n");
  EXPECT_EQ(lines[1], "2026-11-30 09:59:00,bet,,,,,,,,,,,,,log 0,,");
  EXPECT_EQ(lines[2], "2026-11-30 10:00:00,judgement,101,11111,,,,1,940,940,S,,,,judged 101,,");
}

TEST_F(JournalExport, OrdersByWhatWasWrittenAndFiltersByEachRowsDateWhenTheClockJumpsBack) {
  Recording r(db);
  const auto day2 = r.clock.time;
  ASSERT_TRUE(r.journal.open());
  r.Sequence(1);
  r.clock.time = day2 - 24h;  // the clock is set back a day
  r.Sequence(2);
  r.clock.time = day2 + 1h;
  r.Sequence(3);
  auto periods = [&](const std::string& from, const std::string& to) {
    JournalCsv csv = ExportJournalCsv(db, from, to);
    EXPECT_EQ(csv.error, "");
    std::vector<std::string> out;
    for (const std::string& line : Split(csv.text.substr(3), "\r\n")) {
      const auto f = Split(line, ",");
      if (f.size() > 2 && f[1] == "judgement") out.push_back(f[2]);
    }
    return out;
  };
  const std::string d1 = DateTimeText(day2 - 24h).substr(0, 10), d2 = DateTimeText(day2).substr(0, 10);
  EXPECT_EQ(periods("", ""), (std::vector<std::string>{"1", "2", "3"}));
  EXPECT_EQ(periods(d1, d1), (std::vector<std::string>{"2"}));
  EXPECT_EQ(periods(d2, ""), (std::vector<std::string>{"1", "3"}));
  EXPECT_EQ(periods("", d1), (std::vector<std::string>{"2"}));
}

// The child's loop: sequences of four rows each, as fast as it can, until it is killed.
[[noreturn]] void WriteForever(const fs::path& db) {
  Recording r(db);
  if (!r.journal.open()) _exit(3);
  for (int n = 1;; ++n) {
    r.Sequence(n);
    std::this_thread::sleep_for(2ms);
  }
}

TEST_F(JournalExport, ABackupAndAnExportWhileAnotherProcessWrites) {
  {
    Recording r(db);
    ASSERT_TRUE(r.journal.open());
    r.Sequence(0);
  }
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) WriteForever(db);
  struct Stop {
    pid_t pid;
    ~Stop() {
      kill(pid, SIGKILL);
      waitpid(pid, nullptr, 0);
    }
  } stop{child};
  std::this_thread::sleep_for(200ms);
  const std::string data = dir.path().string();
  long long before = 0;
  for (int i = 0; i < 5; ++i) {
    SCOPED_TRACE("copy " + std::to_string(i));
    const fs::path copy = dir.path() / ("copy" + std::to_string(i) + ".sqlite");
    ASSERT_EQ(testing::RunCli({"journal", "--data", data, "--backup", copy.string()}).exitCode, 0);
    ASSERT_EQ(testing::RunCli({"journal", "--data", data, "--csv", (dir.path() / "out.csv").string()}).exitCode, 0);
    EXPECT_FALSE(fs::exists(fs::path(copy).concat("-wal")));
    EXPECT_EQ(Query(copy, "PRAGMA integrity_check"), (Rows{{"ok"}}));
    EXPECT_EQ(Query(copy, "PRAGMA journal_mode"), (Rows{{"delete"}}));
    // One moment of the journal: whole sequences only, the counter past every row.
    ExpectSequencesWhole(copy);
    EXPECT_EQ(
        Query(copy, "SELECT count(*) FROM draws d WHERE (SELECT count(*) FROM plans p WHERE p.draw_id = d.id) <> 1"),
        (Rows{{"0"}}));
    EXPECT_EQ(Query(copy, "SELECT (SELECT n FROM seq_counter) >= max(seq) FROM draws"), (Rows{{"1"}}));
    const long long draws = std::stoll(Query(copy, "SELECT count(*) FROM draws")[0][0]);
    EXPECT_GE(draws, before);
    before = draws;
    std::this_thread::sleep_for(100ms);
  }
  EXPECT_GT(before, 2);  // the writer was writing while the copies were taken
  // Copying nothing is an error, and leaves nothing behind.
  EXPECT_NE(BackupJournal(dir.path() / "none.sqlite", dir.path() / "x.sqlite"), "");
  EXPECT_FALSE(fs::exists(dir.path() / "x.sqlite"));
}

}  // namespace
}  // namespace lumora
