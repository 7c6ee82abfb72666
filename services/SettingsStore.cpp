#include "services/SettingsStore.h"

#include <system_error>

#include "core/Files.h"
#include "core/Text.h"
#include "services/UserLines.h"

namespace lumora::feed {

SettingsStore::SettingsStore(std::filesystem::path folder) : file_(folder / "settings.txt") {
  std::error_code ec;
  // A folder made here is its owner's alone: it holds the accounts and everyone's records.
  if (std::filesystem::create_directories(folder, ec))
    std::filesystem::permissions(folder, std::filesystem::perms::owner_all, std::filesystem::perm_options::replace, ec);
  if (!std::filesystem::is_directory(folder, ec)) {
    error_ = "cannot create the state folder " + PathToUtf8(folder);
    return;
  }
  UserLines read = ReadUserLines(file_, /*escapedValues=*/true);
  if (!read.unreadable.empty()) error_ = read.unreadable;
  else if (read.badLine) error_ = PathToUtf8(file_) + ":" + std::to_string(read.badLine) + ": unreadable line";
  records_ = std::move(read.entries);
}

bool SettingsStore::put(const std::string& user, const std::string& record) {
  std::lock_guard lock(mutex_);
  auto next = records_;
  next[user] = record;
  if (!WriteUserLines(file_, next, /*escapedValues=*/true)) return false;
  records_ = std::move(next);
  return true;
}

std::optional<std::string> SettingsStore::get(const std::string& user) const {
  std::lock_guard lock(mutex_);
  auto it = records_.find(user);
  if (it == records_.end()) return std::nullopt;
  return it->second;
}

}  // namespace lumora::feed
