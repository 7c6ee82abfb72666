// The alarm pattern box and the test of the hit/miss trail against it. The bytes cut at NUL:
// the pattern box's text and a trail.
#include <cstdint>

#include "FuzzSupport.h"
#include "alarm/Notices.h"
#include "core/RecordingPorts.h"
#include "core/Text.h"
#include "core/controls/Fbj.h"
#include "core/controls/Fmain.h"

using namespace lumora;

namespace {
const std::string kHit = "中", kMiss = "挂";

// The number of marks when `text` is made of "中" and "挂" only, otherwise -1.
int Marks(std::string_view text) {
  int n = 0;
  while (!text.empty()) {
    if (text.substr(0, 3) != kHit && text.substr(0, 3) != kMiss) return -1;
    text.remove_prefix(3);
    ++n;
  }
  return n;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<std::string> p = fuzz::Pieces(fuzz::AsText(data, size), 2);
  Context cx;
  RecordingPrompter prompter;
  RecordingSound sound;
  cx.ports.prompter = &prompter;
  cx.ports.sound = &sound;
  AlarmState alarm;
  cx.form.setText(fmain::T_bj, p[0]);
  cx.form.setChecked(fmain::Check_baojing, true);
  const std::string pattern = SanitizeAlarmPattern(cx);
  FUZZ_CHECK(cx.form.text(fmain::T_bj) == pattern);
  const int marks = Marks(pattern);
  FUZZ_CHECK(marks >= 0 && marks <= 5);
  // Cleaning is idempotent.
  FUZZ_CHECK(SanitizeAlarmPattern(cx) == pattern);

  const bool matches = AlarmPatternMatches(p[0], p[1]);
  if (matches) {
    FUZZ_CHECK(!p[0].empty() && p[1].size() >= p[0].size());
    FUZZ_CHECK(p[1].compare(p[1].size() - p[0].size(), p[0].size(), p[0]) == 0);
  }
  const bool raised = TestAlarmPattern(cx, alarm, p[1]);
  FUZZ_CHECK(raised == AlarmPatternMatches(pattern, p[1]));
  if (raised) {
    FUZZ_CHECK(cx.form.visible(fbj::window));
    for (int i = 0; i < 12; ++i) AlarmSoundTick(cx, alarm), AlarmCountdownTick(cx, alarm);
  }
  return 0;
}
