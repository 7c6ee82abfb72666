#include "core/NumberSet.h"

#include <array>
#include <cstring>

namespace lumora {

namespace {
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// "000 " .. "999 ": each member's four characters in the text.
const std::array<char, 4000>& MemberTexts() {
  static const std::array<char, 4000> table = [] {
    std::array<char, 4000> t{};
    for (int n = 0; n < 1000; ++n) {
      t[static_cast<size_t>(n) * 4] = static_cast<char>('0' + n / 100);
      t[static_cast<size_t>(n) * 4 + 1] = static_cast<char>('0' + n / 10 % 10);
      t[static_cast<size_t>(n) * 4 + 2] = static_cast<char>('0' + n % 10);
      t[static_cast<size_t>(n) * 4 + 3] = ' ';
    }
    return t;
  }();
  return table;
}
}  // namespace

NumberSet NumberSet::FromText(std::string_view text) {
  NumberSet set;
  const size_t n = text.size();
  int run = 0;    // length of the current run of digits
  int value = 0;  // last three digits of the run as a number
  for (size_t i = 0; i < n; ++i) {
    const char c = text[i];
    if (!IsDigit(c)) {
      run = 0;
      value = 0;
      continue;
    }
    // The common form: a run of exactly three digits ("045 ...") is one member.
    if (run == 0 && i + 2 < n && IsDigit(text[i + 1]) && IsDigit(text[i + 2]) &&
        (i + 3 == n || !IsDigit(text[i + 3]))) {
      set.add((c - '0') * 100 + (text[i + 1] - '0') * 10 + (text[i + 2] - '0'));
      i += 2;
      run = 3;
      continue;
    }
    value = (value * 10 + (c - '0')) % 1000;
    if (++run >= 3) set.add(value);
  }
  return set;
}

NumberSet NumberSet::All() {
  NumberSet set;
  set.words_.fill(~uint64_t{0});
  set.words_[kWords - 1] = kLastWordMask;
  return set;
}

bool NumberSet::contains(std::string_view threeDigits) const {
  int n = ParseThreeDigits(threeDigits);
  return n >= 0 && contains(n);
}

std::string NumberSet::text() const {
  const int c = count();
  if (c == 0) return {};
  // Every number's four characters are copied and the write position moves on only for members:
  // no branch per number (pools are dense, often more than half of all numbers).
  const std::array<char, 4000>& table = MemberTexts();
  char buffer[4004];
  char* p = buffer;
  for (size_t n = 0; n < 1000; ++n) {
    std::memcpy(p, table.data() + n * 4, 4);
    p += (words_[n >> 6] >> (n & 63) & 1) * 4;
  }
  return std::string(buffer, static_cast<size_t>(c) * 4 - 1);
}

std::string ThreeDigits(int number) {
  std::string s(3, '0');
  s[0] = static_cast<char>('0' + number / 100 % 10);
  s[1] = static_cast<char>('0' + number / 10 % 10);
  s[2] = static_cast<char>('0' + number % 10);
  return s;
}

int ParseThreeDigits(std::string_view text) {
  if (text.size() != 3 || !IsDigit(text[0]) || !IsDigit(text[1]) || !IsDigit(text[2])) return -1;
  return (text[0] - '0') * 100 + (text[1] - '0') * 10 + (text[2] - '0');
}

std::string CountListText::Format(int count, int sources) {
  std::string s = std::to_string(count < 0 ? -count : count);
  size_t width = sources >= 100 ? 3 : 2;
  if (s.size() < width) s.insert(0, width - s.size(), '0');
  return count < 0 ? "-" + s : s;
}

bool CountListText::accepts(int count, int sources) const {
  return text_.find(Format(count, sources)) != std::string::npos;
}

}  // namespace lumora
