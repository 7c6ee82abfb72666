#pragma once
// The curve store "data.mdb" in the data folder: fifteen trend texts, one a line, then the marker
// line "********", every line ending with CR LF. The CurveSlots in CurveState are its copy in
// memory.
#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "core/Context.h"
#include "curves/CurveState.h"

namespace lumora {

// The fifteen slots of a store file's bytes, or nothing when the file is empty or splits into
// fewer than fifteen lines. Slots are trimmed of spaces; lines after the fifteenth are ignored.
std::optional<std::array<std::string, kCurveSlots>> ParseCurveStore(std::string_view bytes);
// The file's bytes for fifteen slots: each slot and CR LF, then the marker and CR LF.
std::string FormatCurveStore(const std::array<std::string, kCurveSlots>& slots);

// Rereads the whole store into curves.slots. On a missing, empty, unreadable or short file the two
// notices are shown ("...data.mdb..." then "本软件将关闭"), the slots keep their previous texts and
// the result is false: the program must end.
bool ReadCurveStore(Context& cx, CurveState& curves);

// Writes all fifteen slots, replacing the file atomically. On failure shows the save-failed notice
// and returns false; the file keeps its previous content and the slots keep the new text.
bool WriteCurveStore(Context& cx, const CurveState& curves);

}  // namespace lumora
