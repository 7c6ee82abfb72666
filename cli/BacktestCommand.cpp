// lumora-cli backtest: replays a draw file through the after-draw pipeline with the design's
// defaults, "自动计划" ticked and "每期算号" selected, and prints every judged period.
#include <cstdio>
#include <filesystem>
#include <set>
#include <string>
#include <system_error>

#include <unistd.h>

#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "core/Files.h"
#include "core/RecordingPorts.h"
#include "core/Text.h"
#include "money/Fund.h"
#include "money/PlanStats.h"
#include "plan/PlanDefaults.h"
#include "plan/PlanRecord.h"
#include "session/AfterDraw.h"
#include "session/DrawCycle.h"
#include "session/PlanSession.h"
#include "settings/SchemeFile.h"
#include "settings/Schemes.h"
#include "tools/BankerRanking.h"

namespace lumora::cli {
namespace {

namespace fs = std::filesystem;

constexpr const char* kBacktestUsage =
    "usage: lumora-cli backtest --draws FILE [--curves FILE] [--scheme FILE] "
    "[--stats flat|multiplier:SEQ|push-wave:N] [--odds N] [--start 1|2|3] [--seed N]";

// Notices go to stderr, each distinct one once: a backtest has nobody to answer them.
class PrintingPrompter final : public Prompter {
 public:
  void inform(const std::string& text, const std::string& title) override {
    if (!seen_.insert(title + "\n" + text).second) return;
    std::fprintf(stderr, "lumora-cli: [%s] %s\n", title.c_str(), ToLf(text).c_str());
  }
  bool askYesNo(const std::string&, const std::string&) override { return true; }
  std::optional<std::string> askText(const std::string&, const std::string&, const std::string&) override {
    return std::nullopt;
  }

