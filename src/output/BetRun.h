#pragma once
// The automatic betting run: a 30-second countdown after every new draw, the money checks, the
// multiple for this bet, then the recorded steps replayed into the betting client one every
// three seconds (or the numbers and multiple handed to the external betting tool).
#include "core/Context.h"
#include "money/MoneyState.h"
#include "output/OutputState.h"

namespace lumora {

// Restarts Timer_tz_djs at 1000 ms (after a new draw; the countdown counter is kept).
void RestartBetCountdown(Context& cx);
// "手动强制下注启动": starts the countdown.
void StartCountdownByHand(Context& cx);

void BetCountdown(Context& cx, OutputState& out, MoneyState& money);  // Timer_tz_djs
void StartAutoBet(Context& cx, OutputState& out, MoneyState& money);
void StepTick(Context& cx, OutputState& out, MoneyState& money);  // Timer_dianji
void ExecuteNextStep(Context& cx, OutputState& out, MoneyState& money);
void PassParametersToTool(Context& cx, OutputState& out);

// "修改参数后点按钮更新": re-reads the fund settings, the button disabled meanwhile.
void UpdateFundParameters(Context& cx, MoneyState& money);

}  // namespace lumora
