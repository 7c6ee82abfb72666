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

TEST_F(AutoBetPageTest, ControlsFramesAndTimersAtStart) {
  for (Button name : {fmain::C_pt_id_shibie[0], fmain::C_pt_id_shibie[5], fmain::C_sz_touzhu, fmain::C_dsf_sb[0],
                      fmain::C_dsf_sb[1], fmain::C_dsf_cs, fmain::C_shoudong_xiazhu, fmain::C_qunfa_find,
                      fmain::C_qun_all, fmain::C_qunfa_shoudong, fmain::C_qunfa_shuoming, fmain::C_qm_show})
    Find<QPushButton>(name);
  for (TextBox name : {fmain::Tid[0], fmain::Tid[1], fmain::Tid[2], fmain::T_beishu_xy[0], fmain::T_beishu_xy[1],
                       fmain::T_dsf_canshu[0], fmain::T_dsf_canshu[1], fmain::T_touzhu_dd[0], fmain::T_touzhu_dd[1]})
    Find<QLineEdit>(name);
  Find<QListWidget>(fmain::List_touzhu);
  EXPECT_EQ(Find<QListWidget>(fmain::qf_list)->selectionMode(), QAbstractItemView::MultiSelection);
  const std::pair<CheckBox, const char*> checks[] = {
      {fmain::Check_touzhu_sx, "自动投注(开奖后1分钟自动投注)"},
      {fmain::Check_pt_tz_sx, "第三方投注，本方停住[请确认第三方端开启]"},
      {fmain::Check_qf_min, "群发后最小化QQ发言窗口"}};
  for (const auto& [box, text] : checks) EXPECT_EQ(Find<QCheckBox>(box)->text(), text);
  EXPECT_EQ(Find<QPushButton>(fmain::C_pt_id_shibie[1])->text(), "发送测试");
  EXPECT_EQ(session.cx.form.text(fmain::T_qf_yanshi[0]), "60");
  // The settings centre and the settings exchange address the automation frame by its name.
  EXPECT_EQ(Find<QGroupBox>(fmain::Frame_canshu[1])->title(), "自动投注设置[默认右键确认]");
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
  Click(fmain::C_qunfa_shuoming);
  ASSERT_FALSE(prompter.notices.empty());
  EXPECT_EQ(prompter.notices.back().title, "使用说明");
  // No desktop here: a capture reports it in the bet log instead of starting.
  Click(fmain::C_pt_id_shibie[0]);
  const auto& log = session.cx.form.items(fmain::List_tz_new);
  ASSERT_FALSE(log.empty());
  EXPECT_EQ(log.back().rfind("自动操作不可用：", 0), 0u) << log.back();
  EXPECT_FALSE(session.cx.form.timer(fmain::Timer_pt_id[0]).enabled);
  Click(fmain::C_shoudong_xiazhu);
  EXPECT_TRUE(session.cx.form.timer(fmain::Timer_tz_djs).enabled);
}

TEST_F(AutoBetPageTest, TheSignatureFrameOpensOnThisPage) {
  auto* frame = Find<QWidget>(fmain::Fr_qianming);
  auto* page = Find<QWidget>(fmain::Frame_ding[5]);
  auto* show = Find<QPushButton>(fmain::C_qm_show);
  ASSERT_TRUE(frame && page && show);
  EXPECT_TRUE(page->isAncestorOf(frame));
  shell->run([](Session& s) { s.cx.form.setVisible(fmain::Fr_qianming, false); });  // as after start-up
  for (bool shown : {true, false}) {
    show->click();
    EXPECT_EQ(frame->isVisibleTo(page), shown);
    EXPECT_EQ(show->text(), shown ? "隐藏签名档设置" : "打开签名档设置");
  }
}

}  // namespace
}  // namespace lumora
