#pragma once
// The progress picture Pic_jindu, shown in front while an operation works.
#include "core/Context.h"

namespace lumora {

// Flag 1 shows the progress picture Pic_jindu (in front); any other value hides it.
void ShowProgressPanel(Context& cx, int flag);

}  // namespace lumora
