#include "money/RiskOfRuin.h"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "core/Text.h"
#include "money/Fund.h"
#include "money/FundTexts.h"

namespace lumora {
namespace {

// Amounts up to 2^53 are counted exactly in a double as well.
constexpr int64_t kCountable = int64_t{1} << 53;

bool Countable(int64_t v) { return v > -kCountable && v < kCountable; }

int64_t FloorDiv(int64_t a, int64_t b) {
  int64_t d = a / b;
  return (a % b != 0 && ((a < 0) != (b < 0))) ? d - 1 : d;
}
int64_t CeilDiv(int64_t a, int64_t b) { return -FloorDiv(-a, b); }

// Expected staked over `draws` draws when betting never stops: the progression alone.
double UnstoppedStake(const std::vector<RiskStep>& steps, double p, int64_t draws) {
  std::vector<double> at(steps.size(), 0.0), next(steps.size());
  at[0] = 1;
  double staked = 0;
  for (int64_t d = 0; d < draws; ++d) {
    std::fill(next.begin(), next.end(), 0.0);
    for (size_t s = 0; s < steps.size(); ++s) {
      staked += at[s] * static_cast<double>(steps[s].stake);
      next[static_cast<size_t>(steps[s].nextOnHit)] += at[s] * p;
      next[static_cast<size_t>(steps[s].nextOnMiss)] += at[s] * (1 - p);
    }
    at.swap(next);
  }
  return staked;
}

}  // namespace

RiskScheme RiskSchemeFromStats(const PlanStats& st) {
  RiskScheme s;
  s.mode = st.betMode;
  s.multiples.assign(st.multiples.begin(), st.multiples.end());
  s.pushPeriods = st.pushPeriods;
  s.odds = st.odds;
  return s;
}

bool ParseRiskScheme(std::string_view text, RiskScheme& scheme, std::string& why) {
  auto whole = [](std::string_view t, int64_t& out) {
    if (t.empty() || t.size() > 15 || !IsDigits(t)) return false;
    out = 0;
    for (char c : t) out = out * 10 + (c - '0');
    return true;
  };
  const std::string_view t = TrimView(text);
  if (t == "flat") {
    scheme.mode = kStatsFlat;
    return true;
  }
  if (t.rfind("multiplier:", 0) == 0) {
    scheme.mode = kStatsMultiplier;
    scheme.multiples.clear();
    for (const std::string& item : Split(t.substr(11), "-")) {
      int64_t m = 0;
      if (!whole(item, m)) {
        why = "the multiple \"" + item + "\" in \"" + std::string(t) + "\" is not a whole number";
        return false;
      }
      scheme.multiples.push_back(m);
    }
    return true;
  }
  if (t.rfind("push-wave:", 0) == 0) {
    int64_t n = 0;
    if (!whole(t.substr(10), n) || n < 2 || n > 1000) {
      why = "the push-wave periods \"" + std::string(t.substr(10)) + "\" must be a whole number from 2 to 1000";
      return false;
    }
    scheme.mode = kStatsPushWave;
    scheme.pushPeriods = static_cast<int32_t>(n);
    return true;
  }
  why = "the scheme \"" + std::string(t) + "\" is not flat, multiplier:SEQ or push-wave:N";
  return false;
}

std::vector<RiskStep> RiskSteps(const RiskScheme& scheme, int poolSize) {
  const int64_t z = poolSize;
  const int64_t odds = scheme.odds;
  if (z < 0 || odds < 0 || !Countable(odds) || !Countable(2 * z)) return {};
  std::vector<RiskStep> steps;
  if (scheme.mode == kStatsMultiplier) {
    // The statistics read a missing multiple as 1; a miss past the last one starts over.
    const size_t n = std::max<size_t>(1, scheme.multiples.size());
    for (size_t i = 0; i < n; ++i) {
      const int64_t m = i < scheme.multiples.size() ? scheme.multiples[i] : 1;
      if (m < 0 || m > kCountable / 2 / std::max<int64_t>(1, std::max(odds, 2 * z))) return {};
      RiskStep st;
      st.stake = 2 * z * m;
      st.onHit = m * odds - st.stake;
      st.onMiss = -st.stake;
      st.nextOnHit = 0;
      st.nextOnMiss = i + 1 < scheme.multiples.size() ? static_cast<int>(i + 1) : 0;
      steps.push_back(st);
    }
  } else if (scheme.mode == kStatsPushWave) {
    // The whole win is staked again: the multiple after a hit is the win over the pool's price,
    // to three decimals, kept in single precision as the statistics keep it.
    const int periods = std::max(1, scheme.pushPeriods);
    if (periods > 1000000) return {};
    float w = 1;
    for (int i = 0; i < periods; ++i) {
      const double stake = static_cast<double>(w) * 2.0 * static_cast<double>(z);
      const double win = static_cast<double>(w) * static_cast<double>(odds);
      if (!(stake < static_cast<double>(kCountable) / 2 && win < static_cast<double>(kCountable) / 2)) return {};
      RiskStep st;
      st.stake = RoundHalfEven(stake);
      st.onHit = RoundHalfEven(win - stake);
      st.onMiss = -st.stake;
      st.nextOnHit = i + 2 > periods ? 0 : i + 1;
      st.nextOnMiss = 0;
      steps.push_back(st);
      if (z == 0) break;  // an empty plan books nothing and the wave never grows
      w = static_cast<float>(RoundQuotientTo(RoundHalfEven(win), 2 * z, 3));
    }
    for (RiskStep& st : steps) st.nextOnHit = std::min<int>(st.nextOnHit, static_cast<int>(steps.size()) - 1);
  } else {
    RiskStep st;
    st.stake = 2 * z;
    st.onHit = odds - st.stake;
    st.onMiss = -st.stake;
    steps.push_back(st);
  }
  return steps;
}

double ExpectedLongestMissRun(double p, int64_t draws) {
  if (draws <= 0) return 0;
  if (!(p > 0)) return static_cast<double>(draws);
  if (p >= 1) return 0;
  const double miss = 1 - p;
  // E[longest] = sum over r >= 1 of P(a run of r misses within the draws). With B(n) that
  // probability for the first n draws: B(r) = miss^r, and a first run of r completed at draw
  // n > r needs a hit at n - r, r misses after it and no run before: B(n) = B(n-1) + p miss^r
  // (1 - B(n-r-1)), B = 0 below r. Summed without cancellation.
  const size_t n = static_cast<size_t>(draws);
  std::vector<double> b(n + 1, 0.0);
  double sum = 0;
  for (size_t r = 1; r <= n; ++r) {
    const double run = std::pow(miss, static_cast<double>(r));
    if (run == 0) break;
    std::fill(b.begin(), b.begin() + static_cast<std::ptrdiff_t>(r), 0.0);
    b[r] = run;
    for (size_t k = r + 1; k <= n; ++k) b[k] = b[k - 1] + p * run * (1 - (k >= r + 1 ? b[k - r - 1] : 0.0));
    const double tail = std::min(1.0, b[n]);
    sum += tail;
    // Each later term is at most this one: stop once they cannot move the sum.
    if (tail * static_cast<double>(n - r) < 1e-16 * sum) break;
  }
  return sum;
}

RiskAnswer ComputeRisk(const RiskQuestion& q) {
  RiskAnswer a;
  if (q.poolSize < 1 || q.poolSize > 1000) {
    a.error = "the pool size must be 1 to 1000 combinations, not " + std::to_string(q.poolSize);
    return a;
  }
  if (q.draws < 1 || q.draws > kRiskMaxDraws) {
    a.error = "the number of draws must be 1 to " + std::to_string(kRiskMaxDraws) + ", not " + std::to_string(q.draws);
    return a;
  }
  const std::vector<RiskStep> steps = RiskSteps(q.scheme, q.poolSize);
  if (steps.empty()) {
    a.error = "a stake or prize of this scheme is too large to count exactly";
    return a;
  }
  if (!Countable(q.capital) || !Countable(q.stopLoss) || !Countable(q.takeProfit)) {
    a.error = "the capital and its limits must lie within +-2^53 units";
    return a;
  }
  const double p = q.poolSize / 1000.0;
  a.houseEdge = 1 - static_cast<double>(q.scheme.odds) / 2000.0;
  a.longestMissRun = ExpectedLongestMissRun(p, q.draws);
  // Betting only runs while stop-loss < capital < take-profit.
  if (q.capital <= q.stopLoss) {
    a.ruin = 1;
    return a;
  }
  if (q.capital >= q.takeProfit) {
    a.profitTaken = 1;
    return a;
  }

  int64_t g = 0;
  for (const RiskStep& st : steps) g = std::gcd(g, std::gcd(std::abs(st.onHit), std::abs(st.onMiss)));
  const int64_t positions = static_cast<int64_t>(steps.size());
  if (g == 0) {
    // Nothing ever moves the capital: no stake, no win.
    a.states = positions;
    return a;
  }
  // Capital = q.capital + grid * j; state j lives while stopLoss < capital < takeProfit.
  auto lowIndex = [&](int64_t grid) { return FloorDiv(q.stopLoss - q.capital, grid) + 1; };
  auto highIndex = [&](int64_t grid) { return CeilDiv(q.takeProfit - q.capital, grid) - 1; };
  const int64_t limit = std::max<int64_t>(1, std::min(q.maxStates, kRiskMaxWork / q.draws));
  if (positions > limit) {
    a.error = "the scheme has too many steps (" + std::to_string(positions) + ") to follow";
    return a;
  }
  int64_t grid = g;
  {
    const int64_t width = highIndex(g) - lowIndex(g) + 1;
    if (width > limit / positions) {
      // Coarser grid, a multiple of g; each change is rounded down onto it (see RiskAnswer).
      const int64_t factor = CeilDiv(width, limit / positions);
      grid = g * factor;
      while (highIndex(grid) - lowIndex(grid) + 1 > limit / positions) grid += g;
    }
  }
  a.grid = grid;
  a.ruinIsBound = a.stakedIsBound = grid != g;
  const int64_t lo = lowIndex(grid);
  const size_t width = static_cast<size_t>(highIndex(grid) - lo + 1);
  a.states = positions * static_cast<int64_t>(width);

  struct Move {
    int64_t hit, miss;
  };
  std::vector<Move> moves;
  for (const RiskStep& st : steps) moves.push_back({FloorDiv(st.onHit, grid), FloorDiv(st.onMiss, grid)});

  // Probability of each (position, capital) state, with the range of capitals each position holds.
  std::vector<double> cur(steps.size() * width, 0.0), next(cur.size(), 0.0);
  std::vector<int64_t> curLo(steps.size(), INT64_MAX), curHi(steps.size(), -1);
  std::vector<int64_t> nextLo = curLo, nextHi = curHi;
  const int64_t start = -lo;
  cur[static_cast<size_t>(start)] = 1;
  curLo[0] = curHi[0] = start;
  const double miss = 1 - p;
  double staked = 0;
  const int64_t w = static_cast<int64_t>(width);
  auto land = [&](size_t pos, int64_t at, double pr) {
    if (at < 0) {
      a.ruin += pr;
    } else if (at >= w) {
      a.profitTaken += pr;
    } else {
      next[pos * width + static_cast<size_t>(at)] += pr;
      nextLo[pos] = std::min(nextLo[pos], at);
      nextHi[pos] = std::max(nextHi[pos], at);
    }
  };
  for (int64_t d = 0; d < q.draws; ++d) {
    double alive = 0;
    for (size_t s = 0; s < steps.size(); ++s) {
      if (curHi[s] < curLo[s]) continue;
      double* row = &cur[s * width];
      double mass = 0;
      for (int64_t j = curLo[s]; j <= curHi[s]; ++j) {
        const double pr = row[j];
        if (pr == 0) continue;
        row[j] = 0;
        mass += pr;
        if (p > 0) land(static_cast<size_t>(steps[s].nextOnHit), j + moves[s].hit, pr * p);
        if (miss > 0) land(static_cast<size_t>(steps[s].nextOnMiss), j + moves[s].miss, pr * miss);
      }
      staked += mass * static_cast<double>(steps[s].stake);
      alive += mass;
    }
    cur.swap(next);
    curLo.swap(nextLo);
    curHi.swap(nextHi);
    std::fill(nextLo.begin(), nextLo.end(), INT64_MAX);
    std::fill(nextHi.begin(), nextHi.end(), -1);
    // What is still betting can no longer move any figure.
    if (alive < 1e-20) break;
  }
  a.staked = a.stakedIsBound ? UnstoppedStake(steps, p, q.draws) : staked;
  a.expectedLoss = a.staked * a.houseEdge;
  return a;
}

double RiskUnitsPerMoney(const FundSettings& fund) {
  double unit = 0.02;
  if (!UnitStakeFor(fund.prize, unit)) unit = 0.02;
  return 2.0 / unit;
}

bool RiskMoneyFromFund(const FundSettings& fund, RiskQuestion& q) {
  const double perMoney = RiskUnitsPerMoney(fund);
  const float values[3] = {fund.current, fund.lower, fund.upper};
  int64_t* out[3] = {&q.capital, &q.stopLoss, &q.takeProfit};
  for (int i = 0; i < 3; ++i) {
    const double units = static_cast<double>(values[i]) * perMoney;
    if (!std::isfinite(units) || std::abs(units) >= static_cast<double>(kCountable)) return false;
    *out[i] = RoundHalfEven(units);
  }
  return true;
}

std::string RiskOfRuinText(const RiskQuestion& q, const RiskAnswer& a, double unitsPerMoney) {
  auto percent = [](double v) { return FormatNumber(v * 100, 2) + "%"; };
  auto money = [&](double units) { return FormatNumber(units / unitsPerMoney, 2); };
  const std::string upTo = "\xE2\x89\xA4";  // "≤": a bound, never less than the true figure
  std::string text = std::string(fund_texts::kRiskTitle) + "（" + std::to_string(q.draws) + "期，每期" +
                     std::to_string(q.poolSize) + "注）：先到资金下限 " + (a.ruinIsBound ? upTo : "") +
                     percent(a.ruin) + "，先到资金上限 " + percent(a.profitTaken) + "\n";
  text += "最长连挂期望 " + FormatNumber(a.longestMissRun, 1) + " 期；预计亏损 " + (a.stakedIsBound ? upTo : "") +
          money(a.expectedLoss) + "（投注 " + money(a.staked) + " × " + percent(a.houseEdge) + "）";
  return text;
}

void ShowRiskOfRuin(Context& cx, MoneyState& money, const PlanStats& st) {
  namespace T = fund_texts;
  FundSettings fund;
  fund.current = ToSingle(cx.form.value(T::kCapital[1]));
  fund.prize = ToSingle(cx.form.value(T::kCapital[2]));
  fund.lower = ToSingle(cx.form.value(T::kCapital[3]));
  fund.upper = ToSingle(cx.form.value(T::kCapital[4]));
  RiskQuestion q;
  q.scheme = RiskSchemeFromStats(st);
  q.poolSize = cx.form.value(T::kPlanPoolCount);
  q.draws = kShownRiskDraws;
  // Kept small enough to work out between two ticks; beyond it the label shows a bound.
  q.maxStates = 1 << 18;
  std::string inputs = SingleText(fund.current) + "/" + SingleText(fund.prize) + "/" + SingleText(fund.lower) + "/" +
                       SingleText(fund.upper) + "/" + std::to_string(q.poolSize) + "/" + StatsSchemeName(st) + "/" +
                       std::to_string(st.odds) + "/" + std::to_string(st.pushPeriods);
  if (inputs == money.riskInputs) return;
  money.riskInputs = std::move(inputs);
  std::string text;
  if (q.poolSize < 1 || q.poolSize > 1000) {
    text = std::string(T::kRiskTitle) + "：" + std::string(T::kRiskNoPlan);
  } else if (!RiskMoneyFromFund(fund, q)) {
    text = std::string(T::kRiskTitle) + "：" + std::string(T::kRiskFailed);
  } else {
    const RiskAnswer a = ComputeRisk(q);
    text = a.error.empty() ? RiskOfRuinText(q, a, RiskUnitsPerMoney(fund))
                           : std::string(T::kRiskTitle) + "：" + std::string(T::kRiskFailed) + "（" + a.error + "）";
  }
  cx.form.setText(T::kRiskLabel, text);
}

void StartRiskOfRuin(Context& cx, MoneyState& money, const PlanStats& st) {
  cx.form.setTimer(fund_texts::kRiskTimer, true, 1000);
  money.riskInputs.clear();
  ShowRiskOfRuin(cx, money, st);
}

}  // namespace lumora
