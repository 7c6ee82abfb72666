// The output automation through the real X11 desktop: a recorded step list replayed into a
// stand-in betting client, and the group send into stand-in chat windows. Run on a display of
// its own (run-under-xvfb.sh).
#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>

#include "core/Context.h"
#include "core/RecordingPorts.h"
#include "core/Text.h"
#include "core/controls/Fmain.h"
#include "money/MoneyState.h"
#include "output/BetRun.h"
#include "output/Driving.h"
#include "output/Executor.h"
#include "output/GroupSend.h"
#include "output/OutputState.h"
#include "output/Texts.h"
#include "output/x11/X11Desktop.h"
#include "ui/QtPorts.h"

// Last: Xlib's macros (None, Bool, ...) would clash with the headers above.
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

namespace lumora {
namespace {

QStringList Lines(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly | QIODevice::Text)) return {};
  return QString::fromUtf8(f.readAll()).split('\n', Qt::SkipEmptyParts);
}

// Waits (serving our clipboard meanwhile) until a line of the file satisfies `pred`.
template <class Pred>
QString WaitForLine(const QString& path, Pred pred, int ms = 10000) {
  for (int waited = 0; waited < ms; waited += 50) {
    for (const QString& l : Lines(path))
      if (pred(l)) return l;
    QTest::qWait(50);
  }
  return {};
}

Point ParsePoint(const QString& star) {
  QStringList p = star.split('*');
  return {p.value(0).toInt(), p.value(1).toInt()};
}

class X11OutputTest : public ::testing::Test {
 protected:
  Context cx;
  OutputState out;
  MoneyState money;
  X11Desktop desk;
  QtClipboard clipboard;
  RecordingPrompter prompter;
  SystemClock clock;
  QTemporaryDir dir;
  QProcess standIn;

  void SetUp() override {
    ASSERT_EQ(desk.unavailableReason(), "");
    cx.ports.clipboard = &clipboard;
    cx.ports.prompter = &prompter;
    cx.ports.clock = &clock;
    out.desktop = &desk;
  }
  void TearDown() override {
    standIn.kill();
    standIn.waitForFinished(2000);
  }
  QString start(const char* mode) {
    QString file = dir.filePath(QString(mode) + ".txt");
    standIn.start(qEnvironmentVariable("LUMORA_BIN") + "/stand_in", {mode, file});
    return file;
  }
  // The stand-in started in `mode` (client or tool): its "ready" line split at the spaces, empty
  // when it did not start.
  QStringList startReady(const char* mode, QString& file) {
    file = start(mode);
    return WaitForLine(file, [](const QString& l) { return l.startsWith("ready "); }).split(' ', Qt::SkipEmptyParts);
  }
  // The top-level window under `p` once it is another than `before` (a window just shown may
  // take a moment to be managed).
  WindowHandle windowAtOnceShown(Point p, WindowHandle before) {
    for (int waited = 0; waited < 3000; waited += 20) {
      WindowHandle w = desk.windowAt(p);
      if (w != 0 && w != before) return w;
      QTest::qWait(20);
    }
    return 0;
  }
  // The executor's pauses as real time, the event loop running meanwhile.
  void runScripts() {
    for (int guard = 0; guard < 100000 && ScriptsRunning(out); ++guard) {
      QTest::qWait(cx.form.timer(kScriptTimer).intervalMs);
      ScriptTick(cx, out);
    }
  }
  std::string log() const { return Join(cx.form.items(fmain::List_tz_new), "\n"); }
};

