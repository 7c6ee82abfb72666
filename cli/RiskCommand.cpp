// lumora-cli risk: the risk of ruin of a statistics scheme for the capital frame's capital and
// limits, a plan of k combinations and a number of draws.
#include <charconv>
#include <cmath>
#include <cstdio>
#include <string>

#include "cli/Backtest.h"
#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "cli/Help.h"
#include "core/Text.h"
#include "money/RiskOfRuin.h"

namespace lumora::cli {
namespace {

constexpr const char* kRiskUsage =
    "usage: lumora-cli risk --pool K [--stats flat|multiplier:SEQ|push-wave:N] [--odds N] [--periods D]\n"
    "                       [--capital X] [--stop-loss X] [--take-profit X] [--prize X]\n"
    "  --pool K         combinations bet each draw (1..1000; each draw hits with probability K/1000)\n"
    "  --stats SCHEME   money scheme of the statistics (default flat)\n"
    "  --odds N         prize of one winning combination at multiple 1, in units of the statistics (default 1940)\n"
    "  --periods D      draws to look ahead (1..100000, default 1000)\n"
    "  --capital X, --stop-loss X, --take-profit X, --prize X\n"
    "                   the capital frame's current capital, lower and upper limit and prize (default 130, 5,\n"
    "                   300, 19.4); the prize selects the unit stake that converts them into units\n"
    "Prints the probability of reaching the stop-loss before the take-profit within D draws, the expected\n"
    "longest run of misses and the expected loss (expected total staked x (1 - odds/2000)).";

// A decimal amount, the whole text and nothing else.
bool Decimal(const std::string& text, double& out) {
  const std::string t = Trim(text);
  if (t.empty()) return false;
  auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), out);
  return ec == std::errc() && end == t.data() + t.size() && std::isfinite(out);
}

bool Whole(const std::string& text, long long low, long long high, long long& out) {
  return WholeNumber(text, out) && out >= low && out <= high;
}

std::string Money(double units, double perMoney) { return FormatNumber(units / perMoney, 2); }

}  // namespace

std::string RiskUsage() { return kRiskUsage; }

int RunRisk(int argc, char** argv) {
  Args args(argc, argv, 0, {"--help"});
  if (!args.ok()) return Fail(args.error() + "\n" + kRiskUsage);
  if (args.has("--help")) {
    std::printf("%s\n", kRiskUsage);
    return 0;
  }
  for (const std::string& name : args.unknown(
           {"--pool", "--stats", "--odds", "--periods", "--capital", "--stop-loss", "--take-profit", "--prize"}))
    return Fail("unknown option " + name + "\n" + kRiskUsage);
  if (!args.has("--pool")) return Fail(std::string("--pool is required\n") + kRiskUsage);

  RiskQuestion q;
  std::string why;
  if (!ParseRiskScheme(args.get("--stats", "flat"), q.scheme, why)) return Fail("--stats: " + why);
  long long pool = 0, odds = 0, periods = 0;
  if (!Whole(args.get("--pool"), 1, 1000, pool))
    return Fail("--pool \"" + args.get("--pool") + "\" must be a whole number from 1 to 1000");
  if (!Whole(args.get("--odds", "1940"), 1, 1000000, odds))
    return Fail("--odds \"" + args.get("--odds") + "\" must be a whole number from 1 to 1000000");
  if (!Whole(args.get("--periods", "1000"), 1, kRiskMaxDraws, periods))
    return Fail("--periods \"" + args.get("--periods") + "\" must be a whole number from 1 to " +
                std::to_string(kRiskMaxDraws));
  q.poolSize = static_cast<int>(pool);
  q.scheme.odds = odds;
  q.draws = periods;

  // The capital frame keeps its figures in single precision; so does this.
  const char* const names[4] = {"--capital", "--stop-loss", "--take-profit", "--prize"};
  const char* const defaults[4] = {"130", "5", "300", "19.4"};
  double values[4];
  for (int i = 0; i < 4; ++i) {
    if (!Decimal(args.get(names[i], defaults[i]), values[i]) || std::abs(values[i]) > 1e12)
      return Fail(std::string(names[i]) + " \"" + args.get(names[i]) + "\" must be an amount (a decimal number)");
  }
  FundSettings fund{static_cast<float>(values[0]), static_cast<float>(values[0]), static_cast<float>(values[3]),
                    static_cast<float>(values[1]), static_cast<float>(values[2])};
  if (!RiskMoneyFromFund(fund, q)) return Fail("the capital or a limit is too large");
  const double perMoney = RiskUnitsPerMoney(fund);

  const RiskAnswer a = ComputeRisk(q);
  if (!a.error.empty()) return Fail(a.error);
  std::printf("risk of ruin: %s%.6f  (stop-loss %s reached before take-profit %s within %lld draws)\n",
              a.ruinIsBound ? "at most " : "", a.ruin, Money(static_cast<double>(q.stopLoss), perMoney).c_str(),
              Money(static_cast<double>(q.takeProfit), perMoney).c_str(), periods);
  std::printf("take-profit first: %.6f  still betting after %lld draws: %.6f\n", a.profitTaken, periods,
              std::max(0.0, 1 - a.ruin - a.profitTaken));
  std::printf("expected longest miss run: %.3f draws\n", a.longestMissRun);
  std::printf("expected loss: %s%s  (expected staked %s x house edge %.2f%%)\n", a.stakedIsBound ? "at most " : "",
              Money(a.expectedLoss, perMoney).c_str(), Money(a.staked, perMoney).c_str(), a.houseEdge * 100);
  if (a.ruinIsBound)
    std::printf("note: %lld states were too many; capital counted in steps of %lld units, rounded down\n",
                static_cast<long long>(q.maxStates), static_cast<long long>(a.grid));
  return 0;
}

}  // namespace lumora::cli
