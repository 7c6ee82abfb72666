#include "journal/Journal.h"

#include <sqlite3.h>

#include <cstdio>
#include <variant>

namespace lumora {

namespace {

// Version 1. A later version adds its own step after these and raises kJournalSchemaVersion.
constexpr const char* kSchema = R"sql(
CREATE TABLE IF NOT EXISTS schema_version(version INTEGER NOT NULL);
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
)sql";

}  // namespace

struct Journal::Value {
  std::variant<std::nullptr_t, long long, double, std::string> v;
  Value(std::nullptr_t) : v(nullptr) {}
  Value(long long x) : v(x) {}
  Value(int x) : v(static_cast<long long>(x)) {}
  Value(bool x) : v(static_cast<long long>(x ? 1 : 0)) {}
  Value(double x) : v(x) {}
  Value(std::string x) : v(std::move(x)) {}
};

Journal::Journal(std::filesystem::path file, Clock* clock, Prompter* prompter)
    : file_(std::move(file)), clock_(clock), prompter_(prompter) {}

Journal::~Journal() {
  if (!db_) return;
  if (inSequence_) exec("COMMIT");
  sqlite3_close_v2(db_);
}

bool Journal::open() {
  if (db_) return true;
  sqlite3* db = nullptr;
  int rc = sqlite3_open_v2(file_.string().c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
  if (rc != SQLITE_OK) {
    fail(std::string("cannot open: ") + (db ? sqlite3_errmsg(db) : sqlite3_errstr(rc)));
    sqlite3_close_v2(db);
    return false;
  }
  db_ = db;
  sqlite3_busy_timeout(db_, 500);
  auto refuse = [this](const std::string& why) {
    sqlite3_close_v2(db_);
    db_ = nullptr;
    fail(why);
    return false;
  };
  if (sqlite3_db_readonly(db_, "main") == 1) return refuse("the file is read-only");
  // journal_mode answers with the mode in force; anything but "wal" is a failure to set it.
  std::string mode;
  sqlite3_stmt* st = nullptr;
  if (sqlite3_prepare_v2(db_, "PRAGMA journal_mode=WAL", -1, &st, nullptr) == SQLITE_OK && sqlite3_step(st) == SQLITE_ROW)
    mode = reinterpret_cast<const char*>(sqlite3_column_text(st, 0));
  std::string error = sqlite3_errmsg(db_);
  sqlite3_finalize(st);
  if (mode != "wal") return refuse("cannot use WAL mode: " + error);
  if (sqlite3_exec(db_, "PRAGMA synchronous=NORMAL", nullptr, nullptr, nullptr) != SQLITE_OK ||
      sqlite3_exec(db_, kSchema, nullptr, nullptr, nullptr) != SQLITE_OK)
    return refuse(std::string("cannot create the tables: ") + sqlite3_errmsg(db_));
  long long version = 0;
  if (sqlite3_prepare_v2(db_, "SELECT max(version) FROM schema_version", -1, &st, nullptr) == SQLITE_OK &&
      sqlite3_step(st) == SQLITE_ROW)
    version = sqlite3_column_int64(st, 0);
  sqlite3_finalize(st);
  if (version > kJournalSchemaVersion)
    return refuse("written by a newer Lumora (schema version " + std::to_string(version) + ")");
  if (version == 0 && !insert("INSERT INTO schema_version(version) VALUES(?)", {kJournalSchemaVersion})) {
    sqlite3_close_v2(db_);
    db_ = nullptr;
    return false;
  }
  return true;
}

void Journal::fail(const std::string& what) {
  if (++failures_ > 1) return;
  std::fprintf(stderr, "lumora: journal %s: %s\n", file_.string().c_str(), what.c_str());
  if (prompter_) prompter_->inform(kJournalFailureText, kJournalFailureTitle);
}

std::string Journal::now() {
  return DateTimeText(clock_ ? clock_->now() : std::chrono::system_clock::now());
}

bool Journal::exec(const char* sql) {
  if (!db_) {
    fail("not open");
    return false;
  }
  if (sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) == SQLITE_OK) return true;
  fail(std::string(sql) + ": " + sqlite3_errmsg(db_));
  return false;
}

bool Journal::insert(const char* sql, std::initializer_list<Value> values) {
  if (!db_) {
    fail("not open");
    return false;
  }
  sqlite3_stmt* st = nullptr;
  int rc = sqlite3_prepare_v2(db_, sql, -1, &st, nullptr);
  int i = 0;
  for (const Value& v : values) {
    if (rc != SQLITE_OK) break;
    ++i;
    if (const auto* n = std::get_if<long long>(&v.v)) rc = sqlite3_bind_int64(st, i, *n);
    else if (const auto* d = std::get_if<double>(&v.v)) rc = sqlite3_bind_double(st, i, *d);
    else if (const auto* s = std::get_if<std::string>(&v.v))
      rc = sqlite3_bind_text(st, i, s->data(), static_cast<int>(s->size()), SQLITE_TRANSIENT);
    else rc = sqlite3_bind_null(st, i);
  }
  if (rc == SQLITE_OK) rc = sqlite3_step(st);
  std::string error = rc == SQLITE_DONE ? std::string() : sqlite3_errmsg(db_);
  sqlite3_finalize(st);
  if (rc == SQLITE_DONE) return true;
  fail(error);
  return false;
}

void Journal::beginSequence(const std::string& period, const std::string& digits, const std::string& source) {
  if (inSequence_) endSequence();  // never nests: the earlier one is complete
  // Without a transaction (a failed BEGIN) the rows still go in, each on its own.
  inSequence_ = db_ && exec("BEGIN IMMEDIATE");
  drawId_ = 0;
  if (insert("INSERT INTO draws(at, period, digits, source) VALUES(?,?,?,?)", {now(), period, digits, source}))
    drawId_ = sqlite3_last_insert_rowid(db_);
}

void Journal::endSequence() {
  if (inSequence_ && !exec("COMMIT")) sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
  inSequence_ = false;
  drawId_ = 0;
}

void Journal::planStarted(const PlanStarted& p) {
  insert("INSERT INTO plans(at, draw_id, name, period, sub_game, pool, size) VALUES(?,?,?,?,?,?,?)",
         {now(), drawId_ ? Value(drawId_) : Value(nullptr), p.name, p.period, p.subGame, p.pool, p.size});
}

void Journal::planJudged(const PlanJudged& j) {
  insert("INSERT INTO judgements(at, draw_id, period, digits, hit, profit_change, profit, scheme, line) "
         "VALUES(?,?,?,?,?,?,?,?,?)",
         {now(), drawId_ ? Value(drawId_) : Value(nullptr), j.period, j.digits, j.hit, j.profitChange, j.profit,
          j.scheme, j.line});
}

void Journal::betSettled(const BetSettled& b) {
  insert("INSERT INTO settlements(at, draw_id, period, hit, stake, multiple, count, capital) VALUES(?,?,?,?,?,?,?,?)",
         {now(), drawId_ ? Value(drawId_) : Value(nullptr), b.period, b.hit, b.stake, b.multiple, b.count, b.capital});
}

// Placeholders until the journal's schema has their tables.
void Journal::drawBetween(const std::string&, const std::string&) {}
void Journal::planNotJudged(const PlanNotJudged&) {}
void Journal::betNotSettled(const std::string&, const std::string&) {}

void Journal::betLogLine(const std::string& line) {
  insert("INSERT INTO bet_log(at, draw_id, line) VALUES(?,?,?)", {now(), drawId_ ? Value(drawId_) : Value(nullptr), line});
}

}  // namespace lumora