TEST_F(X11OutputTest, RecordedStepsPutThePoolAndTheMultipleIntoTheBettingClient) {
  QString file;
  const QStringList parts = startReady("client", file);
  ASSERT_EQ(parts.size(), 4) << "the stand-in client did not start";
  const Point numbers = ParsePoint(parts[1]), label = ParsePoint(parts[3]);
  WindowHandle client = desk.windowAt(numbers);
  ASSERT_NE(client, 0u);

  Form& f = cx.form;
  f.setText(fmain::Tid[0], HandleText(client));
  f.setText(fmain::Tid[1], HandleText(client));
  f.setText(fmain::Tid[2], parts[3].toStdString());
  f.setText(fmain::T_beishu_xy[0], parts[1].toStdString());
  f.setText(fmain::T_beishu_xy[1], parts[2].toStdString());
  f.setText(fmain::T_touzhu_dd[0], "001 002 003");
  f.setText(fmain::T_touzhu_dd[1], "3");
  f.setChecked(fmain::Check_touzhu_sx, true);
  money.fund = {130, 130, 19.4f, 5, 300};
  money.multipleSequence = "2-3";
  money.sequenceValid = 1;
  // As recorded by hand: paste the numbers into their box, then click the client's label.
  out.steps.slots[1] = {numbers.x, numbers.y, 2};
  out.steps.slots[2] = {label.x, label.y, 1};
  out.steps.count = 2;

  // The countdown after a new draw, then the replay, one step tick after another.
  RestartBetCountdown(cx);
  for (int i = 0; i < 30; ++i) BetCountdown(cx, out, money);
  ASSERT_TRUE(f.timer(fmain::Timer_dianji).enabled) << log();
  for (int guard = 0; guard < 60 && f.timer(fmain::Timer_dianji).enabled; ++guard) {
    StepTick(cx, out, money);
    runScripts();
  }
  EXPECT_NE(log().find("投注完毕"), std::string::npos) << log();
  QString got = WaitForLine(
      file, [](const QString& l) { return l == "numbers=001 002 003|multiple=2"; }, 5000);
  EXPECT_FALSE(got.isEmpty()) << Lines(file).join("\n").toStdString();
  EXPECT_EQ(money.betPlacedFlag, 1);
}

// The right click that fixes a capture opens the box's context menu under the pointer; the tick
// that notices the click comes after the menu is up, and still names the client's window.
TEST_F(X11OutputTest, ACaptureLooksThroughTheContextMenuItsRightClickOpens) {
  QString file;
  const QStringList parts = startReady("client", file);
  ASSERT_EQ(parts.size(), 4) << "the stand-in client did not start";
  const Point numbers = ParsePoint(parts[1]);
  const WindowHandle client = windowAtOnceShown(numbers, 0);
  ASSERT_NE(client, 0u);

  Display* hand = XOpenDisplay(nullptr);  // the user's own hand on the mouse
  ASSERT_NE(hand, nullptr);
  auto topAt = [&](Point p) {
    ::Window child = 0;
    int x, y;
    XTranslateCoordinates(hand, DefaultRootWindow(hand), DefaultRootWindow(hand), p.x, p.y, &x, &y, &child);
    return child;
  };
  const Point inside{numbers.x + 4, numbers.y + 4};
  const ::Window frame = topAt(inside);

  CaptureTarget(cx, out, 0);
  ASSERT_TRUE(cx.form.timer(fmain::Timer_pt_id[0]).enabled);
  XWarpPointer(hand, 0, DefaultRootWindow(hand), 0, 0, 0, 0, inside.x, inside.y);
  XTestFakeButtonEvent(hand, 3, True, CurrentTime);
  XTestFakeButtonEvent(hand, 3, False, CurrentTime);
  XSync(hand, False);
  bool menuUp = false;
  for (int waited = 0; waited < 3000 && !menuUp; waited += 20) {
    QTest::qWait(20);
    menuUp = topAt(inside) != frame;
  }
  ASSERT_TRUE(menuUp) << "the client's context menu did not open";
  CaptureTick(cx, out, 0);
  EXPECT_FALSE(cx.form.timer(fmain::Timer_pt_id[0]).enabled);
  EXPECT_EQ(cx.form.text(fmain::Tid[0]), HandleText(client));

  const KeyCode escape = XKeysymToKeycode(hand, XStringToKeysym("Escape"));
  XTestFakeKeyEvent(hand, escape, True, CurrentTime);
  XTestFakeKeyEvent(hand, escape, False, CurrentTime);
  XSync(hand, False);
  XCloseDisplay(hand);
}

