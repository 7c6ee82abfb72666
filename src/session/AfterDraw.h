#pragma once
// The road of a new draw: what runs after every applied history, in its fixed order, and the
// start-up defaults. Each subsystem adds its steps here as it lands.
#include "session/Session.h"

namespace lumora {

// Start-up: the stores, defaults and first paintings, in their fixed order. Returns false when
// the program must end (the curve store could not be read; the message was shown).
bool StartupDefaults(Session& s);

// Runs after ApplyIncomingDraws has replaced the history and rebuilt the history text.
void AfterDrawSequence(Session& s);

}  // namespace lumora
