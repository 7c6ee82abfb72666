#pragma once
// The design texts of the plan and monitor settings boxes: the pages create their boxes with
// these texts, and lumora-cli and the tests give a bare Form the same values.
#include <string>
#include <utility>
#include <vector>

#include "core/Form.h"

namespace lumora {

// Text boxes and their design texts (multi-line texts with CR LF).
const ControlTexts& PlanDesignTexts();

// Writes every design text into the Form and selects "每期算号".
void ApplyPlanDesignValues(Form& form);

}  // namespace lumora
