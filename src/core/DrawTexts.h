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

// Answers that are not applied, or applied with a pause. Each is one status line; the first of a
// kind is also a notice titled kTip.
inline constexpr const char* kOlder = "答复比已采用的开奖号旧，未采用";
inline constexpr const char* kContradicts = "答复与已采用的开奖号不符，已拒绝";
inline constexpr const char* kUnrelated = "答复与已采用的开奖号全都对不上，已拒绝";
inline constexpr const char* kDisordered = "答复中的期号顺序不对，已拒绝";
inline constexpr const char* kUntied = "答复与已有开奖号接不上；自动投注和自动群发已暂停，核对开奖号后请重新勾选";
inline constexpr const char* kPaused = "自动投注和自动群发已暂停，核对开奖号后请重新勾选";
inline constexpr const char* kRefusedNotice = "开奖数据服务的答复未被采用，本次没有计划、投注或资金变动。";

// A broken exchange: kNoDataCheck, then "：" and which failure.
inline constexpr const char* kWhy = "：";
inline constexpr const char* kNoConnection = "无法连接开奖服务";
inline constexpr const char* kTimeout = "请求超时";
inline constexpr const char* kTooLarge = "答复过大";
inline constexpr const char* kTlsUntrusted = "证书不受信任";
inline constexpr const char* kTlsWrongHost = "证书与主机名不符";
inline constexpr const char* kTlsExpired = "证书已过期或尚未生效";
inline constexpr const char* kTlsOther = "安全连接失败";
inline constexpr const char* kNotAllowed = "地址不被允许";
inline constexpr const char* kNetworkOther = "网络错误";
inline constexpr const char* kHttpStatus = "服务答复 HTTP ";
inline constexpr const char* kEmptyAnswer = "答复为空";
inline constexpr const char* kNoMarker = "答复格式错误（没有数据标记）";
inline constexpr const char* kNoBlock = "答复格式错误（没有数据段）";
inline constexpr const char* kTooFewLines = "答复不完整（开奖号行数不足）";
inline constexpr const char* kBadLine = "答复格式错误（开奖号行不合格）";
// Failures lasting kOutageMinutes: the status adds how long since the last good answer.
inline constexpr const char* kOutageSince = "；已有 ";
inline constexpr const char* kOutageMinutes = " 分钟没有获取到开奖数据";
inline constexpr const char* kOutageLast = "（上次成功 ";
inline constexpr const char* kOutageLastEnd = "）";
inline constexpr const char* kOutageNotice = "开奖数据已连续数分钟获取失败，请检查网络和开奖服务；恢复后会自动继续。";

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
