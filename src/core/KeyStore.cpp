#include "core/KeyStore.h"

#include "core/Files.h"
#include "core/Text.h"

namespace lumora {

std::string PasswordKey(const ServiceConfig& config) { return "lumora service password: " + config.user; }

std::string BlankPasswordLine(const std::string& ini) {
  // Byte-wise: the keys are ASCII and no GBK byte pair holds '=' or a line break.
  std::string out;
  size_t start = 0;
  while (start < ini.size()) {
    size_t end = ini.find('\n', start);
    end = end == std::string::npos ? ini.size() : end + 1;
    std::string_view line(ini.data() + start, end - start);
    size_t eq = line.find('=');
    if (eq != std::string_view::npos && TrimView(line.substr(0, eq)) == "password") {
      size_t eol = line.find_first_of("\r\n");
      out.append(line.substr(0, eq + 1));
      if (eol != std::string_view::npos) out.append(line.substr(eol));
    } else {
      out.append(line);
    }
    start = end;
  }
  return out;
}

std::string TakePasswordFromKeyStore(ServiceConfig& config, const std::filesystem::path& iniPath, KeyStore* store) {
  if (!config.passwordInKeyStore) return {};
  if (!store)
    return "lumora.ini 要求从系统密钥库读取密码，但本程序在此系统上没有可用的密钥库：仍使用 lumora.ini 中的密码。";
  const std::string key = PasswordKey(config);
  std::string error;
  if (!config.password.empty()) {
    if (!store->write(key, config.password, error))
      return "无法把密码存入系统密钥库（" + error + "）：密码仍保存在 lumora.ini 中。";
    auto bytes = ReadWholeFileBytes(iniPath);
    if (!bytes || !WriteFileAtomic(iniPath, BlankPasswordLine(*bytes)))
      return "密码已存入系统密钥库，但无法从 " + PathToUtf8(iniPath) + " 中删除它：请手动清空 password= 一行。";
    return "密码已移入系统密钥库，并已从 lumora.ini 中删除。";
  }
  std::optional<std::string> secret = store->read(key, error);
  if (secret) {
    config.password = *secret;
    return {};
  }
  if (!error.empty()) return "无法从系统密钥库读取密码（" + error + "）：本次请求不带密码。";
  return "系统密钥库中没有用户 " + config.user +
         " 的密码：请在 lumora.ini 中写一次 password=，下次启动时它会被移入密钥库。";
}

}  // namespace lumora
