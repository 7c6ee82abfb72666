#pragma once
// The 3D shrink tool (window Ftool): cuts the 1000 three-digit numbers down by the removal marks
// the player set on the window's buttons and check boxes.
//
// Form keys, all prefixed "Ftool.": mark buttons "C_fushi_paichu_0..29" and "C_dingwei_sha_0..29"
// (red when marked; items 0-9 hundreds, 10-19 tens, 20-29 units digit), "C_danzu_0..39"
// (banker digits of groups 1-4, green) and "C_danzu_gs_0..15" (accepted counts 0-3 of groups
// 1-4, green); check boxes "Check_012_paichu_0..26" (route patterns "000".."222" in base-3
// order), "Check_pailie_daxiao_0..7", "Check_pailie_jiou_0..7", "Check_pailie_zhihe_0..7"
// (shape patterns), "Check_danma_jc" ("胆码计重"), "Check_hewei_sha_0..9", "Check_kuadu_sha_0..9";
// the junk box "T_lj_dd"; results "Tdd" and "L_zhushu".
#include <array>
#include <bitset>
#include <string>
#include <string_view>

#include "core/Context.h"
#include "core/NumberSet.h"

namespace lumora {

inline constexpr int kBankerGroups = 4;

// What the marks of the window say, as digit masks (bit d = digit d) and pattern flags.
struct ShrinkMarks {
  std::array<int, 3> compound{};       // "排除复式" digits per position (hundreds, tens, units)
  std::array<int, 3> kill{};           // "定位杀" digits per position
  std::bitset<27> routes;              // "012路排除", by base-3 value of the route pattern
  std::bitset<8> size, parity, prime;  // "杀形态排列", by item (pattern order of the captions)
  int sumTails = 0;                    // "杀和尾"
  int spans = 0;                       // "杀跨度"
  struct Group {
    int digits = 0;  // banker digits
    int counts = 0;  // accepted counts 0..3; none marked means 1, 2 or 3
  };
  std::array<Group, kBankerGroups> groups{};
  bool bankerRepeat = false;  // "胆码计重": a repeated digit counts each time
  std::string junk;           // numbers to remove, found by substring
};

ShrinkMarks ReadShrinkMarks(const Form& form);

// The numbers no marked condition removes.
NumberSet Shrink(const ShrinkMarks& marks);

// Shape patterns of a number.
std::string SizePattern(int number);
std::string ParityPattern(int number);
std::string PrimePattern(int number);

// "【开始缩水】": rebuilds the candidates, applies the ten filters, writes Tdd and L_zhushu.
void ks_suoshui(Context& cx);

// A click on a mark button ("C_fushi_paichu", "C_dingwei_sha", "C_danzu", "C_danzu_gs"):
// toggles its colour between grey and its marked colour.
void ToggleShrinkMark(Context& cx, const ControlArray<ControlKind::Button>& control, int item);
// The 28 "全"/"清" buttons C_all_0..27.
void PressShrinkAll(Context& cx, int item);
// "清空所有条件".
void ClearAllShrinkConditions(Context& cx);
// "复制号码": Tdd onto the clipboard, then the copy notice.
bool CopyShrinkResult(Context& cx);
// Double-clicking the junk box empties it.
void ClearJunkBox(Context& cx);

// The window's state when it is built: every mark button grey (not marked), the design texts of
// the junk box and the results.
void ShrinkToolDefaults(Form& form);

// Caption of C_all item (0..27): "全" or "清".
std::string_view ShrinkAllCaption(int item);

}  // namespace lumora
