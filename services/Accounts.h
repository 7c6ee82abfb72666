#pragma once
// The service's accounts: user names with Argon2id password hashes, one line each in a file only
// its owner can read (0600), and the guard that slows and then locks out repeated failed logins.
#include <chrono>
#include <filesystem>
#include <map>
#include <mutex>
#include <optional>
#include <string>

namespace lumora::feed {

class Accounts {
 public:
  // Whether this build can hash passwords (libsodium); without it there are no accounts.
  static bool Available();

  // Reads `file` when it exists; error() says why it could not.
  explicit Accounts(std::filesystem::path file);
  const std::string& error() const { return error_; }
  const std::filesystem::path& file() const { return file_; }
  bool empty() const;
  bool contains(const std::string& user) const;

  // Adds the user or gives it a new password, then rewrites the file; false with `error` when
  // the password is empty or the file cannot be written (nothing changes then).
  bool set(const std::string& user, const std::string& password, std::string& error);
  bool remove(const std::string& user, std::string& error);
  // An account held only in memory (not written).
  bool setInMemory(const std::string& user, const std::string& password, std::string& error);

  // Whether `password` is the user's. Deliberately slow (the hash's cost); a few at a time.
  bool verify(const std::string& user, const std::string& password) const;

 private:
  bool write(const std::map<std::string, std::string>& next, std::string& error);

  std::filesystem::path file_;
  std::string error_;
  mutable std::mutex mutex_;
  std::map<std::string, std::string> hashes_;
};

// Failed logins, counted per user name and per client address. The first kFreeUserFailures
// failures of a user (kFreeAddressFailures of an address) cost nothing more than the hash; each
// further one locks that user (address) out for twice as long as the one before: 1 s, 2 s, 4 s ...
// up to kLongestLock. A locked user or address is refused at once, unchecked, the right password
// too. Failures are forgotten kForgetAfter after the last one; a good login clears the user's.
class LoginGuard {
 public:
  using Clock = std::chrono::steady_clock;
  static constexpr int kFreeUserFailures = 3;
  static constexpr int kFreeAddressFailures = 10;
  static constexpr std::chrono::seconds kLongestLock{15 * 60};
  static constexpr std::chrono::seconds kForgetAfter{15 * 60};

  // Seconds until the user or the address may try again (rounded up), or nothing when it may now.
  std::optional<int> lockedFor(const std::string& user, const std::string& address, Clock::time_point now) const;
  void failed(const std::string& user, const std::string& address, Clock::time_point now);
  void succeeded(const std::string& user);

 private:
  struct Count {
    int failures = 0;
    Clock::time_point last;
    Clock::time_point lockedUntil;
  };
  void count(const std::string& key, int free, Clock::time_point now);

  mutable std::mutex mutex_;
  std::map<std::string, Count> counts_;  // "u:" + user, "a:" + address
};

}  // namespace lumora::feed
