#pragma once
// Pictures of the side window `Fk` painted by the plan engine: picture 4 the plan's fund chart,
// picture 5 the hit board of the eight backup pools.
#include <string_view>

namespace lumora {

inline constexpr std::string_view kPreviewPicture = "Fk.Pic_k_3";  // 计划K线预览（上）
inline constexpr std::string_view kFundPicture = "Fk.Pic_k_4";     // 计划利润走势曲线
inline constexpr std::string_view kBoardPicture = "Fk.Pic_k_5";    // 底部7个交集框+一个综合框号码中挂图

}  // namespace lumora
