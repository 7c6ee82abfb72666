// The plan and monitor tabs driven through their widgets, with the recording ports.
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

#include "core/Text.h"
#include "core/controls/Fmain.h"
#include "ui/support/UiTest.h"

namespace lumora {
namespace {

struct PlanPageTest : uitest::WindowTest {
  // Pages other than the first are hidden: buttons are clicked programmatically.
  void Click(Button button) { Find<QPushButton>(button)->click(); }
  Form& form() { return session.cx.form; }
};

TEST_F(PlanPageTest, CaptionsAndTheStartRefusalWithoutDraws) {
  EXPECT_EQ(form().text(fmain::T_moshier_input),
            "01.02.03.04.05=12345\r\n01.03.05.07.09.11=1234\r\n10.11.12.13=12\r\n");
  EXPECT_TRUE(form().checked(fmain::Op_jiankong_zihui));
  EXPECT_EQ(Find<QPushButton>(fmain::C_jihua_ks)->text(), "开始计划");
  EXPECT_EQ(Find<QCheckBox>(fmain::Check_pszj_sx)->text(), "显示统计利润信息");
  Click(fmain::C_jihua_ks);
  EXPECT_EQ(prompter.lastText(), "没有开奖数据");
}

TEST_F(PlanPageTest, RepeatCountKeepsDigitsAndModesStayExclusive) {
  auto* count = Find<QLineEdit>(fmain::T_jh_dadi_chongfu_cs);
  count->clear();
  QTest::keyClicks(count, "1a8");
  EXPECT_EQ(count->text(), "18");
  Find<QCheckBox>(fmain::Check_jh_dadi_chongfu)->setChecked(true);
  Find<QCheckBox>(fmain::Check_jh_dadi_fenzu)->click();
  EXPECT_TRUE(Find<QCheckBox>(fmain::Check_jh_dadi_fenzu)->isChecked());
  EXPECT_FALSE(Find<QCheckBox>(fmain::Check_jh_dadi_chongfu)->isChecked());
  EXPECT_EQ(form().backColor(fmain::Fr_ms2), Rgb(0, 255, 0));
}

TEST_F(PlanPageTest, BackupBoxButtonsPasteNormalisedCountAndClear) {
  clipboard.content = "123,456;789";
  Click(fmain::C_fuzhu_tie[3]);
  EXPECT_EQ(Find<QPlainTextEdit>(fmain::T_dd_beiyong[3])->toPlainText(), "123 456 789");
  EXPECT_EQ(Find<QLabel>(fmain::L_jjdi_zhushu[3])->text(), "3");
  Click(fmain::C_fuzhu_copy[3]);
  EXPECT_EQ(clipboard.content, "123 456 789");
  Click(fmain::C_yj_5d_cls);
  EXPECT_EQ(Find<QPlainTextEdit>(fmain::T_dd_beiyong[3])->toPlainText(), "");
  EXPECT_EQ(Find<QLabel>(fmain::L_jjdi_zhushu[3])->text(), "0");
}

TEST_F(PlanPageTest, MonitorSelectionRecountsAndSelectAllWorks) {
  Click(fmain::C_xl_all[1]);
  EXPECT_EQ(Find<QLineEdit>(fmain::T_jiankong_15di_geshu)->text(), "0");
  Find<QCheckBox>(fmain::Ch_jiankong_jj[4])->click();
  EXPECT_EQ(Find<QLineEdit>(fmain::T_jiankong_15di_geshu)->text(), "1");
  Click(fmain::C_xl_all[0]);
  EXPECT_EQ(Find<QLineEdit>(fmain::T_jiankong_15di_geshu)->text(), "15");
}

TEST_F(PlanPageTest, AlarmPatternSitsInItsFrameOnTheMonitorTab) {
  auto* frame = qobject_cast<QGroupBox*>(Find<QCheckBox>(fmain::Check_baojing)->parentWidget());
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(frame->title(), "计划报警设置");
  EXPECT_TRUE(Find<QWidget>(fmain::Frame_ding[3])->isAncestorOf(frame));
  EXPECT_EQ(frame, Find<QLineEdit>(fmain::T_bj)->parentWidget());
  QStringList notes;
  for (auto* l : frame->findChildren<QLabel*>()) notes << l->text();
  EXPECT_TRUE(notes.contains("从左往右看，右边为最新一期。"));
  EXPECT_TRUE(notes.contains("目前仅支持最大监控5期"));
  EXPECT_EQ(Find<QCheckBox>(fmain::Check_baojing)->text(), "勾选生效,声音报警");
  EXPECT_FALSE(Find<QCheckBox>(fmain::Check_baojing)->isChecked());
  auto* pattern = Find<QLineEdit>(fmain::T_bj);
  EXPECT_EQ(pattern->text(), "中中挂挂挂");
  pattern->clear();
  pattern->insert("中,挂 中");  // as pasted
  EXPECT_EQ(pattern->text(), "中挂中");
}

TEST_F(PlanPageTest, SignatureKeepsSeveralLines) {
  auto* sign = Find<QPlainTextEdit>(fmain::T_jihua_qianming);
  ASSERT_NE(sign, nullptr);
  EXPECT_EQ(sign->toPlainText(), "签名档位置");
  sign->setPlainText("第一行\n第二行");
  EXPECT_EQ(form().text(fmain::T_jihua_qianming), "第一行\r\n第二行");
  shell->run([](Session& s) { s.cx.form.setText(fmain::T_jihua_qianming, "签名\r\n网址"); });
  EXPECT_EQ(sign->toPlainText(), "签名\n网址");
}

}  // namespace
}  // namespace lumora
