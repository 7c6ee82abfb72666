// The curve store file (data.mdb) and the trend texts it holds.
//   first byte even: the bytes are a store file; its slots are loaded and drawn as trends;
//              odd:  the bytes are one trend text.
#include <cstdint>

#include "FuzzSupport.h"
#include "core/RecordingPorts.h"
#include "core/TextCodec.h"
#include "curves/CurveStore.h"
#include "curves/TrendChart.h"
#include "curves/TrendMatching.h"
#include "curves/TrendText.h"

using namespace lumora;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text = fuzz::AsText(data, size);
  const int mode = fuzz::Choose(text, 2);
  Context cx;
  RecordingPrompter prompter;
  cx.ports.prompter = &prompter;
  CurveState curves;
  if (mode == 0) {
    auto slots = ParseCurveStore(text);
    if (!slots) return 0;
    // What is read and written back (as WriteCurveStore writes it) is read again as the same
    // fifteen slots, whatever they hold.
    auto again = ParseCurveStore(EncodeDataText(FormatCurveStore(*slots)));
    FUZZ_CHECK(again.has_value());
    FUZZ_CHECK(*again == *slots);
    curves.slots = *slots;
    for (int slot = 0; slot < kCurveSlots; ++slot) LoadTrendFromSlot(cx, curves, slot);
  } else {
    TrendLine plain{}, drawn{};
    Scene scene;
    const bool ok = ParseTrendText(text, plain, nullptr);
    FUZZ_CHECK(ParseTrendText(text, drawn, &scene) == ok);
    FUZZ_CHECK(plain == drawn);
    FUZZ_CHECK(LoadTrendText(cx, curves, text) == ok);
    FUZZ_CHECK(prompter.notices.size() == (ok ? 0u : 1u));
  }
  return 0;
}
