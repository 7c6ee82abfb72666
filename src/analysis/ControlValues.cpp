#include "analysis/ControlValues.h"

#include <algorithm>
#include <cstdint>
#include <string_view>

#include "core/ControlNames.h"
#include "core/Text.h"
#include "core/controls/Fadd.h"
#include "core/controls/Fbj.h"
#include "core/controls/Fk.h"
#include "core/controls/Fmain.h"
#include "core/controls/Ftishi.h"
#include "core/controls/Ftool.h"
#include "tools/BankerRanking.h"
#include "tools/Texts.h"

namespace lumora {
namespace {

enum class Kind {
  Box,        // a check or option box: 1/0, on/off, true/false
  Whole,      // a whole number within [low, high]
  Number,     // a decimal number within [low, high]
  Odds,       // a decimal number above low, at most high
  Multiples,  // whole numbers of 1 or more joined by '-', at least two
  CountList,  // accepted counts: runs of two or three digits between other characters (08.09.10)
  DigitList,  // accepted counts as single digits ("012345")
  Mask,       // at most ten characters
  RankMode,   // the banker ranking's groups: whole lengths joined by '-', as the ranking reads them
  Text,       // any text
};

// A control of a table below: a single control, an array element, or a whole array (index -1).
struct Named {
  std::string_view key;
  int index = -1;
  constexpr Named(ControlRef c) : key(c.key), index(c.index) {}
  template <ControlKind K>
  constexpr Named(const ControlArray<K>& row) : key(row.key) {}
};

struct Settable {
  Named control;
  Kind kind;
  double low = 0, high = 0;
  const char* what = "";  // what the control means, for messages
};

const Settable kSettable[] = {
    // Plan
    {fmain::T_jh_dadi_chongfu_cs, Kind::Whole, 0, 999, "the plan's number of repeats"},
    {fmain::T_jh_dadi_chongfu_rc, Kind::CountList, 0, 0, "the repeat counts accepted"},
    {fmain::T_jiankong_rc, Kind::CountList, 0, 0, "the monitor-pool coverage counts accepted"},
    {fmain::T_moshier_input_rc, Kind::CountList, 0, 0, "the rule counts accepted"},
    {fmain::T_moshier_input, Kind::Text, 0, 0, "the rules of the second plan mode"},
    {fmain::T_duoqi, Kind::Whole, 1, 999, "the periods of a multi-period plan"},
    {fmain::T_jh_qi_baoliu, Kind::Whole, 1, 200, "the periods the plan record keeps"},
    {fmain::T_beiyong_rc, Kind::DigitList, 0, 0, "the backup-pool misses accepted"},
    {fmain::T_jihua_danma, Kind::Text, 0, 0, "the plan's banker rules"},
    {fmain::T_jihua_danma_rc, Kind::DigitList, 0, 0, "the banker rules met accepted"},
    {fmain::T_jihua_qianming, Kind::Text, 0, 0, "the plan record's signature"},
    {fmain::T_zdy_yongyu, Kind::Text, 0, 0, "a phrase of the plan record"},
    {fmain::Check_jh_dadi_chongfu, Kind::Box},
    {fmain::Check_jh_dadi_fenzu, Kind::Box},
    {fmain::Check_duoqi, Kind::Box},
    {fmain::Check_bd, Kind::Box},
    {fmain::Check_hang_lr, Kind::Box},
    {fmain::Check_jihua_jilu_haoma, Kind::Box},
    {fmain::Check_pszj_sx, Kind::Box},
    {fmain::Check_baozi, Kind::Box},
    {fmain::Check_beiyong_canyu, Kind::Box},
    {fmain::Check_duanzu_canyu, Kind::Box},
    {fmain::Ch_jiankong_jj, Kind::Box},
    {fmain::Op_jiankong_zihui, Kind::Box},
    {fmain::Op_jiankong_shougong, Kind::Box},
    // Curves
    {fmain::T_quxian_zhushu, Kind::Whole, 0, 980, "a curve's pool size"},
    {fmain::T_xl_muduan, Kind::Mask, 0, 0, "a curve's end-control mask"},
    {fmain::Check_xl_md, Kind::Box},
    {fmain::Op_mos, Kind::Box},
    // Banker
    {fmain::Check_dz_auto, Kind::Box},
    {fmain::T_paixu_qishu, Kind::Whole, 1, kRankingMaxWindow, "the banker ranking's window"},
    {fmain::T_paixu_qishu_02, Kind::Whole, 1, kRankingMaxWindow, "the second banker ranking's window"},
    {fmain::T_paixu_fenjiemoshi, Kind::RankMode, 0, 0, "the banker ranking's groups"},
    {fmain::T_paixu_fenjiemoshi_02, Kind::RankMode, 0, 0, "the second banker ranking's groups"},
    {fmain::T_paixu_fenjie_houbei_cs, Kind::Text, 0, 0, "the banker ranking's hit counts"},
    {fmain::T_paixu_fenjie_houbei_cs_02, Kind::Text, 0, 0, "the second banker ranking's hit counts"},
    {fmain::T_paixu_input, Kind::Text, 0, 0, "the banker filter's rules"},
    {fmain::T_paixu_input_rc, Kind::Text, 0, 0, "the banker filter's accepted counts"},
    // Statistics
    {fmain::T_szzx_canshu[0], Kind::Odds, 1700, 2000, "the statistics' odds"},
    {fmain::T_szzx_canshu[2], Kind::Multiples, 1, 1000000, "the statistics' multiple sequence"},
    {fmain::T_szzx_canshu[3], Kind::Whole, 2, 999, "the statistics' push-wave periods"},
    {fmain::T_szzx_canshu[4], Kind::Number, 0.005, 0.5, "the statistics' rebate"},
    {fmain::Option_touzhu_sz, Kind::Box},
};

// Controls of the main window that hold something but cannot be varied in a backtest, and why.
struct Refused {
  Named control;
  const char* why;
};

constexpr const char* kResult = "the run writes it (a result, not a setting)";
constexpr const char* kBetting =
    "it belongs to automatic betting and the bet fund, and a backtest places no bets (its money scheme is "
    "Option_touzhu_sz and T_szzx_canshu_0..4)";
constexpr const char* kSending = "it belongs to the group send, and a backtest sends nothing";
constexpr const char* kAlarm = "it belongs to the alarm, and a backtest sounds none";
constexpr const char* kArrival = "it says how new draws arrive, and a backtest replays the draw file";

const Refused kRefused[] = {
    {fmain::T_szzx_canshu[1], "no figure reads the statistics' start multiple"},
    {fmain::Check_jihua_sx, "a backtest ticks it itself: the plan has to run every period"},
    {fmain::Op_3x_moshi, "the sub-game is chosen with --start 1|2|3"},
    {fmain::Tdadi, kResult},
    {fmain::Tkjh, kResult},
    {fmain::Tnew, kResult},
    {fmain::T_jihua_jj_dadi, kResult},
    {fmain::T_jihua_jj_dadi_zhushu, kResult},
    {fmain::T_jh_dadi_jilu, kResult},
    {fmain::T_jh_dadi_jilu_rc, kResult},
    {fmain::T_jiankong_15di_geshu, kResult},
    {fmain::T_paixu_dadi, kResult},
    {fmain::T_paixu_fenjie_houbei, kResult},
    {fmain::T_paixu_fenjie_houbei_02, kResult},
    {fmain::T_dadi_zhushu, kResult},
    {fmain::T_rj_jh_dd, kResult},
    {fmain::T_dd_beiyong, kResult},
    {fmain::T_zhushu_ag, kResult},
    {fmain::Check_touzhu_sx, kBetting},
    {fmain::Check_pt_tz_sx, kBetting},
    {fmain::T_touzhu_dd, kBetting},
    {fmain::T_zd_touzhu_beitou, kBetting},
    {fmain::T_zijin, kBetting},
    {fmain::T_beishu_xy, kBetting},
    {fmain::T_dsf_canshu, kBetting},
    {fmain::T_xy, kBetting},
    {fmain::Tid, kBetting},
    {fmain::Check_qf_min, kSending},
    {fmain::C_qunfa_sx, kSending},
    {fmain::T_qf_yanshi, kSending},
    {fmain::Check_baojing, kAlarm},
    {fmain::T_bj, kAlarm},
    {fmain::Cauto, kArrival},
    {fmain::Cshoudong, kArrival},
};

// What a control of these kinds is: none of them holds a setting.
const char* InertWhat(ControlKind kind) {
  switch (kind) {
    case ControlKind::Button: return "a button";
    case ControlKind::Label: return "a label";
    case ControlKind::Frame: return "a frame";
    case ControlKind::ListBox: return "a list";
    case ControlKind::Picture: return "a picture";
    case ControlKind::Timer: return "a timer";
    case ControlKind::Widget: return "a shape";
    default: return nullptr;
  }
}

const char* WindowWhat(std::string_view window) {
  if (window == fadd::window.key) return "the manual draw entry";
  if (window == fbj::window.key) return "the alarm window";
  if (window == fk::window.key) return "the scheme list";
  if (window == ftishi::window.key) return "the copy notice";
  if (window == ftool::window.key) return "the shrink tool";
  return "another window";
}

// The row of a settable or refused table for the control found: by its own name, else by its
// array's name.
template <typename T, size_t N>
const T* Lookup(const T (&table)[N], const NamedControl& found) {
  if (!found.entry) return nullptr;
  const std::string_view key = found.entry->key;
  for (const T& t : table)
    if (t.control.key == key && t.control.index == found.index) return &t;
  for (const T& t : table)
    if (t.control.key == key && t.control.index < 0) return &t;
  return nullptr;
}

std::string Quoted(const std::string& value) { return "\"" + value + "\""; }

bool IsDecimal(std::string_view t) {
  const size_t dot = t.find('.');
  if (dot == std::string_view::npos) return IsDigits(t) && t.size() <= 12;
  return t.size() <= 12 && (dot == 0 || IsDigits(t.substr(0, dot))) && IsDigits(t.substr(dot + 1));
}

std::string Range(double low, double high) { return FormatNumber(low) + " to " + FormatNumber(high); }

size_t Characters(std::string_view text) {
  size_t n = 0;
  for (unsigned char c : text)
    if ((c & 0xC0) != 0x80) ++n;
  return n;
}

// What the value must be for a text control of kind `s`, or "" when `v` is one.
std::string KindProblem(const Settable& s, const std::string& v) {
  switch (s.kind) {
    case Kind::Box:
      return v == "1" || v == "0" || v == "on" || v == "off" || v == "true" || v == "false"
                 ? ""
                 : "it is a check or option box: give 1 or 0";
    case Kind::Whole:
      if (IsDigits(v) && v.size() <= 9 && ReadNumber(v) >= s.low && ReadNumber(v) <= s.high) return {};
      return "it takes a whole number from " + Range(s.low, s.high) + " (" + s.what + ")";
    case Kind::Number:
      if (IsDecimal(v) && ReadNumber(v) >= s.low && ReadNumber(v) <= s.high) return {};
      return "it takes a number from " + Range(s.low, s.high) + " (" + s.what + ")";
    case Kind::Odds:
      if (IsDecimal(v) && ReadNumber(v) > s.low && ReadNumber(v) <= s.high) return {};
      return "it takes a number above " + FormatNumber(s.low) + " and at most " + FormatNumber(s.high) + " (" + s.what +
             "; the statistics refuse others: 赔率设置要在1700~2000之间)";
    case Kind::Multiples: {
      const std::vector<std::string> items = Split(v, "-");
      bool ok = items.size() >= 2;
      for (const std::string& m : items)
        ok = ok && IsDigits(m) && m.size() <= 9 && ReadNumber(m) >= s.low && ReadNumber(m) <= s.high;
      if (ok) return {};
      return "it takes two or more whole multiples from " + Range(s.low, s.high) + " joined by '-', e.g. 1-2-4 (" +
             s.what + ")";
    }
    case Kind::CountList: {
      // The program looks for each count's two-digit form in the text: a run of one digit or of
      // four would match counts nobody meant ("0809" holds 08, 80 and 09).
      size_t runs = 0, run = 0;
      bool ok = true;
      for (size_t i = 0; i <= v.size(); ++i) {
        if (i < v.size() && v[i] >= '0' && v[i] <= '9') {
          ++run;
          continue;
        }
        if (run) ok = ok && (run == 2 || run == 3);
        runs += run ? 1 : 0;
        run = 0;
      }
      if (ok && runs > 0) return {};
      return "it takes counts of two or three digits between separators, e.g. 08.09.10 (" + std::string(s.what) + ")";
    }
    case Kind::DigitList: return IsDigits(v) ? "" : "it takes digits, e.g. 012 (" + std::string(s.what) + ")";
    case Kind::Mask: return Characters(v) <= 10 ? "" : "it takes at most 10 characters (" + std::string(s.what) + ")";
    case Kind::RankMode: {
      bool ok = true;
      for (const std::string& item : Split(v, "-")) ok = ok && IsDigits(item) && item.size() <= 3;
      const RankingSettings r = ReadRankingSettings(tools_text::kDefaultWindow, v);
      if (ok && r.error.empty()) return {};
      return "it takes whole group lengths joined by '-', e.g. 1-2-3 (" + std::string(s.what) + ")";
    }
    case Kind::Text: return {};
  }
  return {};
}

// The main window's control `name` as a backtest sees it: the settable entry (or nullptr) and why
// it is refused otherwise.
struct Resolved {
  const Settable* settable = nullptr;
  NamedControl found;
  std::string why;
};

Resolved Resolve(const std::string& name) {
  Resolved r;
  r.found = FindControlOrRow(name);
  const ControlEntry* e = r.found.entry;
  const std::string_view key = e ? std::string_view(e->key) : std::string_view();
  if (!e || key.find('.') != std::string_view::npos) {
    // Another window's control, with or without its prefix.
    for (const WindowCatalogue& w : ControlCatalogues()) {
      const std::string prefix = w.prefix;
      if (prefix.empty()) continue;
      const std::string bare = name.rfind(prefix, 0) == 0 ? name.substr(prefix.size()) : name;
      if (const NamedControl other = FindControlOrRow(prefix + bare);
          other.entry && std::string_view(other.entry->key).rfind(prefix, 0) == 0) {
        r.why = name + " is a control of " + std::string(w.window) + " (" + WindowWhat(w.window) + ", " + prefix +
                bare + "), which a backtest does not use";
        return r;
      }
    }
    r.why = "no control named " + name + " in any window";
    return r;
  }
  const Settable* settable = Lookup(kSettable, r.found);
  const Refused* refused = Lookup(kRefused, r.found);
  if (refused) {
    r.why = name + " cannot be set in a backtest: " + refused->why;
    return r;
  }
  if (const char* what = InertWhat(e->kind)) {
    r.why = name + " is " + what + ": it holds no setting";
    return r;
  }
  if (e->isArray() && r.found.index < 0 && !(settable && e->kind == ControlKind::OptionButton)) {
    r.why = name + " is a row of " + std::to_string(e->last - e->first + 1) + " controls: name one of them, " + name +
            "_" + std::to_string(e->first) + ".." + std::to_string(e->last) + ", not the row";
    return r;
  }
  if (settable) {
    r.settable = settable;
    return r;
  }
  r.why = name + " is not among the controls a backtest sets";
  return r;
}

}  // namespace

std::string WhyNotSettable(const std::string& name) { return Resolve(name).why; }

std::string CheckControlValue(const std::string& name, const std::string& value) {
  const Resolved r = Resolve(name);
  if (!r.settable) return r.why;
  const ControlEntry& entry = *r.found.entry;
  const std::string v = Trim(value);
  if (v.empty()) return "an empty value for " + name + ": every value between the commas must be given";
  if (entry.first >= 0 && r.found.index < 0) {
    // An option array by its bare name: the value is the index of the option to select.
    const std::string range = std::to_string(entry.first) + ".." + std::to_string(entry.last);
    if (!IsDigits(v) || v.size() > 3 || ReadInt(v) < entry.first || ReadInt(v) > entry.last)
      return Quoted(value) + " is not a value of " + name + ": it selects one of its " +
             std::to_string(entry.last - entry.first + 1) + " options by index " + range;
    return {};
  }
  const std::string problem = KindProblem(*r.settable, v);
  if (problem.empty()) return {};
  return Quoted(value) + " is not a value of " + name + ": " + problem;
}

}  // namespace lumora
