#pragma once
// Fixed texts of the profit statistics.
namespace lumora::stats_text {

inline constexpr const char* kErrorTitle = "错误提示";
inline constexpr const char* kOdds = "赔率设置要在1700~2000之间";
inline constexpr const char* kRebate = "返点设置要在0.005~0.5之间";
inline constexpr const char* kSequence = "倍投输入格式不正确！";
inline constexpr const char* kPushWave = "滚雪球，最少2期！";

inline constexpr const char* kFlatProfit = "平刷 利润：";
inline constexpr const char* kFlatCounts = "统计/命中：";
inline constexpr const char* kTurnover = "投注 总量：";
inline constexpr const char* kFlatName = "方案一<平刷>";
inline constexpr const char* kMultProfit = "当前 利润：";
inline constexpr const char* kMultCounts = "计划/当前/倍数：";
inline constexpr const char* kMultName = "方案二<倍投>(";
inline constexpr const char* kPushProfit = "当前利润：";
inline constexpr const char* kPushCounts = "推波/当前/倍数：";
inline constexpr const char* kPushTurnover = "投注总量：";
inline constexpr const char* kPushName = "方案三<推波>";

}  // namespace lumora::stats_text
