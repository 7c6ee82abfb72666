// The "附加功能" tab's automation and group-send controls, driven through their widgets.
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>

#include "ui/support/UiTest.h"

namespace lumora {
namespace {

struct AutoBetPageTest : uitest::WindowTest {
  void SetUp() override {
    qunsetenv("DISPLAY");  // no desktop to drive: the automation must say so, not fail silently
    WindowTest::SetUp();
  }
};

TEST_F(AutoBetPageTest, EveryControlIsThereWithItsDesignText) {
  for (const char* name : {"C_pt_id_shibie_0", "C_pt_id_shibie_5", "C_sz_touzhu", "C_dsf_sb_0", "C_dsf_sb_1",
                           "C_dsf_cs", "C_shoudong_xiazhu", "C_qunfa_find", "C_qun_all", "C_qunfa_shoudong",
                           "C_qunfa_shuoming", "C_qm_show"})
    Find<QPushButton>(name);
  for (const char* name : {"Tid_0", "Tid_1", "Tid_2", "T_beishu_xy_0", "T_beishu_xy_1", "T_dsf_canshu_0",
                           "T_dsf_canshu_1", "T_touzhu_dd_0", "T_touzhu_dd_1"})
    Find<QLineEdit>(name);
  Find<QListWidget>("List_touzhu");
  EXPECT_EQ(Find<QListWidget>("qf_list")->selectionMode(), QAbstractItemView::MultiSelection);
  EXPECT_EQ(Find<QCheckBox>("Check_touzhu_sx")->text(), "自动投注(开奖后1分钟自动投注)");
  EXPECT_EQ(Find<QCheckBox>("Check_pt_tz_sx")->text(), "第三方投注，本方停住[请确认第三方端开启]");
  EXPECT_EQ(Find<QCheckBox>("Check_qf_min")->text(), "群发后最小化QQ发言窗口");
  EXPECT_EQ(Find<QPushButton>("C_pt_id_shibie_1")->text(), "发送测试");
  EXPECT_EQ(session.cx.form.text("T_qf_yanshi_0"), "60");
}

TEST_F(AutoBetPageTest, FramesCarryTheirNamesAndEveryAutomationTimerIsStoppedAtStart) {
  // The settings centre and the settings exchange address the automation frame by this name.
  auto* automation = Find<QGroupBox>("Frame_canshu_1");
  ASSERT_NE(automation, nullptr);
  EXPECT_EQ(automation->title(), "自动投注设置[默认右键确认]");
  auto* capital = Find<QGroupBox>("Frame_zijin");
  ASSERT_NE(capital, nullptr);
  EXPECT_EQ(capital->title(), "资金控制,注意止损，止盈，等的设置");
  bool labelled = false;
  for (auto* l : capital->findChildren<QLabel*>()) labelled = labelled || l->text() == "当前倍数";
  EXPECT_TRUE(labelled) << "the current-multiple box has its label";
  EXPECT_EQ(Find<QLineEdit>("T_zd_touzhu_beitou_1")->text(), "当前倍数");  // until the settings are first read
  for (const char* t : {"Timer_pt_id_0", "Timer_pt_id_1", "Timer_pt_id_2", "Timer_shubiao", "Timer_dsf_sb_0",
                        "Timer_dsf_sb_1", "Timer_tz_djs", "Timer_dianji", "Timer_qf_dd", "Timer_jiesuo"})
    EXPECT_FALSE(session.cx.form.timer(t).enabled) << t;
  EXPECT_TRUE(session.cx.form.timer("Timer_sz_zx").enabled);
  EXPECT_EQ(session.cx.form.timer("Timer_sz_zx").intervalMs, 400);
}

TEST_F(AutoBetPageTest, DelayBoxesTakeDigitsOnly) {
  auto* delay = Find<QLineEdit>("T_qf_yanshi_0");
  delay->setFocus();
  delay->end(false);
  QTest::keyClicks(delay, "5a-");
  QTest::keyClick(delay, Qt::Key_Backspace);
  EXPECT_EQ(delay->text(), "605");
  EXPECT_EQ(session.cx.form.text("T_qf_yanshi_0"), "605");
}

TEST_F(AutoBetPageTest, ButtonsRunTheirOperations) {
  QTest::mouseClick(Find<QPushButton>("C_qunfa_shuoming"), Qt::LeftButton);
  ASSERT_FALSE(prompter.notices.empty());
  EXPECT_EQ(prompter.notices.back().title, "使用说明");
  QTest::mouseClick(Find<QPushButton>("C_qm_show"), Qt::LeftButton);
  EXPECT_EQ(Find<QPushButton>("C_qm_show")->text(), session.cx.form.visible("Fr_qianming") ? "隐藏签名档设置" : "打开签名档设置");
  // No desktop here: a capture reports it in the bet log instead of starting.
  QTest::mouseClick(Find<QPushButton>("C_pt_id_shibie_0"), Qt::LeftButton);
  const auto& log = session.cx.form.items("List_tz_new");
  ASSERT_FALSE(log.empty());
  EXPECT_EQ(log.back().rfind("自动操作不可用：", 0), 0u) << log.back();
  EXPECT_FALSE(session.cx.form.timer("Timer_pt_id_0").enabled);
  QTest::mouseClick(Find<QPushButton>("C_shoudong_xiazhu"), Qt::LeftButton);
  EXPECT_TRUE(session.cx.form.timer("Timer_tz_djs").enabled);
}

TEST_F(AutoBetPageTest, TheSignatureFrameOpensOnThisPage) {
  auto* frame = Find<QWidget>("Fr_qianming");
  ASSERT_NE(frame, nullptr);
  EXPECT_TRUE(Find<QWidget>("Frame_ding_5")->isAncestorOf(frame));
  shell->run([](Session& s) { s.cx.form.setVisible("Fr_qianming", false); });  // as after start-up
  Find<QPushButton>("C_qm_show")->click();
  EXPECT_TRUE(frame->isVisibleTo(Find<QWidget>("Frame_ding_5")));
  EXPECT_EQ(Find<QPushButton>("C_qm_show")->text(), "隐藏签名档设置");
  Find<QPushButton>("C_qm_show")->click();
  EXPECT_FALSE(frame->isVisibleTo(Find<QWidget>("Frame_ding_5")));
}

}  // namespace
}  // namespace lumora
