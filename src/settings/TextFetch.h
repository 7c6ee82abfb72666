#pragma once
// The text fetch of the settings exchange: one GET on the exchange's own channel whose answer
// text goes to a callback.
#include <functional>
#include <string>

#include "core/Context.h"

namespace lumora {

inline constexpr int kTextChannel = 0;             // the settings exchange's own channel
inline constexpr int kFetchTextTimeoutMs = 16000;  // "*ng*" once 16 s have passed without an answer
inline constexpr const char* kFetchTimedOut = "*ng*";

// Asks `url` + "&a=" + a random number in [0, 10) (no cache answers) on the text channel and hands
// the answer to `done`: the response text; "*ng*" when none came within 16 s; "" when the request
// failed (unreachable host, network error). Returns at once; `done` runs later from the event
// loop (never inside this call with the real port).
void FetchText(Context& cx, const std::string& url, std::function<void(const std::string&)> done);

}  // namespace lumora
