#pragma once
// Pictures of the side window `Fk` painted by the plan engine: picture 4 the plan's fund chart,
// picture 5 the hit board of the eight backup pools.
#include <string_view>
#include "core/controls/Fk.h"

namespace lumora {

inline constexpr auto kPreviewPicture = fk::Pic_k[3];  // 计划K线预览（上）
inline constexpr auto kFundPicture = fk::Pic_k[4];     // 计划利润走势曲线
inline constexpr auto kBoardPicture = fk::Pic_k[5];    // 底部7个交集框+一个综合框号码中挂图

}  // namespace lumora
