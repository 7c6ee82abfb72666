// Players' data folders are GBK, and GBK bytes are often valid UTF-8 too ("准准准" is D7BC D7BC
// D7BC). Whatever is read and saved back unchanged keeps its bytes: the phrase file through
// "保存签名", a scheme file, a scheme file's name, the curve store. A text GBK cannot hold is
// saved as UTF-8 behind a byte-order mark and read back whole.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "SchemeSupport.h"
#include "core/Files.h"
#include "core/TextCodec.h"
#include "core/UserPhrases.h"
#include "core/controls/Fk.h"
#include "core/controls/Fmain.h"
#include "curves/CurveStore.h"
#include "plan/PlanCopies.h"
#include "settings/SchemeFile.h"
#include "settings/Schemes.h"

namespace lumora {
namespace {

namespace fs = std::filesystem;

const std::string kPhrasesGbk =  // "专业直选@-@准准准@-@没@-@专业直选" in GBK, 33 bytes
    "\xD7\xA8\xD2\xB5\xD6\xB1\xD1\xA1@-@\xD7\xBC\xD7\xBC\xD7\xBC@-@\xC3\xBB@-@\xD7\xA8\xD2\xB5\xD6\xB1\xD1\xA1";
const std::string kSchemeNameGbk = "\xD7\xA8\xD2\xB5\xD6\xB1\xD1\xA1.fa";  // "专业直选.fa"

std::string Bytes(const fs::path& p) { return ReadWholeFileBytes(p).value_or("<missing>"); }
void Put(const fs::path& p, const std::string& bytes) { std::ofstream(p, std::ios::binary) << bytes; }

TEST(DataText, GbkFirstUnlessMarkedOrNotGbk) {
  ASSERT_TRUE(IsValidUtf8(kPhrasesGbk));
  EXPECT_EQ(DecodeDataText(kPhrasesGbk), "专业直选@-@准准准@-@没@-@专业直选");
  EXPECT_EQ(DecodeDataText("专"), "专");                                       // E4B893 is no GBK: UTF-8
  EXPECT_EQ(DecodeDataText("\x81\x30\x81\x30"), FromGbk("\x81\x30\x81\x30"));  // a four-byte code
  EXPECT_FALSE(IsValidGb18030("\x81"));
  EXPECT_FALSE(IsValidGb18030("\x81\x30\x81"));
  EXPECT_FALSE(IsValidGb18030("\xFF\xA1"));
  // lumora.ini and the feed keep reading UTF-8 first.
  EXPECT_EQ(DecodeText("专业直选"), "专业直选");
}

struct DataFolderTest : ::testing::Test, test::DataFolderContext {};

TEST_F(DataFolderTest, PhraseFileReadAndSavedBackKeepsItsBytes) {
  Put(cx.data.phrases(), kPhrasesGbk);
  ASSERT_TRUE(LoadUserPhrases(cx));
  EXPECT_EQ(cx.form.text(fmain::T_jihua_qianming), "专业直选");
  EXPECT_EQ(cx.form.text(fmain::T_zdy_yongyu[0]), "准准准");
  EXPECT_EQ(cx.form.text(fmain::T_zdy_yongyu[1]), "没");
  SaveSignature(cx);
  EXPECT_EQ(prompter.lastText(), "保存成功");
  EXPECT_EQ(Bytes(cx.data.phrases()), kPhrasesGbk);
}

TEST_F(DataFolderTest, SchemeFileAndGbkNameKeepTheirBytes) {
#ifdef _WIN32
  GTEST_SKIP() << "file names are UTF-16 on Windows: raw GBK name bytes are a POSIX matter";
#endif
  // A scheme saved elsewhere under a GBK name, its groups naming "准准准" and "没".
  cx.form.setText(fmain::T_moshier_input, "01.02=12345准准准\r\n03.04=1234没");
  const std::string text = BuildSchemeText(cx.form).text;
  const fs::path file = cx.data.schemes() / kSchemeNameGbk;
  Put(file, ToGbk(text));
  const std::string before = Bytes(file);
  ASSERT_NE(before.find("\xD7\xBC\xD7\xBC\xD7\xBC"), std::string::npos);

  RefreshSchemeList(cx);
  ASSERT_EQ(cx.form.items(fk::List_fangan), std::vector<std::string>{"专业直选.fa"});
  cx.form.setSelectedIndex(fk::List_fangan, 0);
  cx.form.setText(fmain::T_moshier_input, "");
  LoadScheme(cx);
  EXPECT_EQ(prompter.lastText(), "参数读入成功");
  EXPECT_EQ(cx.form.text(fmain::T_moshier_input), "01.02=12345准准准\r\n03.04=1234没");
  // Saved back under the same name: the same file, the same bytes, no second file.
  cx.form.setText(fk::T_fangan_name, "专业直选");
  SaveScheme(cx);
  EXPECT_EQ(prompter.lastText(), "保存完成");
  EXPECT_EQ(Bytes(file), before);
  int files = 0;
  for (const auto& e : fs::directory_iterator(cx.data.schemes())) files += e.is_regular_file();
  EXPECT_EQ(files, 1);

  // A new scheme gets a GBK name too, and lists under its own name.
  cx.form.setText(fk::T_fangan_name, "没准");
  SaveScheme(cx);
  EXPECT_TRUE(fs::exists(cx.data.schemes() / fs::path("\xC3\xBB\xD7\xBC.fa")));
  EXPECT_EQ(cx.form.items(fk::List_fangan), (std::vector<std::string>{"专业直选.fa", "没准.fa"}));
  cx.form.setSelectedIndex(fk::List_fangan, 1);
  DeleteSelectedScheme(cx);
  EXPECT_FALSE(fs::exists(cx.data.schemes() / fs::path("\xC3\xBB\xD7\xBC.fa")));
}

// Scheme files the fuzzer found (fuzz/corpus/scheme/regression-gbk-also-utf8-*, first byte the
// fuzzer's choice): each puts a character into a box whose GBK bytes are valid UTF-8 as well
// (CA 99 "蕶", C2 8C "聦", DE B6 "薅"; the rest of the file being no UTF-8 makes it read as GBK).
// The saved file is then valid UTF-8 throughout: read UTF-8 first it loads "ʙ", U+008C, "޶"
// instead. Scheme files are read GBK first: the second save gives the bytes of the first.
TEST_F(DataFolderTest, FuzzedSchemesWhoseGbkIsUtf8TooSaveAsTheSameBytes) {
#ifdef _WIN32
  GTEST_SKIP() << "reads the fuzz corpus from the source tree, the same on every system: it runs on Linux";
#endif
  const char* root = std::getenv("LUMORA_SOURCE");
  ASSERT_NE(root, nullptr);
  const struct {
    const char* file;
    IntBox box;
    std::string holds;
  } cases[] = {{"regression-gbk-also-utf8-1", fmain::T_quxian_zhushu[9], "2蕶0"},
               {"regression-gbk-also-utf8-2", fmain::T_quxian_zhushu[7],
                "+聦" + std::string(1, '\0') + "Pa" + std::string(2, '\0') + "180"},
               {"regression-gbk-also-utf8-nul", fmain::T_quxian_zhushu[11],
                "1:薅" + std::string(1, '\0') + "Pa" + std::string(2, '\0')}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    std::string input = Bytes(fs::path(root) / "fuzz" / "corpus" / "scheme" / c.file).substr(1);
    test::SetDesignValues(cx.form);
    Put(cx.data.schemes() / "fuzzed.fa", input);
    RefreshSchemeList(cx);
    cx.form.setSelectedIndex(fk::List_fangan, 0);
    LoadScheme(cx);  // damaged after its first section: that section is taken
    EXPECT_EQ(cx.form.text(c.box), c.holds);
    std::string saved[2];
    for (std::string& bytes : saved) {
      cx.form.setText(fk::T_fangan_name, "fuzzed");
      SaveScheme(cx);
      ASSERT_EQ(prompter.lastText(), "保存完成");
      bytes = Bytes(cx.data.schemes() / "fuzzed.fa");
      cx.form.setText(c.box, "");
      LoadScheme(cx);
      ASSERT_EQ(prompter.lastText(), "参数读入成功");
      EXPECT_EQ(cx.form.text(c.box), c.holds);
    }
    EXPECT_EQ(saved[1], saved[0]);
    EXPECT_TRUE(IsValidUtf8(saved[0]));
    EXPECT_NE(DecodeText(saved[0]), DecodeDataText(saved[0]));
  }
}

// Bytes that only a loose UTF-8 check takes for UTF-8 (a UTF-16 surrogate, ED A0 80) in a file
// that is no GBK either: read as GBK, saved and read back as the same text. Taken for UTF-8 they
// reached the box as they were, and GBK saved them as "???".
TEST_F(DataFolderTest, SchemeWithSurrogateBytesSavesAsTheSameText) {
  std::string text = BuildSchemeText(cx.form).text;
  text.replace(text.find("01.02.03*end*"), 8, "01.02\xED\xA0\x80.03");
  Put(cx.data.schemes() / "s.fa", text);
  RefreshSchemeList(cx);
  cx.form.setSelectedIndex(fk::List_fangan, 0);
  LoadScheme(cx);
  ASSERT_EQ(prompter.lastText(), "参数读入成功");
  const std::string box = cx.form.text(fmain::T_jiankong_rc);
  EXPECT_EQ(box, FromGbk("01.02\xED\xA0\x80.03"));
  cx.form.setText(fk::T_fangan_name, "s");
  SaveScheme(cx);
  const std::string first = Bytes(cx.data.schemes() / "s.fa");
  cx.form.setText(fmain::T_jiankong_rc, "");
  LoadScheme(cx);
  EXPECT_EQ(cx.form.text(fmain::T_jiankong_rc), box);
  SaveScheme(cx);
  EXPECT_EQ(Bytes(cx.data.schemes() / "s.fa"), first);
}

// The phrase file and the curve store follow the same rule as schemes: GBK while it fits (its
// bytes kept when read and written back), UTF-8 behind a byte-order mark when a text does not.
TEST_F(DataFolderTest, PhrasesAndCurveStoreKeepWhatGbkCannotHold) {
  const std::string pua =
      "\xEE\x9E\x8D";  // a private-use character (no GBK code on Linux); the file is marked for the emoji anyway
  cx.form.setText(fmain::T_jihua_qianming, "签名😀");
  cx.form.setText(fmain::T_zdy_yongyu[0], "中" + pua);
  SaveSignature(cx);
  EXPECT_EQ(prompter.lastText(), "保存成功");
  EXPECT_TRUE(Bytes(cx.data.phrases()).starts_with("\xEF\xBB\xBF签名😀@-@中"));
  cx.form.setText(fmain::T_jihua_qianming, "");
  cx.form.setText(fmain::T_zdy_yongyu[0], "");
  ASSERT_TRUE(LoadUserPhrases(cx));
  EXPECT_EQ(cx.form.text(fmain::T_jihua_qianming), "签名😀");
  EXPECT_EQ(cx.form.text(fmain::T_zdy_yongyu[0]), "中" + pua);

  CurveState curves;
  for (int i = 0; i < kCurveSlots; ++i) curves.slots[static_cast<size_t>(i)] = "1*2*3";
  curves.slots[4] = "1*2😀";  // no GBK anywhere (the private-use character fits Windows' code page 936)
  ASSERT_TRUE(WriteCurveStore(cx, curves));
  EXPECT_TRUE(Bytes(cx.data.curveStore()).starts_with("\xEF\xBB\xBF"));
  CurveState read;
  ASSERT_TRUE(ReadCurveStore(cx, read));
  EXPECT_EQ(read.slots, curves.slots);
  curves.slots[4] = "准准准";
  curves.slots[5] = "没";
  ASSERT_TRUE(WriteCurveStore(cx, curves));
  const std::string gbk = Bytes(cx.data.curveStore());
  EXPECT_EQ(gbk, ToGbk(FormatCurveStore(curves.slots)));
  ASSERT_TRUE(ReadCurveStore(cx, read));
  EXPECT_EQ(read.slots, curves.slots);
  ASSERT_TRUE(WriteCurveStore(cx, read));
  EXPECT_EQ(Bytes(cx.data.curveStore()), gbk);
}

}  // namespace
}  // namespace lumora
