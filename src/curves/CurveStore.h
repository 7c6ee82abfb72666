#pragma once
// The curve store "data.mdb" in the data folder: fifteen trend texts, one a line, then the marker
// line "********", every line ending with CR LF. The CurveSlots in CurveState are its copy in
// memory.
#include <array>
#include <filesystem>
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

// The fifteen slots of a store file, or nothing when it cannot be read or is damaged.
std::optional<std::array<std::string, kCurveSlots>> ReadCurveStoreFile(const std::filesystem::path& file);

// Why the store file cannot be read, if it cannot.
enum class CurveStoreFault { None, Missing, Unreadable, Damaged };
CurveStoreFault CheckCurveStore(const std::filesystem::path& file);

// At start-up a store that cannot be read ends the program; once the program runs it never does.
enum class OnUnreadableStore { ProgramEnds, ProgramGoesOn };

// Rereads the whole store into curves.slots. On a missing, empty, unreadable or short file the
// slots keep their previous texts, the result is false and the notices are shown: "...data.mdb..."
// then, when the program must end, "本软件将关闭".
bool ReadCurveStore(Context& cx, CurveState& curves, OnUnreadableStore on = OnUnreadableStore::ProgramEnds);

// Writes all fifteen slots, replacing the file atomically. On failure shows the save-failed notice
// and returns false; the file keeps its previous content and the slots keep the new text.
bool WriteCurveStore(Context& cx, const CurveState& curves);

}  // namespace lumora
