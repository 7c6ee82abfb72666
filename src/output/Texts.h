#pragma once
// Fixed texts of the output automation: bet-log lines, messages, captions, list lines.
namespace lumora::output_text {

// Capture and recording.
inline constexpr const char* kSetupDone = "设置完成！";
inline constexpr const char* kClickLine = "-点击";
inline constexpr const char* kPasteLine = "-[粘贴]";
inline constexpr const char* kTestPasteText = "测试功能，如果看到文字说明成功。0123456789";

// Pasting and clicking.
inline constexpr const char* kNoPlatformHandle = "平台识别没有输入，请先确认";
inline constexpr const char* kNoBetData = "下注数据为空，请检查";
inline constexpr const char* kSetPlatformFirst = "请先设置平台识别";
inline constexpr const char* kErrorTitle = "错误提示";

// The betting run.
inline constexpr const char* kCountdown30 = "投注30秒倒计时：";
inline constexpr const char* kNotTicked = "投注没勾选，不生效";
inline constexpr const char* kLimitsReached = "投注条件不满足[止损或止盈]";
inline constexpr const char* kBadSequence = "出错，倍数设置不正确";
inline constexpr const char* kCurrentMultiple = "当前倍数=";
inline constexpr const char* kAutoBetStarted = "开始自动投注";
inline constexpr const char* kMultipleFailed = "出错，可能是投注倍数参数有错误导致";
inline constexpr const char* kCountdown3 = "3秒倒计时：";
inline constexpr const char* kStepFailed = "出现错误，可能是第三方投注界面没打开";
inline constexpr const char* kBetDone = "投注完毕";
inline constexpr const char* kClicking = "正在点：";
inline constexpr const char* kPasteFailed = "投注出错,请检查";
inline constexpr const char* kToolHandlesMissing = "请先设别地三方的参数";

// The desktop cannot be driven (no display, no synthetic input): said once per operation.
inline constexpr const char* kDesktopUnavailable = "自动操作不可用：";

// Group send.
inline constexpr const char* kFindCaption = "寻找目标\r\n\r\n全清目标";
inline constexpr const char* kShowSignature = "打开签名档设置";
inline constexpr const char* kHideSignature = "隐藏签名档设置";
inline constexpr const char* kHelpTitle = "使用说明";
// The instructions, one line each (the rule is 48 "-").
inline constexpr const char* kHelpLines[] = {
    "群发设置办法：",
    "打开你要群发的群，或者个人聊天窗口",
    "将新版本QQ中的多窗口合并这个功能取消",
    "点击《设置目标》，在出现的目标栏中，点击选择你要群发的QQ群或者QQ好友",
    "点击《自动群发》，每次开奖后会自动群发。",
    "也可以每次《手动发送》",
    "备注：需将QQ发送信息设置成《按enter键发送信息》",
    "------------------------------------------------",
    "特别说明：如果群发出去的记录，有中文乱码，请在计划界面，将输入法切换为中文就可以了",
};

}  // namespace lumora::output_text
