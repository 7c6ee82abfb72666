// Scheme files and their sections.
//   first byte even: the bytes are a scheme file as read from the folder (SchemeTextFromBytes, as
//                    LoadScheme reads it), applied to the plan controls; what the controls then
//                    hold is saved as WriteTextFile writes it, loaded and saved again;
//              odd:  start marker, end marker and text (cut at NUL) for ExtractSection.
#include <cstdint>

#include "FuzzSupport.h"
#include "core/RecordingPorts.h"
#include "core/Text.h"
#include "core/TextCodec.h"
#include "plan/PlanDefaults.h"
#include "settings/SchemeFile.h"

using namespace lumora;

namespace {
using Plan = fuzz::PlanControls;
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text = fuzz::AsText(data, size);
  if (fuzz::Choose(text, 2) == 0) {
    Plan first;
    ApplySchemeText(first.cx, SchemeTextFromBytes(text));
    SchemeText saved = BuildSchemeText(first.cx.form);
    FUZZ_CHECK(saved.error.empty() != saved.text.empty());
    if (!saved.error.empty()) return 0;
    // A scheme saved from any controls loads back completely and saves as the same text (and so
    // as the same bytes): nothing in the boxes is lost or changed by the file.
    const std::string file = EncodeDataText(saved.text);
    Plan second;
    FUZZ_CHECK(ApplySchemeText(second.cx, SchemeTextFromBytes(file)));
    FUZZ_CHECK(BuildSchemeText(second.cx.form).text == saved.text);
  } else {
    std::vector<std::string> p = fuzz::Pieces(text, 3);
    const std::string section = ExtractSection(p[0], p[1], p[2]);
    if (!section.empty()) {
      // The section stands between the start and the end marker in the text.
      FUZZ_CHECK(Contains(p[2], p[0] + section + p[1]));
    }
  }
  return 0;
}
