#include "journal/Journal.h"

#include <sqlite3.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <optional>
#include <system_error>

#include "core/Files.h"

namespace lumora {

namespace {

// Version 1, the tables a new journal starts with too: version 2 is made from it by kToVersion2,
// so a new journal and a migrated one are the same.
constexpr const char* kVersion1 = R"sql(
CREATE TABLE IF NOT EXISTS draws(
  id INTEGER PRIMARY KEY, at TEXT NOT NULL, period TEXT NOT NULL, digits TEXT NOT NULL, source TEXT NOT NULL);
CREATE TABLE IF NOT EXISTS plans(
  id INTEGER PRIMARY KEY, at TEXT NOT NULL, draw_id INTEGER REFERENCES draws(id),
  name TEXT NOT NULL, period TEXT NOT NULL, sub_game TEXT NOT NULL, pool TEXT NOT NULL, size INTEGER NOT NULL);
CREATE TABLE IF NOT EXISTS judgements(
  id INTEGER PRIMARY KEY, at TEXT NOT NULL, draw_id INTEGER REFERENCES draws(id),
  period TEXT NOT NULL, digits TEXT NOT NULL, hit INTEGER NOT NULL, profit_change INTEGER NOT NULL,
  profit INTEGER NOT NULL, scheme TEXT NOT NULL, line TEXT NOT NULL);
CREATE TABLE IF NOT EXISTS settlements(
  id INTEGER PRIMARY KEY, at TEXT NOT NULL, draw_id INTEGER REFERENCES draws(id),
  period TEXT NOT NULL, hit INTEGER NOT NULL, stake REAL NOT NULL, multiple TEXT NOT NULL,
  count INTEGER NOT NULL, capital REAL NOT NULL);
CREATE TABLE IF NOT EXISTS bet_log(
  id INTEGER PRIMARY KEY, at TEXT NOT NULL, draw_id INTEGER REFERENCES draws(id), line TEXT NOT NULL);
INSERT INTO schema_version(version) VALUES(1);
)sql";

// Version 2: runs; every row's run and its place in the order the journal was written (`seq`,
// counted in seq_counter); a draw served between two applications names the draw of the
// sequence that told it (draw_id, source "between"); plans not judged and bets not settled.
// Rows of version 1 are numbered in the order their export gave them (time, then kind).
constexpr const char* kToVersion2 = R"sql(
CREATE TABLE runs(
  id INTEGER PRIMARY KEY, seq INTEGER, started TEXT NOT NULL, version TEXT NOT NULL, data TEXT NOT NULL,
  feed TEXT NOT NULL, end_seq INTEGER, ended TEXT, how TEXT, lost INTEGER NOT NULL DEFAULT 0);
CREATE TABLE not_judged(
  id INTEGER PRIMARY KEY, seq INTEGER, run INTEGER REFERENCES runs(id), draw_id INTEGER REFERENCES draws(id),
  at TEXT NOT NULL, period TEXT NOT NULL, reason TEXT NOT NULL, line TEXT NOT NULL);
CREATE TABLE not_settled(
  id INTEGER PRIMARY KEY, seq INTEGER, run INTEGER REFERENCES runs(id), draw_id INTEGER REFERENCES draws(id),
  at TEXT NOT NULL, period TEXT NOT NULL, reason TEXT NOT NULL);
CREATE TABLE seq_counter(n INTEGER NOT NULL);
ALTER TABLE draws ADD COLUMN draw_id INTEGER REFERENCES draws(id);
ALTER TABLE draws ADD COLUMN run INTEGER REFERENCES runs(id);
ALTER TABLE plans ADD COLUMN run INTEGER REFERENCES runs(id);
ALTER TABLE judgements ADD COLUMN run INTEGER REFERENCES runs(id);
ALTER TABLE settlements ADD COLUMN run INTEGER REFERENCES runs(id);
ALTER TABLE bet_log ADD COLUMN run INTEGER REFERENCES runs(id);
ALTER TABLE draws ADD COLUMN seq INTEGER;
ALTER TABLE plans ADD COLUMN seq INTEGER;
ALTER TABLE judgements ADD COLUMN seq INTEGER;
ALTER TABLE settlements ADD COLUMN seq INTEGER;
ALTER TABLE bet_log ADD COLUMN seq INTEGER;
CREATE TEMP TABLE v1_order AS
  SELECT tbl, id, row_number() OVER (ORDER BY at, rank, id) AS n FROM (
    SELECT 'draws' AS tbl, id, at, 0 AS rank FROM draws UNION ALL
    SELECT 'judgements', id, at, 1 FROM judgements UNION ALL
    SELECT 'plans', id, at, 2 FROM plans UNION ALL
    SELECT 'settlements', id, at, 3 FROM settlements UNION ALL
    SELECT 'bet_log', id, at, 4 FROM bet_log);
CREATE INDEX temp.v1_order_row ON v1_order(tbl, id);
UPDATE draws SET seq = (SELECT n FROM v1_order o WHERE o.tbl = 'draws' AND o.id = draws.id);
UPDATE plans SET seq = (SELECT n FROM v1_order o WHERE o.tbl = 'plans' AND o.id = plans.id);
UPDATE judgements SET seq = (SELECT n FROM v1_order o WHERE o.tbl = 'judgements' AND o.id = judgements.id);
UPDATE settlements SET seq = (SELECT n FROM v1_order o WHERE o.tbl = 'settlements' AND o.id = settlements.id);
UPDATE bet_log SET seq = (SELECT n FROM v1_order o WHERE o.tbl = 'bet_log' AND o.id = bet_log.id);
INSERT INTO seq_counter(n) SELECT count(*) FROM v1_order;
DROP TABLE temp.v1_order;
UPDATE schema_version SET version = 2;
)sql";

