#pragma once
// The one number-set type: a set of three-digit numbers 000..999 and its text form
// ("000"-formatted elements joined by one blank, ascending).
//
// Pools live in text boxes as text, and membership in such a text is a substring test of the
// three-character form. FromText builds the set of every three-digit window of the text, which
// answers exactly what that substring test answers, so one build serves 1000 membership tests.
#include <bitset>
#include <string>
#include <string_view>

namespace lumora {

class NumberSet {
 public:
  NumberSet() = default;

  // Every run of three consecutive decimal digits anywhere in `text` is a member.
  static NumberSet FromText(std::string_view text);
  static NumberSet All();

  bool contains(int number) const { return number >= 0 && number < 1000 && bits_.test(number); }
  // Membership of a three-character text such as "045" (false for anything else).
  bool contains(std::string_view threeDigits) const;
  void add(int number) { if (number >= 0 && number < 1000) bits_.set(number); }
  void remove(int number) { if (number >= 0 && number < 1000) bits_.reset(number); }
  int count() const { return static_cast<int>(bits_.count()); }
  bool empty() const { return bits_.none(); }

  // Calls f(number) for every member, ascending.
  template <typename F>
  void forEach(F&& f) const {
    for (size_t n = bits_._Find_first(); n < 1000; n = bits_._Find_next(n)) f(static_cast<int>(n));
  }

  // Ascending "000"-formatted members joined by one blank; empty set -> "".
  std::string text() const;

  NumberSet& operator&=(const NumberSet& o) { bits_ &= o.bits_; return *this; }
  NumberSet& operator|=(const NumberSet& o) { bits_ |= o.bits_; return *this; }
  friend NumberSet operator&(NumberSet a, const NumberSet& b) { return a &= b; }
  friend NumberSet operator|(NumberSet a, const NumberSet& b) { return a |= b; }
  friend bool operator==(const NumberSet& a, const NumberSet& b) { return a.bits_ == b.bits_; }

 private:
  std::bitset<1000> bits_;
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
