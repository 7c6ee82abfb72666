#include "services/DrawSource.h"

#include <algorithm>
#include <cmath>

#include "core/Files.h"
#include "core/Text.h"

namespace lumora::feed {

DrawSource::DrawSource(uint64_t seed, double intervalSeconds, int backlog)
    : interval_(intervalSeconds), initial_(std::max(backlog, kServedDraws)), rng_(seed) {
  generateUpTo(initial_);
}

DrawSource::DrawSource(std::vector<Draw> fileDraws, double intervalSeconds)
    : interval_(intervalSeconds), fromFile_(true), draws_(std::move(fileDraws)) {
  initial_ = std::min<int64_t>(kServedDraws, static_cast<int64_t>(draws_.size()));
}

int64_t DrawSource::visibleAt(Clock::time_point now) const {
  int64_t ticks = 0;
  if (interval_ > 0 && now > start_) {
    double elapsed = std::chrono::duration<double>(now - start_).count();
    ticks = static_cast<int64_t>(std::floor(elapsed / interval_));
  }
  int64_t n = initial_ + ticks;
  if (fromFile_) n = std::min<int64_t>(n, static_cast<int64_t>(draws_.size()));
  return n;
}

void DrawSource::generateUpTo(int64_t n) {
  std::uniform_int_distribution<int> digit(0, 9);
  while (static_cast<int64_t>(draws_.size()) < n) {
    int64_t index = static_cast<int64_t>(draws_.size());
    Draw d;
    d.period = Pad(index % kPeriodsPerDay + 1, 3);
    for (int i = 0; i < 5; ++i) d.digits.push_back(static_cast<char>('0' + digit(rng_)));
    draws_.push_back(std::move(d));
  }
}

int64_t DrawSource::count(Clock::time_point now) {
  std::lock_guard lock(mutex_);
  return visibleAt(now);
}

std::vector<Draw> DrawSource::latest(Clock::time_point now) {
  std::lock_guard lock(mutex_);
  int64_t n = visibleAt(now);
  if (!fromFile_) generateUpTo(n);
  int64_t first = std::max<int64_t>(0, n - kServedDraws);
  return std::vector<Draw>(draws_.begin() + first, draws_.begin() + n);
}

std::optional<std::vector<Draw>> ReadDraws(const std::string& path, std::string& error) {
  auto text = ReadTextFile(PathFromUtf8(path));
  if (!text) {
    error = "cannot read draw file " + path;
    return std::nullopt;
  }
  std::vector<Draw> draws;
  int lineNo = 0;
  for (const std::string& raw : SplitCrLf(ToCrLf(*text))) {
    ++lineNo;
    std::string line = Trim(raw);
    if (line.empty()) continue;
    Draw d;
    if (line.size() >= 8) d = Draw{line.substr(0, 3), line.substr(line.size() - 5)};
    if (line.size() < 8 || !IsDigits(d.digits)) {
      error = path + ":" + std::to_string(lineNo) + ": not a draw line (want e.g. 023-12345): " + line;
      return std::nullopt;
    }
    draws.push_back(std::move(d));
  }
  if (draws.empty()) {
    error = path + ": no draws";
    return std::nullopt;
  }
  return draws;
}

}  // namespace lumora::feed
