// Capturing targets and recording steps from the user's presses; the handle and point texts.
#include "OutputFixture.h"
#include "core/controls/Fmain.h"
#include "output/Driving.h"

namespace lumora {
namespace {

class CaptureTest : public OutputTest {};

TEST_F(CaptureTest, CaptureFollowsThePointerAndARightClickFixesThePoint) {
  desk.rightPresses = 1;  // pressed before the capture began: not its end
  desk.pointerAt = {40, 50};
  desk.windowAtPoint[{40, 50}] = 4242;
  CaptureTarget(cx, out, 0);
  EXPECT_TRUE(cx.form.timer(fmain::Timer_pt_id[0]).enabled);
  EXPECT_FALSE(cx.form.visible(fmain::C_pt_id_shibie[3]));
  CaptureTick(cx, out, 0);
  EXPECT_EQ(cx.form.text(fmain::T_xy), "x:40\r\ny:50");
  EXPECT_EQ(cx.form.text(fmain::Tid[0]), "4242");
  EXPECT_TRUE(cx.form.timer(fmain::Timer_pt_id[0]).enabled);
  desk.pointerAt = {41, 52};  // the desktop background
  desk.rightPresses = 1;
  CaptureTick(cx, out, 0);
  EXPECT_EQ(cx.form.text(fmain::Tid[0]), "0");
  EXPECT_EQ(cx.form.text(fmain::T_beishu_xy[0]), "41*52");
  EXPECT_FALSE(cx.form.timer(fmain::Timer_pt_id[0]).enabled);
  EXPECT_TRUE(cx.form.visible(fmain::C_pt_id_shibie[3]));

  CaptureTarget(cx, out, 2);
  desk.rightPresses = 1;
  CaptureTick(cx, out, 2);
  EXPECT_EQ(cx.form.text(fmain::Tid[2]), "41*52");
}

TEST_F(CaptureTest, RecordingTakesClicksAndPastesUpToFiveHundred) {
  desk.leftPresses = 1;  // the click on "开始设置" itself
  RecordSteps(cx, out);
  EXPECT_FALSE(cx.form.enabled(fmain::C_sz_touzhu));
  desk.pointerAt = {7, 8};
  desk.leftPresses = 1;
  RecordTick(cx, out);
  desk.ctrlVPresses = 1;
  RecordTick(cx, out);
  EXPECT_EQ(cx.form.items(fmain::List_touzhu), (std::vector<std::string>{"[1]x:7--y:8-点击", "[2]x:7--y:8-[粘贴]"}));
  EXPECT_EQ(out.steps.slots[2].kind, 2);
  for (int i = 0; i < 600; ++i) {
    desk.leftPresses = 1;
    RecordTick(cx, out);
  }
  EXPECT_EQ(out.steps.count, 500);
  EXPECT_EQ(cx.form.items(fmain::List_touzhu).size(), 500u);
  desk.rightPresses = 1;
  RecordTick(cx, out);
  EXPECT_EQ(cx.form.items(fmain::List_touzhu).back(), "设置完成！");
  EXPECT_TRUE(cx.form.enabled(fmain::C_sz_touzhu));
  EXPECT_FALSE(cx.form.timer(fmain::Timer_shubiao).enabled);
}

TEST_F(CaptureTest, HandleTextIsCleanedAndRoundedAndPointStarIsTheCorner) {
  cx.form.setText(fmain::Tid[0], " 12a3.6 ");
  cx.form.setText(fmain::Tid[2], "*");
  cx.form.setText(fmain::T_beishu_xy[0], "5.5*6.5");
  EXPECT_EQ(PasteIntoBox(cx, out, "x", "", "1"), "ok");
  EXPECT_EQ(cx.form.text(fmain::Tid[0]), "123.6");  // written back when the mode is empty
  runScripts();
  std::vector<std::string> e = desk.whats();
  EXPECT_EQ(e[0], "move 0,0");
  EXPECT_NE(std::find(e.begin(), e.end(), "activate 124"), e.end());
  EXPECT_NE(std::find(e.begin(), e.end(), "move 6,6"), e.end());  // halves to even
  // Test button of the multiple box: double click, eight deletions, "5".
  cx.form.setText(fmain::Tid[1], "9");
  cx.form.setText(fmain::T_beishu_xy[1], "1*2");
  desk.clearEvents();
  SendTest(cx, out, 3);
  runScripts();
  e = desk.whats();
  EXPECT_EQ(std::count(e.begin(), e.end(), "keys CtrlBackspace"), 8);
  EXPECT_NE(std::find(e.begin(), e.end(), "clipboard 5"), e.end());
  // A platform point with one part fails.
  cx.form.setText(fmain::Tid[2], "12");
  EXPECT_EQ(ClickPlatformPoint(cx, out), "");
}

TEST_F(CaptureTest, ScriptsRunOneAfterAnother) {
  cx.form.setText(fmain::Tid[2], "1*1");
  ClickPlatformPoint(cx, out);
  cx.form.setText(fmain::Tid[0], "5");
  cx.form.setText(fmain::T_beishu_xy[0], "3*3");
  PasteIntoBox(cx, out, "abc", "0", "1");
  cx.form.setText(fmain::Tid[2], "2*2");
  ClickPlatformPoint(cx, out);
  runScripts();
  std::vector<std::string> e = desk.whats();
  EXPECT_EQ(e.back(), "click");
  EXPECT_EQ(e[e.size() - 2], "move 2,2");  // queued behind the paste, not in its pauses
  LockMouse(cx, out, 1);
  EXPECT_TRUE(desk.locked);
  LockMouse(cx, out, 7);
  EXPECT_FALSE(desk.locked);
}

}  // namespace
}  // namespace lumora
