#pragma once
// The process-wide stores of this subsystem, created at start-up and kept for the whole run.
namespace lumora {

struct AlarmState {
  int countdown = 10;  // Fbj: ticks of 600 ms left before the alarm window closes
  int raised = 0;      // how many times the alarm window was opened in this run
};

}  // namespace lumora
