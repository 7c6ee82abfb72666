#include "settings/SettingsExchange.h"

#include <optional>
#include <vector>

#include "core/ProgressPanel.h"
#include "core/Text.h"
#include "core/controls/Fmain.h"
#include "curves/TrendMatching.h"
#include "plan/MonitorPools.h"
#include "plan/PlanModes.h"
#include "settings/SettingsTexts.h"
#include "settings/TextFetch.h"

namespace lumora {

namespace {
namespace T = settings_texts;
constexpr int kLines = 15;

// Sets a text box and runs its reaction when the text changed.
template <typename React>
void SetText(Context& cx, ControlRef key, const std::string& value, React react) {
  if (cx.form.text(key) == value) return;
  cx.form.setText(key, value);
  react();
}

void Finish(Context& cx, SettingsState& st, int button) {
  ShowProgressPanel(cx, 0);
  cx.form.setEnabled(T::kCentreButtons[button], true);
  st.exchange = SettingsExchange::None;
}

void Begin(Context& cx, SettingsState& st, SettingsExchange what, int button, std::string_view label) {
  st.exchange = what;
  cx.form.setEnabled(T::kCentreButtons[button], false);
  ShowProgressPanel(cx, 1);
  cx.form.setText(T::kProgressLabel, std::string(label));
}

std::string AccountQuery(const ServiceConfig& s) {
  return "?username=" + PercentEncode(s.user) + "&pw=" + PercentEncode(s.password) +
         "&sjm_in=" + PercentEncode(s.randomCode);
}
}  // namespace

SettingsRecordText BuildSettingsRecord(const Form& f) {
  SettingsRecordText out;
  // "/" separates a field's values and "*" the fields: a value holding either cannot travel.
  auto value = [&](const std::string& v, const std::string& box, bool slashAllowed = false) {
    if (!out.error.empty()) return v;
    std::string what = Contains(v, "*") ? "“*”" : (!slashAllowed && Contains(v, "/")) ? "“/”" : "";
    if (!what.empty()) out.error = "参数没有上传：" + box + " 的内容含有" + what + "，请修改后再上传。";
    return v;
  };
  std::vector<std::string> zs, xl;
  for (int i = 0; i < kLines; ++i)
    zs.push_back(value(f.text(fmain::T_quxian_zhushu[i]), fmain::T_quxian_zhushu[i].messageName()));
  std::string ms1 = value(f.text(fmain::T_jh_dadi_chongfu_cs), fmain::T_jh_dadi_chongfu_cs.messageName());
  ms1 += "/" + value(f.text(fmain::T_jh_dadi_chongfu_rc), fmain::T_jh_dadi_chongfu_rc.messageName());
  std::string ms2 = value(ReplaceAll(f.text(fmain::T_moshier_input), kCrLf, "@"), fmain::T_moshier_input.messageName());
  ms2 += "/" + value(f.text(fmain::T_moshier_input_rc), fmain::T_moshier_input_rc.messageName());
  for (int i = 0; i < kLines; ++i) xl.push_back(f.checked(fmain::Ch_jiankong_jj[i]) ? "1" : "0");
  const std::string jk = value(Trim(f.text(fmain::T_jiankong_rc)), fmain::T_jiankong_rc.messageName(), true);
  if (!out.error.empty()) return out;
  const std::string m(T::kRecordMarker);
  out.text = m + Join(zs, "/") + "*" + ms1 + "*" + ms2 + "*" + Join(xl, "/") + "*" + jk + m;
  return out;
}

bool ApplySettingsRecord(Context& cx, std::string_view answer) {
  std::vector<std::string> pieces = Split(answer, T::kRecordMarker);
  if (pieces.size() < 2) return false;
  std::vector<std::string> fields = Split(pieces[1], "*");
  auto field = [&](size_t i) -> std::optional<std::vector<std::string>> {
    if (i >= fields.size()) return std::nullopt;
    return Split(fields[i], "/");
  };

  auto zs = field(0);
  if (!zs) return false;
  for (int i = 0; i < kLines; ++i) {
    if (static_cast<size_t>(i) >= zs->size()) return false;
    SetText(cx, fmain::T_quxian_zhushu[i], (*zs)[static_cast<size_t>(i)], [&] { CheckCurveCount(cx, i); });
  }

  auto ms1 = field(1);
  if (!ms1) return false;
  SetText(cx, fmain::T_jh_dadi_chongfu_cs, (*ms1)[0], [&] { OnRepeatCountEdited(cx); });
  if (ms1->size() < 2) return false;
  SetText(cx, fmain::T_jh_dadi_chongfu_rc, (*ms1)[1], [] {});

  auto ms2 = field(2);
  if (!ms2) return false;
  SetText(cx, fmain::T_moshier_input, ReplaceAll((*ms2)[0], "@", kCrLf), [] {});
  if (ms2->size() < 2) return false;
  SetText(cx, fmain::T_moshier_input_rc, (*ms2)[1], [] {});

  auto xl = field(3);
  if (!xl) return false;
  for (int i = 0; i < kLines; ++i) {
    if (static_cast<size_t>(i) >= xl->size()) return false;
    std::optional<int> v = ReadStrictInt((*xl)[static_cast<size_t>(i)]);
    if (!v) return false;
    const auto key = fmain::Ch_jiankong_jj[i];
    if (cx.form.checked(key) != (*v != 0)) {
      cx.form.setChecked(key, *v != 0);
      RecountMonitorSelection(cx);
    }
  }

  if (fields.size() < 5) return false;
  SetText(cx, fmain::T_jiankong_rc, Trim(fields[4]), [] {});
  return true;
}

std::string UploadSettingsUrl(const ServiceConfig& service, std::string_view record) {
  return service.settingsEndpoint + AccountQuery(service) + "&lx=2&zt=1&uesr_shizhi=" + PercentEncode(record);
}

std::string DownloadSettingsUrl(const ServiceConfig& service) {
  return service.settingsEndpoint + AccountQuery(service) + "&lx=2&zt=2&";
}

void UploadSettings(Context& cx, SettingsState& st) {
  if (st.exchange != SettingsExchange::None) return;
  SettingsRecordText record = BuildSettingsRecord(cx.form);
  if (!record.error.empty()) {
    cx.inform(record.error, std::string(T::kUnsendableTitle));
    return;
  }
  Begin(cx, st, SettingsExchange::Upload, 3, T::kUploading);
  FetchText(cx, UploadSettingsUrl(cx.service, record.text), [&cx, &st](const std::string& answer) {
    if (Contains(answer, T::kAcknowledged)) cx.inform(std::string(T::kUploaded), std::string(T::kExchangeTitle));
    else cx.inform(std::string(T::kUploadFailed), std::string(T::kExchangeTitle));
    Finish(cx, st, 3);
  });
}

void DownloadSettings(Context& cx, SettingsState& st) {
  if (st.exchange != SettingsExchange::None) return;
  Begin(cx, st, SettingsExchange::Download, 4, T::kDownloading);
  FetchText(cx, DownloadSettingsUrl(cx.service), [&cx, &st](const std::string& answer) {
    if (!Contains(answer, T::kAcknowledged)) {
      cx.inform(std::string(T::kDownloadFailed), std::string(T::kExchangeTitle));
    } else if (ApplySettingsRecord(cx, answer)) {
      cx.inform(std::string(T::kDownloaded), std::string(T::kExchangeTitle));
    } else {
      cx.inform(std::string(T::kRecordBroken), std::string(T::kRecordBrokenTitle));
    }
    Finish(cx, st, 4);
  });
}

}  // namespace lumora
