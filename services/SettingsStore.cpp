#include "services/SettingsStore.h"

#include <system_error>

#include "core/Files.h"
#include "core/Text.h"
#include "services/FieldEscape.h"

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
  if (!std::filesystem::exists(file_, ec)) return;
  auto bytes = ReadWholeFileBytes(file_);
  if (!bytes) {
    error_ = "cannot read " + PathToUtf8(file_);
    return;
  }
  int lineNo = 0;
  for (const std::string& line : Split(ToLf(*bytes), "\n")) {
    ++lineNo;
    if (line.empty()) continue;
    size_t blank = line.find(' ');
    auto user = blank == std::string::npos ? std::nullopt : UnescapeField(line.substr(0, blank));
    auto record = blank == std::string::npos ? std::nullopt : UnescapeField(line.substr(blank + 1));
    if (!user || !record) {
      error_ = PathToUtf8(file_) + ":" + std::to_string(lineNo) + ": unreadable line";
      records_.clear();
      return;
    }
    records_[*user] = *record;
  }
}

bool SettingsStore::put(const std::string& user, const std::string& record) {
  std::lock_guard lock(mutex_);
  auto next = records_;
  next[user] = record;
  std::string text;
  for (const auto& [u, r] : next) text += EscapeField(u) + " " + EscapeField(r) + "\n";
  if (!WriteFileAtomic(file_, text)) return false;
  std::error_code ec;
  std::filesystem::permissions(file_, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write,
                               std::filesystem::perm_options::replace, ec);
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
