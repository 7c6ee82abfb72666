#include <gtest/gtest.h>

#include "core/controls/Fmain.h"
#include "engine/plan/PlanFixture.h"
#include "plan/BackupPools.h"

namespace lumora::testing {
namespace {

class BackupPoolsTest : public PlanFixture {
 protected:
  void Box(int i, const std::string& t) { form().setText(fmain::T_dd_beiyong[i], t); }
  std::string Small() {
    BuildSmallPool(s.cx);
    return form().text(fmain::T_dd_beiyong[7]);
  }
};

TEST_F(BackupPoolsTest, SmallPoolRules) {
  form().setText(fmain::T_jihua_danma, "");
  EXPECT_EQ(SmallPool(s.cx).count(), 1000);  // no sources, no rules
  // With the default rules and "012345" every number passes.
  form().setText(fmain::T_jihua_danma, "12345=123\r\n5678=12\r\n4562=12\r\n23688=123");
  EXPECT_EQ(SmallPool(s.cx).count(), 1000);
  Box(6, "12 34");
  EXPECT_EQ(SmallPool(s.cx).count(), 20);
  EXPECT_TRUE(SmallPool(s.cx).contains(934));
  Box(6, "");
  Box(0, "001 002 003");
  Box(1, "002 003 004");
  EXPECT_EQ(Small(), "002 003");
  EXPECT_EQ(form().text(fmain::L_jjdi_zhushu1[7]), "2");
  form().setText(fmain::T_beiyong_rc, "01");
  EXPECT_EQ(Small(), "001 002 003 004");
  Box(5, "003");
  EXPECT_EQ(Small(), "001 002 004");
  form().setText(fmain::T_beiyong_rc, "");
  EXPECT_EQ(Small(), "");
  // Exactly three of the four default rules.
  Box(0, "");
  Box(1, "");
  Box(5, "");
  form().setText(fmain::T_beiyong_rc, "0");
  form().setText(fmain::T_jihua_danma_rc, "3");
  NumberSet three = SmallPool(s.cx);
  EXPECT_TRUE(three.contains(123));   // rules 1 (3 matches), 3 (1) and 4 (2) hold; rule 2 (0) does not
  EXPECT_FALSE(three.contains(999));  // no digit matches anywhere: no rule holds
  // Rule lines without "=" are no rules, yet the count of satisfied rules (0) must still be
  // accepted: with "3" no number passes, with "0" every number does.
  form().setText(fmain::T_jihua_danma, "12345\r\nno rule here");
  EXPECT_EQ(SmallPool(s.cx).count(), 0);
  form().setText(fmain::T_jihua_danma_rc, "0");
  EXPECT_EQ(SmallPool(s.cx).count(), 1000);
}

TEST_F(BackupPoolsTest, MergeBankerAndTriples) {
  form().setText(fmain::T_rj_jh_dd, "");
  MergeSmallPool(s.cx, false);
  EXPECT_EQ(form().text(fmain::T_jihua_jj_dadi_zhushu), "0");
  ForceTriples(s.cx);
  EXPECT_EQ(form().text(fmain::T_jihua_jj_dadi), "000 111 222 333 444 555 666 777 888 999");
  MergeSmallPool(s.cx, true);  // both sides empty: all numbers
  EXPECT_EQ(form().text(fmain::T_jihua_jj_dadi_zhushu), "1000");
  form().setText(fmain::T_rj_jh_dd, "001 002 003");
  Box(7, "002 003 004");
  MergeSmallPool(s.cx, true);
  EXPECT_EQ(form().text(fmain::T_jihua_jj_dadi), "002 003");
  form().setText(fmain::T_paixu_dadi, "003 009");
  IntersectBankerPool(s.cx);
  EXPECT_EQ(form().text(fmain::T_jihua_jj_dadi), "002 003");  // not ticked
  form().setChecked(fmain::Check_duanzu_canyu, true);
  IntersectBankerPool(s.cx);
  EXPECT_EQ(form().text(fmain::T_jihua_jj_dadi), "003");
  EXPECT_EQ(form().text(fmain::T_jihua_jj_dadi_zhushu), "1");
}

TEST_F(BackupPoolsTest, BoxActions) {
  clipboard.content = "123,456;789\r\n";
  PlanEnv e = env();
  PasteBackupBox(e, 2);
  EXPECT_EQ(form().text(fmain::T_dd_beiyong[2]), "123 456 789");
  EXPECT_EQ(form().text(fmain::L_jjdi_zhushu[2]), "3");
  form().setText(fmain::T_jihua_jj_dadi, " 010 020 ");
  InsertPlanIntoSourceBox(e);
  EXPECT_EQ(form().text(fmain::T_dd_beiyong[0]), "010 020");
  EXPECT_EQ(form().text(fmain::L_jjdi_zhushu[0]), "2");
  ClearFiveSourceBoxes(s.cx);
  EXPECT_EQ(form().text(fmain::T_dd_beiyong[2]), "");
  EXPECT_EQ(form().text(fmain::L_jjdi_zhushu[2]), "0");
}

}  // namespace
}  // namespace lumora::testing
