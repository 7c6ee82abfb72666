#include "alarm/Notices.h"

#include <vector>

#include "alarm/Texts.h"
#include "core/Text.h"

namespace lumora {

namespace {

// Splits UTF-8 text into its characters (a malformed byte counts as one character).
std::vector<std::string_view> Characters(std::string_view text) {
  std::vector<std::string_view> out;
  size_t i = 0;
  while (i < text.size()) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    size_t len = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : (c >> 3) == 0x1E ? 4 : 1;
    if (i + len > text.size()) len = 1;
    out.push_back(text.substr(i, len));
    i += len;
  }
  return out;
}

bool IsMark(std::string_view ch) { return ch == alarm_text::kHit || ch == alarm_text::kMiss; }

}  // namespace

std::string SanitizeAlarmPattern(Context& cx) {
  const std::string before = cx.form.text("T_bj");
  std::string kept;
  int count = 0;
  for (std::string_view ch : Characters(before)) {
    if (!IsMark(ch)) continue;
    kept += ch;
    ++count;
  }
  if (count > 5) {
    kept.clear();
    cx.form.setText("T_bj", kept);
    cx.inform(alarm_text::kPatternTooLong, alarm_text::kPatternTooLongTitle);
    return kept;
  }
  // Writing an unchanged text back would only move the caret; the shell puts it at the end.
  if (kept != before) cx.form.setText("T_bj", kept);
  return kept;
}

bool AlarmPatternMatches(std::string_view pattern, std::string_view trail) {
  size_t n = Characters(pattern).size();
  if (n < 1 || n > 5) return false;
  return trail.size() >= pattern.size() && trail.substr(trail.size() - pattern.size()) == pattern;
}

bool TestAlarmPattern(Context& cx, AlarmState& alarm, std::string_view hitMissTrail) {
  if (!cx.form.checked("Check_baojing")) return false;
  if (!AlarmPatternMatches(cx.form.text("T_bj"), hitMissTrail)) return false;
  RaiseAlarm(cx, alarm);
  return true;
}

void RaiseAlarm(Context& cx, AlarmState& alarm) {
  alarm.countdown = 10;
  ++alarm.raised;
  cx.form.setText("Fbj.L20s", std::to_string(alarm.countdown));
  cx.form.setVisible("Fbj", true);
  cx.form.setTimer("Fbj.Timer_bj", true, 100);
  cx.form.setTimer("Fbj.Timer1", true, 600);
}

void AlarmSoundTick(Context& cx, AlarmState&) {
  cx.form.setTimerEnabled("Fbj.Timer_bj", false);
  if (cx.ports.sound) cx.ports.sound->play(PathToUtf8(cx.data.alarmSound()));
}

void AlarmCountdownTick(Context& cx, AlarmState& alarm) {
  alarm.countdown -= 1;
  cx.form.setText("Fbj.L20s", std::to_string(alarm.countdown));
  if (alarm.countdown <= 0) CloseAlarmWindow(cx);
}

void CloseAlarmWindow(Context& cx) {
  cx.form.setTimerEnabled("Fbj.Timer_bj", false);
  cx.form.setTimerEnabled("Fbj.Timer1", false);
  cx.form.setVisible("Fbj", false);
}

void ShowCopyNotice(Context& cx) {
  for (int i = 0; i < 4; ++i) cx.form.setBackColor(Indexed("Ftishi.Shape_shan", i), kShapeWhite);
  cx.form.setVisible("Ftishi", true);
  cx.form.setTimer("Ftishi.Timer_shan", true, 100);
  cx.form.setTimer("Ftishi.Timer1", true, 600);
}

void NoticeFlashTick(Context& cx) {
  int next = cx.form.backColor("Ftishi.Shape_shan_0") != kShapeBlack ? kShapeBlack : kShapeWhite;
  for (int i = 0; i < 4; ++i) cx.form.setBackColor(Indexed("Ftishi.Shape_shan", i), next);
}

void NoticeCloseTick(Context& cx) {
  cx.form.setTimerEnabled("Ftishi.Timer_shan", false);
  cx.form.setTimerEnabled("Ftishi.Timer1", false);
  cx.form.setVisible("Ftishi", false);
}

}  // namespace lumora
