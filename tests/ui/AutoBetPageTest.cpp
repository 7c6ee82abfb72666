// The "附加功能" tab's automation and group-send controls, driven through their widgets.
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>

#include "core/controls/Fmain.h"
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
  for (Button name : {fmain::C_pt_id_shibie[0], fmain::C_pt_id_shibie[5], fmain::C_sz_touzhu, fmain::C_dsf_sb[0],
                      fmain::C_dsf_sb[1], fmain::C_dsf_cs, fmain::C_shoudong_xiazhu, fmain::C_qunfa_find,
                      fmain::C_qun_all, fmain::C_qunfa_shoudong, fmain::C_qunfa_shuoming, fmain::C_qm_show})
    Find<QPushButton>(name);
  for (TextBox name : {fmain::Tid[0], fmain::Tid[1], fmain::Tid[2], fmain::T_beishu_xy[0], fmain::T_beishu_xy[1],
                       fmain::T_dsf_canshu[0], fmain::T_dsf_canshu[1], fmain::T_touzhu_dd[0], fmain::T_touzhu_dd[1]})
    Find<QLineEdit>(name);
  Find<QListWidget>(fmain::List_touzhu);
  EXPECT_EQ(Find<QListWidget>(fmain::qf_list)->selectionMode(), QAbstractItemView::MultiSelection);
  EXPECT_EQ(Find<QCheckBox>(fmain::Check_touzhu_sx)->text(), "自动投注(开奖后1分钟自动投注)");
  EXPECT_EQ(Find<QCheckBox>(fmain::Check_pt_tz_sx)->text(), "第三方投注，本方停住[请确认第三方端开启]");
  EXPECT_EQ(Find<QCheckBox>(fmain::Check_qf_min)->text(), "群发后最小化QQ发言窗口");
  EXPECT_EQ(Find<QPushButton>(fmain::C_pt_id_shibie[1])->text(), "发送测试");
  EXPECT_EQ(session.cx.form.text(fmain::T_qf_yanshi[0]), "60");
}

TEST_F(AutoBetPageTest, FramesCarryTheirNamesAndEveryAutomationTimerIsStoppedAtStart) {
  // The settings centre and the settings exchange address the automation frame by this name.
  auto* automation = Find<QGroupBox>(fmain::Frame_canshu[1]);
  ASSERT_NE(automation, nullptr);
  EXPECT_EQ(automation->title(), "自动投注设置[默认右键确认]");
  auto* capital = Find<QGroupBox>(fmain::Frame_zijin);
  ASSERT_NE(capital, nullptr);
  EXPECT_EQ(capital->title(), "资金控制,注意止损，止盈，等的设置");
  bool labelled = false;
  for (auto* l : capital->findChildren<QLabel*>()) labelled = labelled || l->text() == "当前倍数";
  EXPECT_TRUE(labelled) << "the current-multiple box has its label";
  EXPECT_EQ(Find<QLineEdit>(fmain::T_zd_touzhu_beitou[1])->text(), "当前倍数");  // until the settings are first read
  for (Timer t : {fmain::Timer_pt_id[0], fmain::Timer_pt_id[1], fmain::Timer_pt_id[2], fmain::Timer_shubiao,
                  fmain::Timer_dsf_sb[0], fmain::Timer_dsf_sb[1], fmain::Timer_tz_djs, fmain::Timer_dianji,
                  fmain::Timer_qf_dd, fmain::Timer_jiesuo})
    EXPECT_FALSE(session.cx.form.timer(t).enabled) << t.name();
  EXPECT_TRUE(session.cx.form.timer(fmain::Timer_sz_zx).enabled);
  EXPECT_EQ(session.cx.form.timer(fmain::Timer_sz_zx).intervalMs, 400);
}

TEST_F(AutoBetPageTest, DelayBoxesTakeDigitsOnly) {
  auto* delay = Find<QLineEdit>(fmain::T_qf_yanshi[0]);
  delay->setFocus();
  delay->end(false);
  QTest::keyClicks(delay, "5a-");
  QTest::keyClick(delay, Qt::Key_Backspace);
  EXPECT_EQ(delay->text(), "605");
  EXPECT_EQ(session.cx.form.text(fmain::T_qf_yanshi[0]), "605");
}

TEST_F(AutoBetPageTest, ButtonsRunTheirOperations) {
  QTest::mouseClick(Find<QPushButton>(fmain::C_qunfa_shuoming), Qt::LeftButton);
  ASSERT_FALSE(prompter.notices.empty());
  EXPECT_EQ(prompter.notices.back().title, "使用说明");
  QTest::mouseClick(Find<QPushButton>(fmain::C_qm_show), Qt::LeftButton);
  EXPECT_EQ(Find<QPushButton>(fmain::C_qm_show)->text(),
            session.cx.form.visible(fmain::Fr_qianming) ? "隐藏签名档设置" : "打开签名档设置");
  // No desktop here: a capture reports it in the bet log instead of starting.
  QTest::mouseClick(Find<QPushButton>(fmain::C_pt_id_shibie[0]), Qt::LeftButton);
  const auto& log = session.cx.form.items(fmain::List_tz_new);
  ASSERT_FALSE(log.empty());
  EXPECT_EQ(log.back().rfind("自动操作不可用：", 0), 0u) << log.back();
  EXPECT_FALSE(session.cx.form.timer(fmain::Timer_pt_id[0]).enabled);
  QTest::mouseClick(Find<QPushButton>(fmain::C_shoudong_xiazhu), Qt::LeftButton);
  EXPECT_TRUE(session.cx.form.timer(fmain::Timer_tz_djs).enabled);
}

TEST_F(AutoBetPageTest, TheSignatureFrameOpensOnThisPage) {
  auto* frame = Find<QWidget>(fmain::Fr_qianming);
  ASSERT_NE(frame, nullptr);
  EXPECT_TRUE(Find<QWidget>(fmain::Frame_ding[5])->isAncestorOf(frame));
  shell->run([](Session& s) { s.cx.form.setVisible(fmain::Fr_qianming, false); });  // as after start-up
  Find<QPushButton>(fmain::C_qm_show)->click();
  EXPECT_TRUE(frame->isVisibleTo(Find<QWidget>(fmain::Frame_ding[5])));
  EXPECT_EQ(Find<QPushButton>(fmain::C_qm_show)->text(), "隐藏签名档设置");
  Find<QPushButton>(fmain::C_qm_show)->click();
  EXPECT_FALSE(frame->isVisibleTo(Find<QWidget>(fmain::Frame_ding[5])));
}

}  // namespace
}  // namespace lumora
