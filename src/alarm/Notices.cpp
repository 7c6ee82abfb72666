#include "alarm/Notices.h"

#include <vector>

#include "alarm/Texts.h"
#include "core/Text.h"
#include "core/controls/Fbj.h"
#include "core/controls/Fmain.h"
#include "core/controls/Ftishi.h"

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
  const std::string before = cx.form.text(fmain::T_bj);
  std::string kept;
  int count = 0;
  for (std::string_view ch : Characters(before)) {
    if (!IsMark(ch)) continue;
    kept += ch;
    ++count;
  }
  if (count > 5) {
    kept.clear();
    cx.form.setText(fmain::T_bj, kept);
    cx.inform(alarm_text::kPatternTooLong, alarm_text::kPatternTooLongTitle);
    return kept;
  }
  // Writing an unchanged text back would only move the caret; the shell puts it at the end.
  if (kept != before) cx.form.setText(fmain::T_bj, kept);
  return kept;
}

bool AlarmPatternMatches(std::string_view pattern, std::string_view trail) {
  size_t n = Characters(pattern).size();
  if (n < 1 || n > 5) return false;
  return trail.size() >= pattern.size() && trail.substr(trail.size() - pattern.size()) == pattern;
}

bool TestAlarmPattern(Context& cx, AlarmState& alarm, std::string_view hitMissTrail) {
  if (!cx.form.checked(fmain::Check_baojing)) return false;
  if (!AlarmPatternMatches(cx.form.text(fmain::T_bj), hitMissTrail)) return false;
  RaiseAlarm(cx, alarm);
  return true;
}

void RaiseAlarm(Context& cx, AlarmState& alarm) {
  alarm.countdown = 10;
  ++alarm.raised;
  cx.form.setText(fbj::L20s, std::to_string(alarm.countdown));
  cx.form.setVisible(fbj::window, true);
  cx.form.setTimer(fbj::Timer_bj, true, 100);
  cx.form.setTimer(fbj::Timer1, true, 600);
}

void AlarmSoundTick(Context& cx, AlarmState&) {
  cx.form.setTimerEnabled(fbj::Timer_bj, false);
  if (cx.ports.sound) cx.ports.sound->play(PathToUtf8(cx.data.alarmSound()));
}

void AlarmCountdownTick(Context& cx, AlarmState& alarm) {
  alarm.countdown -= 1;
  cx.form.setText(fbj::L20s, std::to_string(alarm.countdown));
  if (alarm.countdown <= 0) CloseAlarmWindow(cx);
}

void CloseAlarmWindow(Context& cx) {
  cx.form.setTimerEnabled(fbj::Timer_bj, false);
  cx.form.setTimerEnabled(fbj::Timer1, false);
  cx.form.setVisible(fbj::window, false);
}

void ShowCopyNotice(Context& cx) {
  for (int i = 0; i < 4; ++i) cx.form.setBackColor(ftishi::Shape_shan[i], kShapeWhite);
  cx.form.setVisible(ftishi::window, true);
  cx.form.setTimer(ftishi::Timer_shan, true, 100);
  cx.form.setTimer(ftishi::Timer1, true, 600);
}

void NoticeFlashTick(Context& cx) {
  int next = cx.form.backColor(ftishi::Shape_shan[0]) != kShapeBlack ? kShapeBlack : kShapeWhite;
  for (int i = 0; i < 4; ++i) cx.form.setBackColor(ftishi::Shape_shan[i], next);
}

void NoticeCloseTick(Context& cx) {
  cx.form.setTimerEnabled(ftishi::Timer_shan, false);
  cx.form.setTimerEnabled(ftishi::Timer1, false);
  cx.form.setVisible(ftishi::window, false);
}

}  // namespace lumora
