#include "settings/SchemeFile.h"

#include <functional>
#include <optional>
#include <vector>

#include "core/Text.h"
#include "core/TextCodec.h"
#include "core/controls/Fmain.h"
#include "curves/TrendMatching.h"
#include "plan/MonitorPools.h"
#include "plan/PlanModes.h"

namespace lumora {
namespace {

constexpr int kLines = 15;
constexpr std::string_view kMarkers[] = {kSchemeCounts,  kSchemeMasks,     kSchemeMaskOn, kSchemeModeOne,
                                         kSchemeModeTwo, kSchemeSelection, kSchemeEnd};

// Why a value cannot be stored in a scheme file, or nothing. `before` and `after` are the texts
// the value is written between ("/", a start marker, "*end*"): a marker may also form across the
// value's edge ("end*" right after "*15zs*", "*ms1" right before "*end*").
std::optional<std::string> Unstorable(std::string_view value, const std::string& box, std::string_view before = "/",
                                      std::string_view after = "/") {
  std::string what;
  if (Contains(value, "/")) {
    what = "“/”";
  } else {
    // Every marker starts and ends with "*", so only the neighbours' inner characters can join in.
    const std::string joined = std::string(before.substr(before.empty() ? 0 : 1)) + std::string(value) +
                               std::string(after.substr(0, after.empty() ? 0 : after.size() - 1));
    for (std::string_view m : kMarkers)
      if (Contains(joined, m)) {
        if (!Contains(value, m))
          return "方案没有保存：" + box + " 的内容在开头或结尾与相邻的文字组成了方案标记“" + std::string(m) +
                 "”，请修改后再保存。";
        what = "方案标记“" + std::string(m) + "”";
        break;
      }
  }
  if (what.empty()) return std::nullopt;
  return "方案没有保存：" + box + " 的内容含有" + what + "，请修改后再保存。";
}

std::string CheckValue(const Form& f, ControlRef key) { return f.checked(key) ? "1" : "0"; }

void SetText(Context& cx, ControlRef key, const std::string& value, const std::function<void()>& react) {
  if (cx.form.text(key) == value) return;
  cx.form.setText(key, value);
  if (react) react();
}

void SetCheck(Context& cx, ControlRef key, bool value, const std::function<void()>& react) {
  if (cx.form.checked(key) == value) return;
  cx.form.setChecked(key, value);
  if (react) react();
}

}  // namespace

std::string ExtractSection(std::string_view start, std::string_view end, std::string_view text) {
  if (start.empty() || end.empty()) return {};
  std::optional<size_t> s, e;
  for (size_t p = 0; p < text.size(); ++p) {
    if (text.compare(p, start.size(), start) == 0) s = p;
    if (text.compare(p, end.size(), end) == 0) e = p;
    if (s && e && *e > *s) {
      // An end marker that begins inside the start marker ("*15zs*end*") encloses no text: the
      // section is damaged, not the rest of the file.
      if (*e < *s + start.size()) return {};
      return std::string(text.substr(*s + start.size(), *e - *s - start.size()));
    }
  }
  return {};
}

std::string SchemeTextFromBytes(std::string_view bytes) { return ToCrLf(DecodeDataText(bytes)); }

SchemeText BuildSchemeText(const Form& f) {
  SchemeText out;
  std::string text;
  auto value = [&](const std::string& v, const std::string& box, std::string_view before = "/",
                   std::string_view after = "/") {
    if (!out.error.empty()) return;
    if (auto why = Unstorable(v, box, before, after)) out.error = *why;
    text += v;
  };
  auto section = [&](std::string_view marker, const std::function<void()>& body) {
    text += marker;
    body();
    text += kSchemeEnd;
    text += "\r\n";
  };
  section(kSchemeCounts, [&] {
    for (int i = 0; i < kLines; ++i)
      value(f.text(fmain::T_quxian_zhushu[i]), fmain::T_quxian_zhushu[i].messageName(), i == 0 ? kSchemeCounts : "/"),
          text += "/";
  });
  section(kSchemeMasks, [&] {
    for (int i = 0; i < kLines; ++i)
      value(f.text(fmain::T_xl_muduan[i]), fmain::T_xl_muduan[i].messageName(), i == 0 ? kSchemeMasks : "/"),
          text += "/";
  });
  section(kSchemeMaskOn, [&] {
    for (int i = 0; i < kLines; ++i) text += CheckValue(f, fmain::Check_xl_md[i]) + "/";
  });
  section(kSchemeModeOne, [&] {
    text += CheckValue(f, fmain::Check_jh_dadi_chongfu) + "/";
    value(f.text(fmain::T_jh_dadi_chongfu_cs), fmain::T_jh_dadi_chongfu_cs.messageName());
    text += "/";
    value(f.text(fmain::T_jh_dadi_chongfu_rc), fmain::T_jh_dadi_chongfu_rc.messageName());
    text += "/";
    value(f.text(fmain::T_jiankong_rc), fmain::T_jiankong_rc.messageName(), "/", kSchemeEnd);
  });
  section(kSchemeModeTwo, [&] {
    text += CheckValue(f, fmain::Check_jh_dadi_fenzu) + "/";
    value(f.text(fmain::T_moshier_input), fmain::T_moshier_input.messageName());
    text += "/";
    value(f.text(fmain::T_moshier_input_rc), fmain::T_moshier_input_rc.messageName());
    text += "/";
  });
  section(kSchemeSelection, [&] {
    for (int i = 0; i < kLines; ++i) text += CheckValue(f, fmain::Ch_jiankong_jj[i]) + "/";
  });
  if (out.error.empty()) out.text = std::move(text);
  return out;
}

bool ApplySchemeText(Context& cx, std::string_view text) {
  auto values = [&](std::string_view marker, size_t need) -> std::optional<std::vector<std::string>> {
    std::vector<std::string> v = Split(ExtractSection(marker, kSchemeEnd, text), "/");
    if (v.size() < need) return std::nullopt;
    return v;
  };
  auto integers = [&](const std::vector<std::string>& v, size_t n) -> std::optional<std::vector<int>> {
    std::vector<int> out;
    for (size_t i = 0; i < n; ++i) {
      auto x = ReadStrictInt(v[i]);
      if (!x) return std::nullopt;
      out.push_back(*x);
    }
    return out;
  };

  auto counts = values(kSchemeCounts, kLines);
  if (!counts) return false;
  for (int i = 0; i < kLines; ++i)
    SetText(cx, fmain::T_quxian_zhushu[i], (*counts)[static_cast<size_t>(i)], [&] { CheckCurveCount(cx, i); });

  auto masks = values(kSchemeMasks, kLines);
  if (!masks) return false;
  for (int i = 0; i < kLines; ++i)
    SetText(cx, fmain::T_xl_muduan[i], (*masks)[static_cast<size_t>(i)], [&] { CheckEndControlMask(cx, i); });

  auto maskOn = values(kSchemeMaskOn, kLines);
  auto maskOnValues = maskOn ? integers(*maskOn, kLines) : std::nullopt;
  if (!maskOnValues) return false;
  for (int i = 0; i < kLines; ++i)
    SetCheck(cx, fmain::Check_xl_md[i], (*maskOnValues)[static_cast<size_t>(i)] != 0, {});

  auto selection = values(kSchemeSelection, kLines);
  auto selectionValues = selection ? integers(*selection, kLines) : std::nullopt;
  if (!selectionValues) return false;
  for (int i = 0; i < kLines; ++i)
    SetCheck(cx, fmain::Ch_jiankong_jj[i], (*selectionValues)[static_cast<size_t>(i)] != 0,
             [&] { RecountMonitorSelection(cx); });

  auto one = values(kSchemeModeOne, 4);
  auto oneOn = one ? ReadStrictInt((*one)[0]) : std::nullopt;
  if (!oneOn) return false;
  SetCheck(cx, fmain::Check_jh_dadi_chongfu, *oneOn != 0, [&] { OnModeOneToggled(cx); });
  SetText(cx, fmain::T_jh_dadi_chongfu_cs, (*one)[1], [&] { OnRepeatCountEdited(cx); });
  SetText(cx, fmain::T_jh_dadi_chongfu_rc, (*one)[2], {});
  SetText(cx, fmain::T_jiankong_rc, (*one)[3], {});

  auto two = values(kSchemeModeTwo, 3);
  auto twoOn = two ? ReadStrictInt((*two)[0]) : std::nullopt;
  if (!twoOn) return false;
  SetCheck(cx, fmain::Check_jh_dadi_fenzu, *twoOn != 0, [&] { OnModeTwoToggled(cx); });
  SetText(cx, fmain::T_moshier_input, (*two)[1], {});
  SetText(cx, fmain::T_moshier_input_rc, (*two)[2], {});
  return true;
}

}  // namespace lumora
