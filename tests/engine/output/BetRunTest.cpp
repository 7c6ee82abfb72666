// The betting run over the recording desktop: the multiple walk, the countdowns, the replay of
// the step list, the external tool, and every failure line of the bet log.
#include "OutputFixture.h"
#include "core/controls/Fmain.h"
#include "money/Fund.h"
#include "output/BetRun.h"
#include "output/Driving.h"
#include "output/Texts.h"

namespace lumora {
namespace {

class BetRunTest : public OutputTest {
 protected:
  BetRunTest() {
    Form& f = cx.form;
    f.setText(fmain::Tid[0], "1234");
    f.setText(fmain::Tid[1], "5678");
    f.setText(fmain::Tid[2], "10*20");
    f.setText(fmain::T_beishu_xy[0], "30*40");
    f.setText(fmain::T_beishu_xy[1], "50*60");
    f.setText(fmain::T_touzhu_dd[0], "001 002 003");
    f.setText(fmain::T_touzhu_dd[1], "3");
    f.setText(fmain::T_zd_touzhu_beitou[0], "1-1-1-1-2-2-3-4-5-6");
    f.setChecked(fmain::Check_touzhu_sx, true);
    money.fund = {130, 130, 19.4f, 5, 300};
    money.multipleSequence = "1-1-1-1-2-2-3-4-5-6";
    money.sequenceValid = 1;
  }
  void setSteps(std::vector<Step> steps) {
    out.steps.clear();
    for (const Step& s : steps) out.steps.slots[++out.steps.count] = s;
  }
  // Ticks the step timer (letting every script finish in between) until the run stops.
  int runSteps(int maxTicks = 100) {
    int ticks = 0;
    while (cx.form.timer(fmain::Timer_dianji).enabled && ticks < maxTicks) {
      StepTick(cx, out, money);
      runScripts();
      ++ticks;
    }
    return ticks;
  }
  std::vector<std::string> multiples(int bets) {
    std::vector<std::string> m;
    for (int i = 0; i < bets; ++i) {
      StartAutoBet(cx, out, money);
      m.push_back(cx.form.text(fmain::T_zd_touzhu_beitou[1]));
    }
    return m;
  }
};

TEST_F(BetRunTest, MultipleWalkRunsPastTheEndToItemZeroTwiceAndAHitStartsOver) {
  std::vector<std::string> walk = multiples(16);
  EXPECT_EQ(walk,
            (std::vector<std::string>{"1", "1", "1", "1", "2", "2", "3", "4", "5", "6", "1", "1", "1", "1", "1", "2"}));
  EXPECT_EQ(money.currentMultiple, "2");
  EXPECT_TRUE(logged("当前倍数=2"));
  // A hit puts the position back to 0 (the plan judgement does it): the walk starts over.
  multiples(3);
  money.multiplePosition = 0;
  EXPECT_EQ(multiples(6), (std::vector<std::string>{"1", "1", "1", "1", "2", "2"}));
  // Decimals kept to two places, trailing zeros dropped.
  money.multipleSequence = "1.50-2.004-abc";
  money.multiplePosition = 0;
  EXPECT_EQ(multiples(3), (std::vector<std::string>{"1.5", "2", "0"}));
}

TEST_F(BetRunTest, CountdownLogsThirtyTicksThenChecksTickAndLimits) {
  RestartBetCountdown(cx);
  for (int i = 0; i < 30; ++i) BetCountdown(cx, out, money);
  std::vector<std::string> lines = log();
  ASSERT_GE(lines.size(), 30u);
  EXPECT_EQ(lines[0], "投注30秒倒计时：29");
  EXPECT_EQ(lines[29], "投注30秒倒计时：0");
  EXPECT_FALSE(cx.form.timer(fmain::Timer_tz_djs).enabled);
  EXPECT_TRUE(logged("开始自动投注"));
  EXPECT_TRUE(cx.form.timer(fmain::Timer_dianji).enabled);
  EXPECT_EQ(out.countdown, 0);

  // Not ticked: no run. Capital at a limit: no run.
  cx.form.setItems(kBetLogList, {});
  cx.form.setChecked(fmain::Check_touzhu_sx, false);
  cx.form.setTimerEnabled(fmain::Timer_dianji, false);
  for (int i = 0; i < 30; ++i) BetCountdown(cx, out, money);
  EXPECT_EQ(log().back(), "投注没勾选，不生效");
  cx.form.setChecked(fmain::Check_touzhu_sx, true);
  money.fund.current = 300;  // equal to the upper limit
  for (int i = 0; i < 30; ++i) BetCountdown(cx, out, money);
  EXPECT_EQ(log().back(), "投注条件不满足[止损或止盈]");
  EXPECT_FALSE(cx.form.timer(fmain::Timer_dianji).enabled);

  // A restart after a new draw keeps the count where it was.
  for (int i = 0; i < 5; ++i) BetCountdown(cx, out, money);
  RestartBetCountdown(cx);
  BetCountdown(cx, out, money);
  EXPECT_EQ(log().back(), "投注30秒倒计时：24");
}

TEST_F(BetRunTest, InvalidSequenceRefusesTheRun) {
  money.sequenceValid = 0;
  StartAutoBet(cx, out, money);
  EXPECT_EQ(log(), std::vector<std::string>{"出错，倍数设置不正确"});
  EXPECT_FALSE(cx.form.timer(fmain::Timer_dianji).enabled);
}

TEST_F(BetRunTest, ReplayClicksPastesAndTypesTheMultipleBeforeTheSecondStep) {
  setSteps({{100, 200, 1}, {300, 400, 2}, {500, 600, 1}});
  StartAutoBet(cx, out, money);  // multiple 1
  runSteps();
  std::vector<std::string> lines = log();
  EXPECT_EQ(std::vector<std::string>(lines.begin() + 2, lines.begin() + 6),
            (std::vector<std::string>{"3秒倒计时：3", "3秒倒计时：2", "3秒倒计时：1", "正在点：1"}));
  EXPECT_TRUE(logged("正在点：3"));
  EXPECT_EQ(lines.back(), "投注完毕");
  EXPECT_EQ(money.betPlacedFlag, 1);
  EXPECT_EQ(money.betPool, "001 002 003");
  EXPECT_EQ(money.betCount, 3);

  std::vector<std::string> e = desk.whats();
  // Step 1: the platform point first (once per run), then the recorded point.
  EXPECT_EQ(std::vector<std::string>(e.begin(), e.begin() + 4),
            (std::vector<std::string>{"move 10,20", "click", "move 100,200", "click"}));
  // Step 2 begins with the multiple: platform point, double click on the multiple box, eight
  // word deletions, the multiple pasted.
  std::vector<std::string> multiple = Between(e, "restore 5678", "clipboard 1");
  ASSERT_FALSE(multiple.empty());
  EXPECT_EQ(std::count(multiple.begin(), multiple.end(), "keys CtrlBackspace"), 8);
  EXPECT_NE(std::find(multiple.begin(), multiple.end(), "move 50,60"), multiple.end());
  // Then the recorded point and the paste of the numbers into the bet box.
  std::vector<std::string> paste = Between(e, "move 300,400", "keys CtrlV");
  EXPECT_EQ(paste, (std::vector<std::string>{"move 300,400", "click", "move 10,20", "click", "clipboard 001 002 003",
                                             "restore 1234", "activate 1234", "move 30,40", "click", "settle 1234",
                                             "activate 1234", "restore 1234", "keys CtrlV"}));
  EXPECT_EQ(e.back(), "click");  // step 3's click; step 4 is empty
}

TEST_F(BetRunTest, PausesKeepTheirPassCounts) {
  setSteps({{300, 400, 2}});
  StartAutoBet(cx, out, money);
  runSteps();
  std::vector<std::string> p = desk.whatsWithPauses();
  // 500000 passes after activating the bet box (plus one pass of pending events).
  EXPECT_NE(std::find(p.begin(), p.end(), "+501 move 30,40"), p.end());
  // 80000 passes between the word deletions of the multiple box.
  EXPECT_NE(std::find(p.begin(), p.end(), "+81 keys CtrlBackspace"), p.end());
  // Three seconds between steps come from the step timer, not from pauses.
  EXPECT_EQ(PauseMilliseconds(1), 1);
  EXPECT_EQ(PauseMilliseconds(200000), 200);
}

TEST_F(BetRunTest, EmptyStepListClicksThePlatformAndEnds) {
  StartAutoBet(cx, out, money);
  EXPECT_EQ(runSteps(), 3);
  EXPECT_EQ(desk.whats(), (std::vector<std::string>{"move 10,20", "click"}));
  EXPECT_EQ(log().back(), "投注完毕");
  EXPECT_EQ(money.betPlacedFlag, 0);
}

TEST_F(BetRunTest, FirstStepPastePastesBeforeTheMultipleIsTyped) {
  setSteps({{300, 400, 2}});
  money.multiplePosition = 4;  // multiple 2
  StartAutoBet(cx, out, money);
  runSteps();
  std::vector<std::string> e = desk.whats();
  auto numbers = std::find(e.begin(), e.end(), "clipboard 001 002 003");
  auto multiple = std::find(e.begin(), e.end(), "clipboard 2");
  ASSERT_NE(numbers, e.end());
  ASSERT_NE(multiple, e.end());  // a one-step list still types the multiple, after its step
  EXPECT_LT(numbers, multiple);
  EXPECT_EQ(log().back(), "投注完毕");
}

TEST_F(BetRunTest, StepTickWaitsWhileAPasteIsStillRunning) {
  setSteps({{300, 400, 2}, {500, 600, 1}});
  StartAutoBet(cx, out, money);
  for (int i = 0; i < 3; ++i) StepTick(cx, out, money);  // step 1 starts its paste
  ASSERT_TRUE(ScriptsRunning(out));
  size_t before = log().size();
  for (int i = 0; i < 5; ++i) StepTick(cx, out, money);
  EXPECT_EQ(log().size(), before);
  runScripts();
  StepTick(cx, out, money);
  EXPECT_EQ(log().back(), "3秒倒计时：3");
}

TEST_F(BetRunTest, ExternalToolGetsNumbersAndMultipleAndNothingIsReplayed) {
  setSteps({{300, 400, 2}});
  cx.form.setChecked(fmain::Check_pt_tz_sx, true);
  cx.form.setText(fmain::T_dsf_canshu[0], " 77 ");
  cx.form.setText(fmain::T_dsf_canshu[1], "88");
  StartAutoBet(cx, out, money);
  EXPECT_EQ(runSteps(), 1);
  EXPECT_EQ(desk.texts[77], "001 002 003");
  EXPECT_EQ(desk.texts[88], "1");
  std::vector<std::string> e = desk.whats();
  EXPECT_EQ(std::count(e.begin(), e.end(), "move 300,400"), 0);
  EXPECT_EQ(money.betPlacedFlag, 1);
  // Where the desktop cannot set a window's text, it is typed in as a user would.
  desk.clearEvents();
  desk.directText = false;
  PassTextToWindow(cx, out, "77", "9 8");
  runScripts();
  std::vector<std::string> typed = Between(desk.whats(), "clipboard 9 8", "keys CtrlV");
  EXPECT_EQ(typed, (std::vector<std::string>{"clipboard 9 8", "keys Home", "keys ShiftEnd", "keys Backspace",
                                             "keys CtrlHome", "keys CtrlShiftEnd", "keys Backspace", "keys CtrlV"}));
  // Handles missing: a log line; a handle that is not a number: nothing at all.
  cx.form.setText(fmain::T_dsf_canshu[1], "");
  PassParametersToTool(cx, out);
  EXPECT_EQ(log().back(), "请先设别地三方的参数");
  desk.clearEvents();
  PassTextToWindow(cx, out, "12ab", "x");
  PassTextToWindow(cx, out, "", "x");
  runScripts();
  EXPECT_TRUE(desk.events.empty());
}

TEST_F(BetRunTest, ExternalToolBoxesAreClickedAtTheirCapturedPointsWhereTextCannotBeSet) {
  // Both boxes inside one window, as toolkits draw them on X11: each capture keeps its point.
  desk.directText = false;
  desk.windowEverywhere = 77;
  const Point numbersBox{70, 80}, multipleBox{90, 100};
  for (int k = 0; k < 2; ++k) {
    CaptureToolWindow(cx, out, k);
    desk.pointerAt = k == 0 ? numbersBox : multipleBox;
    desk.rightPresses = 1;
    CaptureToolTick(cx, out, k);
    EXPECT_EQ(cx.form.text(fmain::T_dsf_canshu[k]), "77");
  }
  cx.form.setText(fmain::T_zd_touzhu_beitou[1], "2");
  desk.clearEvents();
  PassParametersToTool(cx, out);
  runScripts();
  std::vector<std::string> e = desk.whats();
  const std::vector<std::string> clearAndPaste{"keys Home",         "keys ShiftEnd",  "keys Backspace", "keys CtrlHome",
                                               "keys CtrlShiftEnd", "keys Backspace", "keys CtrlV"};
  std::vector<std::string> numbers{"clipboard 001 002 003", "move 70,80", "click", "settle 77"};
  numbers.insert(numbers.end(), clearAndPaste.begin(), clearAndPaste.end());
  EXPECT_EQ(Between(e, "clipboard 001 002 003", "keys CtrlV"), numbers);
  std::vector<std::string> multiple{"clipboard 2", "move 90,100", "click", "settle 77"};
  multiple.insert(multiple.end(), clearAndPaste.begin(), clearAndPaste.end());
  EXPECT_EQ(Between(e, "clipboard 2", "keys CtrlV"), multiple);
  // Each paste is handled before the clipboard changes again.
  auto paste = std::find(e.begin(), e.end(), "keys CtrlV");
  ASSERT_NE(paste, e.end());
  EXPECT_EQ(*(paste + 1), "settle 77");

  // A handle typed over by hand is no longer the captured box: typed in where the keyboard is.
  cx.form.setText(fmain::T_dsf_canshu[0], "78");
  desk.clearEvents();
  TestToolWindows(cx, out);
  runScripts();
  e = desk.whats();
  EXPECT_EQ(std::count(e.begin(), e.end(), "move 70,80"), 0);
  EXPECT_EQ(std::count(e.begin(), e.end(), "move 90,100"), 1);
}

TEST_F(BetRunTest, KeysAfterAClickWaitUntilTheClientHasHandledItWithinABound) {
  // The client answers the round trip after 20 polls: the paste follows, not before.
  desk.settleDelayPolls = 20;
  SendTest(cx, out, 1);
  ASSERT_TRUE(ScriptsRunning(out));  // nothing waits inside the call: the event loop goes on
  runScripts();
  auto at = [&](const std::string& what) {
    for (const FakeDesktop::Event& ev : desk.events)
      if (ev.what == what) return ev.atMs;
    return -1L;
  };
  ASSERT_GE(at("settle 1234"), 0);
  EXPECT_GE(at("keys CtrlV") - at("settle 1234"), 20 * kPollMilliseconds);
  EXPECT_GT(at("settle 1234"), at("move 30,40"));
  // A client that never answers holds the paste up for a second at most.
  desk.clearEvents();
  desk.settleDelayPolls = 1000000;
  SendTest(cx, out, 1);
  runScripts();
  long waited = at("keys CtrlV") - at("settle 1234");
  EXPECT_GE(waited, kSettlePolls * kPollMilliseconds);
  EXPECT_LT(waited, kSettlePolls * kPollMilliseconds + 100);
}

TEST_F(BetRunTest, AClickWaitsUntilThePointerHoldsWhereItWasMoved) {
  // The pointer shows its old place twice after the move: moved again until it is found there
  // twice, then clicked.
  desk.pointerLagPolls = 2;
  SendTest(cx, out, 5);
  runScripts();
  EXPECT_EQ(desk.whats(), (std::vector<std::string>{"move 10,20", "move 10,20", "move 10,20", "click"}));
  // A pointer that never gets there: the click goes out after the bound.
  desk.clearEvents();
  desk.pointerAt = {0, 0};
  desk.pointerLagPolls = 1000000;
  SendTest(cx, out, 5);
  runScripts();
  ASSERT_FALSE(desk.events.empty());
  EXPECT_EQ(desk.events.back().what, "click");
  EXPECT_GE(desk.events.back().atMs - desk.events.front().atMs, kWaitPointerPolls * kPollMilliseconds);
}

TEST_F(BetRunTest, FailureLinesOfTheBetLog) {
  setSteps({{300, 400, 2}});
  // Empty numbers: the paste's own line (no time stamp), then the run's line; replay stopped.
  cx.form.setText(fmain::T_touzhu_dd[0], "");
  StartAutoBet(cx, out, money);
  runSteps();
  std::vector<std::string> items = cx.form.items(kBetLogList);
  EXPECT_EQ(items[items.size() - 2], "下注数据为空，请检查");
  EXPECT_EQ(log().back(), "投注出错,请检查");
  EXPECT_EQ(money.betPlacedFlag, 0);

  // Empty (or digit-free) bet-box handle.
  cx.form.setText(fmain::T_touzhu_dd[0], "001");
  cx.form.setText(fmain::Tid[0], "abc");
  StartAutoBet(cx, out, money);
  runSteps();
  items = cx.form.items(kBetLogList);
  EXPECT_EQ(items[items.size() - 2], "平台识别没有输入，请先确认");
  EXPECT_EQ(log().back(), "投注出错,请检查");

  // A bet-box click point that is not x*y: the step tick's line, replay stopped.
  cx.form.setText(fmain::Tid[0], "1234");
  cx.form.setText(fmain::T_beishu_xy[0], "30");
  StartAutoBet(cx, out, money);
  runSteps();
  EXPECT_EQ(log().back(), "出现错误，可能是第三方投注界面没打开");
  EXPECT_FALSE(cx.form.timer(fmain::Timer_dianji).enabled);

  // No platform point: the message box, replay stopped, nothing clicked.
  cx.form.setText(fmain::Tid[2], "");
  desk.clearEvents();
  StartAutoBet(cx, out, money);
  runSteps();
  ASSERT_FALSE(prompter.notices.empty());
  EXPECT_EQ(prompter.notices.back().text, "请先设置平台识别");
  EXPECT_EQ(prompter.notices.back().title, "错误提示");
  EXPECT_TRUE(desk.events.empty());

  // No usable desktop: said in the bet log, nothing runs.
  cx.form.setText(fmain::Tid[2], "10*20");
  desk.reason = "no XTest";
  PasteIntoBox(cx, out, "5", "1", "5");
  EXPECT_EQ(log().back(), "自动操作不可用：no XTest");
  EXPECT_TRUE(desk.events.empty());
}

TEST_F(BetRunTest, FullStepListEndsLikeAnyOther) {
  std::vector<Step> all(kStepSlots, Step{1, 1, 1});
  setSteps(all);
  out.stepIndex = kStepSlots + 1;
  out.runStarted = 1;
  cx.form.setTimer(fmain::Timer_dianji, true, 1000);
  ExecuteNextStep(cx, out, money);
  EXPECT_EQ(log().back(), "投注完毕");
}

}  // namespace
}  // namespace lumora
