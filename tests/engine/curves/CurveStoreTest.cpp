#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "core/Files.h"
#include "curves/CurveStore.h"
#include "curves/Texts.h"
#include "curves/TrendChart.h"
#include "curves/TrendMatching.h"
#include "engine/curves/CurveTestSupport.h"
#include "engine/support/EngineFixture.h"
#include "session/AfterDraw.h"

namespace lumora {
namespace {

namespace fs = std::filesystem;

class CurveStoreTest : public ::testing::Test {
 protected:
  void SetUp() override { b_.cx.data = DataFolder(dir_); }

  void WriteStore(const std::string& bytes) { std::ofstream(dir_ / "data.mdb", std::ios::binary) << bytes; }
  std::string StoreBytes() { return ReadWholeFileBytes(dir_ / "data.mdb").value_or("<missing>"); }
  static std::string Lines(int count, const std::string& body = "") {
    std::string s;
    for (int i = 0; i < count; ++i) s += body + "\r\n";
    return s;
  }
  bool Rejected() {
    b_.prompter.notices.clear();
    bool ok = ReadCurveStore(b_.cx, b_.curves);
    if (ok) return false;
    EXPECT_EQ(b_.prompter.notices.size(), 2u);
    if (b_.prompter.notices.size() == 2) {
      EXPECT_EQ(b_.prompter.notices[0].text, curves_text::kStoreMissing);
      EXPECT_EQ(b_.prompter.notices[1].text, "本软件将关闭");
      EXPECT_EQ(b_.prompter.notices[1].title, "提示");
    }
    return true;
  }

