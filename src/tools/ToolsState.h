#pragma once
// The process-wide stores of this subsystem, created at start-up and kept for the whole run.
//
// The number tools keep nothing of their own between runs: every ranking refresh rebuilds its
// list from the draw history, the banker filter rebuilds its pool from the rules, and the shrink
// tool's marks live in the controls of Ftool (the Form) for as long as the program runs.
namespace lumora {

struct ToolsState {};

}  // namespace lumora
