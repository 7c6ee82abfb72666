// The banker tab: ranking window and split mode texts, and the filter rules with their accepted
// counts.
//   first byte even: window text and split mode (cut at NUL) for both rankings over a history,
//                    then picking the coming draw's groups into the filter and running it;
//              odd:  filter rules and accepted counts (cut at NUL).
#include <cstdint>

#include "FuzzSupport.h"
#include "core/Feed.h"
#include "core/NumberSet.h"
#include "core/RecordingPorts.h"
#include "core/Text.h"
#include "core/controls/Fmain.h"
#include "tools/BankerRanking.h"

using namespace lumora;

namespace {

void LoadHistory(Context& cx) {
  FeedState feed;
  std::string b;
  for (int p = 1; p <= kDeepRows; ++p) b += (p > 1 ? "\r\n" : "") + Pad(p, 3) + "-" + Pad(p * 7919 % 100000, 5);
  feed.response = "**ok***-*" + b + "*-*";
  FUZZ_CHECK(ProcessDrawResponse(cx, feed));
}

void CheckResult(const FilterResult& r) {
  const NumberSet set = NumberSet::FromText(r.pool);
  FUZZ_CHECK(set.count() == r.count);
  FUZZ_CHECK(set.text() == r.pool);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text = fuzz::AsText(data, size);
  const int mode = fuzz::Choose(text, 2);
  std::vector<std::string> p = fuzz::Pieces(text, 2);
  if (mode == 0) {
    Context cx;
    RecordingPrompter prompter;
    RecordingClipboard clipboard;
    cx.ports.prompter = &prompter;
    cx.ports.clipboard = &clipboard;
    ApplyBankerDesignValues(cx.form);
    LoadHistory(cx);
    const RankingSettings s = ReadRankingSettings(p[0], p[1]);
    FUZZ_CHECK(s.error.empty() || s.lengths.empty());
    for (int ranking : {1, 2}) {
      const RankingKeys keys = RankingKeysOf(ranking);
      cx.form.setText(keys.window, p[0]);
      cx.form.setText(keys.mode, p[1]);
      RefreshRanking(cx, ranking);
      if (s.error.empty()) FUZZ_CHECK(cx.form.items(keys.list).size() == static_cast<size_t>(kRankingLines));
      PickRankingLine(cx, ranking, kRankingLines - 1);
      AddPickedToFilter(cx, ranking);
      StepRankingWindow(cx, ranking, ranking == 1 ? 1 : -1);
    }
    BankerFilter(cx);
    FeedFilterFromRanking(cx);
    CheckResult({cx.form.text(fmain::T_paixu_dadi), NumberSet::FromText(cx.form.text(fmain::T_paixu_dadi)).count()});
  } else {
    CheckResult(RunBankerRules(p[0], p[1]));
    const std::string cleaned = CleanFilterInput(p[0]);
    for (char c : cleaned) FUZZ_CHECK(Contains("=-0123456789\r\n", std::string(1, c)));
    CheckResult(RunBankerRules(cleaned, p[1]));
  }
  return 0;
}