// Version 3: what the draw feed did with answers it did not simply apply (refused, applied with
// automatic betting and group send paused, failures, outages).
constexpr const char* kToVersion3 = R"sql(
CREATE TABLE feed_events(
  id INTEGER PRIMARY KEY, seq INTEGER, run INTEGER REFERENCES runs(id), draw_id INTEGER REFERENCES draws(id),
  at TEXT NOT NULL, kind TEXT NOT NULL, period TEXT NOT NULL, digits TEXT NOT NULL, text TEXT NOT NULL);
UPDATE schema_version SET version = 3;
)sql";

// Each kind's insert: seq, run and draw_id first, then the values the row was told with.
const char* InsertSql(Journal::Kind kind) {
  switch (kind) {
    case Journal::Kind::Draw:
    case Journal::Kind::SequenceDraw:
      return "INSERT INTO draws(seq, run, draw_id, at, period, digits, source) VALUES(?,?,?,?,?,?,?)";
    case Journal::Kind::Plan:
      return "INSERT INTO plans(seq, run, draw_id, at, name, period, sub_game, pool, size) VALUES(?,?,?,?,?,?,?,?,?)";
    case Journal::Kind::Judgement:
      return "INSERT INTO judgements(seq, run, draw_id, at, period, digits, hit, profit_change, profit, scheme, line) "
             "VALUES(?,?,?,?,?,?,?,?,?,?,?)";
    case Journal::Kind::Settlement:
      return "INSERT INTO settlements(seq, run, draw_id, at, period, hit, stake, multiple, count, capital) "
             "VALUES(?,?,?,?,?,?,?,?,?,?)";
    case Journal::Kind::BetLog: return "INSERT INTO bet_log(seq, run, draw_id, at, line) VALUES(?,?,?,?,?)";
    case Journal::Kind::NotJudged:
      return "INSERT INTO not_judged(seq, run, draw_id, at, period, reason, line) VALUES(?,?,?,?,?,?,?)";
    case Journal::Kind::NotSettled:
      return "INSERT INTO not_settled(seq, run, draw_id, at, period, reason) VALUES(?,?,?,?,?,?)";
    case Journal::Kind::Feed:
      return "INSERT INTO feed_events(seq, run, draw_id, at, kind, period, digits, text) VALUES(?,?,?,?,?,?,?,?)";
    case Journal::Kind::RunEnd:
      // The draw_id place is unused: a run's end belongs to no sequence.
      return "UPDATE runs SET end_seq = ?1, ended = ?4, how = ?5 WHERE id = ?2 AND ?3 IS NULL";
  }
  return "";
}

