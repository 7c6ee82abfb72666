// --version on every program: the project's version and the commit of the checkout the build was
// made from, on standard output, status 0, with nothing else run (no display, no data folder).
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <regex>

#include "e2e/support/Process.h"

namespace lumora::e2e {
namespace {

// The full hash of the source checkout's HEAD, or "" outside a git checkout.
std::string SourceHead() {
  const char* source = std::getenv("LUMORA_SOURCE");
  if (!source) return "";
  std::string command = "git -C '" + std::string(source) + "' rev-parse HEAD 2>/dev/null";
  std::string out;
  if (FILE* p = popen(command.c_str(), "r")) {
    char buffer[128];
    while (std::fgets(buffer, sizeof buffer, p)) out += buffer;
    if (pclose(p) != 0) return "";
  }
  while (!out.empty() && (out.back() == '\n' || out.back() == '\r')) out.pop_back();
  return out;
}

void ExpectVersionLine(const std::string& program) {
  SCOPED_TRACE(program);
  RunResult r = RunProgram(BinDir() / program, {"--version"});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.err, "");
  std::smatch m;
  const std::regex line(program + " " LUMORA_EXPECTED_VERSION R"( \(commit ([0-9a-f]{10})(-modified)?\)\n)");
  ASSERT_TRUE(std::regex_match(r.out, m, line)) << "printed: " << r.out;
  // The stamp is the checkout's present commit, not the one of an earlier build.
  const std::string head = SourceHead();
  ASSERT_FALSE(head.empty()) << "the tests run from a git checkout";
  EXPECT_EQ(head.substr(0, 10), m[1].str()) << "HEAD is " << head;
}

TEST(Version, EveryProgramPrintsTheProjectVersionAndTheCommitItWasBuiltFrom) {
  // The desktop program answers before it looks for a display.
  unsetenv("DISPLAY");
  unsetenv("WAYLAND_DISPLAY");
  unsetenv("QT_QPA_PLATFORM");
  ExpectVersionLine("lumora-cli");
  ExpectVersionLine("lumora-feed");
#ifdef LUMORA_TEST_DESKTOP_PROGRAM
  ExpectVersionLine("lumora");
#endif
}

}  // namespace
}  // namespace lumora::e2e
