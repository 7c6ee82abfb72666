#include "cli/SweepChecks.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <thread>

#include "analysis/ControlValues.h"
#include "cli/CliSupport.h"
#include "core/Text.h"

namespace lumora::cli {
namespace {

std::string Count(double n) {
  char buf[64];
  std::snprintf(buf, sizeof buf, n < 1e15 ? "%.0f" : "%.3g", n);
  return buf;
}

// "592800 s (6.9 days)"
std::string Duration(double seconds) {
  char buf[96];
  if (seconds < 120) std::snprintf(buf, sizeof buf, "%.0f s", seconds);
  else if (seconds < 7200) std::snprintf(buf, sizeof buf, "%.0f s (%.0f min)", seconds, seconds / 60);
  else if (seconds < 172800) std::snprintf(buf, sizeof buf, "%.0f s (%.1f h)", seconds, seconds / 3600);
  else if (seconds < 6.3e7) std::snprintf(buf, sizeof buf, "%.0f s (%.1f days)", seconds, seconds / 86400);
  else std::snprintf(buf, sizeof buf, "%.3g s (%.0f years)", seconds, seconds / 3.156e7);
  return buf;
}

double Seconds(const BacktestSettings& settings, const std::vector<DrawRecord>& draws) {
  AnsweringPrompter quiet;
  const auto began = std::chrono::steady_clock::now();
  RunBacktestOn(settings, draws, quiet);
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
}

}  // namespace

std::string CheckGridSize(const std::vector<SweepAxis>& axes, long long seeds, long long jobs,
                          const BacktestSettings& base, const std::vector<DrawRecord>& draws) {
  double combinations = 1;
  for (const SweepAxis& axis : axes) combinations *= static_cast<double>(axis.values.size());
  const double runs = combinations * static_cast<double>(seeds);
  const double judged = draws.size() > kWarmUpDraws ? static_cast<double>(draws.size() - kWarmUpDraws) : 0;
  const double work = runs * judged;
  if (combinations <= kMaxCombinations && runs <= kMaxRuns && work <= kMaxJudgedDraws) return {};

  // The time a judged draw takes here: the first combination over a few judged draws, less its
  // start-up.
  BacktestSettings first = base;
  for (const SweepAxis& axis : axes) first.controls.emplace_back(axis.name, axis.values.front());
  const size_t sample = std::min<size_t>(draws.size(), kWarmUpDraws + 40);
  const std::vector<DrawRecord> some(draws.begin(), draws.begin() + static_cast<std::ptrdiff_t>(sample));
  const double startUp = Seconds(first, {});
  const double perDraw =
      sample > kWarmUpDraws ? std::max(0.0, Seconds(first, some) - startUp) / static_cast<double>(sample - kWarmUpDraws)
                            : 0;
  const double threads =
      static_cast<double>(std::clamp<long long>(jobs, 1, std::max(1u, std::thread::hardware_concurrency())));
  const double estimate = (work * perDraw + runs * startUp) / threads;
  char rate[64];
  std::snprintf(rate, sizeof rate, "%.2f ms", perDraw * 1000);
  return "the grid is too large to run: " + Count(combinations) + " combinations x " +
         Count(static_cast<double>(seeds)) + (seeds == 1 ? " seed = " : " seeds = ") + Count(runs) + " runs over " +
         Count(judged) + " judged draws = " + Count(work) + " judged draws in all, about " + Duration(estimate) +
         " on " + Count(threads) + (threads == 1 ? " thread" : " threads") + " (" + rate +
         " a judged draw, timed here). The limits are " + Count(kMaxCombinations) + " combinations, " +
         Count(kMaxRuns) + " runs and " + Count(kMaxJudgedDraws) +
         " judged draws in all: sweep fewer values or seeds, or a shorter draw file";
}

}  // namespace lumora::cli
