// lumora-cli sweep: the backtest for every combination of named settings and K seeds, on N
// threads, with what chance gives each combination. Results do not depend on --jobs: every run
// has its own session and seed, and the rows are printed in combination order.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "cli/Backtest.h"
#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "cli/Report.h"
#include "core/Files.h"
#include "core/Text.h"

namespace lumora::cli {
namespace {

constexpr const char* kSweepUsage =
    "usage: lumora-cli sweep --draws FILE --set NAME=V1,V2,... [--set ...] [--seeds K] [--jobs N] [--csv FILE]\n"
    "                        [--report FILE.svg] [--curves FILE] [--scheme FILE] [--start 1|2|3]";

struct Axis {
  std::string name;
  std::vector<std::string> values;
};

// Notices of a run nobody answers: kept, the first few shown at the end.
class QuietPrompter final : public AnsweringPrompter {
 public:
  void inform(const std::string& text, const std::string& title) override {
    if (notices.size() < 4 && std::find(notices.begin(), notices.end(), "[" + title + "] " + text) == notices.end())
      notices.push_back("[" + title + "] " + text);
  }
  std::vector<std::string> notices;
};

struct Job {
  size_t combination = 0;
  uint64_t seed = 0;
  BacktestOutcome outcome;
  std::vector<std::string> notices;
};

struct Row {
  std::string label;  // NAME=V, ...
  std::vector<std::string> values;
  ChanceSummary chance;
  double holm = 1;
  int64_t profit = 0, turnover = 0, drawdown = 0, missRun = 0;
  double poolSum = 0;
};

std::string Fixed(double v, int decimals) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.*f", decimals, v);
  return buf;
}

// p-values small enough to need an exponent keep three significant digits.
std::string PText(double p) {
  char buf[64];
  std::snprintf(buf, sizeof buf, p < 0.001 ? "%.2e" : "%.4f", p);
  return buf;
}

std::string Seconds(double s) { return Fixed(s, s < 10 ? 1 : 0) + " s"; }

}  // namespace

