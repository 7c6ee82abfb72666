// Players' data folders are GBK, and GBK bytes are often valid UTF-8 too ("准准准" is D7BC D7BC
// D7BC). Whatever is read and saved back unchanged keeps its bytes: the phrase file through
// "保存签名", a scheme file, a scheme file's name, the curve store.
#include <gtest/gtest.h>

#include <fstream>

#include "core/Files.h"
#include "core/NumberSetTools.h"
#include "core/TextCodec.h"
#include "curves/CurveStore.h"
#include "plan/PlanRecord.h"
#include "settings/SchemeFile.h"
#include "settings/Schemes.h"
#include "SchemeSupport.h"

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
  EXPECT_EQ(DecodeDataText("\xC3\xBB"), "没");
  EXPECT_EQ(DecodeDataText("plain ascii"), "plain ascii");
  EXPECT_EQ(DecodeDataText("\xEF\xBB\xBF" "专业直选"), "专业直选");  // byte-order mark: UTF-8
  EXPECT_EQ(DecodeDataText("专"), "专");  // E4B893 is no GBK: UTF-8
  EXPECT_EQ(DecodeDataText("\x81\x30\x81\x30"), FromGbk("\x81\x30\x81\x30"));  // a four-byte code
  EXPECT_FALSE(IsValidGb18030("\x81"));
  EXPECT_FALSE(IsValidGb18030("\x81\x30\x81"));
  EXPECT_FALSE(IsValidGb18030("\xFF\xA1"));
  // lumora.ini and the feed keep reading UTF-8 first.
  EXPECT_EQ(DecodeText("专业直选"), "专业直选");
}

struct DataFolderTest : ::testing::Test, test::DataFolderContext {
};

TEST_F(DataFolderTest, PhraseFileReadAndSavedBackKeepsItsBytes) {
  Put(cx.data.phrases(), kPhrasesGbk);
  ASSERT_TRUE(LoadUserPhrases(cx));
  EXPECT_EQ(cx.form.text("T_jihua_qianming"), "专业直选");
  EXPECT_EQ(cx.form.text("T_zdy_yongyu_0"), "准准准");
  EXPECT_EQ(cx.form.text("T_zdy_yongyu_1"), "没");
  SaveSignature(cx);
  EXPECT_EQ(prompter.lastText(), "保存成功");
  EXPECT_EQ(Bytes(cx.data.phrases()), kPhrasesGbk);
}

TEST_F(DataFolderTest, SchemeFileAndGbkNameKeepTheirBytes) {
#ifdef _WIN32
  GTEST_SKIP() << "file names are UTF-16 on Windows: raw GBK name bytes are a POSIX matter";
#endif
  // A scheme saved elsewhere under a GBK name, its groups naming "准准准" and "没".
  cx.form.setText("T_moshier_input", "01.02=12345准准准\r\n03.04=1234没");
  const std::string text = BuildSchemeText(cx.form).text;
  const fs::path file = cx.data.schemes() / kSchemeNameGbk;
  Put(file, ToGbk(text));
  const std::string before = Bytes(file);
  ASSERT_NE(before.find("\xD7\xBC\xD7\xBC\xD7\xBC"), std::string::npos);

  RefreshSchemeList(cx);
  ASSERT_EQ(cx.form.items("Fk.List_fangan"), std::vector<std::string>{"专业直选.fa"});
  cx.form.setSelectedIndex("Fk.List_fangan", 0);
  cx.form.setText("T_moshier_input", "");
  LoadScheme(cx);
  EXPECT_EQ(prompter.lastText(), "参数读入成功");
  EXPECT_EQ(cx.form.text("T_moshier_input"), "01.02=12345准准准\r\n03.04=1234没");
  // Saved back under the same name: the same file, the same bytes, no second file.
  cx.form.setText("Fk.T_fangan_name", "专业直选");
  SaveScheme(cx);
  EXPECT_EQ(prompter.lastText(), "保存完成");
  EXPECT_EQ(Bytes(file), before);
  int files = 0;
  for (const auto& e : fs::directory_iterator(cx.data.schemes())) files += e.is_regular_file();
  EXPECT_EQ(files, 1);

  // A new scheme gets a GBK name too, and lists under its own name.
  cx.form.setText("Fk.T_fangan_name", "没准");
  SaveScheme(cx);
  EXPECT_TRUE(fs::exists(cx.data.schemes() / fs::path("\xC3\xBB\xD7\xBC.fa")));
  EXPECT_EQ(cx.form.items("Fk.List_fangan"), (std::vector<std::string>{"专业直选.fa", "没准.fa"}));
  cx.form.setSelectedIndex("Fk.List_fangan", 1);
  DeleteSelectedScheme(cx);
  EXPECT_FALSE(fs::exists(cx.data.schemes() / fs::path("\xC3\xBB\xD7\xBC.fa")));
}

TEST_F(DataFolderTest, CurveStoreReadAndWrittenBackKeepsItsBytes) {
  std::array<std::string, kCurveSlots> slots;
  for (int i = 0; i < kCurveSlots; ++i) slots[static_cast<size_t>(i)] = i % 3 == 0 ? "准准准" : i % 3 == 1 ? "没" : "1*2*3";
  const std::string gbk = ToGbk(FormatCurveStore(slots));
  auto parsed = ParseCurveStore(gbk);
  ASSERT_TRUE(parsed);
  EXPECT_EQ((*parsed)[0], "准准准");
  EXPECT_EQ((*parsed)[1], "没");
  EXPECT_EQ(ToGbk(FormatCurveStore(*parsed)), gbk);
}

}  // namespace
}  // namespace lumora