// One statement, prepared, bound and stepped to its end. SQLITE_DONE when it went through.
int Step(sqlite3* db, const char* sql, const std::vector<Journal::Value>& values) {
  sqlite3_stmt* st = nullptr;
  int rc = sqlite3_prepare_v2(db, sql, -1, &st, nullptr);
  int i = 0;
  for (const Journal::Value& v : values) {
    if (rc != SQLITE_OK) break;
    ++i;
    if (const auto* n = std::get_if<long long>(&v.v)) rc = sqlite3_bind_int64(st, i, *n);
    else if (const auto* d = std::get_if<double>(&v.v)) rc = sqlite3_bind_double(st, i, *d);
    else if (const auto* s = std::get_if<std::string>(&v.v))
      rc = sqlite3_bind_text(st, i, s->data(), static_cast<int>(s->size()), SQLITE_TRANSIENT);
    else rc = sqlite3_bind_null(st, i);
  }
  if (rc == SQLITE_OK) {
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
    }
  }
  sqlite3_finalize(st);
  return rc;
}

// The first column of the first row of `sql`, or `otherwise`.
long long Number(sqlite3* db, const char* sql, long long otherwise, int* rc = nullptr) {
  sqlite3_stmt* st = nullptr;
  int r = sqlite3_prepare_v2(db, sql, -1, &st, nullptr);
  long long n = otherwise;
  if (r == SQLITE_OK && (r = sqlite3_step(st)) == SQLITE_ROW) {
    if (sqlite3_column_type(st, 0) != SQLITE_NULL) n = sqlite3_column_int64(st, 0);
    r = SQLITE_OK;
  } else if (r == SQLITE_DONE) {
    r = SQLITE_OK;
  }
  sqlite3_finalize(st);
  if (rc) *rc = r;
  return n;
}

// The first `n` bytes of a file (fewer when it is shorter), nothing when it cannot be read.
std::optional<std::string> ReadFilePrefix(const std::filesystem::path& file, std::size_t n) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return std::nullopt;
  std::string s(n, '\0');
  in.read(s.data(), static_cast<std::streamsize>(n));
  s.resize(static_cast<std::size_t>(in.gcount()));
  return s;
}

bool Damaged(int rc) { return (rc & 0xff) == SQLITE_CORRUPT || (rc & 0xff) == SQLITE_NOTADB; }

// The file names a damaged journal is kept under: journal.damaged-20261209-021500.sqlite
// (then -2, -3 ... when that is taken).
std::filesystem::path DamagedName(const std::filesystem::path& file, const std::string& at, int n) {
  std::string stamp;
  for (char c : at) {
    if (c == ' ') stamp += '-';
    else if (c != '-' && c != ':') stamp += c;
  }
  std::string name = PathToUtf8(file.stem()) + ".damaged-" + stamp + (n > 1 ? "-" + std::to_string(n) : "") +
                     PathToUtf8(file.extension());
  return file.parent_path() / PathFromUtf8(name);
}

std::filesystem::path WithSuffix(const std::filesystem::path& p, const char* suffix) {
  return std::filesystem::path(p).concat(suffix);
}

}  // namespace

Journal::Journal(std::filesystem::path file, Clock* clock, Prompter* prompter, JournalRunInfo run)
    : file_(std::move(file)), clock_(clock), prompter_(prompter), info_(std::move(run)),
      busyWaitMs_(static_cast<int>(kBusyWait.count())) {}

Journal::~Journal() { close(kRunClosed); }

void Journal::setBusyWait(std::chrono::milliseconds wait) {
  busyWaitMs_ = static_cast<int>(wait.count());
  if (db_) sqlite3_busy_timeout(db_, busyWaitMs_);
}

