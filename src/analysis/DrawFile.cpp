#include "analysis/DrawFile.h"

#include <cstdio>

#include "core/Files.h"
#include "core/Text.h"

namespace lumora {
namespace {

std::string ShownLine(std::string_view line) {
  std::string out;
  for (size_t i = 0; i < line.size() && i < 60; ++i) {
    const auto c = static_cast<unsigned char>(line[i]);
    if (c >= 0x20 && c < 0x7F) {
      out += static_cast<char>(c);
    } else {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\x%02X", c);
      out += buf;
    }
  }
  if (line.size() > 60) out += "...";
  return out;
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

DrawFileText ParseDrawFile(std::string_view text, const std::string& name) {
  DrawFileText file;
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  int lineNo = 0;
  for (const std::string& raw : SplitCrLf(ToCrLf(text))) {
    ++lineNo;
    std::string_view line = raw;
    while (!line.empty() && IsBlank(line.front())) line.remove_prefix(1);
    while (!line.empty() && IsBlank(line.back())) line.remove_suffix(1);
    if (line.empty()) continue;
    const bool draw = line.size() == 9 && IsDigits(line.substr(0, 3)) && line[3] == '-' && IsDigits(line.substr(4));
    if (!draw) {
      file.error = name + ":" + std::to_string(lineNo) +
                   ": not a draw line (want three digits, '-', five digits, e.g. 023-12345): " + ShownLine(raw);
      file.draws.clear();
      return file;
    }
    file.draws.push_back(DrawRecord{std::string(line.substr(0, 3)), std::string(line.substr(4))});
  }
  if (file.draws.empty()) file.error = name + ": no draws";
  return file;
}

DrawFileText ReadDrawFileAt(const std::string& utf8Path) {
  auto bytes = ReadWholeFileBytes(PathFromUtf8(utf8Path));
  if (!bytes) return DrawFileText{{}, "cannot read draw file " + utf8Path};
  return ParseDrawFile(*bytes, utf8Path);
}

}  // namespace lumora
