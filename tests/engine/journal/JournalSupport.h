#pragma once
// What the journal's tests share: a scratch folder, reading a database with plain SQL.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <string>
#include <vector>

#include "engine/support/EngineFixture.h"
#include "journal/Journal.h"

namespace lumora::journal_test {

namespace fs = std::filesystem;
using Row = std::vector<std::string>;
using Rows = std::vector<Row>;

using TempDir = testing::ScratchFolder;

// A test with a scratch folder and the journal's file in it.
struct JournalFolder : ::testing::Test {
  TempDir dir;
  const fs::path db = dir.path() / kJournalFile;
};
using JournalFaults = JournalFolder;
using JournalExport = JournalFolder;
using JournalRun = JournalFolder;

// Every row of `sql` as texts ("NULL" for a null).
inline Rows Query(const fs::path& db, const std::string& sql) {
  sqlite3* h = nullptr;
  Rows rows;
  EXPECT_EQ(sqlite3_open_v2(db.c_str(), &h, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
  sqlite3_busy_timeout(h, 5000);
  sqlite3_stmt* st = nullptr;
  EXPECT_EQ(sqlite3_prepare_v2(h, sql.c_str(), -1, &st, nullptr), SQLITE_OK) << sqlite3_errmsg(h);
  while (st && sqlite3_step(st) == SQLITE_ROW) {
    rows.emplace_back();
    for (int i = 0; i < sqlite3_column_count(st); ++i) {
      const unsigned char* t = sqlite3_column_text(st, i);
      rows.back().push_back(t ? reinterpret_cast<const char*>(t) : "NULL");
    }
  }
  sqlite3_finalize(st);
  sqlite3_close_v2(h);
  return rows;
}

}  // namespace lumora::journal_test
