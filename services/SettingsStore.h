#pragma once
// The settings service's records: one per user name, kept in one file that is replaced
// atomically on every change, so a restart or a crash loses nothing.
#include <filesystem>
#include <map>
#include <mutex>
#include <optional>
#include <string>

namespace lumora::feed {

class SettingsStore {
 public:
  // Reads `folder`/settings.txt when it exists. `error` is set when the folder cannot be created
  // or the file cannot be read.
  explicit SettingsStore(std::filesystem::path folder);
  const std::string& error() const { return error_; }
  const std::filesystem::path& file() const { return file_; }

  // Stores `record` for `user` and writes the file; false (and nothing changed) when the write fails.
  bool put(const std::string& user, const std::string& record);
  std::optional<std::string> get(const std::string& user) const;

 private:
  std::filesystem::path file_;
  std::string error_;
  mutable std::mutex mutex_;
  std::map<std::string, std::string> records_;
};

}  // namespace lumora::feed
