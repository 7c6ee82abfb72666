#pragma once
// Where the remote services are and which account talks to them: `lumora.ini` in the data
// folder, overridden by the command line (`lumora --feed URL`).
//
//   [service]
//   feed_endpoint=http://127.0.0.1:18610/feed
//   settings_endpoint=http://127.0.0.1:18610/settings
//   username=
//   password=
//   random_code=
//
// Values are taken as they stand after the "=" (blanks around them trimmed); lines starting
// with ";" or "#" are comments. A missing file or key keeps the default.
#include <filesystem>
#include <string>
#include <string_view>

namespace lumora {

inline constexpr const char* kDefaultFeedEndpoint = "http://127.0.0.1:18610/feed";
inline constexpr const char* kDefaultSettingsEndpoint = "http://127.0.0.1:18610/settings";

struct ServiceConfig {
  std::string feedEndpoint = kDefaultFeedEndpoint;          // DrawFeedEndpoint
  std::string settingsEndpoint = kDefaultSettingsEndpoint;  // the settings exchange
  std::string user;                                          // ServiceAccount: "username"
  std::string password;                                      // "pw"
  std::string randomCode;                                    // "sjm_in"
};

// Reads the INI text over the defaults (GBK or UTF-8).
ServiceConfig ParseServiceConfig(std::string_view text);
// Reads the file; a missing or unreadable file gives the defaults.
ServiceConfig ReadServiceConfig(const std::filesystem::path& iniPath);

// Percent-encodes a query value (everything except A-Z a-z 0-9 - _ . ~), UTF-8 bytes as %XX.
std::string PercentEncode(std::string_view value);

}  // namespace lumora
