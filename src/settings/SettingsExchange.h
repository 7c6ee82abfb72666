#pragma once
// The settings exchange with the settings service: one SettingsRecord with the main plan
// settings, uploaded under the service account and downloaded back (docs/settings-service.md).
#include <string>
#include <string_view>

#include "core/Context.h"
#include "settings/SettingsState.h"

namespace lumora {

struct SettingsRecordText {
  std::string text;   // "*sz*" zs "*" ms1 "*" ms2 "*" xl "*" jk "*sz*"
  std::string error;  // not empty: a value would break the record (names the box); text is empty
};

// Builds the record from the controls: the 15 bet counts, mode one's repeat count and accepted
// list, mode two's groups (CR LF -> "@") and accepted list, the 15 monitor selections, the
// monitor's accepted counts (trimmed).
SettingsRecordText BuildSettingsRecord(const Form& form);

// Applies the record standing between the first two "*sz*" of `answer`, control by control in
// the record's order, each change running the control's own reaction. Returns false at the
// first missing or malformed piece; the controls set before it keep their new values.
bool ApplySettingsRecord(Context& cx, std::string_view answer);

// Request URLs, every query value percent-encoded.
std::string UploadSettingsUrl(const ServiceConfig& service, std::string_view record);
std::string DownloadSettingsUrl(const ServiceConfig& service);

// Button C_sz_zhongxin_3 / _4. Each disables its button, shows the progress panel with its text
// and sends its request; the answer (or the 16 s limit) finishes it: the outcome message, the
// panel hidden, the button enabled. While one exchange is awaited a second one is not started.
void UploadSettings(Context& cx, SettingsState& st);
void DownloadSettings(Context& cx, SettingsState& st);

}  // namespace lumora
