#include "cli/CliSupport.h"

#include <algorithm>
#include <cstdio>

#include "core/Files.h"
#include "core/Text.h"

namespace lumora::cli {

Args::Args(int argc, char** argv, int first, const std::vector<std::string>& flags) {
  for (int i = first; i < argc; ++i) {
    std::string a = argv[i];
    if (a.rfind("--", 0) != 0) {
      error_ = "unexpected argument: " + a;
      return;
    }
    if (std::find(flags.begin(), flags.end(), a) != flags.end()) {
      values_[a] = "1";
      continue;
    }
    if (i + 1 >= argc) {
      error_ = "missing value for " + a;
      return;
    }
    values_[a] = argv[++i];
  }
}

std::string Args::get(const std::string& name, const std::string& fallback) const {
  auto it = values_.find(name);
  return it == values_.end() ? fallback : it->second;
}

std::vector<std::string> Args::unknown(const std::vector<std::string>& known) const {
  std::vector<std::string> out;
  for (const auto& [k, v] : values_)
    if (std::find(known.begin(), known.end(), k) == known.end()) out.push_back(k);
  return out;
}

DrawFile ReadDrawFile(const std::string& path) {
  DrawFile file;
  auto text = ReadTextFile(PathFromUtf8(path));
  if (!text) {
    file.error = "cannot read draw file " + path;
    return file;
  }
  int lineNo = 0;
  for (const std::string& raw : SplitCrLf(ToCrLf(*text))) {
    ++lineNo;
    std::string line = Trim(raw);
    if (line.empty()) continue;
    if (line.size() < 8) {
      file.error = path + ":" + std::to_string(lineNo) + ": not a draw line (want e.g. 023-12345): " + line;
      return file;
    }
    DrawRecord r{line.substr(0, 3), line.substr(line.size() - 5)};
    if (!IsDigits(r.digits)) {
      file.error = path + ":" + std::to_string(lineNo) + ": the last five characters must be digits: " + line;
      return file;
    }
    file.draws.push_back(r);
  }
  if (file.draws.empty()) file.error = path + ": no draws";
  return file;
}

void LoadHistory(DrawStore& store, const std::vector<DrawRecord>& draws, size_t end, int subStart) {
  for (auto& row : store.history) row = DrawRecord{};
  end = std::min(end, draws.size());
  for (int i = 1; i <= kHistoryRows && static_cast<size_t>(i) <= end; ++i) store.history[i] = draws[end - i];
  store.subStart = subStart;
  store.rebuildSubSeries();
}

int Fail(const std::string& message) {
  std::fprintf(stderr, "lumora-cli: %s\n", message.c_str());
  return kUsage;
}

}  // namespace lumora::cli
