// What lumora-cli refuses before it runs anything, and how it says so: the draw file's lines,
// --help, swept values, sizes and output paths; and the walk-forward sweep. The real lumora-cli on
// real files: exit status and messages.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "core/Text.h"
#include "e2e/support/Process.h"

namespace lumora::e2e {
namespace {

namespace fs = std::filesystem;

RunResult Cli(const std::vector<std::string>& args) { return RunProgram(BinDir() / "lumora-cli", args); }

// `count` fair draws in the file's line form, periods 001..120 repeating.
std::string DrawLines(int count, unsigned seed) {
  std::mt19937 rng(seed);
  std::string out;
  for (int i = 0; i < count; ++i) out += Pad(i % 120 + 1, 3) + "-" + Pad(static_cast<int>(rng() % 100000), 5) + "\n";
  return out;
}

fs::path WriteFile(const fs::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
  return path;
}

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST(CliSweepChecks, DrawFileLinesAreExactlyDrawsOrRefusedWithTheirNumber) {
  const fs::path dir = FreshTempDir();
  struct Bad {
    std::string content;
    std::string shown;  // what the message shows after the line number
  };
  const std::vector<Bad> bad = {
      {"001-12345\nthis is not a draw 12345\n", ":2: not a draw line"},
      {"001-12345678\n", ":1: not a draw line"},
      {"001-1234\n", ":1: not a draw line"},
      {"0a1-12345\n", ":1: not a draw line"},
      {"001 12345\n", ":1: not a draw line"},
      {"001-12345\n\n002-1\xE4\xB9\x9D" "45\r\n", ":3: not a draw line"},
      {"001-12345\n002-\x01\x02" "345\n", ": 002-\\x01\\x02345"},
      {"001-1\xE4\xB9\x9D" "45\n", ": 001-1\\xE4\\xB9\\x9D45"},
  };
  for (const Bad& b : bad) {
    const fs::path file = WriteFile(dir / "bad.txt", b.content);
    for (const char* command : {"backtest", "curve"}) {
      std::vector<std::string> args{command, "--draws", file.string()};
      if (std::string(command) == "curve") args.insert(args.end(), {"--pool", "123"});
      RunResult r = Cli(args);
      EXPECT_EQ(r.exitCode, 2) << b.content;
      EXPECT_TRUE(Has(r.err, "bad.txt:")) << r.err;
      EXPECT_TRUE(Has(r.err, b.shown)) << command << ": " << r.err;
      EXPECT_EQ(r.out, "");
    }
  }
  // Blank lines, blanks around a draw, CR LF and a byte-order mark are what the format allows.
  const fs::path good = WriteFile(dir / "good.txt", "\xEF\xBB\xBF" + ToCrLf(DrawLines(60, 1)) + "\r\n  \t\n 061-00042 \n\n");
  RunResult r = Cli({"curve", "--draws", good.string(), "--pool", "000 042"});
  EXPECT_EQ(r.exitCode, 0) << r.err;
}

TEST(CliSweepChecks, EveryCommandAnswersHelpOnStandardOutput) {
  for (const char* command : {"feed", "curve", "fit", "rank", "filter", "shrink", "backtest", "sweep", "journal"}) {
    for (const char* flag : {"--help", "-h"}) {
      RunResult r = Cli({command, flag});
      EXPECT_EQ(r.exitCode, 0) << command << " " << flag << ": " << r.err;
      EXPECT_EQ(r.out.rfind(std::string("usage: lumora-cli ") + command, 0), 0u) << r.out;
      EXPECT_EQ(r.err, "");
    }
  }
  // After other options too, and with nothing run: no draw file is read.
  RunResult r = Cli({"sweep", "--draws", "/no/such/file", "--help"});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_TRUE(Has(r.out, "--train N --test M"));
  RunResult all = Cli({"--help"});
  EXPECT_EQ(all.exitCode, 0);
  EXPECT_TRUE(Has(all.out, "lumora-cli sweep"));
  EXPECT_EQ(Cli({}).exitCode, 2);
}

}  // namespace
}  // namespace lumora::e2e
