#include "services/UserLines.h"

#include <system_error>

#include "core/Files.h"
#include "core/Text.h"
#include "services/FieldEscape.h"

namespace lumora::feed {

UserLines ReadUserLines(const std::filesystem::path& file, bool escapedValues, const AcceptEntry& accept) {
  UserLines out;
  std::error_code ec;
  if (!std::filesystem::exists(file, ec)) return out;
  auto bytes = ReadWholeFileBytes(file);
  if (!bytes) {
    out.unreadable = "cannot read " + PathToUtf8(file);
    return out;
  }
  int lineNo = 0;
  for (const std::string& line : Split(ToLf(*bytes), "\n")) {
    ++lineNo;
    if (line.empty()) continue;
    const size_t blank = line.find(' ');
    auto user = blank == std::string::npos ? std::nullopt : UnescapeField(line.substr(0, blank));
    auto value = blank == std::string::npos ? std::nullopt
                 : escapedValues            ? UnescapeField(line.substr(blank + 1))
                                            : std::optional<std::string>(line.substr(blank + 1));
    if (!user || !value || (accept && !accept(*user, *value))) {
      out.entries.clear();
      out.badLine = lineNo;
      return out;
    }
    out.entries[*user] = *value;
  }
  return out;
}

bool WriteUserLines(const std::filesystem::path& file, const std::map<std::string, std::string>& entries,
                    bool escapedValues) {
  std::string text;
  for (const auto& [user, value] : entries)
    text += EscapeField(user) + " " + (escapedValues ? EscapeField(value) : value) + "\n";
  return WriteFileAtomic(file, text, FileAccess::OwnerOnly);
}

}  // namespace lumora::feed
