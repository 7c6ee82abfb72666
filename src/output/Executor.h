#pragma once
// The one executor of action scripts. Scripts run one after another, each to its end; between
// actions it goes back to the event loop through the timer `Timer_jiaoben`.
#include "core/Context.h"
#include "output/OutputState.h"
#include "output/Script.h"

namespace lumora {

// True when there is a desktop that can be driven; otherwise logs why in the bet log.
bool DesktopReady(Context& cx, OutputState& out);

// Queues `script` and, when nothing is running, starts it at once (actions up to the first pause
// run before this returns). Without a usable desktop the script is dropped and the reason logged.
void RunScript(Context& cx, OutputState& out, Script script);

// The tick of `Timer_jiaoben`: runs the next actions, then sets the timer to the next pause or
// stops it when every script has ended.
void ScriptTick(Context& cx, OutputState& out);

inline bool ScriptsRunning(const OutputState& out) { return out.scripts.running(); }

}  // namespace lumora
