#pragma once
// The one number-set type: a set of three-digit numbers 000..999 and its text form
// ("000"-formatted elements joined by one blank, ascending).
//
// Pools live in text boxes as text, and membership in such a text is a substring test of the
// three-character form. FromText builds the set of every three-digit window of the text, which
// answers exactly what that substring test answers, so one build serves 1000 membership tests.
#include <array>
#include <bit>
#include <cstdint>
#include <string>
#include <string_view>

namespace lumora {

class NumberSet {
 public:
  // Members as bits: number n is bit n % 64 of word n / 64; the bits above 999 are always 0.
  static constexpr int kWords = 16;
  using Words = std::array<uint64_t, kWords>;

  NumberSet() = default;

  // Every run of three consecutive decimal digits anywhere in `text` is a member.
  static NumberSet FromText(std::string_view text);
  static NumberSet All();
  // The set of the given words (bits above 999 are dropped).
  static NumberSet FromWords(const Words& words) {
    NumberSet s;
    s.words_ = words;
    s.words_[kWords - 1] &= kLastWordMask;
    return s;
  }

  bool contains(int number) const {
    return number >= 0 && number < 1000 && (words_[static_cast<size_t>(number) >> 6] >> (number & 63) & 1);
  }
  // Membership of a three-character text such as "045" (false for anything else).
  bool contains(std::string_view threeDigits) const;
  void add(int number) {
    if (number >= 0 && number < 1000) words_[static_cast<size_t>(number) >> 6] |= uint64_t{1} << (number & 63);
  }
  void remove(int number) {
    if (number >= 0 && number < 1000) words_[static_cast<size_t>(number) >> 6] &= ~(uint64_t{1} << (number & 63));
  }
  int count() const {
    int n = 0;
    for (uint64_t w : words_) n += std::popcount(w);
    return n;
  }
  bool empty() const {
    uint64_t any = 0;
    for (uint64_t w : words_) any |= w;
    return any == 0;
  }
  const Words& words() const { return words_; }

  // Calls f(number) for every member, ascending.
  template <typename F>
  void forEach(F&& f) const {
    for (size_t i = 0; i < kWords; ++i)
      for (uint64_t w = words_[i]; w; w &= w - 1)
        f(static_cast<int>(i * 64 + static_cast<size_t>(std::countr_zero(w))));
  }

  // Ascending "000"-formatted members joined by one blank; empty set -> "".
  std::string text() const;

  NumberSet& operator&=(const NumberSet& o) {
    for (size_t i = 0; i < kWords; ++i) words_[i] &= o.words_[i];
    return *this;
  }
  NumberSet& operator|=(const NumberSet& o) {
    for (size_t i = 0; i < kWords; ++i) words_[i] |= o.words_[i];
    return *this;
  }
  // Removes the members of `o`.
  NumberSet& operator-=(const NumberSet& o) {
    for (size_t i = 0; i < kWords; ++i) words_[i] &= ~o.words_[i];
    return *this;
  }
  friend NumberSet operator&(NumberSet a, const NumberSet& b) { return a &= b; }
  friend NumberSet operator|(NumberSet a, const NumberSet& b) { return a |= b; }
  friend NumberSet operator-(NumberSet a, const NumberSet& b) { return a -= b; }
  friend bool operator==(const NumberSet& a, const NumberSet& b) { return a.words_ == b.words_; }

 private:
  static constexpr uint64_t kLastWordMask = (uint64_t{1} << (1000 - 64 * (kWords - 1))) - 1;
  Words words_{};
};

// How many of the sets added hold each number, for counts 0..maxCount (at most 1023). The counts
// are kept as bit planes (plane p holds bit p of every number's count), so adding a set or
// selecting the numbers of some counts costs a few operations per 64 numbers, whatever the sizes.
class NumberCounts {
 public:
  explicit NumberCounts(int maxCount)
      : maxCount_(maxCount < 1 ? 1 : maxCount), planes_(std::bit_width(static_cast<unsigned>(maxCount_))) {}

  // One plane at a time over all words, without branches: the compiler adds several words at once.
  void add(const NumberSet& set) {
    NumberSet::Words carry = set.words();
    for (size_t p = 0; p < static_cast<size_t>(planes_); ++p) {
      NumberSet::Words& plane = bits_[p];
      for (size_t i = 0; i < NumberSet::kWords; ++i) {
        const uint64_t next = plane[i] & carry[i];
        plane[i] ^= carry[i];
        carry[i] = next;
      }
    }
  }

  // The numbers whose count c in 0..maxCount has accept(c).
  template <typename Accept>
  NumberSet where(Accept&& accept) const {
    NumberSet::Words out{};
    for (int c = 0; c <= maxCount_; ++c) {
      if (!accept(c)) continue;
      for (size_t i = 0; i < NumberSet::kWords; ++i) {
        uint64_t match = ~uint64_t{0};
        for (int p = 0; p < planes_; ++p)
          match &= (c >> p & 1) ? bits_[static_cast<size_t>(p)][i] : ~bits_[static_cast<size_t>(p)][i];
        out[i] |= match;
      }
    }
    return NumberSet::FromWords(out);
  }

 private:
  int maxCount_;
  int planes_;
  std::array<NumberSet::Words, 10> bits_{};
};

// "000".."999" for 0..999.
std::string ThreeDigits(int number);

// The three-digit number of a three-character digit text, or -1.
int ParseThreeDigits(std::string_view text);

// Accepted-count lists ("容对", e.g. "08.09.10"): a count is accepted when its formatted form
// ("00", or "000" when 100 or more sources are counted) occurs as a substring of the list text.
class CountListText {
 public:
  explicit CountListText(std::string_view text) : text_(text) {}
  bool accepts(int count, int sources) const;
  static std::string Format(int count, int sources);
  const std::string& text() const { return text_; }

 private:
  std::string text_;
};

}  // namespace lumora