std::string Journal::now() { return DateTimeText(clock_ ? clock_->now() : std::chrono::system_clock::now()); }

Journal::Failure Journal::failure(const std::string& what) const {
  const int rc = db_ ? sqlite3_extended_errcode(db_) : SQLITE_ERROR;
  Failure f;
  f.damaged = Damaged(rc);
  switch (rc & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
      f.cause = "busy";
      f.reason = "另一个程序占用着运行记录 / another program holds the journal";
      break;
    case SQLITE_FULL:
      f.cause = "full";
      f.reason = "磁盘已满 / the disk is full";
      break;
    case SQLITE_READONLY:
    case SQLITE_PERM:
    case SQLITE_CANTOPEN:
    case SQLITE_AUTH:
      f.cause = "cannot write";
      f.reason = "文件或文件夹不能写入 / the file or its folder cannot be written";
      break;
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
      f.cause = "damaged";
      f.reason = "文件已损坏 / the file is damaged";
      break;
    default: f.cause = sqlite3_errstr(rc); f.reason = "无法写入 / cannot be written";
  }
  f.reason += " (" + what + (db_ ? std::string(": ") + sqlite3_errmsg(db_) : std::string()) + ")";
  return f;
}

void Journal::closeDb(bool damaged) {
  if (!db_) return;
  // A damaged file is closed as it is: no checkpoint into it, its log kept beside it.
  if (damaged) {
    sqlite3_db_config(db_, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
    int keep = 1;
    sqlite3_file_control(db_, "main", SQLITE_FCNTL_PERSIST_WAL, &keep);
  }
  sqlite3_close_v2(db_);
  db_ = nullptr;
}

bool Journal::open() {
  if (db_) return true;
  if (closed_) return false;
  if (started_.empty()) started_ = now();
  Failure why;
  if (connect(why)) {
    recovered();
    return true;
  }
  failed(why);
  return false;
}

bool Journal::connect(Failure& why) {
  if (tryOpen(why)) return true;
  // A damaged journal is kept aside and a new one started in its place.
  return why.damaged && moveAside(why) && tryOpen(why);
}

bool Journal::tryOpen(Failure& why) {
  // A file that does not even start as a database is not handed to SQLite, which would remove
  // the -wal and -shm beside it.
  if (const auto head = ReadFilePrefix(file_, 16);
      head && !head->empty() && *head != std::string("SQLite format 3\0", 16)) {
    why = {"damaged", "文件已损坏 / the file is damaged (not a database)", true};
    return false;
  }
  sqlite3* db = nullptr;
  int rc = sqlite3_open_v2(PathToUtf8(file_).c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
  db_ = db;
  if (rc != SQLITE_OK) {
    why = failure("open");
    closeDb();
    return false;
  }
  sqlite3_extended_result_codes(db_, 1);
  sqlite3_busy_timeout(db_, busyWaitMs_);
  auto refuse = [&](const std::string& what) {
    why = failure(what);
    closeDb(why.damaged);
    return false;
  };
  if (sqlite3_db_readonly(db_, "main") == 1) {
    why = {"cannot write", "文件或文件夹不能写入 / the file or its folder cannot be written (read-only)", false};
    closeDb();
    return false;
  }
  // journal_mode answers with the mode in force; anything but "wal" is a failure to set it.
  sqlite3_stmt* st = nullptr;
  std::string mode;
  if (sqlite3_prepare_v2(db_, "PRAGMA journal_mode=WAL", -1, &st, nullptr) == SQLITE_OK &&
      sqlite3_step(st) == SQLITE_ROW)
    mode = reinterpret_cast<const char*>(sqlite3_column_text(st, 0));
  sqlite3_finalize(st);
  if (mode != "wal") return refuse("cannot use WAL mode");
  if (sqlite3_exec(db_, "PRAGMA synchronous=NORMAL; PRAGMA foreign_keys=ON", nullptr, nullptr, nullptr) != SQLITE_OK)
    return refuse("settings");
  return startRun(why);
}

// In one transaction: the tables made or brought to this version, runs left unfinished by a
// killed program ended, this run's row. Reading every table's last row finds a file cut short.
bool Journal::startRun(Failure& why) {
  auto undo = [&](const std::string& what) {
    why = failure(what);
    sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    closeDb(why.damaged);
    return false;
  };
  if (sqlite3_exec(db_, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) != SQLITE_OK) return undo("begin");
  if (sqlite3_exec(db_, "CREATE TABLE IF NOT EXISTS schema_version(version INTEGER NOT NULL)", nullptr, nullptr,
                   nullptr) != SQLITE_OK)
    return undo("schema");
  int rc = SQLITE_OK;
  long long version = Number(db_, "SELECT max(version) FROM schema_version", 0, &rc);
  if (rc != SQLITE_OK) return undo("schema version");
  if (version > kJournalSchemaVersion) {
    sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    closeDb();
    why = {"newer",
           "由更新版本的 Lumora 写成 / written by a newer Lumora (schema version " + std::to_string(version) + ")",
           false};
    return false;
  }
  if (version == 0 && sqlite3_exec(db_, kVersion1, nullptr, nullptr, nullptr) != SQLITE_OK) return undo("tables");
  if (version < 2 && sqlite3_exec(db_, kToVersion2, nullptr, nullptr, nullptr) != SQLITE_OK) return undo("version 2");
  if (version < 3 && sqlite3_exec(db_, kToVersion3, nullptr, nullptr, nullptr) != SQLITE_OK) return undo("version 3");
  for (const char* probe :
       {"SELECT max(id) FROM draws", "SELECT max(id) FROM plans", "SELECT max(id) FROM judgements",
        "SELECT max(id) FROM settlements", "SELECT max(id) FROM bet_log", "SELECT max(id) FROM not_judged",
        "SELECT max(id) FROM not_settled", "SELECT max(id) FROM feed_events", "SELECT max(id) FROM runs",
        "SELECT count(*) FROM seq_counter"}) {
    Number(db_, probe, 0, &rc);
    if (rc != SQLITE_OK) return undo("reading");
  }
  long long seq = Number(db_, "SELECT n FROM seq_counter", 0, &rc);
  if (rc != SQLITE_OK) return undo("reading");
  const std::string at = now();
  // Runs that never wrote their end: the program was killed (or the computer lost power). The
  // plan standing at that moment, the run's last plan when nothing judged it after, is kept as
  // not judged.
  std::vector<long long> unfinished;
  {
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db_, "SELECT id FROM runs WHERE how IS NULL ORDER BY id", -1, &st, nullptr) == SQLITE_OK)
      while (sqlite3_step(st) == SQLITE_ROW) unfinished.push_back(sqlite3_column_int64(st, 0));
    sqlite3_finalize(st);
  }
  for (long long r : unfinished) {
    // Its end: the time of its last row.
    std::string ended;
    {
      sqlite3_stmt* st = nullptr;
      if (sqlite3_prepare_v2(
              db_,
              "SELECT at FROM (SELECT at, seq FROM draws WHERE run = ?1 UNION ALL SELECT at, seq FROM plans "
              "WHERE run = ?1 UNION ALL SELECT at, seq FROM judgements WHERE run = ?1 UNION ALL SELECT at, seq "
              "FROM settlements WHERE run = ?1 UNION ALL SELECT at, seq FROM bet_log WHERE run = ?1 UNION ALL "
              "SELECT at, seq FROM not_judged WHERE run = ?1 UNION ALL SELECT at, seq FROM not_settled "
              "WHERE run = ?1 UNION ALL SELECT at, seq FROM feed_events WHERE run = ?1 UNION ALL SELECT started, seq FROM runs WHERE id = ?1) ORDER BY seq DESC LIMIT 1",
              -1, &st, nullptr) == SQLITE_OK &&
          sqlite3_bind_int64(st, 1, r) == SQLITE_OK && sqlite3_step(st) == SQLITE_ROW)
        ended = reinterpret_cast<const char*>(sqlite3_column_text(st, 0));
      sqlite3_finalize(st);
    }
    rc = Step(db_,
              "INSERT INTO not_judged(seq, run, draw_id, at, period, reason, line) "
              "SELECT ?4, ?1, NULL, ?2, p.period, ?3, '' FROM plans p "
              "WHERE p.run = ?1 AND p.seq = (SELECT max(seq) FROM plans WHERE run = ?1) "
              "AND NOT EXISTS (SELECT 1 FROM judgements j WHERE j.run = ?1 AND j.period = p.period AND j.seq > p.seq) "
              "AND NOT EXISTS (SELECT 1 FROM not_judged n WHERE n.run = ?1 AND n.period = p.period AND n.seq > p.seq)",
              {r, ended.empty() ? at : ended, std::string(kPlanNotJudgedKilled), seq + 1});
    if (rc != SQLITE_DONE) return undo("ending an unfinished run");
    if (sqlite3_changes(db_) > 0) ++seq;
    rc = Step(db_, "UPDATE runs SET end_seq = ?, ended = ?, how = ? WHERE id = ?",
              {++seq, ended.empty() ? at : ended, std::string(kRunNotClosed), r});
    if (rc != SQLITE_DONE) return undo("ending an unfinished run");
  }
  rc = Step(db_, "INSERT INTO runs(seq, started, version, data, feed, lost) VALUES(?,?,?,?,?,?)",
            {seq + 1, started_, info_.version, info_.dataFolder, info_.feed, lost_});
  if (rc != SQLITE_DONE) return undo("starting the run");
  runId_ = sqlite3_last_insert_rowid(db_);
  lostWritten_ = lost_;
  if (Step(db_, "UPDATE seq_counter SET n = ?", {seq + 1}) != SQLITE_DONE) return undo("starting the run");
  if (sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK) return undo("commit");
  // The tables reach the database file itself now, not only the write-ahead log.
  sqlite3_wal_checkpoint_v2(db_, nullptr, SQLITE_CHECKPOINT_PASSIVE, nullptr, nullptr);
  return true;
}

