#pragma once
// The text of a scheme file: six marked sections of plan settings, built from the controls and
// applied back to them. Reading and writing the file, the list and the messages of the scheme
// window sit on top of these functions.
#include <string>
#include <string_view>

#include "core/Context.h"

namespace lumora {

// Section markers, in the order they are written.
inline constexpr std::string_view kSchemeCounts = "*15zs*";     // T_quxian_zhushu_0..14
inline constexpr std::string_view kSchemeMasks = "*15md*";      // T_xl_muduan_0..14
inline constexpr std::string_view kSchemeMaskOn = "*15mdsx*";   // Check_xl_md_0..14
inline constexpr std::string_view kSchemeModeOne = "*ms1*";     // mode one and T_jiankong_rc
inline constexpr std::string_view kSchemeModeTwo = "*ms2*";     // mode two
inline constexpr std::string_view kSchemeSelection = "*15xl*";  // Ch_jiankong_jj_0..14
inline constexpr std::string_view kSchemeEnd = "*end*";

// The text between the first end marker that follows a start marker and the last start marker
// before it; empty when there is no such pair.
std::string ExtractSection(std::string_view start, std::string_view end, std::string_view text);

struct SchemeText {
  std::string text;   // the six sections, ending with the CR LF of the last one
  std::string error;  // not empty: the save is refused (names the box); text is then empty
};

// Builds a scheme file's text from the controls as they are now. A value holding "/" or a
// section marker cannot be stored without breaking the file: the build is refused with a
// message naming the box.
SchemeText BuildSchemeText(const Form& form);

// A scheme file's bytes as the text ApplySchemeText takes: the data folder's text (GBK first,
// UTF-8 behind a byte-order mark; DecodeDataText), any line breaks as CR LF (files edited
// elsewhere may carry LF). A scheme is saved with WriteTextFile (EncodeDataText), whose bytes
// this reads back as the text saved.
std::string SchemeTextFromBytes(std::string_view bytes);

// Applies a scheme file's text to the controls, section by section ("*15zs*", "*15md*",
// "*15mdsx*", "*15xl*", "*ms1*", "*ms2*"); each control that changes runs its own change
// reaction as a user's edit would. Returns false at the first missing or damaged section;
// the controls set before it keep their new values. Shows no message.
bool ApplySchemeText(Context& cx, std::string_view text);

}  // namespace lumora
