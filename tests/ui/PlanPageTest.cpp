// The plan and monitor tabs driven through their widgets, with the recording ports.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

#include "core/Text.h"
#include "ui/support/UiTest.h"

namespace lumora {
namespace {

struct PlanPageTest : uitest::WindowTest {
  template <typename W>
  W* Find(const std::string& name) { return WindowTest::Find<W>(QString::fromStdString(name)); }
  // Pages other than the first are hidden: buttons are clicked programmatically.
  void Click(const std::string& name) { Find<QPushButton>(name)->click(); }
  Form& form() { return session.cx.form; }
};

TEST_F(PlanPageTest, DesignTextsReachTheForm) {
  EXPECT_EQ(form().text("T_jh_dadi_chongfu_cs"), "18");
  EXPECT_EQ(form().text("T_jh_dadi_chongfu_rc"), "08.09.10.11.12.13.14");
  EXPECT_EQ(form().text("T_moshier_input"), "01.02.03.04.05=12345\r\n01.03.05.07.09.11=1234\r\n10.11.12.13=12\r\n");
  EXPECT_EQ(form().text("T_jihua_danma_rc"), "012345");
  EXPECT_TRUE(form().checked("Op_jiankong_zihui"));
  EXPECT_EQ(Find<QPushButton>("C_jihua_ks")->text(), "开始计划");
  EXPECT_EQ(Find<QCheckBox>("Check_pszj_sx")->text(), "显示统计利润信息");
}

TEST_F(PlanPageTest, RepeatCountKeepsDigitsAndModesStayExclusive) {
  auto* count = Find<QLineEdit>("T_jh_dadi_chongfu_cs");
  count->clear();
  QTest::keyClicks(count, "1a8");
  EXPECT_EQ(count->text(), "18");
  Find<QCheckBox>("Check_jh_dadi_chongfu")->setChecked(true);
  Find<QCheckBox>("Check_jh_dadi_fenzu")->click();
  EXPECT_TRUE(Find<QCheckBox>("Check_jh_dadi_fenzu")->isChecked());
  EXPECT_FALSE(Find<QCheckBox>("Check_jh_dadi_chongfu")->isChecked());
  EXPECT_EQ(form().backColor("Fr_ms2"), Rgb(0, 255, 0));
}

TEST_F(PlanPageTest, BackupBoxButtonsPasteNormalisedCountAndClear) {
  clipboard.content = "123,456;789";
  Click("C_fuzhu_tie_3");
  EXPECT_EQ(Find<QPlainTextEdit>("T_dd_beiyong_3")->toPlainText(), "123 456 789");
  EXPECT_EQ(Find<QLabel>("L_jjdi_zhushu_3")->text(), "3");
  Click("C_fuzhu_copy_3");
  EXPECT_EQ(clipboard.content, "123 456 789");
  Click("C_yj_5d_cls");
  EXPECT_EQ(Find<QPlainTextEdit>("T_dd_beiyong_3")->toPlainText(), "");
  EXPECT_EQ(Find<QLabel>("L_jjdi_zhushu_3")->text(), "0");
}

TEST_F(PlanPageTest, MonitorSelectionRecountsAndSelectAllWorks) {
  Click("C_xl_all_1");
  EXPECT_EQ(Find<QLineEdit>("T_jiankong_15di_geshu")->text(), "0");
  Find<QCheckBox>("Ch_jiankong_jj_4")->click();
  EXPECT_EQ(Find<QLineEdit>("T_jiankong_15di_geshu")->text(), "1");
  Click("C_xl_all_0");
  EXPECT_EQ(Find<QLineEdit>("T_jiankong_15di_geshu")->text(), "15");
}

TEST_F(PlanPageTest, StartingWithoutDrawsIsRefused) {
  Click("C_jihua_ks");
  ASSERT_FALSE(prompter.notices.empty());
  EXPECT_EQ(prompter.lastText(), "没有开奖数据");
}

}  // namespace
}  // namespace lumora
