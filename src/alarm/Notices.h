#pragma once
// The alarm window Fbj and the copy notice Ftishi.
//
// Form keys: "T_bj" (pattern, "中"/"挂", newest at the right), "Check_baojing" (alarm on);
// window Fbj: "Fbj" (visible), "Fbj.L20s", "Fbj.Timer_bj" (100 ms), "Fbj.Timer1" (600 ms);
// window Ftishi: "Ftishi" (visible), "Ftishi.Shape_shan_0..3" (back colour black 0 / white
// 16777215), "Ftishi.Timer_shan" (100 ms), "Ftishi.Timer1" (600 ms).
#include <string>
#include <string_view>

#include "alarm/AlarmState.h"
#include "core/Context.h"

namespace lumora {

inline constexpr int kShapeBlack = 0;
inline constexpr int kShapeWhite = 16777215;

// Cleans the pattern of `T_bj` after every change: keeps only "中" and "挂"; more than five
// left empties it with "目前只支持监控5期内". Returns the pattern as written back.
std::string SanitizeAlarmPattern(Context& cx);

// The pure test: a pattern of 1..5 marks matches when `trail` (newest mark at the right) ends
// with it. An empty or longer pattern never matches.
bool AlarmPatternMatches(std::string_view pattern, std::string_view trail);

// Run by the plan judgement after the newest mark was appended to the hit/miss trail: when
// `Check_baojing` is ticked and the trail ends with the pattern of `T_bj`, raises the alarm.
// Returns whether the alarm was raised.
bool TestAlarmPattern(Context& cx, AlarmState& alarm, std::string_view hitMissTrail);

// Opens the alarm window (not modal): countdown 10, sound 100 ms later, closes after 10 × 600 ms.
void RaiseAlarm(Context& cx, AlarmState& alarm);
void AlarmSoundTick(Context& cx, AlarmState& alarm);      // Fbj.Timer_bj
void AlarmCountdownTick(Context& cx, AlarmState& alarm);  // Fbj.Timer1
void CloseAlarmWindow(Context& cx);

// Shows the copy notice after every copy to the clipboard; it flashes and closes itself after
// 600 ms. The caller goes on at once (nothing waits for the window).
void ShowCopyNotice(Context& cx);
void NoticeFlashTick(Context& cx);  // Ftishi.Timer_shan
void NoticeCloseTick(Context& cx);  // Ftishi.Timer1

}  // namespace lumora
