#pragma once
// The draw history: applying a new window of draws, winding back the newest draws, manual entry
// of a newest draw, and the sub-game choice.
//
// Form keys: "Tkjh" (history text), "Tnew" (status), "Cauto", "Op_3x_moshi_0..2" (后三, 中三,
// 前三), window Fadd: "Fadd" (visible), "Fadd.T_total_renshu", "Fadd.C_rulu_kjh".
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/Context.h"
#include "core/Draws.h"

namespace lumora {

// For rows 1..120: "第" + period + "期：" + digits, joined by CR LF, row 1 first, no final break
// (rows without a draw are left out).
std::string HistoryText(const DrawStore& draws);

// A history is present when Tkjh is not blank.
bool HistoryPresent(const Context& cx);

// The numeric value of the period's last three characters plus one, "000"-formatted
// ("023" -> "024", "120" -> "121"; no wrap-around).
std::string FollowingPeriod(std::string_view period);

// Copies IncomingWindow rows 1..120 into the history, rebuilds SubNumberSeries and Tkjh, Tnew
// "开奖完毕". Returns true. The feed calls it for an answer it has held against the history.
bool ReplaceHistory(Context& cx);

// Applies IncomingWindow when its newest period differs from the history's newest and its
// digits are not empty: copies rows 1..120, rebuilds SubNumberSeries and Tkjh, Tnew "开奖完毕".
// Otherwise Tnew "没有更新" and nothing changes. Returns whether the history was applied. The
// after-draw sequence is the caller's (the session runs it when this returns true).
bool ApplyIncomingDraws(Context& cx);

// The draw a plan or a bet made after `anchor` (the newest draw at that moment) is for: the history
// row (1 = newest) of the draw right after the one equal to `anchor`, when that draw is the period
// after it ("034" after "033"; "001", the first of a new day, after any other). 0 when the history
// no longer holds `anchor` (a gap longer than the window, a wind-back), when nothing has come since,
// or when the feed skipped that period.
int RowOfDrawAfter(const DrawStore& draws, const DrawRecord& anchor);

// The player's words for why no draw was found for the period after `anchor`.
std::string DrawMissingText(const DrawRecord& anchor);

// The draws the history holds between `before` (the newest applied before the history changed)
// and the newest now, oldest first: the rows newer than `before`, leaving out row 1. All rows but
// row 1 when the history does not hold `before` (nothing when `before` is empty: the first history).
std::vector<DrawRecord> DrawsBetween(const DrawStore& draws, const DrawRecord& before);

using ApplyDrawsFn = std::function<bool(Context&)>;

// Winds the history back by n draws counted from the newest draw of the last feed response:
// IncomingWindow row k = DeepBuffer row n + k; Cauto unticked; "删除成功"; then `apply`.
// Without a history nothing happens; n outside 1..20 gives "删除期数在1~20之内". Returns
// whether `apply` ran and applied.
bool DeleteLatestDraws(Context& cx, int n, const ApplyDrawsFn& apply);

// The deletion dialogue of C_kjh_shanchu: two Yes/No questions and the input box for n, each
// asked when the answer to the one before arrives (the prompter's answers come later, as
// operations of their own). A No, a cancelled box, an empty or non-numeric reply end it without
// change; a count deletes from the draws as they are when it arrives.
void RunDeletionDialogue(Context& cx, const ApplyDrawsFn& apply);

// Manual entry "055-75894": trimmed, must hold "-"; characters other than digits and "-" are
// dropped; split at "-": the first piece must have 3 characters, the second 5 (further pieces
// are ignored).
struct ManualEntry {
  bool ok = false;
  std::string period;
  std::string digits;
  std::string error;  // "格式错误", "期号错误", "开奖号错误"
};
ManualEntry ParseManualEntry(std::string_view text);

// C_rulu_kjh of Fmain: without a history "没有开奖数据" (出错提示) and false; otherwise the
// entry box proposes the following period + "-12345" and Fadd is shown.
bool OpenManualEntry(Context& cx);

// Fadd.C_rulu_kjh "确认录入": checks the entry (messages titled "出错", the window stays open);
// when it is sound, IncomingWindow moves one row older with the entry as row 1, Fadd is hidden,
// `apply` runs, Cauto is unticked and the window closed. Returns whether `apply` applied.
bool ConfirmManualEntry(Context& cx, const ApplyDrawsFn& apply);

// Op_3x_moshi element 0 后三 -> SubNumberStart 3, 1 中三 -> 2, 2 前三 -> 1. A change rebuilds
// SubNumberSeries from the history, so the series always belongs to the chosen sub-game.
// Returns whether SubNumberStart changed.
bool SelectSubGame(Context& cx, int element);

}  // namespace lumora
