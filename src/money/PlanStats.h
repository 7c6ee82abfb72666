#pragma once
// Profit statistics of the running plan: how it would have paid under one of three virtual
// money schemes (flat, multiplier sequence, push-wave). Nothing here touches the real capital.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/Context.h"

namespace lumora {

enum StatsBetMode : int32_t { kStatsFlat = 0, kStatsMultiplier = 1, kStatsPushWave = 2 };

// One statistics record, fields in their fixed order.
struct PlanStats {
  int32_t betMode = kStatsFlat;
  int32_t periods = 0;  // periods judged
  int32_t hits = 0;
  int32_t lastResult = 0;  // 1 the last judged period hit, 0 it missed
  int32_t poolSize = 0;
  int32_t step = 0;      // position in the multiple sequence, or consecutive hits + 1
  int64_t profit = 0;    // 64-bit: long multiplier sequences pass the 32-bit range
  int64_t turnover = 0;  // 投注总量
  int32_t odds = 0;      // prize of one winning combination at multiple 1
  float rebate = 0;      // stored, not used in any figure
  int32_t multipleCount = 0;
  std::vector<int32_t> multiples;
  int32_t pushPeriods = 0;  // consecutive hits after which push-wave starts over
  int64_t lastWin = 0;
  float pushMultiple = 0;  // multiple of the next push-wave bet
  int32_t active = 0;      // 1: a judged period waits to be booked
  // Set when a booking's figure would pass the 64-bit range: that booking and every later one is
  // left out (figures are never saturated); whoever reads the figures refuses them.
  bool overflow = false;
  std::string summary;
};

// PlanStats records 0..5; every operation uses record 1.
struct StatsState {
  std::array<PlanStats, 6> records{};
  PlanStats& plan() { return records[1]; }
  const PlanStats& plan() const { return records[1]; }
};

// Start-up preset of record 1: odds 1940, rebate 0.01, step 1.
void PresetPlanStats(StatsState& stats);

// The bookings of the three schemes. With the active flag set they book the judged period,
// then (always) rebuild the summary text.
void UpdateFlatStats(PlanStats& st);
void UpdateMultiplierStats(PlanStats& st);
void UpdatePushWaveStats(PlanStats& st);
// The booking of the record's own bet mode without the summary text (for replays of a run).
void BookStats(PlanStats& st);
// The update of the record's own bet mode.
void UpdateStats(PlanStats& st);
// The name of the record's scheme as its summary shows it ("方案二<倍投>(1-2-4)").
std::string StatsSchemeName(const PlanStats& st);

// Checks and applies the frame's settings (T_szzx_canshu_0..4, Option_touzhu_sz_0..2): on the
// first failing check shows its message and returns false with nothing changed; otherwise
// recreates the records, stores the settings in record 1 and returns true. Resetting the plan
// record that follows belongs to the plan engine.
bool ApplyStatsSettings(Context& cx, StatsState& stats);

}  // namespace lumora
