#include "money/BetLog.h"

namespace lumora {

void LogBetMessage(Context& cx, const std::string& message) {
  if (cx.form.items(kBetLogList).size() >= 201) cx.form.setItems(kBetLogList, {});
  auto now = cx.ports.clock ? cx.ports.clock->now() : std::chrono::system_clock::now();
  cx.form.addItem(kBetLogList, message + "::" + DateTimeText(now));
  cx.form.setSelectedIndex(kBetLogList, static_cast<int>(cx.form.items(kBetLogList).size()) - 1);
}

}  // namespace lumora
