// The data folder's text files: written as GBK whenever GBK holds the text (other programs and
// older copies read them), otherwise as UTF-8 behind a byte-order mark; read back as the text
// written, whatever it holds.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/TextCodec.h"

namespace lumora {
namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";

std::string Utf8(char32_t c) {
  std::string s;
  if (c < 0x80) {
    s += static_cast<char>(c);
  } else if (c < 0x800) {
    s += static_cast<char>(0xC0 | (c >> 6));
    s += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    s += static_cast<char>(0xE0 | (c >> 12));
    s += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    s += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    s += static_cast<char>(0xF0 | (c >> 18));
    s += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    s += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    s += static_cast<char>(0x80 | (c & 0x3F));
  }
  return s;
}

TEST(Utf8, OnlyWellFormedTextIsUtf8) {
  EXPECT_TRUE(IsValidUtf8("专业直选 😀 \xC2\x80 \xEF\xBF\xBF \xF4\x8F\xBF\xBF"));
  EXPECT_TRUE(IsValidUtf8(std::string("a\0b", 3)));
  EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));  // a UTF-16 surrogate (U+D800)
  EXPECT_FALSE(IsValidUtf8("\xED\xBB\xBF"));  // another (U+DEFF)
  EXPECT_FALSE(IsValidUtf8("\xE0\x80\xAF"));  // "/" in an overlong form
  EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));
  EXPECT_FALSE(IsValidUtf8("\xF0\x80\x80\xAF"));
  EXPECT_FALSE(IsValidUtf8("\xF4\x90\x80\x80"));  // past U+10FFFF
  EXPECT_FALSE(IsValidUtf8("\xE4\xB8"));          // cut off
  // Such bytes are no text: a data file holding them is read as GBK, not passed on as they are
  // (GBK then turns them into "?" when saving).
  const std::string surrogate =
      "1\xED\xA0\x80"
      "1";  // ED A0 is GBK, 80 alone is not
  EXPECT_EQ(DecodeDataText(surrogate), FromGbk(surrogate));
  EXPECT_TRUE(IsValidUtf8(DecodeDataText(surrogate)));
  EXPECT_EQ(DecodeText("\xED\xA0\x80"), FromGbk("\xED\xA0\x80"));
}

TEST(DataText, GbkWhenGbkHoldsTheText) {
  for (const std::string t : {"", "plain ascii\r\n", "专业直选@-@准准准@-@没", "开奖完毕 ①（）", "a\0b"}) {
    EXPECT_EQ(EncodeDataText(t), ToGbk(t)) << t;
    EXPECT_EQ(DecodeDataText(EncodeDataText(t)), t) << t;
  }
}

TEST(DataText, UnderAByteOrderMarkWhenGbkCannotHoldIt) {
  const std::string lookalike = FromGbk("\xEF\xBB\xBF\x41") + "12";  // GBK bytes EF BB BF 41 31 32
  ASSERT_EQ(DecodeDataText(ToGbk(lookalike)), "A12");                // as GBK it would read as a marked "A12"
  std::vector<std::string> texts = {"方案😀", "ʙ", lookalike, std::string("\xEF\xBB\xBF") + "x"};
  // A private-use character: glibc's GB18030 has no two-byte code for it (ToGbk gives "?"), while
  // Windows' code page 936 maps it into GBK's user-defined area and reads it back, so there it fits.
  const std::string pua = Utf8(0xE78D);
  if (FromGbk(ToGbk(pua)) != pua) texts.push_back("1" + pua + "1");
  for (const std::string& t : texts) {
    const std::string bytes = EncodeDataText(t);
    EXPECT_EQ(bytes, std::string(kBom) + t);
    EXPECT_EQ(DecodeDataText(bytes), t);
  }
}

TEST(DataText, EveryCharacterReadsBackAloneAndAmongChinese) {
  std::string run;
  for (char32_t c = 1; c <= 0x10FFFF; ++c) {
    if (c >= 0xD800 && c <= 0xDFFF) continue;
    const std::string ch = Utf8(c);
    if (c % 97 == 0) {
      ASSERT_EQ(DecodeDataText(EncodeDataText(ch)), ch) << std::hex << static_cast<uint32_t>(c);
    }
    run += ch;
    if (run.size() > 16000 || c == 0x10FFFF) {
      const std::string text = "方案" + run;
      ASSERT_EQ(DecodeDataText(EncodeDataText(text)), text) << "up to " << std::hex << static_cast<uint32_t>(c);
      run.clear();
    }
  }
}

}  // namespace
}  // namespace lumora
