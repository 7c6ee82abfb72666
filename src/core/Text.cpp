#include "core/Text.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace lumora {

namespace {
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
}  // namespace

double ReadNumber(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  std::string number;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) number += text[i++];
  bool digits = false;
  while (i < text.size() && IsDigit(text[i])) {
    number += text[i++];
    digits = true;
  }
  if (i < text.size() && text[i] == '.') {
    number += text[i++];
    while (i < text.size() && IsDigit(text[i])) {
      number += text[i++];
      digits = true;
    }
  }
  if (!digits) return 0.0;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    size_t j = i + 1;
    std::string exponent = "e";
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) exponent += text[j++];
    bool expDigits = false;
    while (j < text.size() && IsDigit(text[j])) {
      exponent += text[j++];
      expDigits = true;
    }
    if (expDigits) number += exponent;
  }
  double value = std::strtod(number.c_str(), nullptr);
  if (!std::isfinite(value)) return 0.0;
  return value;
}

int64_t RoundHalfEven(double value) {
  if (!std::isfinite(value)) return 0;
  double r = std::nearbyint(value);  // default rounding mode is to nearest, ties to even
  if (r >= 9.2e18) return std::numeric_limits<int64_t>::max();
  if (r <= -9.2e18) return std::numeric_limits<int64_t>::min();
  return static_cast<int64_t>(r);
}

double RoundHalfEvenTo(double value, int digits) {
  double scale = std::pow(10.0, digits);
  return std::nearbyint(value * scale) / scale;
}

int64_t RoundQuotientScaled(int64_t num, int64_t den, int digits) {
  if (den == 0) return 0;
  digits = std::clamp(digits, 0, 9);
  __int128 n = num, d = den;
  if (d < 0) n = -n, d = -d;
  for (int i = 0; i < digits; ++i) n *= 10;
  __int128 q = n / d, r = n % d;
  if (r < 0) q -= 1, r += d;  // floor, so that 0 <= r < d
  if (2 * r > d || (2 * r == d && (q & 1) != 0)) q += 1;
  if (q > std::numeric_limits<int64_t>::max()) return std::numeric_limits<int64_t>::max();
  if (q < std::numeric_limits<int64_t>::min()) return std::numeric_limits<int64_t>::min();
  return static_cast<int64_t>(q);
}

double RoundQuotientTo(int64_t num, int64_t den, int digits) {
  return static_cast<double>(RoundQuotientScaled(num, den, digits)) / std::pow(10.0, std::clamp(digits, 0, 9));
}

int32_t ReadInt(std::string_view text) {
  int64_t v = RoundHalfEven(ReadNumber(text));
  if (v > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  if (v < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(v);
}

std::optional<int32_t> ReadStrictInt(std::string_view text) {
  std::string_view t = TrimView(text);
  std::string_view digits = t;
  if (!digits.empty() && (digits[0] == '-' || digits[0] == '+')) digits.remove_prefix(1);
  if (!IsDigits(digits) || digits.size() > 9) return std::nullopt;
  return ReadInt(t);
}

bool IsDigits(std::string_view text) {
  if (text.empty()) return false;
  for (char c : text)
    if (!IsDigit(c)) return false;
  return true;
}

std::string_view TrimView(std::string_view text) {
  size_t b = 0, e = text.size();
  while (b < e && IsBlank(text[b])) ++b;
  while (e > b && IsBlank(text[e - 1])) --e;
  return text.substr(b, e - b);
}

std::string Trim(std::string_view text) { return std::string(TrimView(text)); }

std::vector<std::string> Split(std::string_view text, std::string_view separator) {
  std::vector<std::string> pieces;
  if (separator.empty()) {
    pieces.emplace_back(text);
    return pieces;
  }
  size_t start = 0;
  while (true) {
    size_t at = text.find(separator, start);
    if (at == std::string_view::npos) {
      pieces.emplace_back(text.substr(start));
      return pieces;
    }
    pieces.emplace_back(text.substr(start, at - start));
    start = at + separator.size();
  }
}

std::string Join(const std::vector<std::string>& pieces, std::string_view separator) {
  std::string out;
  for (size_t i = 0; i < pieces.size(); ++i) {
    if (i) out += separator;
    out += pieces[i];
  }
  return out;
}

std::string ToCrLf(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 16);
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '\r') {
      out += kCrLf;
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else if (c == '\n') {
      out += kCrLf;
    } else {
      out += c;
    }
  }
  return out;
}