bool Journal::moveAside(Failure& why) {
  closeDb();
  const std::string at = now();
  std::filesystem::path kept;
  std::error_code ec;
  for (int n = 1; n < 100; ++n) {
    kept = DamagedName(file_, at, n);
    if (!std::filesystem::exists(kept, ec) && !std::filesystem::exists(WithSuffix(kept, "-wal"), ec)) break;
  }
  std::filesystem::rename(file_, kept, ec);
  if (ec) {
    why.reason += "; 无法改名保存 / cannot be moved aside: " + ec.message();
    why.damaged = false;
    return false;
  }
  for (const char* suffix : {"-wal", "-shm"}) {
    std::error_code ignored;
    if (std::filesystem::exists(WithSuffix(file_, suffix), ignored))
      std::filesystem::rename(WithSuffix(file_, suffix), WithSuffix(kept, suffix), ignored);
  }
  const std::string name = PathToUtf8(kept.filename());
  std::fprintf(stderr, "lumora: journal %s: %s; kept as %s, a new journal started\n", PathToUtf8(file_).c_str(),
               why.reason.c_str(), PathToUtf8(kept).c_str());
  if (!ending_ && prompter_ && noticed_.insert("damaged").second)
    prompter_->inform("运行记录 journal.sqlite 已损坏（" + why.reason + "），原文件已保存为 " + name +
                          "，并已新建运行记录。\r\n"
                          "The journal journal.sqlite was damaged (" +
                          why.reason + "). It was kept as " + name + " and a new journal started.",
                      kJournalFailureTitle);
  return true;
}

