#pragma once
// The fifteen monitor pools (one per stored trend) and the monitor board of the last 20 draws.
#include <array>
#include <string>

#include "core/NumberSet.h"
#include "plan/PlanEnv.h"

namespace lumora {

// Builds AllThreeDigitNumbers ("000".."999").
void BuildAllThreeDigitNumbers(PlanState& plan);

// 每期算号: refits all fifteen pools to their stored trends. With "保持当前底" selected it shows
// its message and changes nothing (returns false).
bool ComputeMonitorPools(PlanEnv& env);

// Records which of the fifteen pools held the sub-number of the draw they were made for: the draw
// after the newest one before the last history (board shifts after 20). When the history does not
// hold that draw (a wind-back, a gap longer than the window) no row is recorded.
void RecordMonitorRow(Context& cx, PlanState& plan);
// Paints the grid and the recorded rows into Pic_jiangkong.
void DrawMonitorBoard(Context& cx, const PlanState& plan);
Scene MonitorBoardScene(const PlanState& plan);
// 清空监控记录.
void ClearMonitorBoard(Context& cx, PlanState& plan);

// Ticked Ch_jiankong_jj boxes, written to T_jiankong_15di_geshu.
void RecountMonitorSelection(Context& cx);
// C_xl_all: index 0 ticks all fifteen boxes, index 1 clears them.
void SelectAllMonitors(Context& cx, int index);

// 复 (C_xiaodi_cp): monitor pool i to the clipboard, then the copy notice.
void CopyMonitorPool(PlanEnv& env, int i);
// Puts `text` on the clipboard and shows the copy notice (or the copy failure message).
void CopyToClipboard(Context& cx, const std::string& text, bool clearFirst = false);

// <导出小底> and <导出循环后的每个底>.
void ExportBasePools(Context& cx, const PlanState& plan);
void ExportRepeatPools(Context& cx, const PlanState& plan);

}  // namespace lumora
