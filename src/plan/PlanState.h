#pragma once
// The plan engine's process-wide stores, created at start-up and kept for the whole run:
// the fifteen monitor pools, the repeat results of plan mode one, the monitor board, the plan
// record and the judgement's trail, counters and fund curve.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/Draws.h"
#include "core/NumberSet.h"
#include "curves/CurveState.h"

namespace lumora {

inline constexpr int kMonitorPoolCount = 15;
inline constexpr int kBoardSlots = 22;   // slots 0..21, 1..20 used
inline constexpr int kBoardFields = 17;  // 0..14 pool flags, 15 period, 16 used
inline constexpr int kBoardRows = 20;
inline constexpr int kRecordSlots = 401;  // PlanRecordLines 0..400
inline constexpr int kFundRows = 501;     // FundCurve rows 0..500, 1..120 used
inline constexpr int kFundUsedRows = 120;
inline constexpr int kTrailLength = 10;

// MonitorBoard: [slot][field] of 32-bit integers. For a used slot, fields 0..14 say whether
// monitor pool 0..14 held the draw's sub-number, field 15 is the period, field 16 is 1.
using MonitorBoard = std::array<std::array<int32_t, kBoardFields>, kBoardSlots>;

// FundCurve: [row][column], column 1 the profit, column 2 the filled flag (0 or 1).
using FundCurve = std::array<std::array<float, 3>, kFundRows>;

struct PlanState {
  // MonitorPools 0..14, kept as sets: their texts are made when something shows or writes them.
  std::array<NumberSet, kMonitorPoolCount> monitorPools{};
  // RepeatResults: slots 0..n, n being the repeat count when the list was last created
  // (slot 0 unused). Its upper slot number is size() - 1.
  std::vector<NumberSet> repeatResults{1};
  MonitorBoard board{};

  std::array<std::string, kRecordSlots> recordLines{};  // PlanRecordLines
  int32_t recordIndex = 0;                              // RecordIndex
  // HitMissTrail: "中"/"挂" marks (UTF-8), newest at the right, at most 10 after a judgement.
  std::string hitMissTrail;
  int32_t multiPeriodCounter = 1;  // MultiPeriodCounter
  int justJudged = 0;              // JustJudged
  int lastJudgeResult = 0;         // LastJudgeResult: 1 hit, 2 miss, 0 none yet
  // The newest draw when the standing plan was started: the plan is for the period after it and
  // is judged against that period's draw, however many draws arrive at once.
  DrawRecord planAfter{};
  FundCurve fundCurve{};
  std::string lastIntersection;  // LastIntersection
  // The record line the newest judgement stored (a multi-period plan's next pending line may
  // replace it in the record at once).
  std::string lastJudgedLine;

  // AllThreeDigitNumbers: "000".."999", built at start-up.
  std::vector<std::string> allThreeDigitNumbers;

  // Stored trends already parsed for fitting, keyed by their text (a plan start fits each of
  // them up to r times).
  std::array<std::string, kMonitorPoolCount> parsedTrendText{};
  std::array<TrendLine, kMonitorPoolCount> parsedTrend{};
  std::array<bool, kMonitorPoolCount> trendParsed{};

  int repeatUpper() const { return static_cast<int>(repeatResults.size()) - 1; }
};

}  // namespace lumora
