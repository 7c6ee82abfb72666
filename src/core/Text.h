#pragma once
// Small text helpers shared by every subsystem: the one lenient number reader, the one
// rounding helper, CR LF splitting, trimming and fixed-width formatting.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lumora {

inline constexpr std::string_view kCrLf = "\r\n";

// Reads a number the way the program's text boxes are read: leading blanks skipped, then the
// leading numeric part (sign, digits, one decimal point, exponent). Text without one reads as 0.
double ReadNumber(std::string_view text);

// The leading numeric part rounded half to even and clamped to the 32-bit range.
int32_t ReadInt(std::string_view text);

// A whole value of a stored file or record: an optional sign and one to nine digits, blanks
// around allowed; anything else is no integer at all.
std::optional<int32_t> ReadStrictInt(std::string_view text);

// Rounds to the nearest integer, halves to even (2.5 -> 2, 3.5 -> 4, -2.5 -> -2).
int64_t RoundHalfEven(double value);

// Rounds to `digits` decimal places, halves to even on the scaled value.
double RoundHalfEvenTo(double value, int digits);

// The exact quotient num / den rounded to `digits` decimal places (0..9), halves to even, in
// integer arithmetic: the result times 10^digits (1947 / 240 to 3 places -> 8112, where binary
// floating point misses the tie). A zero `den` gives 0; results beyond int64 are clamped.
int64_t RoundQuotientScaled(int64_t num, int64_t den, int digits);
// The same as a number: RoundQuotientScaled / 10^digits.
double RoundQuotientTo(int64_t num, int64_t den, int digits);

// True when every character is a decimal digit and there is at least one.
bool IsDigits(std::string_view text);

std::string_view TrimView(std::string_view text);
std::string Trim(std::string_view text);

// Splits at every occurrence of `separator`; an empty text gives one empty piece, as a
// string split does on the target systems.
std::vector<std::string> Split(std::string_view text, std::string_view separator);
std::string Join(const std::vector<std::string>& pieces, std::string_view separator);

// Splits a text box's text at CR LF.
inline std::vector<std::string> SplitCrLf(std::string_view text) { return Split(text, kCrLf); }

// The text from its `keep`-th last CR LF-ended line on: a record that gains a line a period keeps
// its newest lines only. Shorter texts come back whole.
std::string_view LastCrLfLines(std::string_view text, size_t keep);

// Turns LF, CR LF or lone CR line breaks into CR LF (files and the command line accept either).
std::string ToCrLf(std::string_view text);
// Turns CR LF (and lone CR) into LF, for widgets that hold "\n".
std::string ToLf(std::string_view text);

// Zero-padded decimal: Pad(7, 3) == "007"; a wider number is written in full.
std::string Pad(int64_t value, int width);

// Formats a number as the program shows decimals: no exponent, no trailing zeros ("12.5", "-3", "0.01").
std::string FormatNumber(double value, int maxDecimals = 6);

bool Contains(std::string_view text, std::string_view part);

// Terminal columns a UTF-8 text takes: East Asian wide and fullwidth characters (Chinese,
// Japanese, Korean, fullwidth forms) 2, combining marks 0, every other character 1.
int DisplayColumns(std::string_view utf8);
std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to);

}  // namespace lumora