void Journal::failed(const Failure& f) {
  ++failures_;
  const bool newCause = noticed_.insert(f.cause).second;
  if (newCause || failing_.empty())
    std::fprintf(stderr, "lumora: journal %s: %s (%d rows waiting)\n", PathToUtf8(file_).c_str(), f.reason.c_str(),
                 waiting());
  failing_ = f.reason;
  if (newCause && !ending_ && prompter_)
    prompter_->inform(std::string(kJournalFailureText) + "\r\n" + f.reason, kJournalFailureTitle);
  statusMayHaveChanged();
}

void Journal::recovered() {
  if (!failing_.empty()) std::fprintf(stderr, "lumora: journal %s: written again\n", PathToUtf8(file_).c_str());
  failing_.clear();
  statusMayHaveChanged();
}

std::string Journal::statusText() const {
  std::string zh, en;
  if (!failing_.empty()) {
    zh = (db_ ? "运行记录暂时无法写入，" : "运行记录未能打开，") + std::to_string(waiting_.size()) + " 条记录等待写入";
    en = (db_ ? "Journal not written now, " : "Journal not open, ") + std::to_string(waiting_.size()) + " rows waiting";
  }
  if (lost_ > 0) {
    zh += (zh.empty() ? "运行记录" : "，") + std::string("因等待过多丢弃了 ") + std::to_string(lost_) + " 条记录";
    en += (en.empty() ? "Journal: " : ", ") + std::to_string(lost_) + " rows dropped (too many waiting)";
  }
  if (zh.empty()) return {};
  return zh + (failing_.empty() ? "" : "：" + failing_) + " / " + en;
}

