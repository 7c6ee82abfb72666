#include "settings/SettingsCentre.h"

#include "core/Text.h"
#include "settings/Schemes.h"
#include "settings/SettingsExchange.h"
#include "settings/SettingsTexts.h"

namespace lumora {

namespace {
namespace T = settings_texts;
}  // namespace

bool SlidePanel(Context& cx, SettingsState& st, bool open) {
  if (!open) cx.form.setVisible(T::kStatsFrame, false);
  if (st.panelOpen == open) return false;
  st.panelOpen = open;
  return true;
}

void SettingsCentreClick(Context& cx, SettingsState& st, int index) {
  switch (index) {
    case 0: SlidePanel(cx, st, true); break;
    case 1: cx.form.setVisible(T::kStatsFrame, true); break;
    case 3: UploadSettings(cx, st); break;
    case 4: DownloadSettings(cx, st); break;
    default: cx.inform(std::string(T::kNotOpen), std::string(T::kNotOpenTitle)); break;
  }
}

void BlinkSettingsCentre(Context& cx) {
  const Button first = T::kCentreButtons[0];
  const int next = cx.form.backColor(first) == kBlinkYellow ? kBlinkGreen : kBlinkYellow;
  cx.form.setBackColor(first, next);
  cx.form.setBackColor(T::kWidenButton, next);
}

void WidenSideWindow(Context& cx, SettingsState& st) {
  st.sideWindowTwips = kSideWindowWideTwips;
  RefreshSchemeList(cx);
}

void CollapseSideWindow(SettingsState& st) { st.sideWindowTwips = kSideWindowCollapsedTwips; }

}  // namespace lumora
