#pragma once
// Banker-digit sorting: two rankings of the ten digits by how often they came in the last three
// positions of the latest N draws, cut into groups; the banker filter that turns group rules
// into a pool; and the small actions of the banker tab.
//
// Form keys (main window): ranking 1 "T_paixu_qishu", "T_paixu_fenjiemoshi",
// "T_paixu_fenjie_houbei", "T_paixu_fenjie_houbei_cs", "List01"; ranking 2 the same names with
// "_02" and "List02". Filter: "T_paixu_input", "T_paixu_input_rc", "T_paixu_dadi",
// "Label_paixu_zhushu", "Check_dz_auto". Source pools of the plan: "T_dd_beiyong_0".."_4".
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/Context.h"

namespace lumora {

inline constexpr int kRankingLines = 31;  // 30 past draws and the coming one
inline constexpr int kRankingMaxWindow = 50;

// The controls of ranking 1 (hot to cold) or ranking 2 (cold to hot).
struct RankingKeys {
  IntBox window;
  TextBox mode, picked, counts;
  ListBox list;
};
RankingKeys RankingKeysOf(int ranking);

// The design texts of the banker tab's boxes: the tab creates its boxes with them, and
// lumora-cli and the tests give a bare Form the same values.
const ControlTexts& BankerDesignTexts();
void ApplyBankerDesignValues(Form& form);

// The window length and group lengths read from their texts, or the refusal to show.
struct RankingSettings {
  int window = 0;
  std::vector<int> lengths;
  std::string error, errorTitle;  // empty when the settings can be used
};
RankingSettings ReadRankingSettings(std::string_view windowText, std::string_view modeText);

// The ten digits ranked over rows first..first+window-1 of the history (three of the last three
// digits per row; an empty row or a non-digit counts as 0): hot to cold with ties in ascending
// digit order, or (coldFirst) the reverse.
std::string RankedDigits(const DrawStore& draws, int firstRow, int window, bool coldFirst);

// The ranked string cut into groups of the given lengths ("0-12-345").
std::vector<std::string> CutGroups(std::string_view ranked, const std::vector<int>& lengths);

// The 31 lines of a ranking, oldest first; the last line is the coming draw's.
std::vector<std::string> BuildRankingLines(const DrawStore& draws, int window, const std::vector<int>& lengths,
                                           bool coldFirst);

// Rewrites the list of ranking 1 or 2 from the history and selects its last line.
void RefreshRanking(Context& cx, int ranking);

// Picks the groups of a clicked list line into the ranking's picked-groups box.
void PickRankingLine(Context& cx, int ranking, int index);
// "加入过滤框": appends "groups=counts" to the filter rules and empties the picked box.
void AddPickedToFilter(Context& cx, int ranking);
// The "-" (delta -1) and "+" (delta +1) buttons of a ranking's window length.
void StepRankingWindow(Context& cx, int ranking, int delta);

// The filter input with everything but "=-0123456789", CR and LF removed (after trimming).
std::string CleanFilterInput(std::string_view text);

struct FilterResult {
  std::string pool;  // ascending three-digit numbers joined by one blank
  int count = 0;
};
// Every number 000..999 whose count of satisfied rules occurs in `accepted`. Each line of `rules`
// is a FilterRule, G1-G2-…-Gk=W: digit groups, then the accepted hits per group.
FilterResult RunBankerRules(std::string_view rules, std::string_view accepted);

// "开始过滤": cleans the rules box, then writes T_paixu_dadi and Label_paixu_zhushu.
void BankerFilter(Context& cx);
// Double-clicking the rules box empties it.
void ClearFilterInput(Context& cx);

// The two halves the after-draw sequence runs when "开奖后自动更新并出计划" is ticked: the
// coming-draw groups of ranking 1 replace the rules, those of ranking 2 are added, then the
// filter runs.
void FeedFilterFromRanking1(Context& cx);
void FeedFilterFromRanking2(Context& cx);
void FeedFilterFromRanking(Context& cx);

// "复制号码": the filter result onto the clipboard. Returns false (after the message) when the
// clipboard did not take it.
bool CopyBankerResult(Context& cx);

// "将上面过滤结果插到底部5个交集底": the trimmed result into the first empty source pool box
// T_dd_beiyong_0..4. Returns the box written, or nothing when all five hold text.
std::optional<int> InsertBankerResultIntoSourcePool(Context& cx);

// Puts `text` on the clipboard and checks that it arrived.
bool PutOnClipboard(Context& cx, const std::string& text);

}  // namespace lumora
