#pragma once
// Whether a feed answer may be applied: its lines read as draws, and its draws held against the
// draws already applied. The feed (core/Feed) acts on the verdict; nothing here changes a store.
#include <string>
#include <string_view>
#include <vector>

#include "core/Draws.h"

namespace lumora {

// Why a response body is no feed answer.
enum class AnswerFault { None, NoMarker, NoBlock, TooFewLines, BadLine };

struct FeedAnswer {
  AnswerFault fault = AnswerFault::None;
  std::vector<DrawRecord> draws;  // the newest 150, oldest first, when fault is None
  int badLine = -1;               // BadLine: the line's number in the data block (0 = first)
};

// "023-12345": three digits, then anything but digits, then five digits (at least eight
// characters, so the two fields never overlap). Nothing when the line is no draw.
bool ReadDrawLine(std::string_view line, DrawRecord& out);

// The body "**ok**" ... "*-*" block "*-*" ...: the block's lines oldest first, at least 150 (one
// empty rest after a final CR LF is no line); of a longer block the newest 150 are used, and
// every one of them must be a draw.
FeedAnswer ReadFeedAnswer(std::string_view body);

// Whether period `later` can follow `earlier` within the draws of one game: a higher number the
// same day, or the first periods of a new day (001..003 after a period of 010 or later). The
// order of an answer's lines, oldest first, decides which is later, never the numbers alone.
bool ComesAfter(std::string_view later, std::string_view earlier);

enum class AnswerVerdict {
  First,        // nothing applied yet to hold it against
  New,          // agrees with the draws applied and brings newer ones
  NotNew,       // agrees and its newest is the applied newest
  Older,        // agrees, but its newest is an applied draw older than the applied newest
  Contradicts,  // shares draws with the applied history but disagrees where they overlap
  Disordered,   // agrees, but a newer draw does not come after the one before it
  Untied,       // shares no draw with the applied history at all
};

struct AnswerCheck {
  AnswerVerdict verdict = AnswerVerdict::First;
  int newDraws = 0;     // New: draws beyond the applied newest
  DrawRecord applied;   // Contradicts: the applied draw; Older / NotNew / New: the applied newest
  DrawRecord answered;  // Contradicts: the answer's draw in its place; Disordered: the draw out of order
};

// Holds `answer` (oldest first) against `history` (DrawHistory rows, row 1 newest), leaving out
// the `handEntered` newest rows (draws entered by hand, which no answer has confirmed).
AnswerCheck CheckAnswer(const std::vector<DrawRecord>& answer, const DrawStore& history, int handEntered);

}  // namespace lumora
