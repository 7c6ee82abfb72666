// The settings record downloaded from the settings service: the answer is applied to the plan
// controls; what the controls then hold is uploaded and applied again.
#include <cstdint>

#include "FuzzSupport.h"
#include "core/RecordingPorts.h"
#include "plan/PlanDefaults.h"
#include "settings/SettingsExchange.h"

using namespace lumora;

namespace {
using Plan = fuzz::PlanControls;
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Plan first;
  ApplySettingsRecord(first.cx, fuzz::AsText(data, size));
  SettingsRecordText up = BuildSettingsRecord(first.cx.form);
  FUZZ_CHECK(up.error.empty() != up.text.empty());
  if (!up.error.empty()) return 0;
  // A record built from any controls applies completely and builds the same record again.
  Plan second;
  FUZZ_CHECK(ApplySettingsRecord(second.cx, up.text));
  FUZZ_CHECK(BuildSettingsRecord(second.cx.form).text == up.text);
  return 0;
}
