#include "journal/JournalExport.h"

#include <sqlite3.h>

#include <cstdio>
#include <regex>
#include <system_error>
#include <vector>

#include "core/Files.h"

namespace lumora {

namespace {

constexpr const char* kHeader =
    "time,kind,period,digits,name,sub_game,size,hit,profit_change,profit,scheme,stake,"
    "multiple,capital,text,reason,run";

// Every kind in the header's columns, in the order the journal wrote them (`seq`), whatever the
// clock said; each row is kept or left out by its own date. A run's start names the program
// version, the data folder and the feed; its end says how it ended.
constexpr const char* kQuery = R"sql(
SELECT at, 'judgement', period, digits, NULL, NULL, NULL, hit, profit_change, profit, scheme, NULL, NULL, NULL, line,
       NULL, run, seq FROM judgements WHERE substr(at, 1, 10) BETWEEN ?1 AND ?2
UNION ALL
SELECT at, 'plan', period, NULL, name, sub_game, size, NULL, NULL, NULL, NULL, NULL, NULL, NULL, pool,
       NULL, run, seq FROM plans WHERE substr(at, 1, 10) BETWEEN ?1 AND ?2
UNION ALL
SELECT at, 'not judged', period, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, line,
       reason, run, seq FROM not_judged WHERE substr(at, 1, 10) BETWEEN ?1 AND ?2
UNION ALL
SELECT at, 'settlement', period, NULL, NULL, NULL, count, hit, NULL, NULL, NULL, stake, multiple, capital, NULL,
       NULL, run, seq FROM settlements WHERE substr(at, 1, 10) BETWEEN ?1 AND ?2
UNION ALL
SELECT at, 'not settled', period, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL,
       reason, run, seq FROM not_settled WHERE substr(at, 1, 10) BETWEEN ?1 AND ?2
UNION ALL
SELECT at, 'feed ' || kind, period, digits, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, text,
       NULL, run, seq FROM feed_events WHERE substr(at, 1, 10) BETWEEN ?1 AND ?2
UNION ALL
SELECT at, 'bet', NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, line,
       NULL, run, seq FROM bet_log WHERE substr(at, 1, 10) BETWEEN ?1 AND ?2
UNION ALL
SELECT started, 'run start', NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL,
       'Lumora ' || version || '; ' || data || '; ' || feed, NULL, id, seq FROM runs
       WHERE substr(started, 1, 10) BETWEEN ?1 AND ?2
UNION ALL
SELECT ended, 'run end', NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL,
       CASE WHEN lost > 0 THEN lost || ' rows not kept' END, how, id, end_seq FROM runs
       WHERE end_seq IS NOT NULL AND substr(ended, 1, 10) BETWEEN ?1 AND ?2
ORDER BY 18
)sql";

// A journal of version 1 (not opened by a later Lumora yet) has no order but its clock.
constexpr const char* kQueryVersion1 = R"sql(
SELECT at, 'judgement', period, digits, NULL, NULL, NULL, hit, profit_change, profit, scheme, NULL, NULL, NULL, line,
       NULL, NULL, 0 AS rank, id FROM judgements WHERE substr(at, 1, 10) BETWEEN ?1 AND ?2
UNION ALL
SELECT at, 'plan', period, NULL, name, sub_game, size, NULL, NULL, NULL, NULL, NULL, NULL, NULL, pool,
       NULL, NULL, 1, id FROM plans WHERE substr(at, 1, 10) BETWEEN ?1 AND ?2
UNION ALL
SELECT at, 'settlement', period, NULL, NULL, NULL, count, hit, NULL, NULL, NULL, stake, multiple, capital, NULL,
       NULL, NULL, 2, id FROM settlements WHERE substr(at, 1, 10) BETWEEN ?1 AND ?2
UNION ALL
SELECT at, 'bet', NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, line,
       NULL, NULL, 3, id FROM bet_log WHERE substr(at, 1, 10) BETWEEN ?1 AND ?2
ORDER BY 1, 18, 19
)sql";

constexpr int kColumns = 17;

bool IsDate(const std::string& s) { return std::regex_match(s, std::regex(R"(\d{4}-\d{2}-\d{2})")); }

std::string Column(sqlite3_stmt* st, int i) {
  switch (sqlite3_column_type(st, i)) {
    case SQLITE_NULL: return {};
    case SQLITE_FLOAT: {
      // Money with up to two decimals, without a trailing ".00".
      char buf[64];
      std::snprintf(buf, sizeof buf, "%.2f", sqlite3_column_double(st, i));
      std::string s = buf;
      while (s.back() == '0') s.pop_back();
      if (s.back() == '.') s.pop_back();
      return s == "-0" ? "0" : s;
    }
    default: return reinterpret_cast<const char*>(sqlite3_column_text(st, i));
  }
}

}  // namespace

std::string CsvField(const std::string& value) {
  if (value.find_first_of(",\"\r\n") == std::string::npos) return value;
  std::string q = "\"";
  for (char c : value) q += c == '"' ? std::string("\"\"") : std::string(1, c);
  return q + "\"";
}

