#include "cli/CliSupport.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>

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

DrawFile ReadDrawFile(const std::string& path) { return ReadDrawFileAt(path); }

std::string CheckWarmUp(const std::string& path, size_t draws) {
  if (draws > kWarmUpDraws) return {};
  return path + " has " + std::to_string(draws) + " draws: the first " + std::to_string(kWarmUpDraws) +
         " only fill the history (the " + std::to_string(kWarmUpDraws) +
         "-draw warm-up) and judge nothing; a backtest needs " + std::to_string(kWarmUpDraws + 1) + " draws or more";
}

std::string CheckOutputPath(const std::string& option, const std::string& path) {
  namespace fs = std::filesystem;
  if (path.empty()) return option + " wants a file name";
  const fs::path target = PathFromUtf8(path);
  std::error_code ec;
  if (fs::is_directory(target, ec)) return "cannot write " + option + " " + path + ": it is a folder";
  if (fs::exists(target, ec) && !fs::is_regular_file(target, ec))
    return "cannot write " + option + " " + path + ": it is not a regular file";
  fs::path folder = target.parent_path();
  if (folder.empty()) folder = ".";
  if (!fs::exists(folder, ec))
    return "cannot write " + option + " " + path + ": the folder " + PathToUtf8(folder) + " does not exist";
  if (!fs::is_directory(folder, ec))
    return "cannot write " + option + " " + path + ": " + PathToUtf8(folder) + " is not a folder";
  // The file is written beside its place and renamed over it: the folder must take a new file.
  const fs::path probe = folder / (".lumora-probe-" + std::to_string(std::random_device{}()));
  errno = 0;
  {
    std::ofstream out(probe, std::ios::binary);
    if (!out) {
      const int error = errno;
      return "cannot write " + option + " " + path + ": " +
             (error ? std::string(std::strerror(error)) : "no new file can be made in " + PathToUtf8(folder));
    }
  }
  fs::remove(probe, ec);
  return {};
}

std::string WriteOutput(const std::string& option, const std::string& path, std::string_view bytes) {
  errno = 0;
  if (WriteFileAtomic(PathFromUtf8(path), bytes)) return {};
  const int error = errno;
  return "cannot write " + option + " " + path + (error ? ": " + std::string(std::strerror(error)) : std::string());
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
