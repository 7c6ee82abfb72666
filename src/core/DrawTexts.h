#pragma once
// Fixed texts of the draw history, the manual entry and the draw feed.
namespace lumora::draw_text {

inline constexpr const char* kApplied = "开奖完毕";
inline constexpr const char* kNotNew = "没有更新";
inline constexpr const char* kFetching = "正在获取开奖数据";
inline constexpr const char* kNoData = "没有获取到数据";
inline constexpr const char* kNoDataCheck = "没有获取到数据,请检查";
// The draws applied do not hold the period a plan or bet was for: "开奖数据中没有第034期".
inline constexpr const char* kMissingBefore = "开奖数据中没有第";
inline constexpr const char* kMissingAfter = "期";
inline constexpr const char* kStatusCaption = "更新倒计时";

inline constexpr const char* kFeedOk = "**ok**";
inline constexpr const char* kFeedBlock = "*-*";

inline constexpr const char* kLinePrefix = "第";
inline constexpr const char* kLineMiddle = "期：";

inline constexpr const char* kAskDelete = "是否要删除最近开奖号数据？";
inline constexpr const char* kAskDeleteSure = "确定要删除吗？";
inline constexpr const char* kAskDeleteCount = "需要删除多少期开奖号？[1~20]";
inline constexpr const char* kDeleteRange = "删除期数在1~20之内";
inline constexpr const char* kDeleted = "删除成功";
inline constexpr const char* kTip = "提示";

inline constexpr const char* kNoHistory = "没有开奖数据";
inline constexpr const char* kErrorTipTitle = "出错提示";
inline constexpr const char* kErrorTitle = "出错";
inline constexpr const char* kBadFormat = "格式错误";
inline constexpr const char* kBadPeriod = "期号错误";
inline constexpr const char* kBadDigits = "开奖号错误";
inline constexpr const char* kEntryTail = "-12345";

}  // namespace lumora::draw_text
