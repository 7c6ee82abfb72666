#include "curves/CurveStore.h"

#include "core/Files.h"
#include "core/Text.h"
#include "core/TextCodec.h"
#include "curves/Texts.h"

namespace lumora {

namespace {
// The store trims blanks only: line breaks are part of its layout and must survive.
std::string_view TrimSpaces(std::string_view text) {
  size_t b = text.find_first_not_of(' ');
  if (b == std::string_view::npos) return {};
  size_t e = text.find_last_not_of(' ');
  return text.substr(b, e - b + 1);
}
}  // namespace

std::optional<std::array<std::string, kCurveSlots>> ParseCurveStore(std::string_view bytes) {
  if (bytes.empty()) return std::nullopt;
  std::string text = DecodeDataText(bytes);
  std::vector<std::string> pieces = SplitCrLf(TrimSpaces(text));
  if (pieces.size() < static_cast<size_t>(kCurveSlots)) return std::nullopt;
  std::array<std::string, kCurveSlots> slots;
  for (int j = 0; j < kCurveSlots; ++j) slots[j] = std::string(TrimSpaces(pieces[j]));
  return slots;
}

std::string FormatCurveStore(const std::array<std::string, kCurveSlots>& slots) {
  std::string text;
  for (const std::string& slot : slots) {
    text += slot;
    text += kCrLf;
  }
  text += curves_text::kStoreMarker;
  std::string out(TrimSpaces(text));
  out += kCrLf;
  return out;
}

std::optional<std::array<std::string, kCurveSlots>> ReadCurveStoreFile(const std::filesystem::path& file) {
  std::optional<std::string> bytes = ReadWholeFileBytes(file);
  if (!bytes) return std::nullopt;
  return ParseCurveStore(*bytes);
}

CurveStoreFault CheckCurveStore(const std::filesystem::path& file) {
  std::error_code ec;
  if (!std::filesystem::exists(file, ec) && !ec) return CurveStoreFault::Missing;
  std::optional<std::string> bytes = ReadWholeFileBytes(file);
  if (!bytes) return CurveStoreFault::Unreadable;
  return ParseCurveStore(*bytes) ? CurveStoreFault::None : CurveStoreFault::Damaged;
}

bool ReadCurveStore(Context& cx, CurveState& curves, OnUnreadableStore on) {
  std::optional<std::array<std::string, kCurveSlots>> slots = ReadCurveStoreFile(cx.data.curveStore());
  if (!slots) {
    cx.inform(curves_text::kStoreMissing, curves_text::kTitleHint);
    if (on == OnUnreadableStore::ProgramEnds) cx.inform(curves_text::kProgramEnds, curves_text::kTitleHint);
    return false;
  }
  curves.slots = std::move(*slots);
  return true;
}

bool WriteCurveStore(Context& cx, const CurveState& curves) {
  if (!WriteTextFile(cx.data.curveStore(), FormatCurveStore(curves.slots))) {
    cx.inform(curves_text::kSaveFailed, curves_text::kTitleHint);
    return false;
  }
  return true;
}

}  // namespace lumora
