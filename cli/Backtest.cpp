#include "cli/Backtest.h"

#include <cstdio>
#include <system_error>

#include <unistd.h>

#include "core/Files.h"
#include "core/Text.h"
#include "settings/SchemeFile.h"

namespace lumora::cli {

namespace fs = std::filesystem;

void PrintingPrompter::inform(const std::string& text, const std::string& title) {
  if (!seen_.insert(title + "\n" + text).second) return;
  std::fprintf(stderr, "lumora-cli: [%s] %s\n", title.c_str(), ToLf(text).c_str());
}

bool WholeNumber(const std::string& text, long long& out) {
  std::string t = Trim(text);
  if (t.empty() || t.size() > 18 || !IsDigits(t)) return false;
  out = std::stoll(t);
  return true;
}

TempData::~TempData() {
  std::error_code ec;
  if (!root.empty()) fs::remove_all(root, ec);
}

std::string PrepareDataFolder(const Args& args, BacktestSettings& settings, TempData& temp) {
  settings.data = DataFolder::Locate(RunningExecutable()).root();
  if (args.has("--curves")) {
    std::error_code ec;
    temp.root = fs::temp_directory_path(ec) / ("lumora-backtest-" + std::to_string(::getpid()));
    fs::create_directories(temp.root, ec);
    if (ec || !fs::copy_file(PathFromUtf8(args.get("--curves")), temp.root / "data.mdb",
                             fs::copy_options::overwrite_existing, ec))
      return "cannot read the curve store " + args.get("--curves");
    fs::copy_file(DataFolder(settings.data).phrases(), temp.root / "zdy.txt", ec);
    settings.data = temp.root;
  }
  if (args.has("--scheme")) {
    auto bytes = ReadWholeFileBytes(PathFromUtf8(args.get("--scheme")));
    if (!bytes) return "cannot read the scheme " + args.get("--scheme");
    settings.schemeText = SchemeTextFromBytes(*bytes);
  }
  return {};
}

}  // namespace lumora::cli
