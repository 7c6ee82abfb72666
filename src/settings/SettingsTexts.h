#pragma once
// Fixed texts and control names of the scheme window, the settings exchange and the settings
// centre.
#include <string>
#include <string_view>
#include "core/controls/Fk.h"
#include "core/controls/Fmain.h"

namespace lumora::settings_texts {

// Scheme window Fk.
inline constexpr auto kSideWindow = fk::window;
inline constexpr std::string_view kSideTitle = "K线预览界面";
inline constexpr auto kSchemeName = fk::T_fangan_name;
inline constexpr auto kSchemeList = fk::List_fangan;
inline constexpr std::string_view kSchemeExtension = ".fa";
inline constexpr std::string_view kDesignSchemeName = "800+[1]";
inline constexpr std::string_view kSaveCaption = "保存方案";
inline constexpr std::string_view kDeleteCaption = "删除选中";
inline constexpr std::string_view kWidenCaption = "伸>>";
inline constexpr std::string_view kCollapseCaption = "缩<<";
inline constexpr auto kWidenButton = fmain::C_k_yulan_shou;
inline constexpr auto kCollapseButton = fmain::C_k_yulan_cls;
inline constexpr std::string_view kPreviewCaption = "计划K线预览（上）";
inline constexpr std::string_view kFundCaption = "计划利润走势曲线";
inline constexpr std::string_view kBoardCaption = "底部7个交集框+一个综合框号码中挂图";

inline constexpr std::string_view kSaved = "保存完成";
inline constexpr std::string_view kSavedTitle = "成功";
inline constexpr std::string_view kSaveFailed = "保存过程发生错误，请检查";
inline constexpr std::string_view kSaveFailedTitle = "错误";
// A scheme name whose file in the data folder would list under another name.
inline std::string SchemeNameCharNotCarried(const std::string& ch) {
  return "方案没有保存：T_fangan_name 中的字符“" + ch + "”不能用在方案的文件名里，请换一个名称后再保存。";
}
inline constexpr std::string_view kSchemeNameNotCarried =
    "方案没有保存：T_fangan_name 中的名称不能原样用作方案的文件名，请换一个名称后再保存。";
inline constexpr std::string_view kSelectScheme = "请选择一个方案";
inline constexpr std::string_view kSelectSchemeTitle = "提示";
inline constexpr std::string_view kFileMissing = "文件丢失,请检查";  // after the path
inline constexpr std::string_view kFileMissingTitle = "提示";
inline constexpr std::string_view kLoaded = "参数读入成功";
inline constexpr std::string_view kLoadedTitle = "提示";
inline constexpr std::string_view kLoadFailed = "在读取参数配置过程中，发现错误\r\n请确认文件是否丢失或者损坏";
inline constexpr std::string_view kLoadFailedTitle = "错误";

// Settings exchange.
inline constexpr std::string_view kRecordMarker = "*sz*";
inline constexpr std::string_view kAcknowledged = "*szok*";
inline constexpr std::string_view kUploading = "系统正在上传数据";
inline constexpr std::string_view kDownloading = "系统正在下载数据";
inline constexpr auto kProgressLabel = fmain::L_jindu_news;
inline constexpr std::string_view kUploaded = "数据上传服务器完毕";
inline constexpr std::string_view kUploadFailed = "参数上传失败，服务器没有确认，请检查网络和账号后重试";
inline constexpr std::string_view kDownloaded = "用户数据读取成功";
inline constexpr std::string_view kDownloadFailed =
    "参数下载失败，服务器没有返回数据，请检查网络和账号，或先上传一次参数";
inline constexpr std::string_view kExchangeTitle = "提示";
inline constexpr std::string_view kRecordBroken =
    "出错提示：\r\n"
    "数据获取成功，但是格式有错，最终失败\r\n"
    "出错的原因，可能是因为这个版本<5.40>升级后，数据和之前的版本不通用。\r\n"
    "解决办法：\r\n"
    "先上传设置，让服务器数据结构同步。后续就不会出问题了。\r\n";
inline constexpr std::string_view kRecordBrokenTitle = "出错提示";
inline constexpr std::string_view kUnsendableTitle = "提示";

// Settings centre.
inline constexpr auto kCentrePanel = fmain::Frame_sz_zx;
inline constexpr std::string_view kCentreCaption = "用户设置中心";
inline constexpr auto kCentreButtons = fmain::C_sz_zhongxin;  // _0..7
inline constexpr auto kCentreClose = fmain::C_sz_zx_off;
inline constexpr std::string_view kCentreCloseCaption = "X";
inline constexpr auto kStatsFrame = fmain::Frame_canshu[0];
inline constexpr auto kBlinkTimer = fmain::Timer_sz_zx;
inline constexpr int kBlinkMs = 400;
inline constexpr std::string_view kCentreCaptions[8] = {"设置中心",         "设置倍投等各参赛", "观看当天利润曲线",
                                                        "上传参数(云保存)", "下载参数(云保存)", "一键分享设置",
                                                        "待加。。。。",     "待加。。。。"};
inline constexpr std::string_view kNotOpen = "未开放该功能";
inline constexpr std::string_view kNotOpenTitle = "温情提示";

}  // namespace lumora::settings_texts
