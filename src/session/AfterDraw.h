#pragma once
// The road of a new draw: what runs after every applied history, in its fixed order, and the
// start-up defaults. Each subsystem adds its steps here as it lands.
#include <array>
#include <string>

#include "session/Session.h"

namespace lumora {

// Start-up: the stores, defaults and first paintings, in their fixed order. Returns false when
// the program must end (the curve store could not be read; the message was shown). `store`: the
// curve store's slots when they were read already (runs of one sweep share one reading).
bool StartupDefaults(Session& s, const std::array<std::string, kCurveSlots>* store = nullptr);

// Where an applied history came from. Money follows draws, not wind-backs: a deletion does not
// settle a bet and does not restart the betting countdown; a fed or hand-entered draw does.
enum class DrawSource { Feed, Manual, Deletion };

// Runs after ApplyIncomingDraws has replaced the history and rebuilt the history text. Returns
// whether the judging half ran (not for the first history after start-up: UpdateCount was 0).
bool AfterDrawSequence(Session& s, DrawSource source = DrawSource::Feed);

}  // namespace lumora
