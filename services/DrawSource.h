#pragma once
// The draws the feed serves: generated (five uniform random digits, periods 001..120 per day) or
// read from a file and revealed one by one. A new draw appears every `interval` seconds after start.
#include <chrono>
#include <cstdint>
#include <mutex>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace lumora::feed {

struct Draw {
  std::string period;  // "001".."120"
  std::string digits;  // five decimal digits
  std::string line() const { return period + "-" + digits; }
};

inline constexpr int kServedDraws = 150;  // draws in every answer
inline constexpr int kPeriodsPerDay = 120;

class DrawSource {
 public:
  using Clock = std::chrono::steady_clock;

  // Generated draws: `backlog` draws exist at start (at least kServedDraws).
  DrawSource(uint64_t seed, double intervalSeconds, int backlog = kServedDraws);
  // Draws of a file: the first kServedDraws (or all, when fewer) exist at start; one more each interval.
  DrawSource(std::vector<Draw> fileDraws, double intervalSeconds);

  // The latest draws, oldest first (kServedDraws of them once that many exist).
  std::vector<Draw> latest(Clock::time_point now = Clock::now());
  // How many draws exist at `now`.
  int64_t count(Clock::time_point now = Clock::now());

 private:
  int64_t visibleAt(Clock::time_point now) const;
  void generateUpTo(int64_t n);

  std::mutex mutex_;
  Clock::time_point start_ = Clock::now();
  double interval_;  // seconds; 0 = no new draws
  int64_t initial_;  // draws at start
  bool fromFile_ = false;
  std::mt19937_64 rng_;
  std::vector<Draw> draws_;
};

// Reads a draw file: one draw a line, the first three characters the period and the last five the
// digits (023-12345), oldest first; LF or CR LF; blank lines skipped. Fills `error` on a bad file.
std::optional<std::vector<Draw>> ReadDraws(const std::string& path, std::string& error);

}  // namespace lumora::feed
