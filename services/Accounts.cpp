#include "services/Accounts.h"

#include <algorithm>
#include <condition_variable>
#include <system_error>

#ifdef LUMORA_FEED_ACCOUNTS
#include <sodium.h>
#endif

#include "core/Files.h"
#include "core/Text.h"
#include "services/UserLines.h"

namespace lumora::feed {

namespace fs = std::filesystem;

namespace {

#ifdef LUMORA_FEED_ACCOUNTS
// Argon2id with 19 MiB and two passes: a check costs about a tenth of a second of one core, so a
// client fetching every 25 s costs little while a guesser gets a few tries a second at most. Two
// checks at a time at most, whatever the number of requests.
constexpr unsigned long long kHashPasses = 2;
constexpr size_t kHashMemory = 19u * 1024 * 1024;
class HashSlots {
 public:
  void take() {
    std::unique_lock lock(mutex_);
    free_.wait(lock, [&] { return used_ < 2; });
    ++used_;
  }
  void give() {
    std::lock_guard lock(mutex_);
    --used_;
    free_.notify_one();
  }

 private:
  std::mutex mutex_;
  std::condition_variable free_;
  int used_ = 0;
};
HashSlots gSlots;

std::optional<std::string> Hash(const std::string& password) {
  if (sodium_init() < 0) return std::nullopt;
  char out[crypto_pwhash_STRBYTES];
  gSlots.take();
  int r = crypto_pwhash_str_alg(out, password.data(), password.size(), kHashPasses, kHashMemory,
                                crypto_pwhash_ALG_ARGON2ID13);
  gSlots.give();
  if (r != 0) return std::nullopt;
  return std::string(out);
}
#endif

}  // namespace

bool Accounts::Available() {
#ifdef LUMORA_FEED_ACCOUNTS
  return sodium_init() >= 0;
#else
  return false;
#endif
}

Accounts::Accounts(fs::path file) : file_(std::move(file)) {
  UserLines read = ReadUserLines(file_, /*escapedValues=*/false, [](const std::string& user, const std::string& hash) {
    return !user.empty() && hash.starts_with("$argon2id$");
  });
  if (!read.unreadable.empty()) error_ = read.unreadable;
  else if (read.badLine) error_ = PathToUtf8(file_) + ":" + std::to_string(read.badLine) + ": not an account line";
  hashes_ = std::move(read.entries);
}

bool Accounts::empty() const {
  std::lock_guard lock(mutex_);
  return hashes_.empty();
}

bool Accounts::contains(const std::string& user) const {
  std::lock_guard lock(mutex_);
  return hashes_.count(user) > 0;
}

bool Accounts::write(const std::map<std::string, std::string>& next, std::string& error) {
  std::error_code ec;
  if (!file_.parent_path().empty() && fs::create_directories(file_.parent_path(), ec))
    fs::permissions(file_.parent_path(), fs::perms::owner_all, fs::perm_options::replace, ec);
  if (!WriteUserLines(file_, next, /*escapedValues=*/false)) {
    error = "cannot write " + PathToUtf8(file_);
    return false;
  }
  return true;
}

bool Accounts::setInMemory(const std::string& user, const std::string& password, std::string& error) {
#ifdef LUMORA_FEED_ACCOUNTS
  if (user.empty() || password.empty()) {
    error = "an account needs a user name and a password";
    return false;
  }
  auto hash = Hash(password);
  if (!hash) {
    error = "cannot hash the password (out of memory?)";
    return false;
  }
  std::lock_guard lock(mutex_);
  hashes_[user] = *hash;
  return true;
#else
  (void)user;
  (void)password;
  error = "this lumora-feed is built without accounts (libsodium)";
  return false;
#endif
}

bool Accounts::set(const std::string& user, const std::string& password, std::string& error) {
  std::map<std::string, std::string> before;
  {
    std::lock_guard lock(mutex_);
    before = hashes_;
  }
  if (!setInMemory(user, password, error)) return false;
  std::lock_guard lock(mutex_);
  if (write(hashes_, error)) return true;
  hashes_ = std::move(before);
  return false;
}

bool Accounts::remove(const std::string& user, std::string& error) {
  std::lock_guard lock(mutex_);
  if (!hashes_.count(user)) {
    error = "no account " + user + " in " + PathToUtf8(file_);
    return false;
  }
  auto next = hashes_;
  next.erase(user);
  if (!write(next, error)) return false;
  hashes_ = std::move(next);
  return true;
}

bool Accounts::verify(const std::string& user, const std::string& password) const {
#ifdef LUMORA_FEED_ACCOUNTS
  std::string hash;
  {
    std::lock_guard lock(mutex_);
    auto it = hashes_.find(user);
    if (it != hashes_.end()) hash = it->second;
  }
  // An unknown name costs the same time as a wrong password, so answers do not tell names apart.
  static const std::string unknown = Hash("not an account").value_or(std::string());
  if (hash.empty()) {
    if (unknown.empty()) return false;
    gSlots.take();
    [[maybe_unused]] bool same = crypto_pwhash_str_verify(unknown.c_str(), password.data(), password.size()) == 0;
    gSlots.give();
    return false;
  }
  gSlots.take();
  bool ok = crypto_pwhash_str_verify(hash.c_str(), password.data(), password.size()) == 0;
  gSlots.give();
  return ok;
#else
  (void)user;
  (void)password;
  return false;
#endif
}

// --- LoginGuard -----------------------------------------------------------------------------

std::optional<int> LoginGuard::lockedFor(const std::string& user, const std::string& address,
                                         Clock::time_point now) const {
  std::lock_guard lock(mutex_);
  Clock::duration longest{};
  for (const std::string& key : {"u:" + user, "a:" + address}) {
    auto it = counts_.find(key);
    if (it != counts_.end() && it->second.lockedUntil > now) longest = std::max(longest, it->second.lockedUntil - now);
  }
  if (longest == Clock::duration{}) return std::nullopt;
  return static_cast<int>(std::chrono::ceil<std::chrono::seconds>(longest).count());
}

void LoginGuard::count(const std::string& key, int free, Clock::time_point now) {
  Count& c = counts_[key];
  if (c.failures > 0 && now - c.last > kForgetAfter) c = Count{};
  ++c.failures;
  c.last = now;
  if (c.failures > free) {
    int doublings = std::min(c.failures - free - 1, 20);
    auto lock = std::min<std::chrono::seconds>(std::chrono::seconds(1LL << doublings), kLongestLock);
    c.lockedUntil = now + lock;
  }
}

void LoginGuard::failed(const std::string& user, const std::string& address, Clock::time_point now) {
  std::lock_guard lock(mutex_);
  // Bounded however many names and addresses try: forgotten counts go first.
  if (counts_.size() > 100000) {
    for (auto it = counts_.begin(); it != counts_.end();)
      it = now - it->second.last > kForgetAfter ? counts_.erase(it) : std::next(it);
  }
  count("u:" + user, kFreeUserFailures, now);
  count("a:" + address, kFreeAddressFailures, now);
}

void LoginGuard::succeeded(const std::string& user) {
  std::lock_guard lock(mutex_);
  counts_.erase("u:" + user);
}

}  // namespace lumora::feed
