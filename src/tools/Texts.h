#pragma once
// Every fixed text of the number tools: messages, titles, line pieces, captions and marks.
#include <array>
#include <string_view>

namespace lumora::tools_text {

// Banker-digit rankings and their filter.
inline constexpr std::string_view kPeriodMark = "期：";
inline constexpr std::string_view kFieldMark = "：";
inline constexpr std::string_view kHitsMark = "：出几：";
inline constexpr std::string_view kComingTail = "等中奖.";

inline constexpr std::string_view kTitleHint = "提示";
inline constexpr std::string_view kWindowTooLong = "期数不能超过50";
inline constexpr std::string_view kModeNeedsDash = "分解模式输入格式错误,必须以“-”号隔开";
inline constexpr std::string_view kModeNeedsDashTitle = "出错提示";
inline constexpr std::string_view kRankingFailed = "排序输入格式有误，请检查格式。";
inline constexpr std::string_view kFilterFailed = "输入格式有误，请检查格式。";
inline constexpr std::string_view kNeedData = "请输入数据";
inline constexpr std::string_view kNeedDataTitle = "错误";
inline constexpr std::string_view kCopyFailed = "本次复制出现错误，请再次复制！";
inline constexpr std::string_view kCopyFailedTitle = "错误提示";

// Design-time contents of the banker tab.
inline constexpr std::string_view kDefaultWindow = "10";
inline constexpr std::string_view kDefaultMode = "1-2-3";
inline constexpr std::string_view kDefaultHitCounts = "12";
inline constexpr std::string_view kDefaultRules = "7895-012-346=12\r\n4567-789-012=12\r\n5896-012-347=12.\r\n";
inline constexpr std::string_view kDefaultAccepted = "1.2.3";

// Shrink tool.
inline constexpr std::string_view kUnknownError = "发生未知错误";
inline constexpr std::string_view kUnknownErrorTitle = "错误提示";
inline constexpr std::string_view kJunkDesign = "杀垃圾单式大底\r\n";
inline constexpr std::string_view kJunkCleared = "垃圾单式大底";
inline constexpr std::string_view kResultDesign = "结果大底\r\n";

inline constexpr int kGrey = 14737632;  // not marked
inline constexpr int kRed = 255;        // marked: compound exclusion, positional kill
inline constexpr int kGreen = 65280;    // marked: banker groups

// Shape patterns, in item order of their check-box rows (hundreds first).
inline constexpr std::array<std::string_view, 8> kSizePatterns = {"小大小", "大小大", "大大大", "小小小",
                                                                  "大大小", "小小大", "大小小", "小大大"};
inline constexpr std::array<std::string_view, 8> kParityPatterns = {"偶奇偶", "奇偶奇", "奇奇奇", "偶偶偶",
                                                                    "奇奇偶", "偶偶奇", "奇偶偶", "偶奇奇"};
inline constexpr std::array<std::string_view, 8> kPrimePatterns = {"合质合", "质合质", "质质质", "合合合",
                                                                   "质质合", "合合质", "质合合", "合质质"};
inline constexpr std::string_view kBig = "大", kSmall = "小";
inline constexpr std::string_view kOdd = "奇", kEven = "偶";
inline constexpr std::string_view kPrime = "质", kComposite = "合";

// Captions of the 28 "全"/"清" buttons, by item.
inline constexpr std::string_view kMarkAll = "全";
inline constexpr std::string_view kClear = "清";

}  // namespace lumora::tools_text
