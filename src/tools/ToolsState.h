#pragma once
// The process-wide stores of this subsystem, created at start-up and kept for the whole run.
namespace lumora {

struct ToolsState {};

}  // namespace lumora
