#include "tools/BankerRanking.h"

#include <cmath>
#include <exception>

#include "alarm/Notices.h"
#include "core/NumberSet.h"
#include "core/Text.h"
#include "core/controls/Fmain.h"
#include "tools/Texts.h"

namespace lumora {

namespace tt = tools_text;

namespace {

constexpr double kIntLimit = 2147483647.0;

std::string S(std::string_view v) { return std::string(v); }

// Digit at `index` of a draw's five digits; an empty row or a non-digit is 0.
int DrawDigit(const DrawRecord& r, size_t index) {
  if (index >= r.digits.size()) return 0;
  char c = r.digits[index];
  return c >= '0' && c <= '9' ? c - '0' : 0;
}

// Bit d set for every digit d of the last three positions of a draw.
int LastThreeMask(const DrawRecord& r) {
  return (1 << DrawDigit(r, 2)) | (1 << DrawDigit(r, 3)) | (1 << DrawDigit(r, 4));
}

int DigitMask(std::string_view text) {
  int mask = 0;
  for (char c : text)
    if (c >= '0' && c <= '9') mask |= 1 << (c - '0');
  return mask;
}

// Field 1 of a list line split at "：" (the group text), or nothing when the line has none.
std::optional<std::string> GroupField(std::string_view line) {
  if (!Contains(line, tt::kFieldMark)) return std::nullopt;
  auto fields = Split(line, tt::kFieldMark);
  return fields.size() > 1 ? fields[1] : std::string();
}

std::optional<std::string> ComingLineGroups(const Context& cx, ListBox list) {
  const auto& items = cx.form.items(list);
  if (items.size() <= static_cast<size_t>(kRankingLines - 1)) return std::nullopt;
  return GroupField(items[kRankingLines - 1]);
}

}  // namespace

RankingKeys RankingKeysOf(int ranking) {
  if (ranking == 2)
    return {fmain::T_paixu_qishu_02, fmain::T_paixu_fenjiemoshi_02, fmain::T_paixu_fenjie_houbei_02,
            fmain::T_paixu_fenjie_houbei_cs_02, fmain::List02};
  return {fmain::T_paixu_qishu, fmain::T_paixu_fenjiemoshi, fmain::T_paixu_fenjie_houbei,
          fmain::T_paixu_fenjie_houbei_cs, fmain::List01};
}

const ControlTexts& BankerDesignTexts() {
  static const ControlTexts texts = {
      {fmain::T_paixu_qishu, S(tt::kDefaultWindow)},
      {fmain::T_paixu_qishu_02, S(tt::kDefaultWindow)},
      {fmain::T_paixu_fenjiemoshi, S(tt::kDefaultMode)},
      {fmain::T_paixu_fenjiemoshi_02, S(tt::kDefaultMode)},
      {fmain::T_paixu_fenjie_houbei, ""},
      {fmain::T_paixu_fenjie_houbei_02, ""},
      {fmain::T_paixu_fenjie_houbei_cs, S(tt::kDefaultHitCounts)},
      {fmain::T_paixu_fenjie_houbei_cs_02, S(tt::kDefaultHitCounts)},
      {fmain::T_paixu_input, S(tt::kDefaultRules)},
      {fmain::T_paixu_input_rc, S(tt::kDefaultAccepted)},
      {fmain::T_paixu_dadi, ""},
      {fmain::Label_paixu_zhushu, "0"},
  };
  return texts;
}

void ApplyBankerDesignValues(Form& form) {
  for (const auto& [key, text] : BankerDesignTexts()) form.setText(key, text);
}

RankingSettings ReadRankingSettings(std::string_view windowText, std::string_view modeText) {
  RankingSettings s;
  double n = ReadNumber(windowText);
  // Rounded half to even, 50.5 is still 50.
  if (n > kRankingMaxWindow + 0.5) {
    s.error = tt::kWindowTooLong;
    s.errorTitle = tt::kTitleHint;
    return s;
  }
  if (!std::isfinite(n) || n < -kIntLimit) {
    s.error = tt::kRankingFailed;
    s.errorTitle = tt::kTitleHint;
    return s;
  }
  s.window = static_cast<int>(RoundHalfEven(n));
  std::string mode = Trim(modeText);
  if (!Contains(mode, "-")) {
    s.error = tt::kModeNeedsDash;
    s.errorTitle = tt::kModeNeedsDashTitle;
    return s;
  }
  for (const std::string& part : Split(mode, "-")) {
    double len = ReadNumber(part);
    // A length the groups cannot be cut by (negative, or beyond any text) is a format error.
    if (!std::isfinite(len) || len < 0 || len > kIntLimit) {
      s.error = tt::kRankingFailed;
      s.errorTitle = tt::kTitleHint;
      s.lengths.clear();
      return s;
    }
    s.lengths.push_back(static_cast<int>(RoundHalfEven(len)));
  }
  return s;
}

std::string RankedDigits(const DrawStore& draws, int firstRow, int window, bool coldFirst) {
  int count[10] = {};
  int digit[10];
  for (int d = 0; d < 10; ++d) digit[d] = d;
  for (int r = firstRow; r < firstRow + window; ++r) {
    static const DrawRecord kEmpty;
    const DrawRecord& rec = r >= 0 && r < static_cast<int>(draws.history.size()) ? draws.history[r] : kEmpty;
    for (size_t p = 2; p <= 4; ++p) ++count[DrawDigit(rec, p)];
  }
  // Ten passes of neighbour exchanges, only when the left count is strictly smaller: equal counts
  // keep ascending digit order.
  for (int pass = 0; pass < 10; ++pass) {
    for (int j = 0; j + 1 < 10; ++j) {
      if (count[j] < count[j + 1]) {
        std::swap(count[j], count[j + 1]);
        std::swap(digit[j], digit[j + 1]);
      }
    }
  }
  std::string ranked(10, '0');
  for (int j = 0; j < 10; ++j) ranked[j] = static_cast<char>('0' + digit[coldFirst ? 9 - j : j]);
  return ranked;
}

std::vector<std::string> CutGroups(std::string_view ranked, const std::vector<int>& lengths) {
  std::vector<std::string> groups;
  size_t at = 0;
  for (int len : lengths) {
    size_t from = std::min(at, ranked.size());
    size_t take = std::min(static_cast<size_t>(std::max(len, 0)), ranked.size() - from);
    groups.emplace_back(ranked.substr(from, take));
    at = from + take;
  }
  return groups;
}

std::vector<std::string> BuildRankingLines(const DrawStore& draws, int window, const std::vector<int>& lengths,
                                           bool coldFirst) {
  std::vector<std::string> lines;
  lines.reserve(kRankingLines);
  for (int i = kRankingLines - 1; i >= 0; --i) {
    std::vector<std::string> groups = CutGroups(RankedDigits(draws, i + 1, window, coldFirst), lengths);
    std::string groupText = Join(groups, "-");
    std::string line;
    if (i > 0) {
      const DrawRecord& row = draws.history[i];
      int drawMask = LastThreeMask(row);
      std::vector<std::string> flags;
      int hits = 0;
      for (const std::string& g : groups) {
        bool hit = (DigitMask(g) & drawMask) != 0;
        hits += hit;
        flags.emplace_back(hit ? "1" : "0");
      }
      line = row.period + S(tt::kPeriodMark) + groupText + S(tt::kHitsMark) + Join(flags, "-") + "=" +
             std::to_string(hits);
    } else {
      // The coming draw: the period after the newest one, no wrap-around into a new day.
      int64_t next = static_cast<int64_t>(ReadInt(draws.history[1].period)) + 1;
      line = Pad(next, 3) + S(tt::kPeriodMark) + groupText + S(tt::kHitsMark) + S(tt::kComingTail);
    }
    lines.push_back(std::move(line));
  }
  return lines;
}

void RefreshRanking(Context& cx, int ranking) {
  RankingKeys k = RankingKeysOf(ranking);
  RankingSettings s = ReadRankingSettings(cx.form.text(k.window), cx.form.text(k.mode));
  if (!s.error.empty()) {
    cx.inform(s.error, s.errorTitle);
    return;
  }
  // Without a window only the filter fed from the rankings reads their lines.
  if (cx.headless && !cx.form.checked(fmain::Check_dz_auto)) return;
  cx.form.setItems(k.list, BuildRankingLines(cx.draws, s.window, s.lengths, ranking == 2));
  cx.form.setSelectedIndex(k.list, kRankingLines - 1);
}

void PickRankingLine(Context& cx, int ranking, int index) {
  RankingKeys k = RankingKeysOf(ranking);
  const auto& items = cx.form.items(k.list);
  if (index < 0 || index >= static_cast<int>(items.size())) return;
  if (auto groups = GroupField(items[static_cast<size_t>(index)])) cx.form.setText(k.picked, *groups);
}

void AddPickedToFilter(Context& cx, int ranking) {
  RankingKeys k = RankingKeysOf(ranking);
  const std::string picked = cx.form.text(k.picked);
  const std::string counts = cx.form.text(k.counts);
  if (TrimView(picked).empty() || TrimView(counts).empty()) {
    cx.inform(S(tt::kNeedData), S(tt::kNeedDataTitle));
    return;
  }
  std::string input = cx.form.text(fmain::T_paixu_input);
  if (!TrimView(input).empty()) input += kCrLf;
  input += picked + "=" + counts;
  cx.form.setText(fmain::T_paixu_input, input);
  cx.form.setText(k.picked, "");
}

void StepRankingWindow(Context& cx, int ranking, int delta) {
  RankingKeys k = RankingKeysOf(ranking);
  // Ranking 1's "+" has always stopped at 49, ranking 2's at 50.
  const int top = ranking == 2 ? kRankingMaxWindow : kRankingMaxWindow - 1;
  int n = cx.form.value(k.window);
  bool changed = false;
  if (delta < 0 && n > 1) {
    --n;
    changed = true;
  } else if (delta > 0 && n < top) {
    ++n;
    changed = true;
  }
  if (changed) cx.form.set(k.window, n);
  if (changed || ranking == 2) RefreshRanking(cx, ranking);
}

std::string CleanFilterInput(std::string_view text) {
  std::string out;
  for (char c : TrimView(text)) {
    if ((c >= '0' && c <= '9') || c == '=' || c == '-' || c == '\r' || c == '\n') out += c;
  }
  return out;
}

FilterResult RunBankerRules(std::string_view rules, std::string_view accepted) {
  struct Rule {
    std::vector<int> groups;    // digit mask per group
    std::vector<bool> accepts;  // accepts[m]: m hit groups satisfy the rule
  };
  std::vector<Rule> parsed;
  for (const std::string& raw : SplitCrLf(rules)) {
    std::string line = Trim(raw);
    if (line.empty() || !Contains(line, "=")) continue;
    auto sides = Split(line, "=");
    const std::string& left = sides[0];
    const std::string& right = sides[1];
    if (!Contains(left, "-")) continue;
    Rule r;
    for (const std::string& g : Split(left, "-")) r.groups.push_back(DigitMask(g));
    for (size_t m = 0; m <= r.groups.size(); ++m) r.accepts.push_back(Contains(right, std::to_string(m)));
    parsed.push_back(std::move(r));
  }
  std::vector<bool> passes;
  for (size_t sat = 0; sat <= parsed.size(); ++sat) passes.push_back(Contains(accepted, std::to_string(sat)));

  NumberSet pool;
  for (int n = 0; n < 1000; ++n) {
    int mask = (1 << (n / 100)) | (1 << (n / 10 % 10)) | (1 << (n % 10));
    size_t satisfied = 0;
    for (const Rule& r : parsed) {
      size_t m = 0;
      for (int g : r.groups) m += (g & mask) != 0;
      satisfied += r.accepts[m];
    }
    if (passes[satisfied]) pool.add(n);
  }
  return {pool.text(), pool.count()};
}

void BankerFilter(Context& cx) {
  try {
    std::string cleaned = CleanFilterInput(cx.form.text(fmain::T_paixu_input));
    cx.form.setText(fmain::T_paixu_input, cleaned);
    if (cleaned.empty()) return;
    FilterResult r = RunBankerRules(cleaned, cx.form.text(fmain::T_paixu_input_rc));
    cx.form.setText(fmain::T_paixu_dadi, r.pool);
    cx.form.setText(fmain::Label_paixu_zhushu, std::to_string(r.count));
  } catch (const std::exception&) {
    cx.inform(S(tt::kFilterFailed), S(tt::kTitleHint));
  }
}

void ClearFilterInput(Context& cx) { cx.form.setText(fmain::T_paixu_input, ""); }

void FeedFilterFromRanking1(Context& cx) {
  if (auto groups = ComingLineGroups(cx, fmain::List01))
    cx.form.setText(fmain::T_paixu_input, *groups + "=" + cx.form.text(fmain::T_paixu_fenjie_houbei_cs));
}

void FeedFilterFromRanking2(Context& cx) {
  if (auto groups = ComingLineGroups(cx, fmain::List02))
    cx.form.setText(fmain::T_paixu_input, cx.form.text(fmain::T_paixu_input) + S(kCrLf) + *groups + "=" +
                                              cx.form.text(fmain::T_paixu_fenjie_houbei_cs_02));
  BankerFilter(cx);
}

void FeedFilterFromRanking(Context& cx) {
  if (!cx.form.checked(fmain::Check_dz_auto)) return;
  FeedFilterFromRanking1(cx);
  FeedFilterFromRanking2(cx);
}

bool PutOnClipboard(Context& cx, const std::string& text) {
  if (!cx.ports.clipboard) return false;
  cx.ports.clipboard->clear();
  cx.ports.clipboard->setText(text);
  return cx.ports.clipboard->text() == text;
}

bool CopyBankerResult(Context& cx) {
  if (!PutOnClipboard(cx, cx.form.text(fmain::T_paixu_dadi))) {
    cx.inform(S(tt::kCopyFailed), S(tt::kCopyFailedTitle));
    return false;
  }
  ShowCopyNotice(cx);
  return true;
}

std::optional<int> InsertBankerResultIntoSourcePool(Context& cx) {
  for (int i = 0; i <= 4; ++i) {
    auto box = fmain::T_dd_beiyong[i];
    if (!cx.form.text(box).empty()) continue;
    cx.form.setText(box, Trim(cx.form.text(fmain::T_paixu_dadi)));
    return i;
  }
  return std::nullopt;
}

}  // namespace lumora
