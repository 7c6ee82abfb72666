#pragma once
// The settings centre Frame_sz_zx ("用户设置中心"): a panel that slides in from the window's left
// edge, its buttons C_sz_zhongxin_0..7 and C_sz_zx_off, and the blink that draws the eye to
// "设置中心" and "伸>>".
#include "core/Context.h"
#include "settings/SettingsState.h"

namespace lumora {

// Light yellow (255, 255, 192) and green, the two blink colours.
inline constexpr int kBlinkYellow = 255 | (255 << 8) | (192 << 16);
inline constexpr int kBlinkGreen = 65280;

// Asks the panel to slide in (open) or out. Closing first hides Frame_canshu_0. Returns whether
// the panel has to move: opening an open panel or closing a closed one returns false at once.
// The shell animates the move to st.panelOpen.
bool SlidePanel(Context& cx, SettingsState& st, bool open);

// A click on C_sz_zhongxin_<index>: 0 opens the panel, 1 shows Frame_canshu_0 (the shell brings
// it to the front), 3 uploads and 4 downloads the settings, the others tell "未开放该功能".
void SettingsCentreClick(Context& cx, SettingsState& st, int index);

// Timer_sz_zx tick (400 ms): C_sz_zhongxin_0 and C_k_yulan_shou both turn green when the first
// is light yellow, otherwise both light yellow.
void BlinkSettingsCentre(Context& cx);

// The side window's width buttons: "伸>>" widens Fk to 3780 twips and refreshes the scheme
// list, "缩<<" collapses it to 1 twip (the window stays open, its pictures are kept).
void WidenSideWindow(Context& cx, SettingsState& st);
void CollapseSideWindow(SettingsState& st);

}  // namespace lumora