  testing::ScratchFolder dir_{"curves"};
  test::Bench b_;
};

TEST_F(CurveStoreTest, AcceptedLayouts) {
  WriteStore(Lines(15) + "********\r\n");
  ASSERT_TRUE(ReadCurveStore(b_.cx, b_.curves));
  for (const std::string& s : b_.curves.slots) EXPECT_EQ(s, "");

  WriteStore(Lines(15, "1*2"));  // no marker
  ASSERT_TRUE(ReadCurveStore(b_.cx, b_.curves));
  EXPECT_EQ(b_.curves.slots[14], "1*2");

  WriteStore(Lines(14, "7"));  // the final CR LF gives the fifteenth, empty piece
  ASSERT_TRUE(ReadCurveStore(b_.cx, b_.curves));
  EXPECT_EQ(b_.curves.slots[13], "7");
  EXPECT_EQ(b_.curves.slots[14], "");

  WriteStore(Lines(14, "7") + "********\r\n");  // the marker lands in slot 14
  ASSERT_TRUE(ReadCurveStore(b_.cx, b_.curves));
  EXPECT_EQ(b_.curves.slots[14], "********");

  WriteStore("  " + Lines(2, "  3*4 ") + Lines(13) + "********\r\nextra\r\n");  // blanks trimmed, extra lines ignored
  ASSERT_TRUE(ReadCurveStore(b_.cx, b_.curves));
  EXPECT_EQ(b_.curves.slots[0], "3*4");
  EXPECT_EQ(b_.curves.slots[1], "3*4");
  EXPECT_TRUE(b_.prompter.notices.empty());
}

TEST_F(CurveStoreTest, RejectedFilesKeepTheSlots) {
  WriteStore(Lines(15, "5*6"));
  ASSERT_TRUE(ReadCurveStore(b_.cx, b_.curves));
  WriteStore(Lines(13, "9"));
  EXPECT_TRUE(Rejected());
  EXPECT_EQ(b_.curves.slots[3], "5*6");  // the copy in memory is not wiped
  std::string lf;
  for (int i = 0; i < 16; ++i) lf += "1\n";
  WriteStore(lf);  // LF alone: one line
  EXPECT_TRUE(Rejected());
  WriteStore("");
  EXPECT_TRUE(Rejected());
  fs::remove(dir_ / "data.mdb");
  EXPECT_TRUE(Rejected());
  fs::create_directory(dir_ / "data.mdb");  // not a file
  EXPECT_TRUE(Rejected());
}

TEST_F(CurveStoreTest, SavingASlotRewritesTheWholeFile) {
  std::string original;
  for (int i = 0; i < 15; ++i)
    original += (i == 9 ? std::string(" ") : "") + std::to_string(i) + "*" + std::to_string(-i) + "\r\n";
  WriteStore(original + "********\r\n");
  ASSERT_TRUE(ReadCurveStore(b_.cx, b_.curves));
  for (int x = 1; x <= 120; ++x) b_.curves.trend[x] = x - 60;
  SaveTrendToSlot(b_.cx, b_.curves, 3);
  std::string expected;
  for (int i = 0; i < 15; ++i)
    expected += (i == 3 ? FormatTrendText(b_.curves.trend) : std::to_string(i) + "*" + std::to_string(-i)) + "\r\n";
  expected += "********\r\n";
  EXPECT_EQ(StoreBytes(), expected);

  // A restart reads the same line back.
  test::Bench again;
  again.cx.data = DataFolder(dir_);
  ASSERT_TRUE(LoadTrendFromSlot(again.cx, again.curves, 3));
  for (int x = 1; x <= 120; ++x) EXPECT_EQ(again.curves.trend[x], x - 60);
}

TEST_F(CurveStoreTest, AFailedSaveLeavesTheFileAsItWas) {
  WriteStore(Lines(15, "1*1") + "********\r\n");
  ASSERT_TRUE(ReadCurveStore(b_.cx, b_.curves));
  const std::string before = StoreBytes();
  b_.cx.data = DataFolder(dir_ / "missing-folder");
  SaveTrendToSlot(b_.cx, b_.curves, 0);
  EXPECT_EQ(b_.prompter.lastText(), "本次保存曲线失败,请检查原因");
  EXPECT_EQ(b_.prompter.notices.back().title, "提示");
  EXPECT_EQ(b_.curves.slots[0], FormatTrendText(b_.curves.trend));  // kept in memory
  EXPECT_EQ(StoreBytes(), before);
}

TEST_F(CurveStoreTest, StartUpEndsWithoutAStore) {
  Session s;
  RecordingPrompter prompter;
  s.cx.ports.prompter = &prompter;
  s.cx.data = DataFolder(dir_);
  EXPECT_FALSE(StartupDefaults(s));
  ASSERT_GE(prompter.notices.size(), 2u);
  EXPECT_EQ(prompter.notices[0].text, curves_text::kStoreMissing);
  EXPECT_EQ(prompter.notices[1].text, curves_text::kProgramEnds);
}

TEST_F(CurveStoreTest, ALoadWhileRunningFromADamagedStoreSaysSoAndTheProgramGoesOn) {
  WriteStore(Lines(15, "1*2") + "********\r\n");
  ASSERT_TRUE(LoadTrendFromSlot(b_.cx, b_.curves, 3));
  const auto slotsBefore = b_.curves.slots;
  const auto trendBefore = b_.curves.trend;
  b_.prompter.notices.clear();
  WriteStore(Lines(4, "1*2"));
  EXPECT_FALSE(LoadTrendFromSlot(b_.cx, b_.curves, 3));
  // One notice, and not the one that says the program closes: it does not.
  ASSERT_EQ(b_.prompter.notices.size(), 1u);
  EXPECT_EQ(b_.prompter.notices[0].text, curves_text::kStoreMissing);
  EXPECT_EQ(b_.curves.slots, slotsBefore);
  EXPECT_EQ(b_.curves.trend, trendBefore);
}

TEST_F(CurveStoreTest, TheStartUpCheckTellsMissingUnreadableAndDamagedApart) {
  EXPECT_EQ(CheckCurveStore(dir_ / "data.mdb"), CurveStoreFault::Missing);
  WriteStore(Lines(13, "1*1"));
  EXPECT_EQ(CheckCurveStore(dir_ / "data.mdb"), CurveStoreFault::Damaged);
  WriteStore("");
  EXPECT_EQ(CheckCurveStore(dir_ / "data.mdb"), CurveStoreFault::Damaged);
  WriteStore(Lines(15) + "********\r\n");
  EXPECT_EQ(CheckCurveStore(dir_ / "data.mdb"), CurveStoreFault::None);
  fs::create_directories(dir_ / "folder" / "data.mdb");
  EXPECT_EQ(CheckCurveStore(dir_ / "folder" / "data.mdb"), CurveStoreFault::Unreadable);
}

TEST(ShippedCurveStore, FifteenTrendsThatParse) {
  test::Bench b;
  b.cx.data = DataFolder(testing::ShippedDataFolder());
  ASSERT_TRUE(ReadCurveStore(b.cx, b.curves));
  for (int i = 0; i < kCurveSlots; ++i) EXPECT_TRUE(LoadTrendText(b.cx, b.curves, i)) << i;
  EXPECT_TRUE(b.prompter.notices.empty());
}

}  // namespace
}  // namespace lumora
