#include "journal/JournalExport.h"

#include <sqlite3.h>

#include <cstdio>
#include <regex>
#include <vector>

namespace lumora {

namespace {

constexpr const char* kHeader = "time,kind,period,digits,name,sub_game,size,hit,profit_change,profit,scheme,stake,"
                                "multiple,capital,text";

// Every kind in the header's columns; the rank keeps a sequence's rows in the order they
// happened (judged, then the new plan, then the bet settled, then the log lines).
constexpr const char* kQuery = R"sql(
SELECT at, 'judgement', period, digits, NULL, NULL, NULL, hit, profit_change, profit, scheme, NULL, NULL, NULL, line,
       0 AS rank, id FROM judgements WHERE substr(at, 1, 10) BETWEEN ?1 AND ?2
UNION ALL
SELECT at, 'plan', period, NULL, name, sub_game, size, NULL, NULL, NULL, NULL, NULL, NULL, NULL, pool,
       1, id FROM plans WHERE substr(at, 1, 10) BETWEEN ?1 AND ?2
UNION ALL
SELECT at, 'settlement', period, NULL, NULL, NULL, count, hit, NULL, NULL, NULL, stake, multiple, capital, NULL,
       2, id FROM settlements WHERE substr(at, 1, 10) BETWEEN ?1 AND ?2
UNION ALL
SELECT at, 'bet', NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, line,
       3, id FROM bet_log WHERE substr(at, 1, 10) BETWEEN ?1 AND ?2
ORDER BY 1, 16, 17
)sql";

bool IsDate(const std::string& s) { return std::regex_match(s, std::regex(R"(\d{4}-\d{2}-\d{2})")); }

std::string Column(sqlite3_stmt* st, int i) {
  switch (sqlite3_column_type(st, i)) {
    case SQLITE_NULL:
      return {};
    case SQLITE_FLOAT: {
      // Money with up to two decimals, without a trailing ".00".
      char buf[64];
      std::snprintf(buf, sizeof buf, "%.2f", sqlite3_column_double(st, i));
      std::string s = buf;
      while (s.back() == '0') s.pop_back();
      if (s.back() == '.') s.pop_back();
      return s == "-0" ? "0" : s;
    }
    default:
      return reinterpret_cast<const char*>(sqlite3_column_text(st, i));
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
  sqlite3_busy_timeout(h, 2000);
  sqlite3_stmt* st = nullptr;
  if (sqlite3_prepare_v2(h, kQuery, -1, &st, nullptr) != SQLITE_OK) {
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
    for (int i = 0; i < 15; ++i) {
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

}  // namespace lumora