// "发送测试" of the bet box, each time into a window the client has just opened and nobody has
// clicked yet: the click on the box and the paste right after it are where keys used to overtake
// the click. LUMORA_X11_SENDS sets the number of sends (50).
TEST_F(X11OutputTest, EveryTestSendIntoAFreshClientWindowArrives) {
  const int sends =
      qEnvironmentVariableIsSet("LUMORA_X11_SENDS") ? qEnvironmentVariableIntValue("LUMORA_X11_SENDS") : 50;
  QString file = start("fresh");
  ASSERT_TRUE(standIn.waitForStarted(5000));
  const QString expected = QString::fromUtf8(output_text::kTestPasteText);
  int arrived = 0;
  WindowHandle previous = 0;
  QStringList lost;
  for (int k = 1; k <= sends; ++k) {
    standIn.write("\n");
    const QString tag = QString("ready %1 ").arg(k);
    QString ready = WaitForLine(file, [&](const QString& l) { return l.startsWith(tag); });
    ASSERT_FALSE(ready.isEmpty()) << "window " << k << " did not open";
    QStringList parts = ready.split(' ');
    WindowHandle client = windowAtOnceShown(ParsePoint(parts[2]), previous);
    ASSERT_NE(client, 0u) << "window " << k << " is not managed";
    previous = client;
    cx.form.setText(fmain::Tid[0], HandleText(client));
    cx.form.setText(fmain::T_beishu_xy[0], parts[2].toStdString());
    cx.form.setText(fmain::Tid[2], parts[4].toStdString());
    SendTest(cx, out, 1);
    runScripts();
    const QString want = QString("%1:numbers=%2").arg(k).arg(expected);
    if (!WaitForLine(
             file, [&](const QString& l) { return l == want; }, 5000)
             .isEmpty())
      ++arrived;
    else lost << QString::number(k);
  }
  std::printf("test sends arrived: %d of %d\n", arrived, sends);
  RecordProperty("arrived", arrived);
  EXPECT_EQ(arrived, sends) << "lost: " << lost.join(' ').toStdString() << "\n" << log();
}

// External-tool mode: the tool's two boxes are drawn inside one window, so both captures name
// that window; each text goes into its own box, clicked at its captured point, whatever it held
// before (the numbers box holds two lines).
TEST_F(X11OutputTest, ExternalToolModeFillsEachOfTheToolsBoxes) {
  QString file;
  const QStringList parts = startReady("tool", file);
  ASSERT_GE(parts.size(), 3) << "the stand-in tool did not start";
  const Point numbers = ParsePoint(parts[1]), multiple = ParsePoint(parts[2]);
  const WindowHandle tool = windowAtOnceShown(numbers, 0);
  ASSERT_NE(tool, 0u);
  ASSERT_EQ(desk.windowAt(multiple), tool);

  Form& f = cx.form;
  f.setText(fmain::T_dsf_canshu[0], HandleText(tool));
  f.setText(fmain::T_dsf_canshu[1], HandleText(tool));
  out.toolBoxes[0] = {HandleText(tool), numbers};  // as the two captures leave them
  out.toolBoxes[1] = {HandleText(tool), multiple};
  f.setText(fmain::T_touzhu_dd[0], "001 002 003");
  f.setChecked(fmain::Check_pt_tz_sx, true);
  money.multipleSequence = "2-3";
  money.sequenceValid = 1;
  StartAutoBet(cx, out, money);
  StepTick(cx, out, money);  // external-tool mode: both texts handed over at the first tick
  EXPECT_FALSE(f.timer(fmain::Timer_dianji).enabled);
  runScripts();
  QString got = WaitForLine(
      file, [](const QString& l) { return l == "numbers=001 002 003|multiple=2"; }, 5000);
  EXPECT_FALSE(got.isEmpty()) << Lines(file).join("\n").toStdString();
}

TEST_F(X11OutputTest, ChatWindowsReceiveTheMessageWithItsSignatureAndQqIsNeverListed) {
  QString file = start("chat");
  ASSERT_FALSE(WaitForLine(file, [](const QString& l) { return l == "ready"; }).isEmpty());
  RefreshQqTargets(cx, out);
  std::vector<std::string> listed = cx.form.items(fmain::qf_list);
  EXPECT_NE(std::find(listed.begin(), listed.end(), "A"), listed.end());
  EXPECT_NE(std::find(listed.begin(), listed.end(), "AB"), listed.end());
  EXPECT_EQ(std::find(listed.begin(), listed.end(), "QQ"), listed.end());

  SelectAllQqTargets(cx);
  cx.form.setText(fmain::T_jh_dadi_jilu, "023期 中 ");
  cx.form.setText(fmain::T_jihua_qianming, "签名档位置");
  SendToQqGroupsLocked(cx, out);
  runScripts();
  for (const char* title : {"A:", "AB:"}) {
    QString got = WaitForLine(
        file, [title](const QString& l) { return l.startsWith(title); }, 5000);
    EXPECT_EQ(got.toStdString(), std::string(title) + "023期 中 签名档位置") << Lines(file).join("\n").toStdString();
  }
  EXPECT_TRUE(WaitForLine(
                  file, [](const QString& l) { return l.startsWith("QQ:"); }, 200)
                  .isEmpty());
  EXPECT_TRUE(cx.form.timer(fmain::Timer_jiesuo).enabled);
  EXPECT_FALSE(out.pointerLocked);
}

}  // namespace
}  // namespace lumora

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
