#pragma once
// Fixed texts of fund management and the bet settlement.
#include <string_view>
#include "core/controls/Fmain.h"

namespace lumora::fund_texts {

// Controls of the capital frame.
inline constexpr auto kCapital = fmain::T_zijin;                 // _0..4
inline constexpr auto kSequence = fmain::T_zd_touzhu_beitou[0];  // the multiple sequence
inline constexpr auto kSequenceState = fmain::T_zd_touzhu_beitou[1];

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
inline constexpr auto kRiskLabel = fmain::L_zijin_fengxian;
inline constexpr auto kRiskTimer = fmain::Timer_zijin_fengxian;
inline constexpr auto kPlanPoolCount = fmain::T_jihua_jj_dadi_zhushu;
inline constexpr std::string_view kRiskTitle = "止损风险";
inline constexpr std::string_view kRiskNoPlan = "计划注数须在1~1000之间，暂不能计算";
inline constexpr std::string_view kRiskFailed = "无法计算";

}  // namespace lumora::fund_texts
