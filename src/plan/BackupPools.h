#pragma once
// The eight backup pools of the plan tab, the small pool built from them, and their part in the
// plan (small pool, banker pool, forced triples).
#include "core/NumberSet.h"
#include "plan/PlanEnv.h"

namespace lumora {

inline constexpr int kBackupBoxes = 8;  // T_dd_beiyong_0..7, box 7 the small pool

// Separators to single blanks, count to L_jjdi_zhushu_i, preview of the box.
void NormalizePool(PlanEnv& env, int i);
void BuildSmallPool(Context& cx);
NumberSet SmallPool(const Context& cx);
void MergeSmallPool(Context& cx, bool participate);
void IntersectBankerPool(Context& cx);
void ForceTriples(Context& cx);
// The four steps in order; `fromButton` adds the pending line, preview and board.
void RefreshPlanFromBackups(PlanEnv& env, bool fromButton);

// Box buttons.
void CopyBackupBox(PlanEnv& env, int i);
void PasteBackupBox(PlanEnv& env, int i);
// Empties box i and its count: 0..6 by their 清 buttons, 7 (the intersection box) by a double-click.
void ClearBackupBox(Context& cx, int i);
void ClearFiveSourceBoxes(Context& cx);      // 一键清5底
void InsertPlanIntoSourceBox(PlanEnv& env);  // 插到交集底

}  // namespace lumora
