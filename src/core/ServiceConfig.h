#pragma once
// Where the remote services are and which account talks to them, and which windows are chat
// windows: `lumora.ini` in the data folder, overridden by the command line (`lumora --feed URL`).
//
//   [service]
//   feed_endpoint=http://127.0.0.1:18610/feed
//   settings_endpoint=http://127.0.0.1:18610/settings
//   username=
//   password=
//   random_code=
//   ca_file=               a PEM file of certificates trusted for https besides the system's
//                          (a private feed's own CA); relative to the data folder
//   allow_plain_http=0     1: the account may go to another machine over plain http (warned once)
//   password_store=file    keyring: the password lives in the system's key store, not here
//   [desktop]
//   chat_classes=TXGuiFoundation
//   chat_classes_new_style=QWidget
//
// Values are taken as they stand after the "=" (blanks around them trimmed); lines starting
// with ";" or "#" are comments. A missing file or key keeps the default; a file that is there but
// cannot be read, or whose bytes cannot be settings text, keeps every default and says why in
// `fault` (shown once at start-up); a ca_file that cannot be read is said there too. The class lists are
// separated by "," (blanks around a name trimmed, empty names dropped).
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace lumora {

inline constexpr const char* kDefaultFeedEndpoint = "http://127.0.0.1:18610/feed";
inline constexpr const char* kDefaultSettingsEndpoint = "http://127.0.0.1:18610/settings";

// The window classes the group send takes for chat windows (on X11 a window's class is its
// program's name, so there it is the user's to say). The walk down the z-order starts at the
// first window of an ordinary class; a window of a new-style class has its input area clicked
// before the paste.
struct ChatClasses {
  std::vector<std::string> ordinary{"TXGuiFoundation"};
  std::vector<std::string> newStyle{"QWidget"};
};

struct ServiceConfig {
  std::string feedEndpoint = kDefaultFeedEndpoint;          // DrawFeedEndpoint
  std::string settingsEndpoint = kDefaultSettingsEndpoint;  // the settings exchange
  std::string user;                                         // ServiceAccount: "username"
  std::string password;                                     // "pw"
  std::string randomCode;                                   // "sjm_in"
  ChatClasses chat;                                         // chat_classes, chat_classes_new_style
  std::string caFile;               // ca_file, as a path (UTF-8); empty: the system's trust only
  bool allowPlainHttp = false;      // allow_plain_http
  bool passwordInKeyStore = false;  // password_store=keyring
  std::string fault;                // why lumora.ini was not taken, naming it; empty when it was or is absent
  // What the player was told already this run (core/Endpoint.h: each said once).
  bool plainHttpWarned = false;
  bool refusalSaid = false;
};

// Reads the INI text over the defaults (GBK or UTF-8).
ServiceConfig ParseServiceConfig(std::string_view text);
// Reads the file; a missing file gives the defaults, an unreadable one the defaults and a fault.
ServiceConfig ReadServiceConfig(const std::filesystem::path& iniPath);

// Percent-encodes a query value (everything except A-Z a-z 0-9 - _ . ~), UTF-8 bytes as %XX.
std::string PercentEncode(std::string_view value);

}  // namespace lumora
