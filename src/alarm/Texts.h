#pragma once
// Fixed texts of the alarm window, the copy notice and the alarm settings.
namespace lumora::alarm_text {

inline constexpr const char* kPatternTooLong = "目前只支持监控5期内";
inline constexpr const char* kPatternTooLongTitle = "设置错误";
inline constexpr const char* kHit = "中";
inline constexpr const char* kMiss = "挂";
inline constexpr const char* kAlarmTitle = "报警提示";
inline constexpr const char* kAlarmMatched = "！！匹配成功！！";
inline constexpr const char* kAlarmCountdown = "本窗口10秒关闭倒计时：";
inline constexpr const char* kNoticeTitle = "信息提示窗口";
inline constexpr const char* kNoticeCopied = "！！复制成功！！";
inline constexpr const char* kPatternNoteRight = "从左往右看，右边为最新一期。";
inline constexpr const char* kPatternNoteMax = "目前仅支持最大监控5期";
inline constexpr const char* kAlarmSwitch = "勾选生效,声音报警";
inline constexpr const char* kAlarmFrame = "计划报警设置";

}  // namespace lumora::alarm_text
