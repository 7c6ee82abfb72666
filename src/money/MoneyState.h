#pragma once
// Money management's process-wide stores. The betting run (output) and the plan judgement read
// and write the shared bet state below.
#include <string>

namespace lumora {

struct MoneyState {
  // Shared with the betting run and the plan judgement.
  int betPlacedFlag = 0;          // BetPlacedFlag: 0 after settings read, 1 bet placed, 2 settled
  float multiplePosition = 0;     // MultiplePosition: next position in the multiple sequence
  std::string currentMultiple;    // CurrentMultiple: the multiple of the bet just placed, as text
};

}  // namespace lumora
