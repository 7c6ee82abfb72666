#pragma once
// The one text codec: the program works in UTF-8 inside and writes its text files in GBK, as on
// the target systems, so a data folder moves between machines; a text GBK cannot hold is written
// as UTF-8 with a byte-order mark (EncodeDataText). Data files and their names are read as GBK
// (GB18030) first (DecodeDataText); lumora.ini and network answers as UTF-8 first (DecodeText).
#include <filesystem>
#include <string>
#include <string_view>

namespace lumora {

// UTF-8 -> GB18030 bytes. Characters without a GB18030 form are written as '?'.
std::string ToGbk(std::string_view utf8);

// GB18030 bytes -> UTF-8. Invalid sequences become U+FFFD.
std::string FromGbk(std::string_view gbk);

// Well-formed UTF-8: no overlong forms, no UTF-16 surrogates, nothing past U+10FFFF (text that
// passes converts to GB18030 whole).
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

// The one writing of the data folder's text files, the inverse of DecodeDataText: GBK bytes
// (ToGbk) when every character has a one- or two-byte GBK code and the bytes read back as the
// same text, which other programs and older copies read; otherwise the UTF-8 text behind a
// byte-order mark (an emoji, a character GBK lacks, GBK bytes that begin as a byte-order mark).
// DecodeDataText(EncodeDataText(t)) == t for every valid UTF-8 text t.
std::string EncodeDataText(std::string_view utf8);

// A file name in the data folder as text: on POSIX its bytes through DecodeDataText, on Windows
// its UTF-16 name.
std::string FileNameText(const std::filesystem::path& name);
// The file name for `utf8` when a new file is made: on POSIX GB18030 bytes (GBK for every
// character GBK holds, a four-byte code for the others, such as an emoji; read back by
// FileNameText), on Windows the UTF-16 name. A name need not read back as itself (a character
// GB18030 lacks becomes "?", GBK bytes may begin as a byte-order mark): check with FileNameText.
std::filesystem::path FileNamePath(std::string_view utf8);

}  // namespace lumora
