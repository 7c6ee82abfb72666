#pragma once
// The system's key store (Secret Service on Linux, the Credential Manager on Windows) as a port:
// with `password_store=keyring` in lumora.ini the service password lives there, not in the file.
#include <filesystem>
#include <optional>
#include <string>

#include "core/ServiceConfig.h"

namespace lumora {

class KeyStore {
 public:
  virtual ~KeyStore() = default;
  // The secret kept under `key`; nothing when there is none or the store cannot be reached
  // (`error` then says why, empty when there simply is none).
  virtual std::optional<std::string> read(const std::string& key, std::string& error) = 0;
  virtual bool write(const std::string& key, const std::string& secret, std::string& error) = 0;
};

// The key the password is kept under: one per user name.
std::string PasswordKey(const ServiceConfig& config);

// Takes the password from the key store when lumora.ini asks for it. A password still written in
// lumora.ini is moved into the store first and blanked in the file (the file keeps everything
// else byte for byte). Returns what the player is to be told (empty when there is nothing to say);
// when the store cannot be used the password stays as lumora.ini had it.
std::string TakePasswordFromKeyStore(ServiceConfig& config, const std::filesystem::path& iniPath, KeyStore* store);

// `ini` with the value of its password= line(s) removed.
std::string BlankPasswordLine(const std::string& ini);

}  // namespace lumora
