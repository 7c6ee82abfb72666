#include "money/BetLog.h"

#include "core/Text.h"

namespace lumora {

void LogBetMessage(Context& cx, const std::string& message) {
  auto now = cx.ports.clock ? cx.ports.clock->now() : std::chrono::system_clock::now();
  std::string line = Trim(message) + "::" + DateTimeText(now);
  cx.recorder().betLogLine(line);
  size_t n = cx.form.items(kBetLogList).size();
  if (n < 201) {
    cx.form.addItem(kBetLogList, std::move(line));
    if (n >= 3) cx.form.setSelectedIndex(kBetLogList, static_cast<int>(n));
  } else {
    cx.form.setItems(kBetLogList, {});
    cx.form.addItem(kBetLogList, std::move(line));
  }
}

}  // namespace lumora
