// lumora-cli curve and fit: a pool's profit curve over a draw file, and trend matching of a trend
// text against it.
#include <cstdio>
#include <string>

#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "core/RecordingPorts.h"
#include "core/Text.h"
#include "core/controls/Fmain.h"
#include "curves/PoolCurve.h"
#include "curves/TrendMatching.h"

namespace lumora::cli {

namespace {

constexpr const char* kCurveUsage = "usage: lumora-cli curve --draws FILE --pool TEXT [--start 1|2|3]";
constexpr const char* kFitUsage =
    "usage: lumora-cli fit --draws FILE --trend TEXT --size N [--slot Q --mode 0|1|2 --mask M] [--start 1|2|3] [--seed N]";

// A whole decimal number (optional minus sign), or nothing.
std::optional<long long> WholeNumber(const std::string& text) {
  std::string t = Trim(text);
  size_t digitsAt = !t.empty() && t[0] == '-' ? 1 : 0;
  if (t.size() > 18 || !IsDigits(std::string_view(t).substr(digitsAt))) return std::nullopt;
  return std::stoll(t);
}

void PrintCurve(const ProfitCurve& y) {
  std::string line;
  for (int k = 0; k < kHistoryRows; ++k) {
    if (k > 0) line += ' ';
    line += std::to_string(y[k]);
  }
  std::printf("%s\n", line.c_str());
}

// The options every curve command shares: the option check, the draw file and the sub-game.
bool LoadDraws(const Args& args, const std::vector<std::string>& known, const char* usage, DrawStore& store, int& rc) {
  if (!args.ok()) {
    rc = Fail(args.error() + "\n" + usage);
    return false;
  }
  for (const std::string& name : args.unknown(known)) {
    rc = Fail("unknown option " + name + "\n" + usage);
    return false;
  }
  if (!args.has("--draws")) {
    rc = Fail(std::string("--draws is required\n") + usage);
    return false;
  }
  auto start = WholeNumber(args.get("--start", "3"));
  if (!start || *start < 1 || *start > 3) {
    rc = Fail("--start must be 1, 2 or 3");
    return false;
  }
  DrawFile file = ReadDrawFile(args.get("--draws"));
  if (!file.error.empty()) {
    rc = Fail(file.error);
    return false;
  }
  LoadHistory(store, file.draws, file.draws.size(), static_cast<int>(*start));
  return true;
}

}  // namespace

int RunCurve(int argc, char** argv) {
  Args args(argc, argv, 0);
  DrawStore store;
  int rc = 0;
  if (!LoadDraws(args, {"--draws", "--pool", "--start"}, kCurveUsage, store, rc)) return rc;
  if (!args.has("--pool")) return Fail(std::string("--pool is required\n") + kCurveUsage);
  PrintCurve(ComputePoolCurve(store, args.get("--pool")));
  return 0;
}

int RunFit(int argc, char** argv) {
  Args args(argc, argv, 0);
  Context cx;
  int rc = 0;
  if (!LoadDraws(args, {"--draws", "--trend", "--size", "--slot", "--mode", "--mask", "--start", "--seed"}, kFitUsage,
                 cx.draws, rc))
    return rc;
  if (!args.has("--trend") || !args.has("--size"))
    return Fail(std::string("--trend and --size are required\n") + kFitUsage);

  auto size = WholeNumber(args.get("--size"));
  if (!size || *size < 0 || *size > 1000) return Fail("--size must be a whole number from 0 to 1000");
  auto slot = WholeNumber(args.get("--slot", std::to_string(kNoSlot)));
  if (!slot || ((*slot < 0 || *slot >= kCurveSlots) && *slot != kNoSlot))
    return Fail("--slot must be 0..14 (or 100 for no slot)");
  auto mode = WholeNumber(args.get("--mode", "2"));
  if (!mode || *mode < 0 || *mode > 2) return Fail("--mode must be 0, 1 or 2");
  if (args.has("--mask") && *slot == kNoSlot) return Fail("--mask needs --slot 0..14");
  if (args.has("--seed")) {
    auto seed = WholeNumber(args.get("--seed"));
    if (!seed || *seed < 0) return Fail("--seed must be a whole number of 0 or more");
    cx.rng.seed(static_cast<unsigned long long>(*seed));
  }

  RecordingPrompter prompter;
  cx.ports.prompter = &prompter;
  cx.form.setChecked(fmain::Op_mos[static_cast<int>(*mode)], true);
  if (args.has("--mask")) {
    cx.form.setText(fmain::T_xl_muduan[static_cast<int>(*slot)], args.get("--mask"));
    cx.form.setChecked(fmain::Check_xl_md[static_cast<int>(*slot)], true);
  }
  CurveState curves;
  if (!LoadTrendText(cx, curves, std::string_view(args.get("--trend"))))
    return Fail(prompter.lastText() + " (--trend wants 120 whole numbers joined by '*')");
  FitPoolToTrend(cx, curves, static_cast<int>(*size), static_cast<int>(*slot));
  std::printf("%s\n", cx.form.text(fmain::Tdadi).c_str());
  PrintCurve(curves.profit);
  return 0;
}

}  // namespace lumora::cli
