// The shrink tool's marks: the bytes before the first NUL are the player's clicks on the mark
// buttons, check boxes and "全"/"清" buttons (one byte each), the rest is the junk box's text.
#include <cstdint>
#include <vector>

#include "FuzzSupport.h"
#include "core/NumberSet.h"
#include "core/RecordingPorts.h"
#include "core/Text.h"
#include "core/controls/Ftool.h"
#include "tools/ShrinkTool.h"

using namespace lumora;

namespace {

// The mark buttons, then the check boxes, in the order the bytes count them.
constexpr ControlArray<ControlKind::Button> kMarkButtons[] = {ftool::C_fushi_paichu, ftool::C_dingwei_sha,
                                                              ftool::C_danzu, ftool::C_danzu_gs};
std::vector<CheckBox> CheckBoxes() {
  std::vector<CheckBox> boxes;
  auto row = [&](const ControlArray<ControlKind::CheckBox>& r) {
    for (int i = r.first; i <= r.last; ++i) boxes.push_back(r[i]);
  };
  row(ftool::Check_012_paichu);
  row(ftool::Check_pailie_daxiao);
  row(ftool::Check_pailie_jiou);
  row(ftool::Check_pailie_zhihe);
  boxes.push_back(ftool::Check_danma_jc);
  row(ftool::Check_hewei_sha);
  row(ftool::Check_kuadu_sha);
  return boxes;
}
constexpr int kAllButtons = 28;

void Click(Context& cx, int choice) {
  if (choice < kAllButtons) {
    PressShrinkAll(cx, choice);
    return;
  }
  choice -= kAllButtons;
  for (const auto& buttons : kMarkButtons) {
    if (choice < buttons.count()) {
      ToggleShrinkMark(cx, buttons, buttons.first + choice);
      return;
    }
    choice -= buttons.count();
  }
  static const std::vector<CheckBox> boxes = CheckBoxes();
  if (choice < static_cast<int>(boxes.size())) cx.form.setChecked(boxes[choice], !cx.form.checked(boxes[choice]));
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