int RunSweep(int argc, char** argv) {
  std::vector<Axis> axes;
  std::string drawsPath, csvPath, reportPath, curves, scheme;
  long long seeds = 1, jobs = std::max(1u, std::thread::hardware_concurrency()), start = 3;
  for (int i = 0; i < argc; ++i) {
    const std::string a = argv[i];
    if (i + 1 >= argc) return Fail(a + " needs a value\n" + kSweepUsage);
    const std::string v = argv[++i];
    if (a == "--draws") {
      drawsPath = v;
    } else if (a == "--set") {
      const size_t eq = v.find('=');
      if (eq == std::string::npos || eq == 0 || eq + 1 == v.size()) return Fail("--set wants NAME=V1,V2,...: " + v);
      Axis axis{Trim(v.substr(0, eq)), Split(v.substr(eq + 1), ",")};
      for (const Axis& other : axes)
        if (other.name == axis.name) return Fail("--set " + axis.name + " is given twice");
      axes.push_back(std::move(axis));
    } else if (a == "--seeds") {
      if (!WholeNumber(v, seeds) || seeds < 1 || seeds > 10000) return Fail("--seeds must be a whole number from 1 to 10000");
    } else if (a == "--jobs") {
      if (!WholeNumber(v, jobs) || jobs < 1 || jobs > 256) return Fail("--jobs must be a whole number from 1 to 256");
    } else if (a == "--start") {
      if (!WholeNumber(v, start) || start < 1 || start > 3) return Fail("--start must be 1, 2 or 3");
    } else if (a == "--csv") {
      csvPath = v;
    } else if (a == "--report") {
      reportPath = v;
    } else if (a == "--curves") {
      curves = v;
    } else if (a == "--scheme") {
      scheme = v;
    } else {
      return Fail("unknown option " + a + "\n" + kSweepUsage);
    }
  }
  if (drawsPath.empty()) return Fail(std::string("--draws is required\n") + kSweepUsage);
  if (axes.empty()) return Fail(std::string("at least one --set NAME=V1,V2,... is required\n") + kSweepUsage);

  size_t combinations = 1;
  for (const Axis& axis : axes) {
    combinations *= axis.values.size();
    if (combinations > 100000) return Fail("more than 100000 combinations");
  }

  DrawFile file = ReadDrawFile(drawsPath);
  if (!file.error.empty()) return Fail(file.error);

  // The options the data folder and scheme come from, in the backtest's own form.
  std::vector<std::string> words;
  for (const auto& [name, value] : {std::pair{"--curves", curves}, std::pair{"--scheme", scheme}})
    if (!value.empty()) {
      words.push_back(name);
      words.push_back(value);
    }
  std::vector<char*> wordPtrs;
  for (std::string& w : words) wordPtrs.push_back(w.data());
  Args args(static_cast<int>(wordPtrs.size()), wordPtrs.data(), 0);
  BacktestSettings base;
  base.start = static_cast<int>(start);
  TempData temp;
  if (std::string error = PrepareDataFolder(args, base, temp); !error.empty()) return Fail(error);

  // Every combination's settings, last --set varying fastest.
  std::vector<Row> rows(combinations);
  std::vector<BacktestSettings> settings(combinations, base);
  for (size_t c = 0; c < combinations; ++c) {
    size_t rest = c;
    std::vector<std::string> values(axes.size());
    for (size_t a = axes.size(); a-- > 0;) {
      values[a] = axes[a].values[rest % axes[a].values.size()];
      rest /= axes[a].values.size();
    }
    for (size_t a = 0; a < axes.size(); ++a) {
      settings[c].controls.emplace_back(axes[a].name, values[a]);
      rows[c].label += (a ? " " : "") + axes[a].name + "=" + values[a];
    }
    rows[c].values = values;
  }
  // Names and values checked on a bare session before any run: a mistyped name stops the sweep.
  for (const BacktestSettings& s : settings) {
    QuietPrompter quiet;
    BacktestOutcome dry = RunBacktestOn(s, {}, quiet);
    if (!dry.error.empty()) return Fail(dry.error);
  }

  std::vector<Job> work;
  for (size_t c = 0; c < combinations; ++c)
    for (long long k = 1; k <= seeds; ++k) work.push_back(Job{c, static_cast<uint64_t>(k), {}, {}});

  const auto began = std::chrono::steady_clock::now();
  std::atomic<size_t> next{0}, done{0};
  auto worker = [&] {
    for (size_t j; (j = next.fetch_add(1)) < work.size();) {
      QuietPrompter quiet;
      BacktestSettings s = settings[work[j].combination];
      s.seed = work[j].seed;
      work[j].outcome = RunBacktestOn(s, file.draws, quiet);
      work[j].notices = std::move(quiet.notices);
      done.fetch_add(1);
    }
  };
  const size_t threads = std::min<size_t>(static_cast<size_t>(jobs), work.size());
  std::vector<std::thread> pool;
  for (size_t t = 0; t < threads; ++t) pool.emplace_back(worker);
  // Progress on stderr once the sweep has run for a second.
  bool shown = false;
  while (done.load() < work.size()) {
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
    const size_t d = done.load();
    if (elapsed >= 1.0 && d < work.size()) {
      std::string eta = d ? ", about " + Seconds(elapsed / static_cast<double>(d) * static_cast<double>(work.size() - d)) + " left" : "";
      std::fprintf(stderr, "\rsweep: %zu/%zu runs on %zu threads, %s%s    ", d, work.size(), threads, Seconds(elapsed).c_str(),
                   eta.c_str());
      shown = true;
    }
  }
  for (std::thread& t : pool) t.join();
  const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
  if (shown) std::fprintf(stderr, "\n");

  std::vector<std::string> notices;
  for (const Job& job : work) {
    if (!job.outcome.error.empty()) return Fail(rows[job.combination].label + ": " + job.outcome.error);
    for (const std::string& n : job.notices)
      if (notices.size() < 4 && std::find(notices.begin(), notices.end(), n) == notices.end()) notices.push_back(n);
  }
  for (const std::string& n : notices) std::fprintf(stderr, "lumora-cli: %s\n", ToLf(n).c_str());

  // Per combination: sums over its seeds; drawdown and miss run of its worst seed.
  const Job* luckiest = nullptr;
  for (const Job& job : work) {
    Row& r = rows[job.combination];
    const auto& periods = job.outcome.periods;
    if (!periods.empty()) {
      r.profit += periods.back().profit;
      r.turnover += periods.back().turnover;
      if (!luckiest || luckiest->outcome.periods.empty() || periods.back().profit > luckiest->outcome.periods.back().profit)
        luckiest = &job;
    }
    for (const JudgedPeriod& p : periods) r.poolSum += p.poolSize;
    r.drawdown = std::max(r.drawdown, LargestDrawdown(periods));
    r.missRun = std::max(r.missRun, LongestMissRun(periods));
  }
  for (size_t c = 0; c < rows.size(); ++c) {
    std::vector<const std::vector<JudgedPeriod>*> runs;
    for (const Job& job : work)
      if (job.combination == c) runs.push_back(&job.outcome.periods);
    rows[c].chance = SummariseSeeds(runs);
  }
  std::vector<double> raw;
  for (const Row& r : rows) raw.push_back(r.chance.p);
  std::vector<double> holm = HolmAdjust(raw);
  for (size_t c = 0; c < rows.size(); ++c) rows[c].holm = holm[c];

  const int odds = OddsOf(settings[0]);
  std::printf("%s\n", ChanceHeadline(odds).c_str());
  std::printf("%zu combinations x %lld seeds over %zu draws (%s); sums over the seeds, drawdown and miss run of the worst seed.\n"
              "z and p (two-sided, normal approximation) compare the hits with chance; the seeds replay the same draws, so their "
              "variance is the bound for fully dependent seeds (exact for one seed); p is Holm-adjusted over the %zu combinations.\n",
              combinations, seeds, file.draws.size(), drawsPath.c_str(), combinations);
  std::printf("%3s  %-44s %8s %7s %9s %7s %9s %9s %10s %10s %7s %9s %6s\n", "#", "settings", "periods", "hits", "expected", "z", "p",
              "Holm p", "profit", "turnover", "return", "drawdown", "misses");
  for (size_t c = 0; c < rows.size(); ++c) {
    const Row& r = rows[c];
    const double ret = r.turnover ? static_cast<double>(r.profit) / static_cast<double>(r.turnover) : 0.0;
    std::printf("%3zu  %-44s %8lld %7lld %9.1f %7.2f %9s %9s %10lld %10lld %6.2f%% %9lld %6lld\n", c + 1, r.label.c_str(),
                static_cast<long long>(r.chance.periods), static_cast<long long>(r.chance.hits), r.chance.expectedHits, r.chance.z,
                PText(r.chance.p).c_str(), PText(r.holm).c_str(), static_cast<long long>(r.profit),
                static_cast<long long>(r.turnover), 100 * ret, static_cast<long long>(r.drawdown),
                static_cast<long long>(r.missRun));
  }
  std::fprintf(stderr, "sweep: %zu runs on %zu threads in %s\n", work.size(), threads, Seconds(wall).c_str());

  if (!csvPath.empty()) {
    std::string csv;
    for (const Axis& axis : axes) csv += axis.name + ",";
    csv += "seeds,periods,hits,expected_hits,z,p,holm_p,profit,turnover,return,largest_drawdown,longest_miss_run\n";
    for (const Row& r : rows) {
      for (const std::string& v : r.values) csv += "\"" + ReplaceAll(v, "\"", "\"\"") + "\",";
      const double ret = r.turnover ? static_cast<double>(r.profit) / static_cast<double>(r.turnover) : 0.0;
      char buf[512];
      std::snprintf(buf, sizeof buf, "%lld,%lld,%lld,%.3f,%.4f,%.6g,%.6g,%lld,%lld,%.6f,%lld,%lld\n", seeds,
                    static_cast<long long>(r.chance.periods), static_cast<long long>(r.chance.hits), r.chance.expectedHits,
                    r.chance.z, r.chance.p, r.holm, static_cast<long long>(r.profit), static_cast<long long>(r.turnover), ret,
                    static_cast<long long>(r.drawdown), static_cast<long long>(r.missRun));
      csv += buf;
    }
    if (!WriteFileAtomic(csvPath, csv)) return Fail("cannot write " + csvPath);
  }
  if (!reportPath.empty()) {
    std::vector<HitRatePoint> points;
    std::string names;
    for (const Axis& axis : axes) names += (names.empty() ? "" : " / ") + axis.name;
    for (const Row& r : rows)
      points.push_back(HitRatePoint{Join(r.values, " / "), r.chance.periods ? r.poolSum / static_cast<double>(r.chance.periods) : 0, r.chance});
    ReportRun shownRun;
    if (luckiest) {
      shownRun = ReportRun{"最高利润的一次 the most profitable run: " + rows[luckiest->combination].label + " seed " +
                               std::to_string(luckiest->seed),
                           luckiest->outcome.periods, luckiest->outcome.odds};
    }
    std::string title = std::to_string(combinations) + " × " + std::to_string(seeds) + " seeds, " +
                        std::filesystem::path(drawsPath).filename().string() + " — " + names;
    if (!WriteFileAtomic(reportPath, SweepReportSvg(title, shownRun, points))) return Fail("cannot write " + reportPath);
  }
  return 0;
}

}  // namespace lumora::cli
