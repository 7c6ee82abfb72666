#include "core/UserPhrases.h"

#include <string>
#include <vector>

#include "core/Files.h"
#include "core/Text.h"
#include "core/controls/Fmain.h"

namespace lumora {

namespace {
constexpr const char* kPhrasesError = "读取用户自定义用语出错";
constexpr const char* kPhrasesErrorTitle = "出错";
constexpr const char* kPhraseSeparator = "@-@";
}  // namespace

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
  cx.form.setText(fmain::T_jihua_qianming, pieces[0]);
  for (size_t i = 1; i < pieces.size() && i <= 3; ++i)
    cx.form.setText(fmain::T_zdy_yongyu[static_cast<int>(i - 1)], pieces[i]);
  if (pieces.size() < 4) {
    cx.inform(kPhrasesError, kPhrasesErrorTitle);
    return false;
  }
  return true;
}

}  // namespace lumora
