#pragma once
// Fixed texts of the local services: the markers of the draw feed and the settings exchange.
#include <string_view>

namespace lumora::feed {

// Draw feed answer: kOk, kBlock, the draw lines (oldest first, CR LF between them), kBlock.
inline constexpr std::string_view kOk = "**ok**";
inline constexpr std::string_view kBlock = "*-*";
// Answer to a request whose account does not match: carries no kOk, so clients refuse it.
inline constexpr std::string_view kRefused = "**no**\r\naccount refused";

// Settings record markers.
inline constexpr std::string_view kRecordMarker = "*sz*";

inline constexpr std::string_view kTextType = "text/plain; charset=utf-8";

}  // namespace lumora::feed

namespace lumora::feed {

// Settings service answers (see docs/settings-service.md).
inline constexpr std::string_view kSettingsOk = "*szok*";
inline constexpr std::string_view kSettingsNone = "*szno*";
inline constexpr std::string_view kSettingsError = "*szerr*";
inline constexpr size_t kMaxRecordBytes = 64 * 1024;

}  // namespace lumora::feed

namespace lumora::feed {

// Why /settings refuses everything on a service without accounts.
inline constexpr std::string_view kNoAccounts =
    "this service has no accounts, so it keeps no settings: add one with lumora-feed --add-user NAME";

}  // namespace lumora::feed
