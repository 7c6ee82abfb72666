#include "core/History.h"

#include <algorithm>

#include "core/DrawTexts.h"
#include "core/Text.h"
#include "core/controls/Fadd.h"
#include "core/controls/Fmain.h"

namespace lumora {

namespace {

// A reply holds a number when its trimmed text begins with one ("12", "-3", "+4", ".5").
bool StartsWithNumber(std::string_view text) {
  std::string_view t = TrimView(text);
  size_t i = 0;
  if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
  if (i < t.size() && t[i] == '.') ++i;
  return i < t.size() && t[i] >= '0' && t[i] <= '9';
}

}  // namespace

std::string HistoryText(const DrawStore& draws) {
  std::string text;
  for (int i = 1; i <= kHistoryRows; ++i) {
    const DrawRecord& r = draws.history[static_cast<size_t>(i)];
    if (r.empty()) continue;
    if (!text.empty()) text += kCrLf;
    text += draw_text::kLinePrefix;
    text += r.period;
    text += draw_text::kLineMiddle;
    text += r.digits;
  }
  return text;
}

bool HistoryPresent(const Context& cx) { return !TrimView(cx.form.text(fmain::Tkjh)).empty(); }

std::string FollowingPeriod(std::string_view period) {
  std::string_view last = period.size() > 3 ? period.substr(period.size() - 3) : period;
  return Pad(static_cast<int64_t>(ReadInt(last)) + 1, 3);
}

bool ApplyIncomingDraws(Context& cx) {
  DrawStore& d = cx.draws;
  const DrawRecord& newest = d.incoming[1];
  if (newest.period == d.history[1].period || newest.digits.empty()) {
    cx.form.setText(fmain::Tnew, draw_text::kNotNew);
    return false;
  }
  return ReplaceHistory(cx);
}

bool ReplaceHistory(Context& cx) {
  DrawStore& d = cx.draws;
  d.previousNewest = d.history[1];
  for (int i = 1; i <= kHistoryRows; ++i) d.history[static_cast<size_t>(i)] = d.incoming[static_cast<size_t>(i)];
  d.rebuildSubSeries();
  cx.form.setText(fmain::Tnew, draw_text::kApplied);
  cx.form.setText(fmain::Tkjh, HistoryText(d));
  return true;
}

namespace {
// The history row holding exactly `draw` (period and digits), 0 when none does.
int RowOf(const DrawStore& d, const DrawRecord& draw) {
  if (draw.period.empty() || draw.digits.empty()) return 0;
  for (int i = 1; i <= kHistoryRows; ++i)
    if (d.history[static_cast<size_t>(i)] == draw) return i;
  return 0;
}
}  // namespace

int RowOfDrawAfter(const DrawStore& draws, const DrawRecord& anchor) {
  const int at = RowOf(draws, anchor);
  if (at <= 1) return 0;
  const DrawRecord& next = draws.history[static_cast<size_t>(at - 1)];
  const bool following =
      next.period == FollowingPeriod(anchor.period) || (ReadInt(next.period) == 1 && ReadInt(anchor.period) != 1);
  return following && !next.digits.empty() ? at - 1 : 0;
}

std::string DrawMissingText(const DrawRecord& anchor) {
  return std::string(draw_text::kMissingBefore) + FollowingPeriod(anchor.period) + draw_text::kMissingAfter;
}

std::vector<DrawRecord> DrawsBetween(const DrawStore& draws, const DrawRecord& before) {
  std::vector<DrawRecord> between;
  if (before.empty()) return between;
  int at = RowOf(draws, before);
  if (at == 0) at = kHistoryRows + 1;
  for (int i = at - 1; i >= 2; --i)
    if (!draws.history[static_cast<size_t>(i)].empty()) between.push_back(draws.history[static_cast<size_t>(i)]);
  return between;
}

bool DeleteLatestDraws(Context& cx, int n, const ApplyDrawsFn& apply) {
  if (!HistoryPresent(cx)) return false;
  if (n < 1 || n > 20) {
    cx.inform(draw_text::kDeleteRange, draw_text::kTip);
    return false;
  }
  DrawStore& d = cx.draws;
  for (int k = 1; k <= kHistoryRows; ++k) d.incoming[static_cast<size_t>(k)] = d.deep[static_cast<size_t>(n + k)];
  cx.form.setChecked(fmain::Cauto, false);
  cx.inform(draw_text::kDeleted, draw_text::kTip);
  const bool applied = apply ? apply(cx) : ApplyIncomingDraws(cx);
  // The window came from the last answer: a draw entered by hand is gone with it.
  if (applied) d.handEntered = 0;
  return applied;
}

void RunDeletionDialogue(Context& cx, const ApplyDrawsFn& apply) {
  cx.askYesNo(draw_text::kAskDelete, draw_text::kTip, [&cx, apply](bool yes) {
    if (!yes) return;
    cx.askYesNo(draw_text::kAskDeleteSure, draw_text::kTip, [&cx, apply](bool sure) {
      if (!sure) return;
      cx.askText(draw_text::kAskDeleteCount, draw_text::kTip, "", [&cx, apply](std::optional<std::string> reply) {
        // A cancelled box, an empty reply or one that is no number ends the dialogue.
        if (!reply || !StartsWithNumber(*reply)) return;
        DeleteLatestDraws(cx, ReadInt(*reply), apply);
      });
    });
  });
}

ManualEntry ParseManualEntry(std::string_view text) {
  ManualEntry e;
  std::string_view s = TrimView(text);
  if (s.find('-') == std::string_view::npos) {
    e.error = draw_text::kBadFormat;
    return e;
  }
  std::string kept;
  for (char c : s)
    if ((c >= '0' && c <= '9') || c == '-') kept += c;
  std::vector<std::string> pieces = Split(kept, "-");
  if (pieces[0].size() != 3) {
    e.error = draw_text::kBadPeriod;
    return e;
  }
  if (pieces.size() < 2 || pieces[1].size() != 5) {
    e.error = draw_text::kBadDigits;
    return e;
  }
  e.ok = true;
  e.period = pieces[0];
  e.digits = pieces[1];
  return e;
}

bool OpenManualEntry(Context& cx) {
  if (!HistoryPresent(cx)) {
    cx.inform(draw_text::kNoHistory, draw_text::kErrorTipTitle);
    return false;
  }
  cx.form.setText(fadd::T_total_renshu, FollowingPeriod(cx.draws.history[1].period) + draw_text::kEntryTail);
  cx.form.setEnabled(fadd::C_rulu_kjh, true);
  cx.form.setVisible(fadd::window, true);
  return true;
}

bool ConfirmManualEntry(Context& cx, const ApplyDrawsFn& apply) {
  if (!HistoryPresent(cx)) {
    cx.inform(draw_text::kNoHistory, draw_text::kErrorTitle);
    return false;
  }
  ManualEntry e = ParseManualEntry(cx.form.text(fadd::T_total_renshu));
  if (!e.ok) {
    cx.inform(e.error, draw_text::kErrorTitle);
    return false;
  }
  cx.form.setEnabled(fadd::C_rulu_kjh, false);
  DrawStore& d = cx.draws;
  for (int i = kHistoryRows; i >= 2; --i) d.incoming[static_cast<size_t>(i)] = d.incoming[static_cast<size_t>(i - 1)];
  d.incoming[1] = DrawRecord{e.period, e.digits};
  cx.form.setVisible(fadd::window, false);
  bool applied = apply ? apply(cx) : ApplyIncomingDraws(cx);
  if (applied) d.handEntered = std::min(d.handEntered + 1, kHistoryRows);
  cx.form.setEnabled(fadd::C_rulu_kjh, true);
  cx.form.touch(fmain::Tkjh);
  cx.form.setChecked(fmain::Cauto, false);
  return applied;
}

bool SelectSubGame(Context& cx, int element) {
  static constexpr int kStart[3] = {3, 2, 1};
  if (element < 0 || element > 2) return false;
  cx.form.setOption(fmain::Op_3x_moshi, element);
  int start = kStart[element];
  if (cx.draws.subStart == start) return false;
  cx.draws.subStart = start;
  cx.draws.rebuildSubSeries();
  return true;
}

}  // namespace lumora
