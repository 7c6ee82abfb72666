// The betting client's click points, window handles and the replayed step list.
// The bytes cut at NUL: bet-box handle, multiple-box handle, platform point, bet-box point,
// multiple-box point, bet numbers, multiple sequence, external tool handle, and the step list
// (nine bytes a step: x, y as 32-bit numbers and the kind). Everything runs on the recording
// desktop: clicking the platform point, both pastes, the test sends, the hand-over to the
// external tool and a whole betting run over the steps.
#include <cstdint>
#include <cstring>

#include "FuzzSupport.h"
#include "core/RecordingPorts.h"
#include "core/Text.h"
#include "core/controls/Fmain.h"
#include "money/Fund.h"
#include "money/MoneyState.h"
#include "output/BetRun.h"
#include "output/Driving.h"
#include "output/Executor.h"
#include "output/fake/FakeDesktop.h"

using namespace lumora;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<std::string> p = fuzz::Pieces(fuzz::AsText(data, size), 9);
  Context cx;
  OutputState out;
  MoneyState money;
  FakeDesktop desk;
  RecordingPrompter prompter;
  FixedClock clock;
  cx.ports.clipboard = &desk.clipboard();
  cx.ports.prompter = &prompter;
  cx.ports.clock = &clock;
  out.desktop = &desk;
  desk.windowEverywhere = 7;

  Form& f = cx.form;
  f.setText(fmain::Tid[0], p[0]);
  f.setText(fmain::Tid[1], p[1]);
  f.setText(fmain::Tid[2], p[2]);
  f.setText(fmain::T_beishu_xy[0], p[3]);
  f.setText(fmain::T_beishu_xy[1], p[4]);
  f.setText(fmain::T_touzhu_dd[0], p[5]);
  f.setText(fmain::T_touzhu_dd[1], "5");
  f.setText(fmain::T_zd_touzhu_beitou[0], p[6]);
  f.setText(fmain::T_dsf_canshu[0], p[7]);
  f.setText(fmain::T_dsf_canshu[1], p[0]);
  for (int i = 0; i < 5; ++i) f.setText(fmain::T_zijin[i], std::to_string(i == 4 ? 100000 : 1000 * i));
  const std::string& steps = p[8];
  for (size_t at = 0; at + 9 <= steps.size() && out.steps.count < kStepSlots; at += 9) {
    Step s;
    std::memcpy(&s.x, steps.data() + at, 4);
    std::memcpy(&s.y, steps.data() + at + 4, 4);
    s.kind = 1 + static_cast<unsigned char>(steps[at + 8]) % 2;
    out.steps.slots[static_cast<size_t>(++out.steps.count)] = s;
  }

  ClickPlatformPoint(cx, out);
  PasteIntoBox(cx, out, p[5], "0", p[6]);
  PasteIntoBox(cx, out, p[5], "1", p[6]);
  PassTextToWindow(cx, out, p[7], p[5]);
  for (int button : {1, 3, 5}) SendTest(cx, out, button);
  TestToolWindows(cx, out);
  RunScriptsToEnd(cx, out, desk);

  ReadFundSettings(cx, money);
  StartAutoBet(cx, out, money);
  for (int tick = 0; tick < 60 && f.timer(fmain::Timer_dianji).enabled; ++tick) {
    StepTick(cx, out, money);
    RunScriptsToEnd(cx, out, desk);
  }
  FUZZ_CHECK(!ScriptsRunning(out));
  return 0;
}
