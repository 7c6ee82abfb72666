#pragma once
// The one text codec: the program works in UTF-8 inside and writes its text files in GBK
// (GB18030), as on the target systems, so a data folder moves between machines. Data files and
// their names are read as GBK first (DecodeDataText); lumora.ini and network answers as UTF-8
// first (DecodeText).
#include <filesystem>
#include <string>
#include <string_view>

namespace lumora {

// UTF-8 -> GB18030 bytes. Characters without a GB18030 form are written as '?'.
std::string ToGbk(std::string_view utf8);

// GB18030 bytes -> UTF-8. Invalid sequences become U+FFFD.
std::string FromGbk(std::string_view gbk);

bool IsValidUtf8(std::string_view bytes);

// The byte structure of GB18030: ASCII, two-byte codes (81-FE then 40-7E or 80-FE) and
// four-byte codes (81-FE, 30-39, 81-FE, 30-39).
bool IsValidGb18030(std::string_view bytes);

// lumora.ini and network answers -> UTF-8 text: a UTF-8 byte-order mark is dropped, valid UTF-8
// passes through, anything else is read as GBK.
std::string DecodeText(std::string_view bytes);

// The one reading of the data folder's files (phrases, schemes, curve store, exports) and of
// their names: GBK, as the players' systems write them, unless the bytes start with a UTF-8
// byte-order mark (then UTF-8, the mark dropped) or are no valid GBK but valid UTF-8. Bytes that
// both readings accept are GBK: "专业直选" written in GBK is valid UTF-8 too (and reads
// "רҵֱѡ" as such). GBK text written back with ToGbk keeps its bytes.
std::string DecodeDataText(std::string_view bytes);

// A file name in the data folder as text: on POSIX its bytes through DecodeDataText, on Windows
// its UTF-16 name.
std::string FileNameText(const std::filesystem::path& name);
// The file name for `utf8` when a new file is made: on POSIX GBK bytes (read back by
// FileNameText), on Windows the UTF-16 name.
std::filesystem::path FileNamePath(std::string_view utf8);

}  // namespace lumora