void Journal::statusMayHaveChanged() {
  std::string s = statusText();
  if (s == lastStatus_) return;
  lastStatus_ = std::move(s);
  if (statusListener_ && !ending_) statusListener_();
}

void Journal::add(Kind kind, std::vector<Value> values) {
  if (closed_) return;
  waiting_.push_back({kind, std::move(values), unit_});
  // A row on its own is written at once. While a failure lasts it does not wait for a busy
  // database (a sequence's commit does): a stream of log lines never holds the window up.
  if (!inSequence_) flush(!failing_.empty());
}

bool Journal::flush(bool quick) {
  if (waiting_.empty()) return true;
  struct Wait {
    Journal& j;
    int ms;
    explicit Wait(Journal& journal, int wait) : j(journal), ms(journal.busyWaitMs_) {
      j.busyWaitMs_ = wait;
      if (j.db_) sqlite3_busy_timeout(j.db_, wait);
    }
    ~Wait() {
      j.busyWaitMs_ = ms;
      if (j.db_) sqlite3_busy_timeout(j.db_, ms);
    }
  } wait(*this, quick ? 0 : busyWaitMs_);
  if (started_.empty()) started_ = now();
  Failure why;
  bool ok = false;
  if (db_ || connect(why)) {
    ok = writeWaiting(why);
    // A journal found damaged while writing is kept aside; the rows go into the new one.
    if (!ok && why.damaged && moveAside(why) && tryOpen(why)) ok = writeWaiting(why);
  }
  if (ok) {
    waiting_.clear();
    recovered();
    return true;
  }
  // What did not go in waits for the next commit; past the bound the oldest whole sequences go.
  long long dropped = 0;
  while (static_cast<int>(waiting_.size()) > limit_) {
    const long long unit = waiting_.front().unit;
    do {
      waiting_.pop_front();
      ++dropped;
    } while (!waiting_.empty() && unit != 0 && waiting_.front().unit == unit);
  }
  if (dropped) {
    lost_ += dropped;
    std::fprintf(stderr, "lumora: journal %s: %lld rows dropped, %d waiting\n", PathToUtf8(file_).c_str(), dropped,
                 waiting());
  }
  failed(why);
  return false;
}

