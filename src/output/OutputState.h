#pragma once
// The process-wide stores of this subsystem, created at start-up and kept for the whole run.
#include <array>
#include <cstdint>
#include <string>

#include "output/Desktop.h"
#include "output/Script.h"

namespace lumora {

// One recorded step: a click (kind 1) or a paste (kind 2) at a screen point; kind 0 is empty.
struct Step {
  int32_t x = 0;
  int32_t y = 0;
  int kind = 0;
};

inline constexpr int kStepSlots = 500;

// StepList: slots 1..500 (slot 0 unused), filled in order from 1 without gaps, plus the number
// of steps recorded since the list was last cleared. Not saved; empty after start-up.
struct StepList {
  std::array<Step, kStepSlots + 1> slots{};
  int count = 0;
  void clear() {
    slots = {};
    count = 0;
  }
};

// A box of the external betting tool as captured: the handle text the capture wrote and the
// point of the right click that ended it. Where the desktop cannot set a window's text (X11,
// whose toolkits draw their boxes inside one window), the box is clicked there and typed into.
struct ToolBox {
  std::string handleText;  // empty: not captured in this run
  Point at;
};

struct OutputState {
  // The desktop the automation drives; the shell sets it (tests: a FakeDesktop). Null: nothing
  // can be driven.
  Desktop* desktop = nullptr;
  ScriptQueue scripts;  // the one executor's queue
  bool pointerLocked = false;

  StepList steps;
  std::array<ToolBox, 2> toolBoxes;  // the numbers box (0) and the multiple box (1)
  // Platform position table, rows 0-10 by columns 0-3, created empty at start-up.
  std::array<std::array<int32_t, 4>, 11> platformTable{};

  // The betting run.
  int32_t countdown = 0;      // ticks of BetCountdown since it last came back to zero
  int32_t stepCountdown = 0;  // ticks of StepTick since the last step
  int stepIndex = 1;          // StepIndex: the next step to replay
  int runStarted = 0;         // 1 once the platform point was clicked in this run
};

}  // namespace lumora
