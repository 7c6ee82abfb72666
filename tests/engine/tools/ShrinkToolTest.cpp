#include <gtest/gtest.h>

#include "core/Text.h"
#include "core/controls/Ftool.h"
#include "engine/support/EngineFixture.h"
#include "tools/ShrinkTool.h"
#include "tools/Texts.h"

namespace lumora {
namespace {

namespace tt = tools_text;

struct ShrinkTest : ::testing::Test, testing::RecordedContext {
  void SetUp() override {
    ShrinkToolDefaults(cx.form);
    cx.form.setText(ftool::T_lj_dd, std::string(tt::kJunkDesign));
  }
  void Tick(const ControlArray<ControlKind::CheckBox>& control, int item) { cx.form.setChecked(control[item], true); }
  void Click(const ControlArray<ControlKind::Button>& control, int item) { ToggleShrinkMark(cx, control, item); }
  int Run() {
    ks_suoshui(cx);
    return ReadInt(cx.form.text(ftool::L_zhushu));
  }
  bool Kept(const std::string& n) { return NumberSet::FromText(cx.form.text(ftool::Tdd)).contains(n); }
};

TEST_F(ShrinkTest, NoMarksKeepsAllAndTheResultIsAscending) {
  EXPECT_EQ(Run(), 1000);
  const std::string& tdd = cx.form.text(ftool::Tdd);
  EXPECT_EQ(tdd.substr(0, 11), "000 001 002");
  EXPECT_EQ(tdd.substr(tdd.size() - 3), "999");
}

TEST_F(ShrinkTest, CompoundNeedsAllThreeRowsAndKillNeedsOne) {
  Click(ftool::C_fushi_paichu, 1);
  Click(ftool::C_fushi_paichu, 12);
  EXPECT_EQ(Run(), 1000);
  Click(ftool::C_fushi_paichu, 23);
  Click(ftool::C_fushi_paichu, 24);
  EXPECT_EQ(Run(), 998);
  EXPECT_FALSE(Kept("123"));
  EXPECT_FALSE(Kept("124"));
  ClearAllShrinkConditions(cx);
  Click(ftool::C_dingwei_sha, 20);
  EXPECT_EQ(Run(), 900);
  EXPECT_FALSE(Kept("340"));
}

TEST_F(ShrinkTest, RouteShapesSumTailAndSpanCounts) {
  Tick(ftool::Check_012_paichu, 0);  // "000"
  EXPECT_EQ(Run(), 936);
  EXPECT_FALSE(Kept("369"));
  ClearAllShrinkConditions(cx);
  Tick(ftool::Check_pailie_daxiao, 2);  // "大大大"
  EXPECT_EQ(Run(), 875);
  ClearAllShrinkConditions(cx);
  Tick(ftool::Check_pailie_zhihe, 2);  // "质质质"
  EXPECT_EQ(Run(), 875);
  EXPECT_FALSE(Kept("357"));
  ClearAllShrinkConditions(cx);
  PressShrinkAll(cx, 20);  // every parity pattern
  EXPECT_EQ(Run(), 0);
  EXPECT_EQ(cx.form.text(ftool::Tdd), "");
  ClearAllShrinkConditions(cx);
  Tick(ftool::Check_hewei_sha, 0);
  EXPECT_EQ(Run(), 900);
  EXPECT_FALSE(Kept("019"));
  EXPECT_FALSE(Kept("000"));
  EXPECT_TRUE(Kept("999"));
  ClearAllShrinkConditions(cx);
  Tick(ftool::Check_kuadu_sha, 0);
  Tick(ftool::Check_kuadu_sha, 9);
  EXPECT_EQ(Run(), 1000 - 10 - 54);
}

TEST_F(ShrinkTest, BankerGroupsWithAndWithoutRepeatCounting) {
  Click(ftool::C_danzu, 1);
  Click(ftool::C_danzu, 2);
  EXPECT_EQ(Run(), 488);        // holding a 1 or a 2, any count
  Click(ftool::C_danzu_gs, 0);  // count "0" only
  EXPECT_EQ(Run(), 512);
  Click(ftool::C_danzu_gs, 0);
  Click(ftool::C_danzu_gs, 3);  // count "3" only
  Run();
  EXPECT_FALSE(Kept("112"));  // two distinct banker digits
  cx.form.setChecked(ftool::Check_danma_jc, true);
  Run();
  EXPECT_TRUE(Kept("112"));  // three positions hold a banker digit
  EXPECT_TRUE(Kept("222"));
  // A second group is tested too: group 2 digit 9 with count 1.
  Click(ftool::C_danzu, 19);
  Click(ftool::C_danzu_gs, 5);
  Run();
  EXPECT_FALSE(Kept("112"));
  PressShrinkAll(cx, 14);  // clears group 1 only
  Run();
  EXPECT_TRUE(Kept("119"));
  EXPECT_FALSE(Kept("112"));
  EXPECT_EQ(cx.form.backColor(ftool::C_danzu[19]), tt::kGreen);
}

TEST_F(ShrinkTest, JunkMatchesAcrossBoundaries) {
  cx.form.setText(ftool::T_lj_dd, "123456");
  EXPECT_EQ(Run(), 996);
  EXPECT_FALSE(Kept("234"));
  cx.form.setText(ftool::T_lj_dd, "杀垃圾单式大底\r\n12 3\r\n789");
  EXPECT_EQ(Run(), 999);
}

TEST_F(ShrinkTest, MarkButtonsToggleAndClearAllResetsEverything) {
  Click(ftool::C_fushi_paichu, 5);
  EXPECT_EQ(cx.form.backColor(ftool::C_fushi_paichu[5]), tt::kRed);
  Click(ftool::C_fushi_paichu, 5);
  EXPECT_EQ(cx.form.backColor(ftool::C_fushi_paichu[5]), tt::kGrey);
  Click(ftool::C_danzu_gs, 15);
  EXPECT_EQ(cx.form.backColor(ftool::C_danzu_gs[15]), tt::kGreen);
  PressShrinkAll(cx, 10);  // mark the whole units row of "定位杀"
  EXPECT_EQ(Run(), 0);
  PressShrinkAll(cx, 12);
  Tick(ftool::Check_hewei_sha, 3);
  ClearAllShrinkConditions(cx);
  EXPECT_EQ(cx.form.text(ftool::T_lj_dd), tt::kJunkCleared);
  EXPECT_EQ(cx.form.text(ftool::Tdd), "");
  EXPECT_EQ(cx.form.text(ftool::L_zhushu), "0");
  EXPECT_EQ(cx.form.backColor(ftool::C_danzu_gs[15]), tt::kGrey);
  EXPECT_EQ(Run(), 1000);
  EXPECT_EQ(ShrinkAllCaption(0), tt::kMarkAll);
  EXPECT_EQ(ShrinkAllCaption(15), tt::kClear);
  EXPECT_EQ(ShrinkAllCaption(26), tt::kMarkAll);
}

TEST_F(ShrinkTest, CopyPutsTheResultOnTheClipboard) {
  cx.form.setText(ftool::T_lj_dd, "");
  Tick(ftool::Check_kuadu_sha, 0);
  for (int s = 2; s <= 9; ++s) Tick(ftool::Check_kuadu_sha, s);
  Run();
  EXPECT_TRUE(CopyShrinkResult(cx));
  EXPECT_EQ(clipboard.content, cx.form.text(ftool::Tdd));
  EXPECT_EQ(cx.form.text(ftool::L_zhushu), std::to_string(NumberSet::FromText(clipboard.content).count()));
  cx.ports.clipboard = nullptr;
  EXPECT_FALSE(CopyShrinkResult(cx));
  EXPECT_EQ(prompter.notices.back().text, tt::kUnknownError);
}

}  // namespace
}  // namespace lumora
