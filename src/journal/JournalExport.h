#pragma once
// The journal as a spreadsheet: plans, judgements, settlements and bet-log lines as one CSV,
// oldest first, UTF-8 with a byte-order mark so spreadsheet programs read the Chinese texts.
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

// One CSV field: quoted when it holds a comma, a quote or a line break (quotes doubled).
std::string CsvField(const std::string& value);

}  // namespace lumora
