#pragma once
// What every lumora-cli command shares: option parsing, draw files, the history they load.
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/DrawFile.h"
#include "core/Context.h"
#include "core/Draws.h"

namespace lumora::cli {

// Exit codes: 0 done, 1 refused (the engine said no), 2 usage or I/O error.
inline constexpr int kUsage = 2;

// "--name value" pairs and bare "--flag"s after the command word.
class Args {
 public:
  // `flags` lists the options that take no value.
  Args(int argc, char** argv, int first, const std::vector<std::string>& flags = {});
  bool ok() const { return error_.empty(); }
  const std::string& error() const { return error_; }
  bool has(const std::string& name) const { return values_.count(name) > 0; }
  std::string get(const std::string& name, const std::string& fallback = {}) const;
  // Every option not in `known` (for a clear "unknown option" message).
  std::vector<std::string> unknown(const std::vector<std::string>& known) const;

 private:
  std::map<std::string, std::string> values_;
  std::string error_;
};

// A draw file (analysis/DrawFile.h: exactly one draw a line, or refused with the line's number).
using DrawFile = DrawFileText;
DrawFile ReadDrawFile(const std::string& path);

// The draws that only fill the history before a backtest judges anything.
inline constexpr size_t kWarmUpDraws = kHistoryRows;
// Why a draw file of `draws` draws gives a backtest nothing to judge ("" when it has more than the
// warm-up).
std::string CheckWarmUp(const std::string& path, size_t draws);

// Why `option`'s file `path` could not be written ("" when it can): tried before any run by
// creating a file beside it, so a long run never ends in an output it cannot write.
std::string CheckOutputPath(const std::string& option, const std::string& path);

// Writes `bytes` to `option`'s file `path` (whole or not at all). Returns why it failed ("" when
// written); a caller with several outputs writes each of them whatever became of the others.
std::string WriteOutput(const std::string& option, const std::string& path, std::string_view bytes);

// Fills DrawHistory rows 1..120 from the 120 draws ending at `draws[end - 1]` (the newest is row
// 1; fewer than 120 leave the older rows empty), sets SubNumberStart and rebuilds SubNumberSeries.
void LoadHistory(DrawStore& store, const std::vector<DrawRecord>& draws, size_t end, int subStart);

// Prints `message` to stderr as "lumora-cli: message" and returns kUsage.
int Fail(const std::string& message);

}  // namespace lumora::cli
