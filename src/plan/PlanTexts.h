#pragma once
// Fixed texts of the plan engine: messages, titles and the pieces of the record lines.
namespace lumora::plan_text {

// Monitor pools and board.
inline constexpr const char* kKeepPools = "请先选择“每期算号”";
inline constexpr const char* kKeepPoolsTitle = "友情提示";
inline constexpr const char* kBoardHeader = "开奖期数";
inline constexpr const char* kBoardHit = "中";
inline constexpr const char* kBoardMiss = "*";

// Clipboard.
inline constexpr const char* kCopyFailed = "本次复制出现错误，请再次复制！";
inline constexpr const char* kCopyFailedTitle = "错误提示";
inline constexpr const char* kComplement = "提示，你现在复制的是反集号码";
inline constexpr const char* kComplementTitle = "复制提示！";

// Plan start and record.
inline constexpr const char* kNoDraws = "没有开奖数据";
inline constexpr const char* kNoDrawsTitle = "出错提示";
inline constexpr const char* kKeepRange = "保留开奖记录参数设置有误，范围在1~200之间有效";
inline constexpr const char* kKeepRangeTitle = "输入错误";
inline constexpr const char* kRule = "---------------------";
inline constexpr const char* kClearAsk = "是否要清除记录？";
inline constexpr const char* kHit = "中";
inline constexpr const char* kMiss = "挂";
inline constexpr const char* kSaved = "保存成功";
inline constexpr const char* kSavedTitle = "恭喜你";
inline constexpr const char* kSaveFailed = "保存失败，请检查原因";
inline constexpr const char* kSaveFailedTitle = "出错了哦";
inline constexpr const char* kModeTwoCounts = "模式二";
inline constexpr const char* kProfit = " 利润";
inline constexpr const char* kWaiting = "等中奖";
inline constexpr const char* kOpened = "期开";
inline constexpr const char* kHidden = "期开*****";
inline constexpr const char* kFront = "前三";
inline constexpr const char* kMiddle = "中三";
inline constexpr const char* kBack = "后三";
inline constexpr const char* kCountUnit = "注";
inline constexpr const char* kSingleWindow = "<1>期/当前<1>";
// A plan whose period has no draw among the draws applied: "…034期开*****<1>期/当前<1>未判定", and
// the status "开奖完毕；第034期计划未判定：开奖数据中没有第034期".
inline constexpr const char* kNotJudged = "未判定";
inline constexpr const char* kNotJudgedStatusBefore = "；第";
inline constexpr const char* kNotJudgedStatusAfter = "期计划未判定：";

// Plan modes.
inline constexpr const char* kModeOneError = "输入数据有误，请检查格式。";
inline constexpr const char* kHintTitle = "提示";
inline constexpr const char* kProgress = "进度：";
inline constexpr const char* kInitialising = "系统正在初始化";

// Tolerance recombination and exports.
inline constexpr const char* kRecombineError = "出错啦。";
inline constexpr const char* kRecombined =
    "提示：\r\n每次修改容对数值后，只需点击这个按钮从新计算即可。\r\n"
    "不用再点开始计划，这样各个源地数据不会因为点开始计划而变化。\r\n\r\n本次更新容对完成。\r\n";
inline constexpr const char* kExported = "导出完成，文件夹=\\data\\txt\\";
inline constexpr const char* kExportedTitle = "完成";
inline constexpr const char* kExportFailed = "导出过程出现错误，请检查";
inline constexpr const char* kExportFailedTitle = "出错了";

// The triples forced into the plan.
inline constexpr const char* kTriples = "000.111.222.333.444.555.666.777.888.999";

}  // namespace lumora::plan_text
