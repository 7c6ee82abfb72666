#pragma once
// Draw files: one draw a line, oldest first, each line exactly the period's three digits, '-' and
// the draw's five digits (023-12345); blanks or tabs around it, blank lines, LF, CR LF or CR line
// breaks and a UTF-8 byte-order mark are allowed. Any other line refuses the file, naming its
// number and showing it (bytes outside printable ASCII as \xNN).
#include <string>
#include <string_view>
#include <vector>

#include "core/Draws.h"

namespace lumora {

struct DrawFileText {
  std::vector<DrawRecord> draws;  // oldest first
  std::string error;              // why the file was refused ("" when read)
};
// `name` names the file in the refusal.
DrawFileText ParseDrawFile(std::string_view text, const std::string& name);
DrawFileText ReadDrawFileAt(const std::string& utf8Path);

}  // namespace lumora
