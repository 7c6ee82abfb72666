#pragma once
// Fixed texts of fund management and the bet settlement.
#include <string_view>

namespace lumora::fund_texts {

// Controls of the capital frame.
inline constexpr std::string_view kCapital = "T_zijin";                // _0..4
inline constexpr std::string_view kSequence = "T_zd_touzhu_beitou_0";  // the multiple sequence
inline constexpr std::string_view kSequenceState = "T_zd_touzhu_beitou_1";

inline constexpr std::string_view kSequenceAllowed = "0123456789.-";
inline constexpr std::string_view kNotStarted = "未开始";

inline constexpr std::string_view kBadSequence = "倍数有误，请检查";
inline constexpr std::string_view kBadSequenceTitle = "提示";
inline constexpr std::string_view kBadPrize = "赔率设置错误，请检查";
inline constexpr std::string_view kBadPrizeTitle = "温馨提示";
inline constexpr std::string_view kBadPrizeLog = "赔率设置错误";
// A placed bet whose period's draw is not among the draws applied: no money moves.
inline constexpr std::string_view kNotSettled = "投注未结算：";

// The risk of ruin beside the capital frame: its label, the timer that looks for changed inputs,
// and the plan box whose number of combinations it uses.
inline constexpr std::string_view kRiskLabel = "L_zijin_fengxian";
inline constexpr std::string_view kRiskTimer = "Timer_zijin_fengxian";
inline constexpr std::string_view kPlanPoolCount = "T_jihua_jj_dadi_zhushu";
inline constexpr std::string_view kRiskTitle = "止损风险";
inline constexpr std::string_view kRiskNoPlan = "计划注数须在1~1000之间，暂不能计算";
inline constexpr std::string_view kRiskFailed = "无法计算";

}  // namespace lumora::fund_texts
