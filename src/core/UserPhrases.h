#pragma once
// The user's own phrases, zdy.txt of the data folder: the plan's signature and the three phrases
// group sending may use.
#include "core/Context.h"

namespace lumora {

// Reads zdy.txt of the data folder: trimmed, split at "@-@"; piece 0 -> T_jihua_qianming,
// pieces 1..3 -> T_zdy_yongyu_0..2. A missing file or fewer than four pieces shows
// "读取用户自定义用语出错" (pieces already placed stay). Returns whether all four were placed.
bool LoadUserPhrases(Context& cx);

}  // namespace lumora
