#pragma once
// Fixed texts of the Windows desktop backend: why the desktop cannot be driven (shown in the bet log).
namespace lumora::win32_text {

inline constexpr const char* kNoScreen = "没有可用的屏幕";
inline constexpr const char* kNoInputDesktop = "桌面已锁定或不在当前会话，无法模拟鼠标键盘";

}  // namespace lumora::win32_text