// Every waiting row in one transaction, in the order told. False (and nothing written) on failure.
bool Journal::writeWaiting(Failure& why) {
  auto undo = [&](const std::string& what) {
    why = failure(what);
    sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    if (why.damaged) closeDb(true);
    return false;
  };
  if (sqlite3_exec(db_, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) != SQLITE_OK) return undo("begin");
  int rc = SQLITE_OK;
  long long seq = Number(db_, "SELECT n FROM seq_counter", 0, &rc);
  if (rc != SQLITE_OK) return undo("reading");
  std::map<long long, long long> drawOf;  // sequence -> its draw row
  for (const Row& row : waiting_) {
    std::vector<Value> values{++seq, runId_, nullptr};
    if (row.kind != Kind::SequenceDraw && row.unit) {
      auto it = drawOf.find(row.unit);
      if (it != drawOf.end()) values[2] = it->second;
    }
    values.insert(values.end(), row.values.begin(), row.values.end());
    if (Step(db_, InsertSql(row.kind), values) != SQLITE_DONE) return undo("writing");
    if (row.kind == Kind::SequenceDraw) drawOf[row.unit] = sqlite3_last_insert_rowid(db_);
  }
  if (Step(db_, "UPDATE seq_counter SET n = ?", {seq}) != SQLITE_DONE) return undo("writing");
  if (lost_ != lostWritten_ && Step(db_, "UPDATE runs SET lost = ? WHERE id = ?", {lost_, runId_}) != SQLITE_DONE)
    return undo("writing");
  if (sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK) return undo("commit");
  lostWritten_ = lost_;
  return true;
}

void Journal::close(const std::string& how) {
  if (closed_ || ending_) return;
  ending_ = true;  // no notices, no status from here on: the window may be gone
  statusListener_ = nullptr;
  if (inSequence_) endSequence();
  if (!standingPlan_.empty())
    waiting_.push_back({Kind::NotJudged, {now(), standingPlan_, std::string(kPlanNotJudgedClosed), std::string()}});
  // A run is written when the journal was opened or tried, or something waits to be kept; the
  // last commit waits for a busy database as long as a sequence's does.
  if (db_ || !started_.empty() || !waiting_.empty()) {
    waiting_.push_back({Kind::RunEnd, {now(), how}});
    if (!flush())
      std::fprintf(stderr, "lumora: journal %s: %d rows not written at the end of the run\n", PathToUtf8(file_).c_str(),
                   waiting());
  }
  closed_ = true;
  if (db_) sqlite3_wal_checkpoint_v2(db_, nullptr, SQLITE_CHECKPOINT_TRUNCATE, nullptr, nullptr);
  closeDb();
}

void Journal::beginSequence(const std::string& period, const std::string& digits, const std::string& source) {
  if (inSequence_) endSequence();  // never nests: the earlier one is complete
  if (closed_) return;
  // A journal that could not be opened is tried again with every new sequence.
  if (!db_) open();
  inSequence_ = true;
  unit_ = ++units_;
  waiting_.push_back({Kind::SequenceDraw, {now(), period, digits, source}, unit_});
}

void Journal::endSequence() {
  if (!inSequence_) return;
  inSequence_ = false;
  flush();
  unit_ = 0;
}

void Journal::planStarted(const PlanStarted& p) {
  standingPlan_ = p.period;
  add(Kind::Plan, {now(), p.name, p.period, p.subGame, p.pool, p.size});
}

void Journal::drawBetween(const std::string& period, const std::string& digits) {
  add(Kind::Draw, {now(), period, digits, std::string("between")});
}

void Journal::planJudged(const PlanJudged& j) {
  if (j.period == standingPlan_) standingPlan_.clear();
  add(Kind::Judgement, {now(), j.period, j.digits, j.hit, static_cast<long long>(j.profitChange),
                        static_cast<long long>(j.profit), j.scheme, j.line});
}

void Journal::planNotJudged(const PlanNotJudged& p) {
  if (p.period == standingPlan_) standingPlan_.clear();
  add(Kind::NotJudged, {now(), p.period, p.reason, p.line});
}

void Journal::betSettled(const BetSettled& b) {
  add(Kind::Settlement, {now(), b.period, b.hit, b.stake, b.multiple, b.count, b.capital});
}

void Journal::betNotSettled(const std::string& period, const std::string& reason) {
  add(Kind::NotSettled, {now(), period, reason});
}

void Journal::betLogLine(const std::string& line) { add(Kind::BetLog, {now(), line}); }

void Journal::feedEvent(const FeedEvent& e) { add(Kind::Feed, {now(), e.kind, e.period, e.digits, e.text}); }

}  // namespace lumora
