#pragma once
// The bet log list `List_tz_new`: the program's only log.
#include <string>

#include "core/Context.h"
#include "core/controls/Fmain.h"

namespace lumora {

inline constexpr auto kBetLogList = fmain::List_tz_new;

// Appends `message` + "::" + the current date and time as one line; once the list holds 201
// lines it is emptied first.
void LogBetMessage(Context& cx, const std::string& message);

}  // namespace lumora
