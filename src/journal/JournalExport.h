#pragma once
// The journal as a spreadsheet: runs, plans, judgements, settlements and bet-log lines (and plans
// not judged, bets not settled, with their reason, and the feed's refusals, pauses and failures,
// kind "feed <kind>") as one CSV in the order they were written, UTF-8 with a byte-order mark so spreadsheet programs read the Chinese texts.
#include <filesystem>
#include <string>

namespace lumora {

struct JournalCsv {
  std::string text;   // the whole CSV, BOM first, CR LF line ends
  int rows = 0;       // data rows (without the header)
  std::string error;  // why nothing was exported ("" when exported)
};

// `from` and `to` are dates "YYYY-MM-DD" (either may be empty: no bound), both inclusive. The
// database is opened read-only and never changed.
JournalCsv ExportJournalCsv(const std::filesystem::path& db, const std::string& from, const std::string& to);

// A consistent copy of the journal `db` at `to`, taken while the program may be writing it (one
// read transaction of SQLite's online backup), written beside `to` and renamed over it; the copy
// is a database of its own, without a write-ahead log. Returns why it failed ("" when copied).
std::string BackupJournal(const std::filesystem::path& db, const std::filesystem::path& to);

// One CSV field: quoted when it holds a comma, a quote or a line break (quotes doubled).
std::string CsvField(const std::string& value);

}  // namespace lumora
