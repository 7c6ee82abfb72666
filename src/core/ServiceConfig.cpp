#include "core/ServiceConfig.h"

#include "core/Files.h"
#include "core/Text.h"
#include "core/TextCodec.h"

namespace lumora {

namespace {

std::vector<std::string> ClassList(std::string_view value) {
  std::vector<std::string> names;
  for (const std::string& part : Split(value, ","))
    if (std::string name = Trim(part); !name.empty()) names.push_back(name);
  return names;
}

}  // namespace

ServiceConfig ParseServiceConfig(std::string_view text) {
  ServiceConfig c;
  std::string utf8 = DecodeText(text);
  if (utf8.rfind("\xEF\xBB\xBF", 0) == 0) utf8.erase(0, 3);  // a byte-order mark from an editor
  for (const std::string& raw : Split(ToLf(utf8), "\n")) {
    std::string_view line = TrimView(raw);
    if (line.empty() || line[0] == ';' || line[0] == '#' || line[0] == '[') continue;
    size_t eq = line.find('=');
    if (eq == std::string_view::npos) continue;
    std::string key = Trim(line.substr(0, eq));
    std::string value = Trim(line.substr(eq + 1));
    if (key == "feed_endpoint") c.feedEndpoint = value;
    else if (key == "settings_endpoint") c.settingsEndpoint = value;
    else if (key == "username") c.user = value;
    else if (key == "password") c.password = value;
    else if (key == "random_code") c.randomCode = value;
    else if (key == "ca_file") c.caFile = value;
    else if (key == "allow_plain_http") c.allowPlainHttp = value == "1" || value == "true" || value == "yes";
    else if (key == "password_store") c.passwordInKeyStore = value == "keyring";
    else if (key == "chat_classes") c.chat.ordinary = ClassList(value);
    else if (key == "chat_classes_new_style") c.chat.newStyle = ClassList(value);
  }
  return c;
}

ServiceConfig ReadServiceConfig(const std::filesystem::path& iniPath) {
  std::error_code ec;
  if (!std::filesystem::exists(iniPath, ec) && !ec) return ServiceConfig{};
  auto bytes = ReadWholeFileBytes(iniPath);
  // Settings text is UTF-8 or GBK and never holds a NUL: a file saved as UTF-16 ("Unicode") by an
  // editor, or anything binary, is not taken line by line for whatever happens to look like a key.
  const bool text = bytes && bytes->find('\0') == std::string::npos && (IsValidUtf8(*bytes) || IsValidGb18030(*bytes));
  if (!text) {
    ServiceConfig defaults;
    defaults.fault = "设置文件 " + PathToUtf8(iniPath) + (bytes ? " 不是可读的设置文本" : " 无法读取") +
                     "，本次使用默认设置（服务地址 " + kDefaultFeedEndpoint + "）。请修正或删除该文件。";
    return defaults;
  }
  ServiceConfig config = ParseServiceConfig(*bytes);
  if (!config.caFile.empty()) {
    std::filesystem::path ca = PathFromUtf8(config.caFile);
    if (ca.is_relative()) ca = iniPath.parent_path() / ca;
    config.caFile = PathToUtf8(ca);
    auto pem = ReadWholeFileBytes(ca);
    if (!pem || pem->find("-----BEGIN CERTIFICATE-----") == std::string::npos)
      config.fault = "lumora.ini 的 ca_file " + config.caFile + (pem ? " 不含 PEM 证书" : " 无法读取") +
                     "：用它签发证书的 https 服务将被拒绝。";
  }
  return config;
}

std::string PercentEncode(std::string_view value) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(value.size() * 3);
  for (char ch : value) {
    unsigned char c = static_cast<unsigned char>(ch);
    bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_' ||
                 c == '.' || c == '~';
    if (plain) {
      out += ch;
    } else {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 0xF];
    }
  }
  return out;
}

}  // namespace lumora
