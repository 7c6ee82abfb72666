#pragma once
// What `backtest` and `sweep` share on the command line: the data folder and scheme from the
// options, notices printed once, whole-number options. The runs themselves are analysis/.
#include <filesystem>
#include <set>
#include <string>

#include "analysis/Backtest.h"
#include "cli/CliSupport.h"

namespace lumora::cli {

// Notices go to stderr, each distinct one once.
class PrintingPrompter final : public AnsweringPrompter {
 public:
  void inform(const std::string& text, const std::string& title) override;

 private:
  std::set<std::string> seen_;
};

// A whole number of 0 or more with at most 18 digits.
bool WholeNumber(const std::string& text, long long& out);

// A private data folder holding the curve store to use (and the shipped phrases); removed at the end.
struct TempData {
  std::filesystem::path root;
  ~TempData();
};

// settings.data from the shipped data folder or a private copy with --curves FILE, and the text of
// --scheme FILE. Returns why not ("" when done).
std::string PrepareDataFolder(const Args& args, BacktestSettings& settings, TempData& temp);

}  // namespace lumora::cli
