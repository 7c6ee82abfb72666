#pragma once
// The draw stores: the latest 120 draws and the two feed buffers.
// Rows are numbered from 0; row 0 is never read; row 1 is always the newest draw.
#include <array>
#include <cstdint>
#include <string>

namespace lumora {

struct DrawRecord {
  std::string period;  // three characters as delivered ("023")
  std::string digits;  // five decimal digits in position order
  bool empty() const { return period.empty() && digits.empty(); }
  friend bool operator==(const DrawRecord&, const DrawRecord&) = default;
};

inline constexpr int kHistoryRows = 120;  // rows 1..120 filled
inline constexpr int kDeepRows = 150;     // rows 1..150 of the last feed response

struct DrawStore {
  std::array<DrawRecord, 201> history{};                  // DrawHistory, rows 1..120 used
  std::array<DrawRecord, kHistoryRows + 1> incoming{};    // IncomingWindow
  std::array<DrawRecord, kDeepRows + 1> deep{};           // DeepBuffer
  bool deepCreated = false;                               // the first successful feed parse creates it
  std::array<std::string, kHistoryRows + 1> subSeries{};  // SubNumberSeries, slot 0 oldest .. 119 newest
  int subStart = 3;                                       // SubNumberStart: 1 前三, 2 中三, 3 后三
  int32_t updateCount = 0;                                // UpdateCount
  // The newest draw before the history was last applied: the draw the monitor pools of that
  // moment were made after (empty before the first history).
  DrawRecord previousNewest{};
  // How many of the newest history rows were entered by hand and not yet replaced by an answer
  // of the feed: answers are held against the rows below them.
  int handEntered = 0;

  // The three-digit sub-number of a five-digit text at SubNumberStart ("" when too short).
  std::string subNumberOf(const std::string& digits) const {
    size_t at = static_cast<size_t>(subStart - 1);
    if (digits.size() < at + 3) return digits.size() > at ? digits.substr(at) : std::string();
    return digits.substr(at, 3);
  }
  // Rebuilds SubNumberSeries from DrawHistory rows 1..120 at SubNumberStart: slot 120 - i holds
  // row i's sub-number, slot 120 stays empty. Run after every history change and whenever
  // SubNumberStart changes, so the series always belongs to the sub-game the pools use.
  void rebuildSubSeries() {
    subSeries.fill(std::string());
    for (int i = 1; i <= kHistoryRows; ++i) subSeries[static_cast<size_t>(kHistoryRows - i)] = subNumber(i);
  }
  // Sub-number of DrawHistory row `row` (1 = newest).
  std::string subNumber(int row) const { return subNumberOf(history.at(static_cast<size_t>(row)).digits); }
};

}  // namespace lumora
