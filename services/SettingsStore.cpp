#include "services/SettingsStore.h"

#include <system_error>

#include "core/Files.h"
#include "core/Text.h"

namespace lumora::feed {

namespace {

// One line per user in the file: escaped user name, one blank, escaped record. Escaping keeps
// any byte (line breaks, blanks) inside its field.
std::string Escape(const std::string& text) {
  static const char* hex = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : text) {
    bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                 c == '-' || c == '.' || c == '_' || c == '~' || c == '*' || c == '/' || c == '@';
    if (plain) {
      out.push_back(static_cast<char>(c));
    } else {
      out.push_back('%');
      out.push_back(hex[c >> 4]);
      out.push_back(hex[c & 15]);
    }
  }
  return out;
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

std::optional<std::string> Unescape(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '%') {
      out.push_back(text[i]);
      continue;
    }
    if (i + 2 >= text.size()) return std::nullopt;
    int hi = HexValue(text[i + 1]), lo = HexValue(text[i + 2]);
    if (hi < 0 || lo < 0) return std::nullopt;
    out.push_back(static_cast<char>(hi * 16 + lo));
    i += 2;
  }
  return out;
}

}  // namespace

SettingsStore::SettingsStore(std::filesystem::path folder) : file_(folder / "settings.txt") {
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
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
    auto user = blank == std::string::npos ? std::nullopt : Unescape(line.substr(0, blank));
    auto record = blank == std::string::npos ? std::nullopt : Unescape(line.substr(blank + 1));
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
  for (const auto& [u, r] : next) text += Escape(u) + " " + Escape(r) + "\n";
  if (!WriteFileAtomic(file_, text)) return false;
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
