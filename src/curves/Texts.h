#pragma once
// Fixed texts of the curves subsystem: captions of the drawing tab, messages and titles.
namespace lumora::curves_text {

// Drawing tab.
inline constexpr const char* kPage = "画线界面";
inline constexpr const char* kInstruction = "点开始，然后鼠标移动到绘图区。鼠标点一下，开始，再点一下，结束。";
inline constexpr const char* kSaveRow = "画好线后，点红色按钮保存：";
inline constexpr const char* kLoadRow = "点击绿色按钮从数据库读取线：";
inline constexpr const char* kHelp = "X轴：最近120期，最右边是最新一期；Y轴：号码组按1倍平刷的盈利。红色=中，蓝色=挂。";
inline constexpr const char* kStartDrawing = "开始画线";
inline constexpr const char* kHorizontalLine = "点此画水平直线";
inline constexpr const char* kDrawingHint = "绘图的时候，请放慢点鼠标，别太快";
inline constexpr const char* kLookForPool = "按线寻找大底";
inline constexpr const char* kKLine = "K线";
inline constexpr const char* kCopyPool = "复制大底";
inline constexpr const char* kDemoOnly = "只为根据线出号演示";
inline constexpr const char* kNotInPlan = "以上参数不参与计划";
inline constexpr const char* kModeGroup = "线路出号控制模式选择";
inline constexpr const char* kMode0 = "画线+末端控制";
inline constexpr const char* kMode1 = "单纯随机+末端控制";
inline constexpr const char* kMode2 = "仅画线，不要别的控制";
inline constexpr const char* kMaskLegend = "1=中；0=挂；自定义输入";
inline constexpr const char* kMaskRange = "右边末端精准控制，期数在10期内";
inline constexpr const char* kDefaultPoolSize = "500";
inline constexpr const char* kDefaultMask = "1111111111";
inline constexpr const char* kStoreMarker = "********";

// Messages and titles.
inline constexpr const char* kTitleHint = "提示";
inline constexpr const char* kBrokenTrend = "曲线数据不完整，可能被破坏,请重新画线保存";
inline constexpr const char* kStoreMissing = "目录\\data下缺少文件data.mdb，或是该文件遭到破坏,请检查原因";
inline constexpr const char* kProgramEnds = "本软件将关闭";
inline constexpr const char* kSaveFailed = "本次保存曲线失败,请检查原因";
inline constexpr const char* kNoDraws = "没有开奖数据，请先更新";
inline constexpr const char* kTooManyNumbers = "注数不能多于980注";
inline constexpr const char* kTitleTooMany = "出错了";
inline constexpr const char* kResetCount = "400";
inline constexpr const char* kMaskTooLong = "输入不能超过10位";
inline constexpr const char* kTitleMaskTooLong = "出错拉";
inline constexpr const char* kCopyFailed = "本次复制出现错误，请再次复制！";
inline constexpr const char* kTitleCopyFailed = "错误提示";

}  // namespace lumora::curves_text
