#pragma once
// What the engine's tests build on: the shipped data folder (LUMORA_DATA) or a copy of it to change,
// a context that records what the engine says (on a data folder of its own where the test needs
// one), and a whole session whose ports record what it says and answer what it asks.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "core/Context.h"
#include "core/Files.h"
#include "core/RecordingPorts.h"
#include "session/Session.h"
#include "support/ScratchFolder.h"

namespace lumora::testing {

// The data folder the build ships (LUMORA_DATA); the test fails when it is not set.
inline std::filesystem::path ShippedDataFolder() {
  const char* data = std::getenv("LUMORA_DATA");
  EXPECT_NE(data, nullptr) << "LUMORA_DATA names the shipped data folder";
  return data ? std::filesystem::path(data) : std::filesystem::path("/nonexistent-lumora-data");
}

// A copy of the shipped data folder, for a test that changes its files.
class ShippedDataCopy : public ScratchFolder {
 public:
  ShippedDataCopy() : ScratchFolder("data") {
    std::filesystem::copy(ShippedDataFolder(), path_, std::filesystem::copy_options::recursive);
  }
};

// A context whose notices and clipboard are recorded; no data folder, no network.
struct RecordedContext {
  Context cx;
  RecordingPrompter prompter;
  RecordingClipboard clipboard;
  RecordedContext() {
    cx.ports.prompter = &prompter;
    cx.ports.clipboard = &clipboard;
  }
};

// A recorded context on an empty data folder of its own (with the schemes' "fa/").
struct DataFolderContext : RecordedContext {
  ScratchFolder folder{"data"};
  DataFolderContext() {
    cx.data = DataFolder(folder.path());
    std::filesystem::create_directories(cx.data.schemes());
  }
};

// A session with every port but the recorder: notices, sounds and the clipboard recorded, requests
// answered by the test, the clock set by it. No data folder until the test gives one.
struct RecordedSession {
  Session s;
  RecordingPrompter prompter;
  ScriptedHttp http;
  RecordingSound sound;
  RecordingClipboard clipboard;
  FixedClock clock;
  RecordedSession() { s.cx.ports = {&clipboard, &sound, &prompter, &http, &clock}; }
  Form& form() { return s.cx.form; }
};

}  // namespace lumora::testing
