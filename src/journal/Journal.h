#pragma once
// The journal: what the program did, kept in `journal.sqlite` in the data folder so it outlives
// the process. It is a Recorder (core/Recorder.h): the engine tells it each applied draw and
// what its after-draw sequence did, and it never gives anything back to the engine's stores.
//
// One transaction per sequence (a kill loses at most the sequence in progress), WAL mode, a
// schema version table. A failure to write never stops the program: the first one is written to
// stderr and shown once through the prompter; later ones are only counted.
#include <filesystem>
#include <string>

#include "core/Ports.h"
#include "core/Recorder.h"

struct sqlite3;

namespace lumora {

inline constexpr const char* kJournalFile = "journal.sqlite";
inline constexpr int kJournalSchemaVersion = 1;

inline constexpr const char* kJournalFailureTitle = "运行记录 / Journal";
inline constexpr const char* kJournalFailureText =
    "运行记录无法写入 journal.sqlite，程序照常运行，本次运行的记录可能不完整。\r\n"
    "The journal journal.sqlite cannot be written. Lumora goes on; this run's record may be incomplete.";

class Journal final : public Recorder {
 public:
  // `clock` stamps every row (system clock when null); `prompter` shows the one failure notice.
  Journal(std::filesystem::path file, Clock* clock, Prompter* prompter);
  ~Journal() override;
  Journal(const Journal&) = delete;
  Journal& operator=(const Journal&) = delete;

  // Opens (creating when missing) the database and its tables. False when it cannot be written;
  // that is the first failure (notice shown) and every later write is a counted failure.
  bool open();
  bool isOpen() const { return db_ != nullptr; }
  int failures() const { return failures_; }
  const std::filesystem::path& file() const { return file_; }

  void beginSequence(const std::string& period, const std::string& digits, const std::string& source) override;
  void endSequence() override;
  void planStarted(const PlanStarted& plan) override;
  void drawBetween(const std::string& period, const std::string& digits) override;
  void planJudged(const PlanJudged& judgement) override;
  void planNotJudged(const PlanNotJudged& plan) override;
  void betSettled(const BetSettled& settlement) override;
  void betNotSettled(const std::string& period, const std::string& reason) override;
  void betLogLine(const std::string& line) override;

 private:
  struct Value;  // one bound parameter
  bool exec(const char* sql);
  bool insert(const char* sql, std::initializer_list<Value> values);
  void fail(const std::string& what);
  std::string now();

  std::filesystem::path file_;
  Clock* clock_;
  Prompter* prompter_;
  sqlite3* db_ = nullptr;
  bool inSequence_ = false;
  long long drawId_ = 0;  // the running sequence's draw row, 0 outside a sequence
  int failures_ = 0;
};

}  // namespace lumora
