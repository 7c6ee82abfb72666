#pragma once
// The journal: what the program did, kept in `journal.sqlite` in the data folder so it outlives
// the process. It is a Recorder (core/Recorder.h): the engine tells it each applied draw and
// what its after-draw sequence did, and what the draw feed did with answers it did not simply
// apply (table feed_events), and it never gives anything back to the engine's stores.
//
// Rows are collected in memory and written in one transaction per sequence (a kill loses at
// most the sequence in progress); a row told outside a sequence is written at once. A write
// that fails (another program holding the database past the wait, a full disk, a journal that
// could not be opened) keeps its rows in memory, in order, and the next successful commit writes
// them first; past kMaxWaitingRows the oldest whole sequences are dropped and counted (the run's
// row keeps the count). A journal that could not be opened is opened again at every later
// sequence. A damaged file is moved aside under a dated name (with its -wal and -shm) and a new
// journal started. Failures never stop the program: each distinct cause is shown once through
// the prompter, and `statusText()` says what is waiting while it lasts.
//
// Every row carries the number of its run and a sequence number `seq` that orders the whole
// journal as it was written (the clock may jump). The `runs` table keeps each run's start and
// how it ended; a run found unfinished at the next start ended without closing, and the plan
// standing when a run ends is kept as not judged.
#include <chrono>
#include <deque>
#include <filesystem>
#include <functional>
#include <set>
#include <string>
#include <variant>
#include <vector>

#include "core/Ports.h"
#include "core/Recorder.h"

struct sqlite3;

namespace lumora {

inline constexpr const char* kJournalFile = "journal.sqlite";
inline constexpr int kJournalSchemaVersion = 3;

inline constexpr const char* kJournalFailureTitle = "运行记录 / Journal";
inline constexpr const char* kJournalFailureText =
    "运行记录无法写入 journal.sqlite，程序照常运行，本次运行的记录可能不完整。\r\n"
    "The journal journal.sqlite cannot be written. Lumora goes on; this run's record may be incomplete.";

// How a run ended, in its `runs` row: kRunClosed, a signal's name ("SIGTERM", "SIGINT",
// "SIGHUP"), kRunSessionEnd, or kRunNotClosed when the next start found it unfinished.
inline constexpr const char* kRunClosed = "closed";
inline constexpr const char* kRunSessionEnd = "session end";
inline constexpr const char* kRunNotClosed = "ended without closing";

// The reason kept for the plan standing when its run ended.
inline constexpr const char* kPlanNotJudgedClosed =
    "程序关闭时计划尚未开奖 / the program closed before the plan's draw";
inline constexpr const char* kPlanNotJudgedKilled =
    "程序未正常关闭，计划未能开奖 / the program ended without closing before the plan's draw";

// What a run's row says about the program that wrote it.
struct JournalRunInfo {
  std::string version;     // the program's version
  std::string dataFolder;  // the data folder, UTF-8
  std::string feed;        // the draw feed endpoint
};

class Journal final : public Recorder {
 public:
  static constexpr int kMaxWaitingRows = 20000;
  static constexpr std::chrono::milliseconds kBusyWait{5000};

  // `clock` stamps every row (system clock when null); `prompter` shows the notices.
  Journal(std::filesystem::path file, Clock* clock, Prompter* prompter, JournalRunInfo run = {});
  ~Journal() override;  // ends the run as closed unless close() ended it
  Journal(const Journal&) = delete;
  Journal& operator=(const Journal&) = delete;

  // Opens (creating when missing, migrating an older one) the database and starts this run.
  // False when it cannot be opened now; every later sequence tries again.
  bool open();
  // Ends the run: the standing plan is kept as not judged, the rows waiting and the run's end
  // (`how`) are written, the write-ahead log is checkpointed into the database file, and the
  // database closed. Nothing is recorded after it; later calls do nothing.
  void close(const std::string& how);

  bool isOpen() const { return db_ != nullptr; }
  int failures() const { return failures_; }                         // failed opens and commits
  int waiting() const { return static_cast<int>(waiting_.size()); }  // rows kept in memory
  long long lost() const { return lost_; }                           // rows dropped at the bound
  long long run() const { return runId_; }                           // this run's number, 0 before
  const std::filesystem::path& file() const { return file_; }
  // What the main window's status line shows: empty while everything told has been written.
  std::string statusText() const;
  // Told whenever statusText() changes (not while closing).
  void onStatusChange(std::function<void()> listener) { statusListener_ = std::move(listener); }

  // For tests: a shorter wait for a busy database, a smaller bound.
  void setBusyWait(std::chrono::milliseconds wait);
  void setWaitingLimit(int rows) { limit_ = rows; }

  void beginSequence(const std::string& period, const std::string& digits, const std::string& source) override;
  void endSequence() override;
  void planStarted(const PlanStarted& plan) override;
  void drawBetween(const std::string& period, const std::string& digits) override;
  void planJudged(const PlanJudged& judgement) override;
  void planNotJudged(const PlanNotJudged& plan) override;
  void betSettled(const BetSettled& b) override;
  void betNotSettled(const std::string& period, const std::string& reason) override;
  void betLogLine(const std::string& line) override;
  void feedEvent(const FeedEvent& event) override;

  // One bound parameter.
  struct Value {
    std::variant<std::nullptr_t, long long, double, std::string> v;
    Value(std::nullptr_t) : v(nullptr) {}
    Value(long long x) : v(x) {}
    Value(int x) : v(static_cast<long long>(x)) {}
    Value(bool x) : v(static_cast<long long>(x ? 1 : 0)) {}
    Value(double x) : v(x) {}
    Value(std::string x) : v(std::move(x)) {}
  };
  enum class Kind { Draw, SequenceDraw, Plan, Judgement, Settlement, BetLog, NotJudged, NotSettled, Feed, RunEnd };
  // One row told and not yet written: its values after (seq, run, draw_id).
  struct Row {
    Kind kind;
    std::vector<Value> values;
    long long unit = 0;  // the sequence it belongs to, 0 for a row told on its own
  };

 private:
  struct Failure {
    std::string cause;   // what kind of failure: one notice per cause
    std::string reason;  // in words, with SQLite's message
    bool damaged = false;
  };
  bool connect(Failure& why);
  bool tryOpen(Failure& why);
  bool startRun(Failure& why);
  bool moveAside(Failure& why);
  bool flush(bool quick = false);
  bool writeWaiting(Failure& why);
  void add(Kind kind, std::vector<Value> values);
  void failed(const Failure& failure);
  void recovered();
  void closeDb(bool damaged = false);
  void statusMayHaveChanged();
  Failure failure(const std::string& what) const;
  std::string now();

  std::filesystem::path file_;
  Clock* clock_;
  Prompter* prompter_;
  JournalRunInfo info_;
  sqlite3* db_ = nullptr;
  std::string started_;  // the run's start, stamped at the first open
  long long runId_ = 0;
  bool inSequence_ = false;
  bool ending_ = false;  // close() is running
  bool closed_ = false;
  long long unit_ = 0;   // the running sequence, 0 outside one
  long long units_ = 0;  // sequences begun so far
  std::deque<Row> waiting_;
  int limit_ = kMaxWaitingRows;
  long long lost_ = 0;
  long long lostWritten_ = 0;  // the part of lost_ the run's row holds
  std::string standingPlan_;   // period of the plan started and not judged yet
  int busyWaitMs_;
  int failures_ = 0;
  std::string failing_;  // the reason of the failure that lasts, "" when all is written
  std::set<std::string> noticed_;
  std::string lastStatus_;
  std::function<void()> statusListener_;
};

}  // namespace lumora