JournalCsv ExportJournalCsv(const std::filesystem::path& db, const std::string& from, const std::string& to) {
  JournalCsv out;
  if ((!from.empty() && !IsDate(from)) || (!to.empty() && !IsDate(to))) {
    out.error = "dates are written YYYY-MM-DD";
    return out;
  }
  std::error_code ec;
  if (!std::filesystem::is_regular_file(db, ec)) {
    out.error = "no journal at " + db.string();
    return out;
  }
  sqlite3* h = nullptr;
  if (sqlite3_open_v2(db.string().c_str(), &h, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
    out.error = std::string("cannot open ") + db.string() + ": " + (h ? sqlite3_errmsg(h) : "out of memory");
    sqlite3_close_v2(h);
    return out;
  }
  sqlite3_busy_timeout(h, 5000);
  long long version = 0;
  sqlite3_stmt* st = nullptr;
  if (sqlite3_prepare_v2(h, "SELECT max(version) FROM schema_version", -1, &st, nullptr) == SQLITE_OK &&
      sqlite3_step(st) == SQLITE_ROW)
    version = sqlite3_column_int64(st, 0);
  sqlite3_finalize(st);
  st = nullptr;
  // A journal of version 2 has no feed events yet: an empty stand-in outside the file.
  if (version == 2)
    sqlite3_exec(
        h,
        "CREATE TEMP TABLE feed_events(at TEXT, kind TEXT, period TEXT, digits TEXT, text TEXT, run INTEGER, seq INTEGER)",
        nullptr, nullptr, nullptr);
  if (sqlite3_prepare_v2(h, version == 1 ? kQueryVersion1 : kQuery, -1, &st, nullptr) != SQLITE_OK) {
    out.error = std::string("not a journal: ") + sqlite3_errmsg(h);
    sqlite3_close_v2(h);
    return out;
  }
  const std::string lo = from.empty() ? "0000-00-00" : from, hi = to.empty() ? "9999-99-99" : to;
  sqlite3_bind_text(st, 1, lo.c_str(), -1, SQLITE_TRANSIENT);
  sqlite3_bind_text(st, 2, hi.c_str(), -1, SQLITE_TRANSIENT);
  out.text = "\xEF\xBB\xBF";
  out.text += kHeader;
  out.text += "\r\n";
  int rc;
  while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
    for (int i = 0; i < kColumns; ++i) {
      if (i) out.text += ',';
      out.text += CsvField(Column(st, i));
    }
    out.text += "\r\n";
    ++out.rows;
  }
  if (rc != SQLITE_DONE) {
    out.error = std::string("reading the journal: ") + sqlite3_errmsg(h);
    out.text.clear();
    out.rows = 0;
  }
  sqlite3_finalize(st);
  sqlite3_close_v2(h);
  return out;
}

std::string BackupJournal(const std::filesystem::path& db, const std::filesystem::path& to) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(db, ec)) return "no journal at " + PathToUtf8(db);
  const std::filesystem::path temp =
      to.parent_path() / PathFromUtf8("." + PathToUtf8(to.filename()) + ".lumora-backup.tmp");
  std::filesystem::remove(temp, ec);
  sqlite3* src = nullptr;
  sqlite3* dst = nullptr;
  std::string error;
  if (sqlite3_open_v2(PathToUtf8(db).c_str(), &src, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK)
    error = "cannot open " + PathToUtf8(db) + ": " + (src ? sqlite3_errmsg(src) : "out of memory");
  else if (sqlite3_open_v2(PathToUtf8(temp).c_str(), &dst, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) !=
           SQLITE_OK)
    error = "cannot write " + PathToUtf8(temp) + ": " + (dst ? sqlite3_errmsg(dst) : "out of memory");
  if (error.empty()) {
    sqlite3_busy_timeout(src, 5000);
    sqlite3_busy_timeout(dst, 5000);
    sqlite3_backup* b = sqlite3_backup_init(dst, "main", src, "main");
    int rc = SQLITE_ERROR;
    if (b) {
      // Every page in one step: one read transaction, so the copy is one moment of the journal.
      for (int tries = 0; tries < 50; ++tries) {
        rc = sqlite3_backup_step(b, -1);
        if (rc != SQLITE_BUSY && rc != SQLITE_LOCKED) break;
        sqlite3_sleep(100);
      }
      sqlite3_backup_finish(b);
    }
    if (rc != SQLITE_DONE) error = std::string("copying the journal: ") + sqlite3_errmsg(dst);
  }
  // The copy stands alone: no write-ahead log; and it must be a journal.
  if (error.empty() && sqlite3_exec(dst, "PRAGMA journal_mode=DELETE", nullptr, nullptr, nullptr) != SQLITE_OK)
    error = std::string("copying the journal: ") + sqlite3_errmsg(dst);
  if (error.empty() && sqlite3_exec(dst, "SELECT version FROM schema_version", nullptr, nullptr, nullptr) != SQLITE_OK)
    error = "not a journal: " + PathToUtf8(db);
  sqlite3_close_v2(src);
  sqlite3_close_v2(dst);
  if (error.empty()) {
    std::filesystem::rename(temp, to, ec);
    if (ec) error = "cannot write " + PathToUtf8(to) + ": " + ec.message();
  }
  if (!error.empty()) std::filesystem::remove(temp, ec);
  return error;
}

}  // namespace lumora
