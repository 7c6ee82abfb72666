#include <gtest/gtest.h>

#include <limits>

#include "core/NumberSet.h"
#include "core/Text.h"

namespace lumora {

TEST(LenientNumber, ReadsTheLeadingNumericPart) {
  EXPECT_EQ(ReadNumber("12abc"), 12);
  EXPECT_EQ(ReadNumber("  -3.5x"), -3.5);
  EXPECT_EQ(ReadNumber("abc"), 0);
  EXPECT_EQ(ReadNumber(""), 0);
  EXPECT_EQ(ReadNumber("."), 0);
  EXPECT_EQ(ReadNumber("1e3"), 1000);
  EXPECT_EQ(ReadNumber("1e"), 1);
  EXPECT_EQ(ReadInt("99999999999"), 2147483647);
  EXPECT_EQ(ReadInt("2.5"), 2);
  EXPECT_EQ(ReadInt("3.5"), 4);
  EXPECT_EQ(ReadInt("-2.5"), -2);
}

TEST(StrictInteger, OnlySignAndDigitsWithBlanksAround) {
  EXPECT_EQ(ReadStrictInt(" -12 "), -12);
  EXPECT_EQ(ReadStrictInt("+7"), 7);
  EXPECT_EQ(ReadStrictInt("123456789"), 123456789);
  for (const char* bad : {"", "-", "1.0", "12a", "1 2", "1234567890"}) EXPECT_FALSE(ReadStrictInt(bad)) << bad;
}

TEST(Rounding, HalvesGoToEven) {
  EXPECT_EQ(RoundHalfEven(0.5), 0);
  EXPECT_EQ(RoundHalfEven(1.5), 2);
  EXPECT_EQ(RoundHalfEven(-2.5), -2);
  EXPECT_EQ(RoundHalfEven(2.6), 3);
}

TEST(Rounding, QuotientsRoundExactlyWithHalvesToEven) {
  EXPECT_EQ(RoundQuotientScaled(1947, 240, 3), 8112);  // 8.1125: a tie binary arithmetic misses
  EXPECT_EQ(RoundQuotientScaled(1949, 240, 3), 8121);  // 8.120833...
  EXPECT_EQ(RoundQuotientScaled(1941, 240, 3), 8088);  // 8.0875: tie, odd below -> up
  EXPECT_EQ(RoundQuotientScaled(-1947, 240, 3), -8112);
  EXPECT_EQ(RoundQuotientScaled(1947, -240, 3), -8112);
  EXPECT_EQ(RoundQuotientScaled(-1941, 240, 3), -8088);
  EXPECT_EQ(RoundQuotientScaled(5, 2, 0), 2);
  EXPECT_EQ(RoundQuotientScaled(7, 2, 0), 4);
  EXPECT_EQ(RoundQuotientScaled(1, 3, 2), 33);
  EXPECT_EQ(RoundQuotientScaled(1, 0, 3), 0);
  EXPECT_EQ(RoundQuotientScaled(std::numeric_limits<int64_t>::max(), 1, 3), std::numeric_limits<int64_t>::max());
  EXPECT_DOUBLE_EQ(RoundQuotientTo(1947, 240, 3), 8.112);
  // Every quotient with a 3-place tie, as the push wave meets them (win / 2z).
  for (int64_t win = 1; win <= 4000; ++win)
    for (int64_t pool : {1, 3, 8, 16, 40, 120, 125, 250, 1000}) {
      int64_t exact2000 = win * 2000;  // 1000 * win / (2z) scaled by 2 to see the tie exactly
      int64_t den = 2 * pool;
      if (exact2000 % den != 0) continue;
      int64_t twice = exact2000 / den;  // 2 * 1000 * quotient, an integer
      int64_t lower = twice / 2;
      int64_t want = twice % 2 == 0 ? lower : (lower % 2 == 0 ? lower : lower + 1);
      ASSERT_EQ(RoundQuotientScaled(win, den, 3), want) << win << "/" << den;
    }
}

TEST(NumberSetText, MembershipIsExactlyTheSubstringTest) {
  const char* texts[] = {"001 002 999", "12345", "0012", "", "ab123cd 45", "1 23 456"};
  for (const char* t : texts) {
    NumberSet set = NumberSet::FromText(t);
    std::string text = t;
    for (int n = 0; n < 1000; ++n)
      ASSERT_EQ(set.contains(n), text.find(ThreeDigits(n)) != std::string::npos) << t << " " << n;
  }
  EXPECT_EQ(NumberSet::FromText("999 001  002").text(), "001 002 999");
  EXPECT_EQ(NumberSet().text(), "");
  // The text's edges: the first and last numbers alone, and every number (3999 characters).
  EXPECT_EQ(NumberSet::FromText("000").text(), "000");
  EXPECT_EQ(NumberSet::FromText("999").text(), "999");
  std::string all = NumberSet::All().text();
  ASSERT_EQ(all.size(), 3999u);
  EXPECT_EQ(all.substr(0, 8), "000 001 ");
  EXPECT_EQ(all.substr(all.size() - 7), "998 999");
  EXPECT_EQ(NumberSet::FromText(all), NumberSet::All());
}

TEST(CountList, AcceptsByFormattedSubstring) {
  CountListText list("08.09.10");
  EXPECT_TRUE(list.accepts(8, 15));
  EXPECT_TRUE(list.accepts(10, 15));
  EXPECT_FALSE(list.accepts(1, 15));
  EXPECT_FALSE(list.accepts(0, 15));
  EXPECT_EQ(CountListText::Format(8, 120), "008");
}

TEST(LineBreaks, AnyBreakBecomesCrLf) {
  EXPECT_EQ(ToCrLf("a\nb\r\nc\rd"), "a\r\nb\r\nc\r\nd");
  EXPECT_EQ(ToLf("a\r\nb"), "a\nb");
  EXPECT_EQ(Split("", ",").size(), 1u);
}

TEST(LineBreaks, TheNewestLinesOfARecord) {
  EXPECT_EQ(LastCrLfLines("a\r\nb\r\nc\r\n", 2), "b\r\nc\r\n");
  EXPECT_EQ(LastCrLfLines("a\r\nb\r\nc\r\n", 3), "a\r\nb\r\nc\r\n");
  EXPECT_EQ(LastCrLfLines("a\r\nb\r\nc\r\n", 9), "a\r\nb\r\nc\r\n");
  EXPECT_EQ(LastCrLfLines("a\r\nb\r\nc", 1), "c");   // a last line without its line end
  EXPECT_EQ(LastCrLfLines("a\r\n\r\n", 1), "\r\n");  // an empty line is a line
  EXPECT_EQ(LastCrLfLines("a\r\nb", 0), "");
  EXPECT_EQ(LastCrLfLines("", 5), "");
}

}  // namespace lumora