 private:
  std::set<std::string> seen_;
};

bool WholeNumber(const std::string& text, long long& out) {
  std::string t = Trim(text);
  if (t.empty() || t.size() > 18 || !IsDigits(t)) return false;
  out = std::stoll(t);
  return true;
}

// IncomingWindow rows 1..120 from the draws ending at `end - 1` (row 1 the newest).
void FillIncoming(DrawStore& store, const std::vector<DrawRecord>& draws, size_t end) {
  store.incoming.fill(DrawRecord{});
  for (size_t row = 1; row <= static_cast<size_t>(kHistoryRows) && row <= end; ++row) store.incoming[row] = draws[end - row];
}

// A private data folder holding the curve store to use (and the shipped phrases).
struct TempData {
  fs::path root;
  ~TempData() {
    std::error_code ec;
    if (!root.empty()) fs::remove_all(root, ec);
  }
};

}  // namespace

int RunBacktest(int argc, char** argv) {
  Args args(argc, argv, 0);
  if (!args.ok()) return Fail(args.error() + "\n" + kBacktestUsage);
  for (const std::string& name :
       args.unknown({"--draws", "--curves", "--scheme", "--stats", "--odds", "--start", "--seed"}))
    return Fail("unknown option " + name + "\n" + kBacktestUsage);
  if (!args.has("--draws")) return Fail(std::string("--draws is required\n") + kBacktestUsage);
  long long start = 3, seed = 0, odds = 1940;
  if (!WholeNumber(args.get("--start", "3"), start) || start < 1 || start > 3) return Fail("--start must be 1, 2 or 3");
  if (args.has("--seed") && !WholeNumber(args.get("--seed"), seed)) return Fail("--seed must be a whole number of 0 or more");
  if (args.has("--odds") && !WholeNumber(args.get("--odds"), odds)) return Fail("--odds must be a whole number");

  DrawFile file = ReadDrawFile(args.get("--draws"));
  if (!file.error.empty()) return Fail(file.error);

  Session s;
  PrintingPrompter prompter;
  RecordingClipboard clipboard;
  RecordingSound sound;
  SystemClock clock;
  s.cx.ports = Ports{&clipboard, &sound, &prompter, nullptr, &clock};
  if (args.has("--seed")) s.cx.rng.seed(static_cast<unsigned long long>(seed));
  s.cx.data = DataFolder::Locate(RunningExecutable());

  TempData temp;
  if (args.has("--curves")) {
    std::error_code ec;
    temp.root = fs::temp_directory_path(ec) / ("lumora-backtest-" + std::to_string(::getpid()));
    fs::create_directories(temp.root, ec);
    if (ec || !fs::copy_file(PathFromUtf8(args.get("--curves")), temp.root / "data.mdb", fs::copy_options::overwrite_existing, ec))
      return Fail("cannot read the curve store " + args.get("--curves"));
    fs::copy_file(s.cx.data.phrases(), temp.root / "zdy.txt", ec);
    s.cx.data = DataFolder(temp.root);
  }

  Form& f = s.cx.form;
  // The boxes' design texts, as the window creates them.
  ApplyPlanDesignValues(f);
  ApplyBankerDesignValues(f);
  ApplyFundDesignValues(f);
  if (!StartupDefaults(s)) return Fail("the curve store " + PathToUtf8(s.cx.data.curveStore()) + " cannot be read");
  f.setChecked("Check_jihua_sx", true);
  f.setChecked("Op_jiankong_zihui", true);
  f.setChecked("Op_jiankong_shougong", false);
  s.cx.draws.subStart = static_cast<int>(start);

  if (args.has("--scheme")) {
    auto text = ReadWholeFile(s.cx, PathFromUtf8(args.get("--scheme")));
    if (!text) return Fail("cannot read the scheme " + args.get("--scheme"));
    if (!ApplySchemeText(s.cx, ToCrLf(*text))) return Fail("the scheme " + args.get("--scheme") + " is damaged");
  }

  if (args.has("--stats") || args.has("--odds")) {
    std::string stats = args.get("--stats", "flat");
    int option = 0;
    if (stats == "flat") {
      option = 0;
    } else if (stats.rfind("multiplier:", 0) == 0) {
      option = 1;
      f.setText("T_szzx_canshu_2", stats.substr(11));
    } else if (stats.rfind("push-wave:", 0) == 0) {
      option = 2;
      f.setText("T_szzx_canshu_3", stats.substr(10));
    } else {
      return Fail("--stats must be flat, multiplier:SEQ or push-wave:N");
    }
    for (int i = 0; i < 3; ++i) f.setChecked(Indexed("Option_touzhu_sz", i), i == option);
    f.setText("T_szzx_canshu_0", std::to_string(odds));
    if (!ApplyStatsSettings(s.cx, s.stats)) return 1;
  }

  const size_t first = std::min<size_t>(file.draws.size(), kHistoryRows);
  long long hits = 0, periods = 0;
  double expected = 0;
  if (first > 0) {
    FillIncoming(s.cx.draws, file.draws, first);
    ApplyDraws(s);
    PlanEnv env = PlanEnvOf(s);
    StartPlan(env);
    for (size_t end = first + 1; end <= file.draws.size(); ++end) {
      std::string pool = f.text("T_jihua_jj_dadi");
      int size = ReadInt(f.text("T_jihua_jj_dadi_zhushu"));
      int32_t before = s.stats.plan().periods;
      FillIncoming(s.cx.draws, file.draws, end);
      if (!ApplyDraws(s) || s.stats.plan().periods == before) continue;
      ++periods;
      hits += s.plan.lastJudgeResult == 1 ? 1 : 0;
      expected += size / 1000.0;
      std::printf("%s\n%s\n", pool.c_str(), s.plan.lastJudgedLine.c_str());
    }
  }
  const PlanStats& st = s.stats.plan();
  UpdateStats(s.stats.plan());
  std::printf("%s\n", ToLf(TrimView(s.stats.plan().summary)).c_str());
  std::printf("hits=%lld periods=%lld expected=%.2f profit=%d turnover=%d\n", hits, periods, expected, st.profit,
              st.turnover);
  return 0;
}

}  // namespace lumora::cli
