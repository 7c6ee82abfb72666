// lumora-cli journal: the journal of the data folder as CSV, or a copy of it; both work while
// the program is writing it.
#include <cstdio>
#include <filesystem>
#include <string>

#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "core/Files.h"
#include "journal/Journal.h"
#include "journal/JournalExport.h"

namespace lumora::cli {

int RunJournal(int argc, char** argv) {
  Args args(argc, argv, 0);
  if (!args.ok()) return Fail(args.error());
  auto extra = args.unknown({"--data", "--from", "--to", "--csv", "--backup"});
  if (!extra.empty()) return Fail("unknown option " + extra.front());
  if (args.get("--csv").empty() && args.get("--backup").empty())
    return Fail("journal needs --csv FILE or --backup FILE");
  DataFolder data = DataFolder::Locate(RunningExecutable(), args.get("--data"));
  if (!args.get("--backup").empty()) {
    const std::string error = BackupJournal(data.file(kJournalFile), PathFromUtf8(args.get("--backup")));
    if (!error.empty()) return Fail(error);
    std::printf("copied to %s\n", args.get("--backup").c_str());
  }
  if (args.get("--csv").empty()) return 0;
  JournalCsv csv = ExportJournalCsv(data.file(kJournalFile), args.get("--from"), args.get("--to"));
  if (!csv.error.empty()) return Fail(csv.error);
  if (!WriteFileAtomic(PathFromUtf8(args.get("--csv")), csv.text)) return Fail("cannot write " + args.get("--csv"));
  std::printf("%d rows\n", csv.rows);
  return 0;
}

}  // namespace lumora::cli
