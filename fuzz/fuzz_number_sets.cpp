// Number-set texts, accepted-count lists and the mode-two group rules built on both.
//   first byte % 3 == 0: a number-set text;
//                    1: an accepted-count list;
//                    2: group rules, accepted rule counts and a pool text (cut at NUL), for
//                       mode two's pool over fifteen pools made from the pool text.
#include <cstdint>

#include "FuzzSupport.h"
#include "core/NumberSet.h"
#include "core/Text.h"
#include "plan/PlanModes.h"
#include "plan/PlanState.h"

using namespace lumora;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text = fuzz::AsText(data, size);
  const int mode = fuzz::Choose(text, 3);
  if (mode == 0) {
    const NumberSet set = NumberSet::FromText(text);
    // Membership is the substring test of the three-digit form.
    for (int n = 0; n < 1000; ++n) FUZZ_CHECK(set.contains(n) == Contains(text, ThreeDigits(n)));
    // The text form reads back as the same set, and is its own text form.
    const std::string formatted = set.text();
    const NumberSet again = NumberSet::FromText(formatted);
    FUZZ_CHECK(again == set);
    FUZZ_CHECK(again.text() == formatted);
    FUZZ_CHECK(formatted.size() == (set.empty() ? 0 : static_cast<size_t>(set.count()) * 4 - 1));
  } else if (mode == 1) {
    const CountListText list(text);
    for (int sources : {0, 15, 99, 100, 120}) {
      for (int count = -2; count <= 130; ++count) {
        const std::string f = CountListText::Format(count, sources);
        FUZZ_CHECK(list.accepts(count, sources) == Contains(text, f));
        if (count >= 0 && count < 100) FUZZ_CHECK(f.size() == (sources >= 100 ? 3u : 2u));
      }
    }
  } else {
    std::vector<std::string> p = fuzz::Pieces(text, 3);
    PlanState plan;
    for (size_t i = 0; i < plan.monitorPools.size(); ++i) plan.monitorPools[i] = NumberSet::FromText(p[2]);
    const NumberSet pool = ModeTwoPool(plan, p[0], p[1]);
    // Without an accepted rule count no number is accepted.
    if (p[1].empty()) FUZZ_CHECK(pool.empty());
  }
  return 0;
}
