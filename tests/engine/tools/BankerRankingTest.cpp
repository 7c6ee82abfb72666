#include <gtest/gtest.h>

#include "core/NumberSet.h"
#include "core/Text.h"
#include "core/controls/Fmain.h"
#include "engine/support/EngineFixture.h"
#include "tools/BankerRanking.h"
#include "tools/Texts.h"

namespace lumora {
namespace {

namespace tt = tools_text;

// History with rows 1.. filled from `digits` (row 1 = the first), periods counting down from `newest`.
DrawStore History(const std::vector<std::string>& digits, int newest = 120) {
  DrawStore s;
  for (size_t i = 0; i < digits.size(); ++i)
    s.history[i + 1] = DrawRecord{Pad(newest - static_cast<int>(i), 3), digits[i]};
  return s;
}

struct BankerTest : ::testing::Test, testing::RecordedContext {
  void SetUp() override {
    cx.form.setText(fmain::T_paixu_qishu, "10");
    cx.form.setText(fmain::T_paixu_fenjiemoshi, "1-2-3");
    cx.form.setText(fmain::T_paixu_qishu_02, "10");
    cx.form.setText(fmain::T_paixu_fenjiemoshi_02, "1-2-3");
    cx.form.setText(fmain::T_paixu_fenjie_houbei_cs, "12");
    cx.form.setText(fmain::T_paixu_fenjie_houbei_cs_02, "12");
    cx.form.setText(fmain::T_paixu_input_rc, "1.2.3");
  }
};

TEST(RankedDigits, TiesKeepAscendingOrderHotFirstAndDescendingColdFirst) {
  // Digits 2 and 7 three times each, 4 twice, 0 once (row "00" + 3 digits reads the last three).
  DrawStore s = History({"00272", "00747", "00024"});
  EXPECT_EQ(RankedDigits(s, 1, 3, false), "2740135689");
  EXPECT_EQ(RankedDigits(s, 1, 3, true), "9865310472");
  // Only the last three positions count, and a repeated digit counts twice.
  DrawStore r = History({"99339"});
  EXPECT_EQ(RankedDigits(r, 1, 1, false), "3901245678");
}

TEST(RankedDigits, EmptyWindowAndEmptyRows) {
  DrawStore s = History({"12345"});
  EXPECT_EQ(RankedDigits(s, 1, 0, false), "0123456789");
  EXPECT_EQ(RankedDigits(s, 1, 0, true), "9876543210");
  // Before any draw, every row counts as three 0 digits: ranking 1 starts with 0, ranking 2 ends with it.
  DrawStore none;
  EXPECT_EQ(RankedDigits(none, 31, 50, false), "0123456789");
  EXPECT_EQ(RankedDigits(none, 31, 50, true), "9876543210");
  // A non-digit position counts as 0.
  DrawStore odd = History({"12x5y"});
  EXPECT_EQ(RankedDigits(odd, 1, 1, false), "0512346789");
}

TEST(CutGroups, ModesShorterAndLongerThanTheRankedString) {
  EXPECT_EQ(Join(CutGroups("0123456789", {4, 3, 3}), "-"), "0123-456-789");
  EXPECT_EQ(Join(CutGroups("0123456789", {1, 2, 3}), "-"), "0-12-345");
  EXPECT_EQ(Join(CutGroups("0123456789", {6, 3, 4, 2}), "-"), "012345-678-9-");
  EXPECT_EQ(Join(CutGroups("0123456789", {10, 0}), "-"), "0123456789-");
}

TEST(RankingSettings, RefusalsAndLenientReading) {
  EXPECT_EQ(ReadRankingSettings("51", "1-2-3").error, tt::kWindowTooLong);
  EXPECT_EQ(ReadRankingSettings("50.4", "1-2-3").window, 50);
  EXPECT_TRUE(ReadRankingSettings("50", "1-2-3").error.empty());
  auto noDash = ReadRankingSettings("10", " 123 ");
  EXPECT_EQ(noDash.error, tt::kModeNeedsDash);
  EXPECT_EQ(noDash.errorTitle, tt::kModeNeedsDashTitle);
  EXPECT_EQ(ReadRankingSettings("50.5", "1-2-3").window, 50);
  EXPECT_EQ(ReadRankingSettings("50.6", "1-2-3").error, tt::kWindowTooLong);
  EXPECT_EQ(ReadRankingSettings("1e12", "1-2").error, tt::kWindowTooLong);
  EXPECT_EQ(ReadRankingSettings("-1e12", "1-2").error, tt::kRankingFailed);
  EXPECT_EQ(ReadRankingSettings("", "1-x-3").window, 0);
  EXPECT_EQ(ReadRankingSettings("", "1-x-3").lengths, (std::vector<int>{1, 0, 3}));
}

TEST(RankingLines, PastLinesTestEachDrawAgainstTheWindowBeforeIt) {
  // Row 1 newest "..339", rows 2.. all "..000": for row 1 the window rows 2..11 rank 0 first.
  std::vector<std::string> d(40, "12000");
  d[0] = "45339";
  DrawStore s = History(d, 120);
  auto lines = BuildRankingLines(s, 10, {1, 2, 3}, false);
  ASSERT_EQ(lines.size(), 31u);
  EXPECT_EQ(lines[29], "120期：0-12-345：出几：0-0-1=1");
  // The coming-draw line: the window is rows 1..10, where 0 is most frequent, then 3 and 9.
  EXPECT_EQ(lines[30], "121期：0-39-124：出几：等中奖.");
  EXPECT_EQ(lines[0], "091期：0-12-345：出几：1-0-0=1");
}

TEST(RankingLines, ComingLineHasNoWrapAroundAndEmptyHistoryStartsAt001) {
  DrawStore none;
  auto lines = BuildRankingLines(none, 10, {1, 2, 3}, true);
  EXPECT_EQ(lines[30], "001期：9-87-654：出几：等中奖.");
  EXPECT_EQ(lines[0], "期：9-87-654：出几：0-0-0=0");
}

TEST_F(BankerTest, RefreshWritesTheListOrRefusesAndKeepsIt) {
  cx.draws = History(std::vector<std::string>(60, "00123"));
  RefreshRanking(cx, 1);
  ASSERT_EQ(cx.form.items(fmain::List01).size(), 31u);
  EXPECT_EQ(cx.form.selectedIndex(fmain::List01), 30);
  auto before = cx.form.items(fmain::List01);
  cx.form.setText(fmain::T_paixu_qishu, "51");
  RefreshRanking(cx, 1);
  EXPECT_EQ(prompter.lastText(), tt::kWindowTooLong);
  EXPECT_EQ(cx.form.items(fmain::List01), before);
  cx.form.setText(fmain::T_paixu_qishu, "50");
  cx.form.setText(fmain::T_paixu_fenjiemoshi, "123");
  RefreshRanking(cx, 1);
  EXPECT_EQ(prompter.notices.back().title, tt::kModeNeedsDashTitle);
  EXPECT_EQ(cx.form.items(fmain::List01), before);
  RefreshRanking(cx, 2);
  EXPECT_EQ(cx.form.items(fmain::List02).back(), "121期：9-87-654：出几：等中奖.");
}

TEST_F(BankerTest, WindowButtonsStopAt49And50) {
  cx.form.setText(fmain::T_paixu_qishu, "49");
  StepRankingWindow(cx, 1, +1);
  EXPECT_EQ(cx.form.text(fmain::T_paixu_qishu), "49");
  EXPECT_TRUE(cx.form.items(fmain::List01).empty());  // unchanged N: no refresh
  cx.form.setText(fmain::T_paixu_qishu_02, "49");
  StepRankingWindow(cx, 2, +1);
  EXPECT_EQ(cx.form.text(fmain::T_paixu_qishu_02), "50");
  StepRankingWindow(cx, 2, +1);
  EXPECT_EQ(cx.form.text(fmain::T_paixu_qishu_02), "50");
  EXPECT_EQ(cx.form.items(fmain::List02).size(), 31u);
  cx.form.setText(fmain::T_paixu_qishu, "1");
  StepRankingWindow(cx, 1, -1);
  EXPECT_EQ(cx.form.text(fmain::T_paixu_qishu), "1");
  cx.form.setText(fmain::T_paixu_qishu, "12abc");
  StepRankingWindow(cx, 1, -1);
  EXPECT_EQ(cx.form.text(fmain::T_paixu_qishu), "11");
}

TEST_F(BankerTest, PickAndAddToFilter) {
  cx.form.setItems(fmain::List01, {"045期：7-89-456：出几：1-0-1=2", "no field"});
  PickRankingLine(cx, 1, 1);
  EXPECT_EQ(cx.form.text(fmain::T_paixu_fenjie_houbei), "");
  PickRankingLine(cx, 1, 0);
  EXPECT_EQ(cx.form.text(fmain::T_paixu_fenjie_houbei), "7-89-456");
  cx.form.setText(fmain::T_paixu_input, "  ");
  AddPickedToFilter(cx, 1);
  EXPECT_EQ(cx.form.text(fmain::T_paixu_input), "  7-89-456=12");
  EXPECT_EQ(cx.form.text(fmain::T_paixu_fenjie_houbei), "");
  AddPickedToFilter(cx, 1);
  EXPECT_EQ(prompter.notices.back().text, tt::kNeedData);
  EXPECT_EQ(prompter.notices.back().title, tt::kNeedDataTitle);
  cx.form.setText(fmain::T_paixu_fenjie_houbei, "0-1");
  AddPickedToFilter(cx, 1);
  EXPECT_EQ(cx.form.text(fmain::T_paixu_input), "  7-89-456=12\r\n0-1=12");
}

TEST(BankerRules, CleaningAndCounting) {
  EXPECT_EQ(CleanFilterInput(" 7895-012-346=12\r\n4567-789-012=12\r\n5896-012-347=12.\r\n"),
            "7895-012-346=12\r\n4567-789-012=12\r\n5896-012-347=12");
  EXPECT_EQ(CleanFilterInput("a1 2－3=1２"), "123=1");
  // "=0": only numbers sharing no digit with either group.
  FilterResult zero = RunBankerRules("123-456=0", "1");
  EXPECT_EQ(zero.count, 64);  // digits 0 7 8 9 only
  EXPECT_EQ(zero.pool.substr(0, 15), "000 007 008 009");
  // A group is counted once however many digits it holds.
  FilterResult one = RunBankerRules("12-89=1", "1");
  EXPECT_NE(one.pool.find("112"), std::string::npos);
  EXPECT_EQ(one.pool.find("128"), std::string::npos);
  // Accepted "0": passes only numbers satisfying no rule; empty: nothing passes.
  EXPECT_EQ(RunBankerRules("0123456789-=1", "0").count, 0);
  EXPECT_EQ(RunBankerRules("0123456789-=1", "").count, 0);
  EXPECT_EQ(RunBankerRules("0123456789-=1", "1").count, 1000);
  EXPECT_EQ(RunBankerRules("0123456789-0=1", "0").count, 271);  // the numbers holding a 0 hit both groups
  // Lines without "=" or without "-" on the left are skipped (every number satisfies 0 rules).
  EXPECT_EQ(RunBankerRules("123=1\r\n12-3\r\n", "0").count, 1000);
}

TEST_F(BankerTest, FilterWritesBackCleanedInputAndKeepsResultOnEmpty) {
  cx.form.setText(fmain::T_paixu_input, "12-34=2 x");
  BankerFilter(cx);
  EXPECT_EQ(cx.form.text(fmain::T_paixu_input), "12-34=2");
  const std::string pool = cx.form.text(fmain::T_paixu_dadi);
  EXPECT_EQ(cx.form.text(fmain::Label_paixu_zhushu), std::to_string(NumberSet::FromText(pool).count()));
  EXPECT_NE(pool.find("013"), std::string::npos);
  cx.form.setText(fmain::T_paixu_input, "abc");
  BankerFilter(cx);
  EXPECT_EQ(cx.form.text(fmain::T_paixu_input), "");
  EXPECT_EQ(cx.form.text(fmain::T_paixu_dadi), pool);
}

TEST_F(BankerTest, FeedFromBothRankingsOnlyWhenTicked) {
  cx.draws = History(std::vector<std::string>(60, "00123"));
  RefreshRanking(cx, 1);
  RefreshRanking(cx, 2);
  cx.form.setText(fmain::T_paixu_input, "keep");
  FeedFilterFromRanking(cx);
  EXPECT_EQ(cx.form.text(fmain::T_paixu_input), "keep");
  cx.form.setChecked(fmain::Check_dz_auto, true);
  FeedFilterFromRanking(cx);
  EXPECT_EQ(cx.form.text(fmain::T_paixu_input), "1-23-045=12\r\n9-87-654=12");
  EXPECT_FALSE(cx.form.text(fmain::T_paixu_dadi).empty());
}

TEST_F(BankerTest, CopyAndInsertIntoTheFirstEmptySourcePool) {
  cx.form.setText(fmain::T_paixu_dadi, " 012 345 ");
  EXPECT_TRUE(CopyBankerResult(cx));
  EXPECT_EQ(clipboard.content, " 012 345 ");
  cx.form.setText(fmain::T_dd_beiyong[0], "111");
  EXPECT_EQ(InsertBankerResultIntoSourcePool(cx), 1);
  EXPECT_EQ(cx.form.text(fmain::T_dd_beiyong[1]), "012 345");
  for (int i = 2; i <= 4; ++i) cx.form.setText(fmain::T_dd_beiyong[i], "1");
  EXPECT_EQ(InsertBankerResultIntoSourcePool(cx), std::nullopt);
  cx.ports.clipboard = nullptr;
  EXPECT_FALSE(CopyBankerResult(cx));
  EXPECT_EQ(prompter.notices.back().text, tt::kCopyFailed);
  EXPECT_EQ(prompter.notices.back().title, tt::kCopyFailedTitle);
}

}  // namespace
}  // namespace lumora
