#include "core/TextCodec.h"

#include <cerrno>
#include <optional>

#ifdef _WIN32
#include <windows.h>
#else
#include <iconv.h>
#endif

namespace lumora {

#ifndef _WIN32
namespace {
std::string Convert(std::string_view in, const char* to, const char* from, std::string_view replacement) {
  iconv_t cd = iconv_open(to, from);
  // iconv_open reports failure as (iconv_t)-1.
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::string(in);  // NOLINT(performance-no-int-to-ptr)
  std::string out;
  out.resize(in.size() * 2 + 16);
  char* src = const_cast<char*>(in.data());
  size_t srcLeft = in.size();
  size_t used = 0;
  while (srcLeft > 0) {
    char* dst = out.data() + used;
    size_t dstLeft = out.size() - used;
    size_t r = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
    used = out.size() - dstLeft;
    if (r != static_cast<size_t>(-1)) break;
    if (errno == E2BIG) {
      out.resize(out.size() * 2);
    } else {  // EILSEQ or EINVAL: replace one byte and go on
      if (out.size() - used < replacement.size() + 8) out.resize(out.size() * 2 + replacement.size());
      out.replace(used, replacement.size(), replacement);
      used += replacement.size();
      ++src;
      --srcLeft;
    }
  }
  out.resize(used);
  iconv_close(cd);
  return out;
}
}  // namespace

std::string ToGbk(std::string_view utf8) { return Convert(utf8, "GB18030", "UTF-8", "?"); }
std::string FromGbk(std::string_view gbk) { return Convert(gbk, "UTF-8", "GB18030", "\xEF\xBF\xBD"); }
#else
namespace {
// Nothing when the system lacks either code page (a call fails): the caller tries the next one.
std::optional<std::string> Convert(std::string_view in, UINT from, UINT to) {
  if (in.empty()) return std::string();
  const int inLen = static_cast<int>(in.size());
  int wlen = MultiByteToWideChar(from, 0, in.data(), inLen, nullptr, 0);
  if (wlen <= 0) return std::nullopt;
  std::wstring wide(static_cast<size_t>(wlen), L'\0');
  if (MultiByteToWideChar(from, 0, in.data(), inLen, wide.data(), wlen) != wlen) return std::nullopt;
  int len = WideCharToMultiByte(to, 0, wide.data(), wlen, nullptr, 0, nullptr, nullptr);
  if (len <= 0) return std::nullopt;
  std::string out(static_cast<size_t>(len), '\0');
  if (WideCharToMultiByte(to, 0, wide.data(), wlen, out.data(), len, nullptr, nullptr) != len) return std::nullopt;
  return out;
}
// GB18030 where the system has it, else GBK (the same bytes for every character GBK holds).
// With neither, the text stays as it is rather than being lost.
constexpr UINT kGbkPages[] = {54936, 936};
}  // namespace
std::string ToGbk(std::string_view utf8) {
  for (UINT page : kGbkPages)
    if (auto out = Convert(utf8, CP_UTF8, page)) return *out;
  return std::string(utf8);
}
std::string FromGbk(std::string_view gbk) {
  for (UINT page : kGbkPages)
    if (auto out = Convert(gbk, page, CP_UTF8)) return *out;
  return std::string(gbk);
}
#endif

bool IsValidUtf8(std::string_view s) {
  auto at = [&](size_t i) { return static_cast<unsigned char>(s[i]); };
  size_t i = 0;
  while (i < s.size()) {
    const unsigned char c = at(i);
    if (c < 0x80) {
      ++i;
      continue;
    }
    size_t n = 0;  // continuation bytes
    // The second byte's range is narrower after E0 and F0 (no overlong forms), ED (no UTF-16
    // surrogates) and F4 (nothing past U+10FFFF).
    unsigned char lo = 0x80, hi = 0xBF;
    if (c >= 0xC2 && c <= 0xDF) {
      n = 1;
    } else if (c >= 0xE0 && c <= 0xEF) {
      n = 2;
      if (c == 0xE0) lo = 0xA0;
      if (c == 0xED) hi = 0x9F;
    } else if (c >= 0xF0 && c <= 0xF4) {
      n = 3;
      if (c == 0xF0) lo = 0x90;
      if (c == 0xF4) hi = 0x8F;
    } else {
      return false;
    }
    if (i + n >= s.size() || at(i + 1) < lo || at(i + 1) > hi) return false;
    for (size_t k = 2; k <= n; ++k)
      if ((at(i + k) & 0xC0) != 0x80) return false;
    i += n + 1;
  }
  return true;
}

bool IsValidGb18030(std::string_view s) {
  auto at = [&](size_t i) { return static_cast<unsigned char>(s[i]); };
  auto lead = [](unsigned char c) { return c >= 0x81 && c <= 0xFE; };
  auto digit = [](unsigned char c) { return c >= 0x30 && c <= 0x39; };
  size_t i = 0;
  while (i < s.size()) {
    unsigned char c = at(i);
    if (c < 0x80) {
      ++i;
      continue;
    }
    if (!lead(c) || i + 1 >= s.size()) return false;
    unsigned char t = at(i + 1);
    if ((t >= 0x40 && t <= 0x7E) || (t >= 0x80 && t <= 0xFE)) {
      i += 2;
    } else if (digit(t) && i + 3 < s.size() && lead(at(i + 2)) && digit(at(i + 3))) {
      i += 4;
    } else {
      return false;
    }
  }
  return true;
}

namespace {
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
}

std::string DecodeText(std::string_view bytes) {
  if (bytes.starts_with(kUtf8Bom)) bytes.remove_prefix(kUtf8Bom.size());
  if (IsValidUtf8(bytes)) return std::string(bytes);
  return FromGbk(bytes);
}

std::string DecodeDataText(std::string_view bytes) {
  if (bytes.starts_with(kUtf8Bom) && IsValidUtf8(bytes.substr(kUtf8Bom.size())))
    return std::string(bytes.substr(kUtf8Bom.size()));
  if (!IsValidGb18030(bytes) && IsValidUtf8(bytes)) return std::string(bytes);
  return FromGbk(bytes);
}

namespace {
// Whether GB18030 bytes hold a four-byte code (a character outside GBK's one- and two-byte codes).
bool HasFourByteCode(std::string_view gb) {
  for (size_t i = 0; i + 1 < gb.size();) {
    const unsigned char c = static_cast<unsigned char>(gb[i]);
    if (c < 0x80) {
      ++i;
      continue;
    }
    const unsigned char t = static_cast<unsigned char>(gb[i + 1]);
    if (t >= 0x30 && t <= 0x39) return true;
    i += 2;
  }
  return false;
}
}  // namespace

std::string EncodeDataText(std::string_view utf8) {
  std::string gbk = ToGbk(utf8);
  if (!HasFourByteCode(gbk) && DecodeDataText(gbk) == utf8) return gbk;
  // Not valid UTF-8 either: no form reads back as these bytes, GBK loses the least.
  if (!IsValidUtf8(utf8)) return gbk;
  return std::string(kUtf8Bom) + std::string(utf8);
}

std::string FileNameText(const std::filesystem::path& name) {
#ifdef _WIN32
  std::u8string u = name.u8string();
  return std::string(u.begin(), u.end());
#else
  return DecodeDataText(name.native());
#endif
}

std::filesystem::path FileNamePath(std::string_view utf8) {
#ifdef _WIN32
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
#else
  return std::filesystem::path(ToGbk(utf8));
#endif
}

}  // namespace lumora
