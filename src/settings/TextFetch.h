#pragma once
// Small routines shared by the plan engine and the windows: the bet boxes, the progress panel,
// the curve count labels, the user phrases and the text fetch of the settings exchange.
#include <functional>
#include <string>

#include "core/Context.h"

namespace lumora {

inline constexpr int kTextChannel = 0;            // the settings exchange's own channel
inline constexpr int kFetchTextTimeoutMs = 16000; // "*ng*" once 16 s have passed without an answer
inline constexpr const char* kFetchTimedOut = "*ng*";

// T_touzhu_dd_0 = T_jihua_jj_dadi, T_touzhu_dd_1 = T_jihua_jj_dadi_zhushu.
void CopyIntersectionToBet(Context& cx);

// Flag 1 shows the progress picture Pic_jindu (in front); any other value hides it.
void ShowProgressPanel(Context& cx, int flag);

// L_xl_zhushu_i shows the text of T_quxian_zhushu_i, i = 0..14.
void CopyCurveCounts(Context& cx);

// Reads zdy.txt of the data folder: trimmed, split at "@-@"; piece 0 -> T_jihua_qianming,
// pieces 1..3 -> T_zdy_yongyu_0..2. A missing file or fewer than four pieces shows
// "读取用户自定义用语出错" (pieces already placed stay). Returns whether all four were placed.
bool LoadUserPhrases(Context& cx);

// Asks `url` + "&a=" + a random number in [0, 10) (no cache answers) on the text channel and hands
// the answer to `done`: the response text; "*ng*" when none came within 16 s; "" when the request
// failed (unreachable host, network error). Returns at once; `done` runs later from the event
// loop (never inside this call with the real port).
void FetchTextSync(Context& cx, const std::string& url, std::function<void(const std::string&)> done);

}  // namespace lumora