std::string_view LastCrLfLines(std::string_view text, size_t keep) {
  if (keep == 0) return {};
  // Walk back over `keep` line ends (the one that closes the text counts as the last line's).
  size_t end = text.size();
  if (text.ends_with(kCrLf)) end -= kCrLf.size();
  for (size_t seen = 0; end > 0; ++seen) {
    size_t at = text.rfind(kCrLf, end - 1);
    if (at == std::string_view::npos) return text;
    if (seen + 1 == keep) return text.substr(at + kCrLf.size());
    end = at;
  }
  return text;
}

std::string ToLf(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '\r') {
      out += '\n';
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      out += c;
    }
  }
  return out;
}

std::string Pad(int64_t value, int width) {
  bool negative = value < 0;
  std::string digits = std::to_string(negative ? -value : value);
  if (static_cast<int>(digits.size()) < width) digits.insert(0, width - digits.size(), '0');
  return negative ? "-" + digits : digits;
}

std::string FormatNumber(double value, int maxDecimals) {
  if (!std::isfinite(value)) return "0";
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.*f", maxDecimals, value);
  std::string s = buf;
  if (s.find('.') != std::string::npos) {
    while (!s.empty() && s.back() == '0') s.pop_back();
    if (!s.empty() && s.back() == '.') s.pop_back();
  }
  if (s == "-0") s = "0";
  return s;
}

bool Contains(std::string_view text, std::string_view part) { return text.find(part) != std::string_view::npos; }

std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to) {
  if (from.empty()) return std::string(text);
  std::string out;
  size_t start = 0;
  while (true) {
    size_t at = text.find(from, start);
    if (at == std::string_view::npos) break;
    out.append(text.substr(start, at - start));
    out.append(to);
    start = at + from.size();
  }
  out.append(text.substr(start));
  return out;
}

int DisplayColumns(std::string_view utf8) {
  int columns = 0;
  for (size_t i = 0; i < utf8.size();) {
    const auto b = static_cast<unsigned char>(utf8[i]);
    const int len = b < 0x80 ? 1 : b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC0 ? 2 : 1;
    uint32_t cp = len == 1 ? b : b & (0x3F >> (len - 1));
    for (int k = 1; k < len && i + static_cast<size_t>(k) < utf8.size(); ++k)
      cp = (cp << 6) | (static_cast<unsigned char>(utf8[i + static_cast<size_t>(k)]) & 0x3F);
    i += static_cast<size_t>(len);
    const bool combining =
        (cp >= 0x0300 && cp <= 0x036F) || (cp >= 0x200B && cp <= 0x200F) || (cp >= 0xFE00 && cp <= 0xFE0F);
    const bool wide =
        (cp >= 0x1100 && cp <= 0x115F) || (cp >= 0x2E80 && cp <= 0x303E) || (cp >= 0x3041 && cp <= 0x33FF) ||
        (cp >= 0x3400 && cp <= 0x4DBF) || (cp >= 0x4E00 && cp <= 0x9FFF) || (cp >= 0xA000 && cp <= 0xA4CF) ||
        (cp >= 0xAC00 && cp <= 0xD7A3) || (cp >= 0xF900 && cp <= 0xFAFF) || (cp >= 0xFE30 && cp <= 0xFE4F) ||
        (cp >= 0xFF00 && cp <= 0xFF60) || (cp >= 0xFFE0 && cp <= 0xFFE6) || (cp >= 0x20000 && cp <= 0x3FFFD);
    columns += combining ? 0 : wide ? 2 : 1;
  }
  return columns;
}

}  // namespace lumora
