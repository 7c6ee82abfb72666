// The chat-window list, the targets by title, the send with the mouse locked out, and the
// automatic send's delay.
#include "OutputFixture.h"
#include "core/controls/Fmain.h"
#include "output/Driving.h"
#include "output/GroupSend.h"

namespace lumora {
namespace {

class GroupSendTest : public OutputTest {
 protected:
  void windows(std::vector<TopWindow> w) { desk.windows = std::move(w); }
  void selectAll() { SelectAllQqTargets(cx); }
};

TEST_F(GroupSendTest, ListSkipsSystemTitlesAndStartsAtTheFirstOldStyleWindow) {
  windows({{1, "QWidget", "before the first old-style window"},
           {2, "Lumora", "计划"},
           {3, "TXGuiFoundation", "QQ"},
           {4, "TXGuiFoundation", "  "},
           {5, "TXGuiFoundation", "QQ2013 beta"},
           {6, "TXGuiFoundation", "qq2012"},
           {7, "TXGuiFoundation", " TXFloatingWnd "},
           {8, "TXGuiFoundation", "txmenuwindow"},
           {9, "TXGuiFoundation", "QQ群"},
           {10, "Other", "A chat of another program"},
           {11, "TXGuiFoundation", " QQ "},
           {12, "QWidget", "新版聊天"},
           {13, "TXGuiFoundation", "AB"}});
  RefreshQqTargets(cx, out);
  EXPECT_EQ(cx.form.items(fmain::qf_list), (std::vector<std::string>{"QQ群", " QQ ", "新版聊天", "AB"}));
  // Without an old-style window nothing is found, whatever new-style windows there are.
  windows({{1, "QWidget", "新版聊天"}});
  RefreshQqTargets(cx, out);
  EXPECT_TRUE(cx.form.items(fmain::qf_list).empty());
}

TEST_F(GroupSendTest, FindMatchesTheFirstTitleInZOrderThatContainsTheTarget) {
  windows({{20, "TXGuiFoundation", "AB"}, {21, "TXGuiFoundation", "A"}, {22, "QWidget", " C组 "}});
  EXPECT_EQ(FindQqWindow(desk, "A").handle, 20u);
  EXPECT_EQ(FindQqWindow(desk, "C组").handle, 22u);
  EXPECT_TRUE(FindQqWindow(desk, "C组").newStyle);
  EXPECT_EQ(FindQqWindow(desk, "D").handle, 0u);
}

TEST_F(GroupSendTest, MessageIsPoolRecordAndSignatureAsTheyStand) {
  cx.form.setText(fmain::T_jihua_jj_dadi, "001 002");
  cx.form.setText(fmain::T_jh_dadi_jilu, "023期 中\r\n");
  cx.form.setText(fmain::T_jihua_qianming, "签名档位置\r\n");
  EXPECT_EQ(QqMessage(cx.form), "023期 中\r\n签名档位置\r\n");
  cx.form.setChecked(fmain::Check_jihua_jilu_haoma, true);
  EXPECT_EQ(QqMessage(cx.form), "001 002\r\n023期 中\r\n签名档位置\r\n");
  cx.form.setChecked(fmain::Check_jihua_jilu_haoma, false);
  cx.form.setText(fmain::T_jh_dadi_jilu, "");
  EXPECT_EQ(QqMessage(cx.form), "签名档位置\r\n");
}

TEST_F(GroupSendTest, SendPastesAndEntersIntoEachFoundTargetWithTheMouseLocked) {
  windows({{30, "TXGuiFoundation", "A"}, {31, "QWidget", "新版"}});
  desk.rects[31] = Rect{100, 100, 500, 400};
  cx.form.setText(fmain::T_jihua_qianming, "sig");
  cx.form.setText(fmain::T_jh_dadi_jilu, "rec ");
  cx.form.setItems(fmain::qf_list, {"A", "gone", "新版"});
  selectAll();
  cx.form.setChecked(fmain::Check_qf_min, true);
  SendToQqGroupsLocked(cx, out);
  EXPECT_TRUE(desk.locked);
  runScripts();
  EXPECT_FALSE(desk.locked);
  std::vector<std::string> e = desk.whats();
  EXPECT_EQ(e.front(), "lock");
  EXPECT_EQ(e[1], "clipboard rec sig");
  EXPECT_EQ(e.back(), "free");
  EXPECT_EQ(std::count(e.begin(), e.end(), "keys CtrlV"), 2);
  EXPECT_EQ(std::count(e.begin(), e.end(), "keys Enter"), 2);
  EXPECT_EQ(std::count(e.begin(), e.end(), "minimise 30"), 1);
  // The new-style window's input area is clicked first: 50 right of its left edge, 80 above its
  // bottom, after 20000 passes.
  std::vector<std::string> p = desk.whatsWithPauses();
  auto at = std::find(p.begin(), p.end(), "+0 move 150,320");
  ASSERT_NE(at, p.end());
  EXPECT_EQ(*(at + 1), "+25 click");     // the pointer checked once more a poll later, then 20000 passes
  EXPECT_EQ(*(at + 2), "+0 settle 31");  // the paste waits for the click to be handled
  EXPECT_TRUE(cx.form.timer(fmain::Timer_jiesuo).enabled);
  UnlockTick(cx, out);
  EXPECT_FALSE(cx.form.timer(fmain::Timer_jiesuo).enabled);

  // Nothing selected: the clipboard stays untouched.
  desk.clearEvents();
  cx.form.setItems(fmain::qf_list, {"A"});
  SendToQqGroups(cx, out);
  runScripts();
  EXPECT_TRUE(desk.events.empty());
}

TEST_F(GroupSendTest, ChatClassesComeFromLumoraIni) {
  windows({{1, "QWidget", "新版"}, {2, "QQ", "甲群"}, {3, "TXGuiFoundation", "旧版"}, {4, "WeChat", "乙群"}});
  ServiceConfig defaults = ParseServiceConfig("");
  EXPECT_EQ(defaults.chat.ordinary, std::vector<std::string>{"TXGuiFoundation"});
  EXPECT_EQ(defaults.chat.newStyle, std::vector<std::string>{"QWidget"});
  RefreshQqTargets(cx, out);
  EXPECT_EQ(cx.form.items(fmain::qf_list), std::vector<std::string>{"旧版"});

  cx.service = ParseServiceConfig("[desktop]\r\nchat_classes = QQ, WeChat ,\r\nchat_classes_new_style=\r\n");
  RefreshQqTargets(cx, out);
  EXPECT_EQ(cx.form.items(fmain::qf_list), (std::vector<std::string>{"甲群", "乙群"}));
  EXPECT_FALSE(FindQqWindow(desk, "乙", cx.service.chat).newStyle);

  cx.service = ParseServiceConfig("chat_classes=QQ\nchat_classes_new_style=QWidget,WeChat\n");
  RefreshQqTargets(cx, out);  // the walk starts at the first "QQ" window
  EXPECT_EQ(cx.form.items(fmain::qf_list), (std::vector<std::string>{"甲群", "乙群"}));
  EXPECT_TRUE(FindQqWindow(desk, "乙", cx.service.chat).newStyle);
}

TEST_F(GroupSendTest, KeysWaitUntilTheWindowIsActive) {
  windows({{30, "TXGuiFoundation", "A"}});
  cx.form.setItems(fmain::qf_list, {"A"});
  selectAll();
  desk.activationDelayPolls = 3;
  SendToQqGroups(cx, out);
  runScripts();
  std::vector<std::string> p = desk.whatsWithPauses();
  EXPECT_NE(std::find(p.begin(), p.end(), "+15 keys Enter"), p.end());
}

TEST_F(GroupSendTest, AutomaticSendWaitsTheDelayOncePerArming) {
  windows({{30, "TXGuiFoundation", "A"}});
  cx.form.setItems(fmain::qf_list, {"A"});
  selectAll();
  cx.form.setChecked(fmain::C_qunfa_sx, true);
  cx.form.setText(fmain::T_qf_yanshi[0], "2");
  cx.form.setText(fmain::T_qf_yanshi[1], "0");
  ArmGroupSend(cx);
  GroupSendTick(cx, out);
  EXPECT_EQ(cx.form.text(fmain::T_qf_yanshi[1]), "1");
  EXPECT_FALSE(ScriptsRunning(out));
  GroupSendTick(cx, out);
  EXPECT_EQ(cx.form.text(fmain::T_qf_yanshi[1]), "0");
  EXPECT_FALSE(cx.form.timer(fmain::Timer_qf_dd).enabled);
  EXPECT_TRUE(ScriptsRunning(out));
  runScripts();
  // An empty delay sends on the first tick; unticked, the count runs out without a send.
  desk.clearEvents();
  cx.form.setText(fmain::T_qf_yanshi[0], "");
  ArmGroupSend(cx);
  GroupSendTick(cx, out);
  EXPECT_TRUE(ScriptsRunning(out));
  runScripts();
  desk.clearEvents();
  ArmGroupSend(cx);
  cx.form.setChecked(fmain::C_qunfa_sx, false);
  GroupSendTick(cx, out);
  EXPECT_FALSE(cx.form.timer(fmain::Timer_qf_dd).enabled);
  EXPECT_TRUE(desk.events.empty());
}

TEST_F(GroupSendTest, SignatureFrameToggles) {
  cx.form.setVisible(fmain::Fr_qianming, false);
  ToggleSignatureFrame(cx);
  EXPECT_TRUE(cx.form.visible(fmain::Fr_qianming));
  EXPECT_EQ(cx.form.text(fmain::C_qm_show), "隐藏签名档设置");
  ToggleSignatureFrame(cx);
  EXPECT_FALSE(cx.form.visible(fmain::Fr_qianming));
  EXPECT_EQ(cx.form.text(fmain::C_qm_show), "打开签名档设置");
}

}  // namespace
}  // namespace lumora
