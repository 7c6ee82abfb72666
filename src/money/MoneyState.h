#pragma once
// Money management's process-wide stores. The betting run (output) and the plan judgement read
// and write the shared bet state below.
#include <string>

#include "core/Draws.h"

namespace lumora {

// FundSettings: capital, prize and limits as read from `T_zijin_0..4` (single precision).
struct FundSettings {
  float principal = 0;  // 本金
  float current = 0;    // 最新资金: rewritten after every settlement
  float prize = 0;      // 奖金设置: one winning combination at multiple 1; selects the unit stake
  float lower = 0;      // 资金下限 (stop-loss)
  float upper = 0;      // 资金上限 (take-profit)
};

struct MoneyState {
  // Shared with the betting run and the plan judgement.
  int betPlacedFlag = 0;        // BetPlacedFlag: 0 after settings read, 1 bet placed, 2 settled
  float multiplePosition = 0;   // MultiplePosition: next position in the multiple sequence
  std::string currentMultiple;  // CurrentMultiple: the multiple of the bet just placed, as text
  // The placed bet, recorded with the flag by the betting run (RecordPlacedBet): the pool that
  // was actually sent and its number of combinations. Settlement tests the new draw against it.
  std::string betPool;
  int betCount = 0;
  // The newest draw when the bet was placed: the bet is for the period after it.
  DrawRecord betAfter{};

  // Fund management.
  FundSettings fund;
  std::string multipleSequence;  // MultipleSequence: cleaned text of T_zd_touzhu_beitou_0
  int sequenceValid = 0;         // SequenceValid: 1 when the last validation accepted it
  // The inputs the risk of ruin beside the capital frame was last worked out for.
  std::string riskInputs;
};

}  // namespace lumora
