// The shrink tool's marks: the bytes before the first NUL are the player's clicks on the mark
// buttons, check boxes and "全"/"清" buttons (one byte each), the rest is the junk box's text.
#include <cstdint>

#include "FuzzSupport.h"
#include "core/NumberSet.h"
#include "core/RecordingPorts.h"
#include "core/Text.h"
#include "tools/ShrinkTool.h"
#include "core/controls/Ftool.h"

using namespace lumora;

namespace {

struct Row {
  const char* name;
  int items;
  bool button;  // a mark button (toggled by a click) or a check box
};
constexpr Row kRows[] = {
    {"C_fushi_paichu", 30, true},   {"C_dingwei_sha", 30, true},      {"C_danzu", 40, true},
    {"C_danzu_gs", 16, true},       {"Check_012_paichu", 27, false},  {"Check_pailie_daxiao", 8, false},
    {"Check_pailie_jiou", 8, false}, {"Check_pailie_zhihe", 8, false}, {"Check_danma_jc", 1, false},
    {"Check_hewei_sha", 10, false}, {"Check_kuadu_sha", 10, false},
};
constexpr int kAllButtons = 28;

void Click(Context& cx, int choice) {
  if (choice < kAllButtons) {
    PressShrinkAll(cx, choice);
    return;
  }
  choice -= kAllButtons;
  for (const Row& r : kRows) {
    if (choice >= r.items) {
      choice -= r.items;
      continue;
    }
    if (r.button) {
      ToggleShrinkMark(cx, r.name, choice);
    } else {
      const std::string key = "Ftool." + (r.items == 1 ? std::string(r.name) : r.name[choice]);
      cx.form.setChecked(key, !cx.form.checked(key));
    }
    return;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<std::string> p = fuzz::Pieces(fuzz::AsText(data, size), 2);
  Context cx;
  RecordingPrompter prompter;
  cx.ports.prompter = &prompter;
  ShrinkToolDefaults(cx.form);
  for (unsigned char c : p[0]) Click(cx, c);
  cx.form.setText(ftool::T_lj_dd, p[1]);
  ks_suoshui(cx);
  const std::string result = cx.form.text(ftool::Tdd);
  const NumberSet kept = NumberSet::FromText(result);
  FUZZ_CHECK(kept.text() == result);
  FUZZ_CHECK(cx.form.text(ftool::L_zhushu) == std::to_string(kept.count()));
  FUZZ_CHECK(kept == Shrink(ReadShrinkMarks(cx.form)));
  // No number of the junk box survives.
  FUZZ_CHECK((kept & NumberSet::FromText(Trim(p[1]))).empty());
  FUZZ_CHECK(prompter.notices.empty());
  return 0;
}
