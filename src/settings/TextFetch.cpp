#include "core/NumberSetTools.h"

#include <exception>
#include <random>

#include "core/Endpoint.h"
#include "core/Feed.h"
#include "core/Text.h"

namespace lumora {

namespace {
constexpr const char* kPhrasesError = "读取用户自定义用语出错";
constexpr const char* kPhrasesErrorTitle = "出错";
constexpr const char* kPhraseSeparator = "@-@";
}  // namespace

void CopyIntersectionToBet(Context& cx) {
  cx.form.setText("T_touzhu_dd_0", cx.form.text("T_jihua_jj_dadi"));
  cx.form.setText("T_touzhu_dd_1", cx.form.text("T_jihua_jj_dadi_zhushu"));
}

void ShowProgressPanel(Context& cx, int flag) { cx.form.setVisible("Pic_jindu", flag == 1); }

void CopyCurveCounts(Context& cx) {
  for (int i = 0; i < 15; ++i) cx.form.setText(Indexed("L_xl_zhushu", i), cx.form.text(Indexed("T_quxian_zhushu", i)));
}

bool LoadUserPhrases(Context& cx) {
  auto text = ReadTextFile(cx.data.phrases());
  if (!text) {
    cx.inform(kPhrasesError, kPhrasesErrorTitle);
    return false;
  }
  const std::string trimmed = Trim(*text);
  // An empty file holds no piece at all: the boxes keep their texts.
  if (trimmed.empty()) {
    cx.inform(kPhrasesError, kPhrasesErrorTitle);
    return false;
  }
  std::vector<std::string> pieces = Split(trimmed, kPhraseSeparator);
  cx.form.setText("T_jihua_qianming", pieces[0]);
  for (size_t i = 1; i < pieces.size() && i <= 3; ++i) cx.form.setText(Indexed("T_zdy_yongyu", static_cast<int>(i - 1)), pieces[i]);
  if (pieces.size() < 4) {
    cx.inform(kPhrasesError, kPhrasesErrorTitle);
    return false;
  }
  return true;
}

void FetchTextSync(Context& cx, const std::string& url, std::function<void(const std::string&)> done) {
  try {
    if (!cx.ports.http) {
      if (done) done(std::string());
      return;
    }
    const float r = static_cast<float>(cx.rng.Uniform() * 10.0);
    std::string full = url + "&a=" + FormatNumber(static_cast<double>(r), 6);
    if (HttpResult refusal; !MaySend(cx, full, refusal)) {
      if (done) done(std::string());
      return;
    }
    cx.ports.http->get(kTextChannel, full, kFetchTextTimeoutMs, kDrawResponseMaxBytes,
                       [done = std::move(done)](const HttpResult& res) {
                         if (!done) return;
                         if (res.ok) done(res.body);
                         else if (res.error == "timeout") done(kFetchTimedOut);
                         else done(std::string());
                       });
  } catch (const std::exception&) {
    if (done) done(std::string());
  }
}

}  // namespace lumora
