#pragma once
// Shared by the fuzz targets: cutting the fuzzer's bytes into texts, and a check that stops the
// run (and so reports the input) when a property of a parser does not hold.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "core/Context.h"
#include "core/RecordingPorts.h"
#include "plan/PlanDefaults.h"

namespace lumora::fuzz {

// The plan controls with their design texts, and a prompter that keeps what is said.
struct PlanControls {
  Context cx;
  RecordingPrompter prompter;
  PlanControls() {
    cx.ports.prompter = &prompter;
    ApplyPlanDesignValues(cx.form);
  }
};

// The bytes as a text.
inline std::string_view AsText(const uint8_t* data, size_t size) { return {reinterpret_cast<const char*>(data), size}; }

// The text cut at NUL bytes into exactly `n` pieces: missing pieces are empty, the last piece
// keeps any further NUL bytes. Texts the program reads never hold NUL, so the cut is free.
inline std::vector<std::string> Pieces(std::string_view text, size_t n) {
  std::vector<std::string> out;
  while (out.size() + 1 < n) {
    size_t at = text.find('\0');
    if (at == std::string_view::npos) break;
    out.emplace_back(text.substr(0, at));
    text.remove_prefix(at + 1);
  }
  out.emplace_back(text);
  out.resize(n);
  return out;
}

// Reads the first byte as a choice among `n` parsers and drops it.
inline int Choose(std::string_view& text, int n) {
  if (text.empty()) return 0;
  int c = static_cast<unsigned char>(text[0]) % n;
  text.remove_prefix(1);
  return c;
}

[[noreturn]] inline void PropertyFailed(const char* what, const char* file, int line) {
  std::fprintf(stderr, "property failed: %s (%s:%d)\n", what, file, line);
  std::abort();
}

}  // namespace lumora::fuzz

#define FUZZ_CHECK(cond)                                                    \
  do {                                                                      \
    if (!(cond)) ::lumora::fuzz::PropertyFailed(#cond, __FILE__, __LINE__); \
  } while (0)
