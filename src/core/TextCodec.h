#pragma once
// The one text codec: the program works in UTF-8 inside and writes its text files in GBK
// (GB18030), as on the target systems, so a data folder moves between machines. Reading accepts
// GBK and valid UTF-8 alike.
#include <string>
#include <string_view>

namespace lumora {

// UTF-8 -> GB18030 bytes. Characters without a GB18030 form are written as '?'.
std::string ToGbk(std::string_view utf8);

// GB18030 bytes -> UTF-8. Invalid sequences become U+FFFD.
std::string FromGbk(std::string_view gbk);

bool IsValidUtf8(std::string_view bytes);

// File bytes -> UTF-8 text: pure ASCII and valid UTF-8 pass through, anything else is read as GBK.
std::string DecodeText(std::string_view bytes);

}  // namespace lumora
