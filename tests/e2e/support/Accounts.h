#pragma once
// Accounts for the services under test, made the way an operator makes them: lumora-feed
// --add-user with the password in a file.
#include <fstream>
#include <stdexcept>
#include <string>

#include "e2e/support/Process.h"

namespace lumora::e2e {

// A file (in a folder of its own) holding `password`, for --password-file.
inline std::filesystem::path PasswordFile(const std::string& password) {
  auto file = FreshTempDir() / "password";
  std::ofstream(file, std::ios::binary) << password << "\n";
  return file;
}

// Adds `user` with `password` to the accounts of the service state folder `state`.
inline void AddAccount(const std::filesystem::path& state, const std::string& user, const std::string& password) {
  auto r = RunProgram(BinDir() / "lumora-feed", {"--add-user", user, "--state", state.string(), "--password-file",
                                                 PasswordFile(password).string()});
  if (r.exitCode != 0) throw std::runtime_error("lumora-feed --add-user failed: " + r.err);
}

}  // namespace lumora::e2e
