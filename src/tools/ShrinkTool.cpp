#include "tools/ShrinkTool.h"

#include <exception>
#include <functional>

#include "alarm/Notices.h"
#include "core/Text.h"
#include "core/controls/Ftool.h"
#include "tools/BankerRanking.h"
#include "tools/Texts.h"

namespace lumora {

namespace tt = tools_text;

namespace {

using ButtonRow = ControlArray<ControlKind::Button>;
using CheckRow = ControlArray<ControlKind::CheckBox>;

bool Marked(const Form& f, const ButtonRow& control, int item, int colour) {
  return f.backColor(control[item]) == colour;
}

int MarkedDigits(const Form& f, const ButtonRow& control, int first, int colour) {
  int mask = 0;
  for (int d = 0; d < 10; ++d)
    if (Marked(f, control, first + d, colour)) mask |= 1 << d;
  return mask;
}

int TickedItems(const Form& f, const CheckRow& control, int count) {
  int mask = 0;
  for (int i = 0; i < count; ++i)
    if (f.checked(control[i])) mask |= 1 << i;
  return mask;
}

int Route(int d) { return d % 3; }
bool Big(int d) { return d >= 5; }
bool Odd(int d) { return d % 2 == 1; }
bool IsPrimeDigit(int d) { return d == 1 || d == 2 || d == 3 || d == 5 || d == 7; }

std::string Pattern(int number, bool (*first)(int), std::string_view yes, std::string_view no) {
  std::string out;
  for (int d : {number / 100, number / 10 % 10, number % 10}) out += first(d) ? yes : no;
  return out;
}

// Item of a shape pattern among its row's captions, or -1.
template <size_t N>
int PatternItem(const std::array<std::string_view, N>& patterns, const std::string& p) {
  for (size_t i = 0; i < N; ++i)
    if (patterns[i] == p) return static_cast<int>(i);
  return -1;
}

int BitCount(int mask) { return __builtin_popcount(static_cast<unsigned>(mask)); }

// Runs a button's operation; anything that goes wrong shows the tool's one failure message and
// leaves the previous result.
void Guard(Context& cx, const std::function<void()>& op) {
  try {
    op();
  } catch (const std::exception&) {
    cx.inform(std::string(tt::kUnknownError), std::string(tt::kUnknownErrorTitle));
  }
}

void Paint(Form& f, const ButtonRow& control, int first, int count, int colour) {
  for (int i = first; i < first + count; ++i) f.setBackColor(control[i], colour);
}

void Tick(Form& f, const CheckRow& control, int count, bool on) {
  for (int i = 0; i < count; ++i) f.setChecked(control[i], on);
}

int MarkedColourOf(const ButtonRow& control) {
  return control.key == ftool::C_danzu.key || control.key == ftool::C_danzu_gs.key ? tt::kGreen : tt::kRed;
}

}  // namespace

std::string SizePattern(int number) { return Pattern(number, Big, tt::kBig, tt::kSmall); }
std::string ParityPattern(int number) { return Pattern(number, Odd, tt::kOdd, tt::kEven); }
std::string PrimePattern(int number) { return Pattern(number, IsPrimeDigit, tt::kPrime, tt::kComposite); }

ShrinkMarks ReadShrinkMarks(const Form& f) {
  ShrinkMarks m;
  for (int p = 0; p < 3; ++p) {
    m.compound[p] = MarkedDigits(f, ftool::C_fushi_paichu, p * 10, tt::kRed);
    m.kill[p] = MarkedDigits(f, ftool::C_dingwei_sha, p * 10, tt::kRed);
  }
  for (int i = 0; i < 27; ++i) m.routes[i] = f.checked(ftool::Check_012_paichu[i]);
  for (int i = 0; i < 8; ++i) {
    m.size[i] = f.checked(ftool::Check_pailie_daxiao[i]);
    m.parity[i] = f.checked(ftool::Check_pailie_jiou[i]);
    m.prime[i] = f.checked(ftool::Check_pailie_zhihe[i]);
  }
  m.sumTails = TickedItems(f, ftool::Check_hewei_sha, 10);
  m.spans = TickedItems(f, ftool::Check_kuadu_sha, 10);
  for (int g = 0; g < kBankerGroups; ++g) {
    m.groups[g].digits = MarkedDigits(f, ftool::C_danzu, g * 10, tt::kGreen);
    for (int c = 0; c < 4; ++c)
      if (Marked(f, ftool::C_danzu_gs, g * 4 + c, tt::kGreen)) m.groups[g].counts |= 1 << c;
  }
  m.bankerRepeat = f.checked(ftool::Check_danma_jc);
  m.junk = Trim(f.text(ftool::T_lj_dd));
  return m;
}

NumberSet Shrink(const ShrinkMarks& m) {
  // The CandidateTable: every number 000..999 kept at first.
  NumberSet kept = NumberSet::All();
  const bool compound = m.compound[0] && m.compound[1] && m.compound[2];
  const bool kill = m.kill[0] || m.kill[1] || m.kill[2];
  const NumberSet junk = NumberSet::FromText(m.junk);
  for (int n = 0; n < 1000; ++n) {
    const int d[3] = {n / 100, n / 10 % 10, n % 10};
    auto in = [&d](int mask, int p) { return (mask >> d[p] & 1) != 0; };
    bool remove = false;
    // 1. The whole compound bet H x T x U, only when all three rows are marked.
    if (compound && in(m.compound[0], 0) && in(m.compound[1], 1) && in(m.compound[2], 2)) remove = true;
    // 2. A killed digit at any position.
    if (!remove && kill && (in(m.kill[0], 0) || in(m.kill[1], 1) || in(m.kill[2], 2))) remove = true;
    // 3. Route pattern.
    if (!remove && m.routes.any() && m.routes[Route(d[0]) * 9 + Route(d[1]) * 3 + Route(d[2])]) remove = true;
    // 4.-6. Shape patterns.
    if (!remove && m.size.any() && m.size[PatternItem(tt::kSizePatterns, SizePattern(n))]) remove = true;
    if (!remove && m.parity.any() && m.parity[PatternItem(tt::kParityPatterns, ParityPattern(n))]) remove = true;
    if (!remove && m.prime.any() && m.prime[PatternItem(tt::kPrimePatterns, PrimePattern(n))]) remove = true;
    // 7. Sum tail, 8. span.
    if (!remove && (m.sumTails >> ((d[0] + d[1] + d[2]) % 10) & 1)) remove = true;
    const int span = std::max({d[0], d[1], d[2]}) - std::min({d[0], d[1], d[2]});
    if (!remove && (m.spans >> span & 1)) remove = true;
    // 9. Banker groups in group order: how many banker digits the number holds must be accepted.
    for (int g = 0; !remove && g < kBankerGroups; ++g) {
      const ShrinkMarks::Group& grp = m.groups[g];
      if (!grp.digits) continue;
      int hits = m.bankerRepeat ? in(grp.digits, 0) + in(grp.digits, 1) + in(grp.digits, 2)
                                : BitCount(grp.digits & ((1 << d[0]) | (1 << d[1]) | (1 << d[2])));
      int accepted = grp.counts ? grp.counts : 0b1110;
      if (!(accepted >> hits & 1)) remove = true;
    }
    // 10. The junk list, by plain substring search.
    if (!remove && junk.contains(n)) remove = true;
    if (remove) kept.remove(n);
  }
  return kept;
}

void ks_suoshui(Context& cx) {
  Guard(cx, [&cx] {
    NumberSet kept = Shrink(ReadShrinkMarks(cx.form));
    cx.form.setText(ftool::Tdd, kept.text());
    cx.form.setText(ftool::L_zhushu, std::to_string(kept.count()));
  });
}

void ToggleShrinkMark(Context& cx, const ControlArray<ControlKind::Button>& control, int item) {
  Guard(cx, [&] {
    const int marked = MarkedColourOf(control);
    const ControlRef key = control[item];
    cx.form.setBackColor(key, cx.form.backColor(key) == marked ? tt::kGrey : marked);
  });
}

void PressShrinkAll(Context& cx, int item) {
  Guard(cx, [&] {
    Form& f = cx.form;
    const bool all = ShrinkAllCaption(item) == tt::kMarkAll;
    if (item >= 0 && item <= 5) {
      Paint(f, ftool::C_fushi_paichu, item / 2 * 10, 10, all ? tt::kRed : tt::kGrey);
    } else if (item >= 6 && item <= 11) {
      Paint(f, ftool::C_dingwei_sha, (item - 6) / 2 * 10, 10, all ? tt::kRed : tt::kGrey);
    } else if (item == 12 || item == 13) {
      Tick(f, ftool::Check_012_paichu, 27, all);
    } else if (item >= 14 && item <= 17) {
      const int g = item - 14;
      Paint(f, ftool::C_danzu, g * 10, 10, tt::kGrey);
      Paint(f, ftool::C_danzu_gs, g * 4, 4, tt::kGrey);
    } else if (item == 18 || item == 19) {
      Tick(f, ftool::Check_pailie_daxiao, 8, all);
    } else if (item == 20 || item == 21) {
      Tick(f, ftool::Check_pailie_jiou, 8, all);
    } else if (item == 22 || item == 23) {
      Tick(f, ftool::Check_pailie_zhihe, 8, all);
    } else if (item == 24 || item == 25) {
      Tick(f, ftool::Check_hewei_sha, 10, all);
    } else if (item == 26 || item == 27) {
      Tick(f, ftool::Check_kuadu_sha, 10, all);
    }
  });
}

void ClearAllShrinkConditions(Context& cx) {
  for (int item : {1, 3, 5, 7, 9, 11, 13, 14, 15, 16, 17, 19, 21, 23, 25, 27}) PressShrinkAll(cx, item);
  cx.form.setText(ftool::T_lj_dd, std::string(tt::kJunkCleared));
  cx.form.setText(ftool::Tdd, "");
  cx.form.setText(ftool::L_zhushu, "0");
}

bool CopyShrinkResult(Context& cx) {
  if (!PutOnClipboard(cx, cx.form.text(ftool::Tdd))) {
    cx.inform(std::string(tt::kUnknownError), std::string(tt::kUnknownErrorTitle));
    return false;
  }
  ShowCopyNotice(cx);
  return true;
}

void ClearJunkBox(Context& cx) { cx.form.setText(ftool::T_lj_dd, ""); }

void ShrinkToolDefaults(Form& f) {
  Paint(f, ftool::C_fushi_paichu, 0, 30, tt::kGrey);
  Paint(f, ftool::C_dingwei_sha, 0, 30, tt::kGrey);
  Paint(f, ftool::C_danzu, 0, 40, tt::kGrey);
  Paint(f, ftool::C_danzu_gs, 0, 16, tt::kGrey);
  f.setText(ftool::T_lj_dd, std::string(tt::kJunkDesign));
  f.setText(ftool::Tdd, std::string(tt::kResultDesign));
  f.setText(ftool::L_zhushu, "0");
}

std::string_view ShrinkAllCaption(int item) {
  // Items 14-17 clear the banker groups; elsewhere even items mark, odd items clear.
  if (item >= 14 && item <= 17) return tt::kClear;
  return item % 2 == 0 ? tt::kMarkAll : tt::kClear;
}

}  // namespace lumora
