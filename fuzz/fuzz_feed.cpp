// The draw feed's response and the manual entry of a draw.
//   first byte % 3 == 0: the bytes are a whole feed response;
//                    1: the bytes are draw lines (LF or CR LF), repeated into an accepted frame
//                       of 150 lines or more, so the line checks are reached every time;
//                    2: the bytes are a manual entry, confirmed over an applied history.
#include <cstdint>

#include "FuzzSupport.h"
#include "core/Feed.h"
#include "core/History.h"
#include "core/RecordingPorts.h"
#include "core/Text.h"
#include "core/controls/Fadd.h"
#include "core/controls/Fmain.h"

using namespace lumora;

namespace {

bool IsDrawRecord(const DrawRecord& r) { return r.period.size() <= 3 && r.digits.size() == 5 && IsDigits(r.digits); }

// Every row a parse or an entry can leave behind is a draw; at most 120 draws are kept.
void CheckStores(const Context& cx) {
  const DrawStore& d = cx.draws;
  for (int i = 1; i <= kHistoryRows; ++i) {
    const DrawRecord& r = d.incoming[static_cast<size_t>(i)];
    FUZZ_CHECK(r.empty() || IsDrawRecord(r));
    const DrawRecord& h = d.history[static_cast<size_t>(i)];
    FUZZ_CHECK(h.empty() || IsDrawRecord(h));
  }
  for (size_t i = kHistoryRows + 1; i < d.history.size(); ++i) FUZZ_CHECK(d.history[i].empty());
  FUZZ_CHECK(SplitCrLf(cx.form.text(fmain::Tkjh)).size() <= static_cast<size_t>(kHistoryRows));
}

std::string Framed(std::string_view lines, size_t extra) {
  std::vector<std::string> given = Split(ToLf(lines), "\n");
  std::string block;
  const size_t total = static_cast<size_t>(kDeepRows) + extra;
  for (size_t i = 0; i < total; ++i) {
    if (i) block += "\r\n";
    block += given[i % given.size()];
  }
  return "**ok***-*" + block + "*-*";
}

std::string GoodFeed() {
  std::string b;
  for (int p = 1; p <= kDeepRows; ++p) b += (p > 1 ? "\r\n" : "") + Pad(p, 3) + "-" + Pad(p * 7919 % 100000, 5);
  return "**ok***-*" + b + "*-*";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text = fuzz::AsText(data, size);
  const int mode = fuzz::Choose(text, 3);
  Context cx;
  RecordingPrompter prompter;
  cx.ports.prompter = &prompter;
  FeedState feed;
  if (mode == 0 || mode == 1) {
    size_t extra = 0;
    if (mode == 1 && !text.empty()) {
      extra = static_cast<unsigned char>(text[0]) % 8;
      text.remove_prefix(1);
    }
    feed.response = mode == 0 ? std::string(text) : Framed(text, extra);
    const bool applied = ProcessDrawResponse(cx, feed);
    if (applied) FUZZ_CHECK(!cx.draws.history[1].empty());
    if (mode == 1 && !feed.response.empty()) FUZZ_CHECK(cx.draws.deepCreated || !applied);
  } else {
    feed.response = GoodFeed();
    FUZZ_CHECK(ProcessDrawResponse(cx, feed));
    ManualEntry e = ParseManualEntry(text);
    if (e.ok) {
      FUZZ_CHECK(e.period.size() == 3 && IsDigits(e.period));
      FUZZ_CHECK(e.digits.size() == 5 && IsDigits(e.digits));
      FUZZ_CHECK(e.error.empty());
    } else {
      FUZZ_CHECK(!e.error.empty());
    }
    OpenManualEntry(cx);
    cx.form.setText(fadd::T_total_renshu, std::string(text));
    ConfirmManualEntry(cx, {});
  }
  CheckStores(cx);
  return 0;
}
