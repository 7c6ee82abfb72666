#pragma once
// The service's one-entry-a-line files (the accounts, the settings records): the escaped user
// name, one blank, the value. Both are read whole and replaced whole, atomically and private to
// their owner.
#include <filesystem>
#include <functional>
#include <map>
#include <string>

namespace lumora::feed {

struct UserLines {
  std::map<std::string, std::string> entries;
  std::string unreadable;  // "cannot read FILE" when the file is there but cannot be read
  int badLine = 0;         // the number of the first line that is not an entry (0: none)
};

// Reads `file` (no entries and no error when it does not exist). Values are unescaped when
// `escapedValues`, else taken as they stand. A line without a blank, with a broken escape or
// refused by `accept` ends the reading with `badLine` set and no entries.
using AcceptEntry = std::function<bool(const std::string& user, const std::string& value)>;
UserLines ReadUserLines(const std::filesystem::path& file, bool escapedValues, const AcceptEntry& accept = {});

// Replaces `file` with `entries`, 0600 from the moment it exists. False when it cannot be written
// (the file is then as it was).
bool WriteUserLines(const std::filesystem::path& file, const std::map<std::string, std::string>& entries,
                    bool escapedValues);

}  // namespace lumora::feed
