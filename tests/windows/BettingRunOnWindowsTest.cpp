// The auto-bet page on the real Win32 desktop, driving the Win32 test program (tests/win32) the
// way a player sets it up: capture the numbers box, the multiple box and the platform point with
// a right click each, record the steps from real clicks and a Ctrl+V, send the test text, then let
// the betting run replay the steps into the client.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <cstdint>
#include <string>

#include "core/controls/Fmain.h"
#include "output/BetRun.h"
#include "output/Texts.h"
#include "ui/support/UiTest.h"
#include "win32/TargetIds.h"

namespace lumora {
namespace {

std::wstring TextOf(HWND w) {
  wchar_t buf[1024] = {};
  SendMessageTimeoutW(w, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(buf), SMTO_ABORTIFHUNG, 2000, nullptr);
  return buf;
}

// The window class behind a captured handle, to tell what was caught instead of a box.
std::string ClassOf(const std::string& handle) {
  wchar_t cls[128] = {};
  GetClassNameW(reinterpret_cast<HWND>(static_cast<std::uintptr_t>(std::stoull("0" + handle))), cls, 128);
  return QString::fromWCharArray(cls).toStdString();
}

POINT CentreOf(HWND w) {
  RECT r{};
  GetWindowRect(w, &r);
  return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

// The player's own hand: the pointer moves, a button goes down and up, a key chord is typed. The
// page's timers see it through the desktop's key state, so each action gets time to be noticed.
void Press(POINT at, DWORD down, DWORD up) {
  SetCursorPos(at.x, at.y);
  QTest::qWait(150);
  mouse_event(down, 0, 0, 0, 0);
  mouse_event(up, 0, 0, 0, 0);
  QTest::qWait(300);
}
void LeftClick(POINT at) { Press(at, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP); }
void RightClick(POINT at) {
  Press(at, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
  keybd_event(VK_ESCAPE, 0, 0, 0);  // an edit box's context menu goes away again
  keybd_event(VK_ESCAPE, 0, KEYEVENTF_KEYUP, 0);
  QTest::qWait(150);
}
void CtrlV() {
  keybd_event(VK_CONTROL, 0, 0, 0);
  keybd_event('V', 0, 0, 0);
  keybd_event('V', 0, KEYEVENTF_KEYUP, 0);
  keybd_event(VK_CONTROL, 0, KEYEVENTF_KEYUP, 0);
  QTest::qWait(300);
}

struct BettingRunOnWindows : uitest::WindowTest {
  QtClipboard realClipboard;
  QProcess target;
  HWND client = nullptr, numbers = nullptr, multiple = nullptr, button = nullptr;

  void SetUp() override {
    WindowTest::SetUp();
    session.cx.ports.clipboard = &realClipboard;  // the client pastes from the system clipboard
    target.start(qEnvironmentVariable("LUMORA_BIN") + "/win32_target", {});
    ASSERT_TRUE(target.waitForStarted(10000));
    // The client's window exists a moment before its boxes do.
    ASSERT_TRUE(uitest::Eventually(
        [&] {
          client = FindWindowW(L"LumoraTestClient", nullptr);
          numbers = client ? GetDlgItem(client, target_ids::kNumbersBox) : nullptr;
          multiple = client ? GetDlgItem(client, target_ids::kMultipleBox) : nullptr;
          button = client ? GetDlgItem(client, target_ids::kButton) : nullptr;
          return numbers && multiple && button && FindWindowW(L"TXGuiFoundation", L"彩票交流群");
        },
        15000));
    SetForegroundWindow(client);
    QTest::qWait(300);
  }
  void TearDown() override {
    target.kill();
    target.waitForFinished(5000);
  }
  std::string text(TextBox box) { return session.cx.form.text(box); }
  std::string betLog() {
    std::string all;
    for (const std::string& line : session.cx.form.items(fmain::List_tz_new)) all += line + "\n";
    return all;
  }
  // Starts a capture with its button, points at `at` and fixes it with a right click.
  void Capture(Button startButton, POINT at, Timer timer) {
    Click(startButton);
    ASSERT_TRUE(session.cx.form.timer(timer).enabled) << betLog();
    SetCursorPos(at.x, at.y);
    QTest::qWait(200);
    RightClick(at);
    EXPECT_TRUE(uitest::Eventually([&] { return !session.cx.form.timer(timer).enabled; }, 3000)) << timer.name();
  }
};

TEST_F(BettingRunOnWindows, CaptureRecordTestSendAndTheRunArriveInTheClient) {
  const POINT atNumbers = CentreOf(numbers), atMultiple = CentreOf(multiple), atButton = CentreOf(button);
  RECT c{};
  GetWindowRect(client, &c);
  const POINT atPlatform{c.right - 60, c.bottom - 40};  // the client's bare background

  Capture(fmain::C_pt_id_shibie[0], atNumbers, fmain::Timer_pt_id[0]);
  EXPECT_EQ(text(fmain::Tid[0]), std::to_string(reinterpret_cast<std::uintptr_t>(numbers)))
      << ClassOf(text(fmain::Tid[0]));
  EXPECT_EQ(text(fmain::T_beishu_xy[0]), std::to_string(atNumbers.x) + "*" + std::to_string(atNumbers.y));
  Capture(fmain::C_pt_id_shibie[2], atMultiple, fmain::Timer_pt_id[1]);
  EXPECT_EQ(text(fmain::Tid[1]), std::to_string(reinterpret_cast<std::uintptr_t>(multiple)))
      << ClassOf(text(fmain::Tid[1]));
  Capture(fmain::C_pt_id_shibie[4], atPlatform, fmain::Timer_pt_id[2]);
  EXPECT_EQ(text(fmain::Tid[2]), std::to_string(atPlatform.x) + "*" + std::to_string(atPlatform.y));

  // Recording: click the numbers box, paste, click the client's button; a right click ends it.
  Click(fmain::C_sz_touzhu);
  LeftClick(atNumbers);
  CtrlV();
  LeftClick(atButton);
  RightClick(atPlatform);
  const std::vector<std::string> steps = session.cx.form.items(fmain::List_touzhu);
  ASSERT_EQ(steps.size(), 4u) << betLog();
  EXPECT_EQ(steps[0], "[1]x:" + std::to_string(atNumbers.x) + "--y:" + std::to_string(atNumbers.y) + "-点击");
  EXPECT_NE(steps[1].find("[粘贴]"), std::string::npos);
  EXPECT_EQ(steps[3], "设置完成！");

  // The test send puts its text into the captured box.
  Click(fmain::C_pt_id_shibie[1]);
  EXPECT_TRUE(uitest::Eventually([&] { return TextOf(numbers).find(L"测试功能") != std::wstring::npos; }, 10000))
      << QString::fromStdWString(TextOf(numbers)).toStdString();

  // The betting run: the countdown ends, the multiple goes into its box and the recorded steps
  // paste the bet numbers and press the client's button.
  SetWindowTextW(numbers, L"");
  const std::wstring clicksBefore = TextOf(button);
  auto* bet = Find<QLineEdit>(fmain::T_touzhu_dd[0]);
  ASSERT_NE(bet, nullptr);
  bet->setText("012 345 678");
  Find<QLineEdit>(fmain::T_touzhu_dd[1])->setText("3");
  session.money.fund = {130, 130, 19.4f, 5, 300};
  session.money.multipleSequence = "2-3";
  session.money.sequenceValid = 1;
  shell->run([](Session& s) {
    s.cx.form.setChecked(fmain::Check_touzhu_sx, true);
    RestartBetCountdown(s.cx);
    for (int i = 0; i < 30; ++i) BetCountdown(s.cx, s.output, s.money);
  });
  EXPECT_TRUE(uitest::Eventually([&] { return betLog().find("投注完毕") != std::string::npos; }, 40000)) << betLog();
  EXPECT_EQ(QString::fromStdWString(TextOf(numbers)).toStdString(), "012 345 678");
  EXPECT_EQ(QString::fromStdWString(TextOf(multiple)).toStdString(), "2");
  EXPECT_NE(TextOf(button), clicksBefore);
  EXPECT_EQ(session.money.betPlacedFlag, 1);
}

}  // namespace
}  // namespace lumora
