// lumora-cli rank / filter / shrink as a script would run them.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "support/RunProgram.h"
#include "support/ScratchFolder.h"

namespace {

using lumora::testing::RunResult;
RunResult Cli(const std::vector<std::string>& args) { return lumora::testing::RunCli(args); }

std::string LastLine(const std::string& out) {
  std::string t = out.substr(0, out.find_last_not_of('\n') + 1);
  return t.substr(t.find_last_of('\n') + 1);
}

std::filesystem::path TempFile(const std::string& name, const std::string& text) {
  static const lumora::testing::ScratchFolder dir("tools");
  return dir.put(name, text);
}

TEST(ToolCli, ShrinkCountsAndMalformedMarks) {
  EXPECT_EQ(LastLine(Cli({"shrink"}).out), "1000");
  EXPECT_EQ(LastLine(Cli({"shrink", "--kill", ",,0", "--span", "0"}).out),
            "891");  // 900 minus the nine triples 111..999
  EXPECT_EQ(LastLine(Cli({"shrink", "--compound", "1,2,34"}).out), "998");
  EXPECT_NE(Cli({"shrink", "--banker", "12:3", "--banker-repeat"}).out.find("112"), std::string::npos);
  EXPECT_EQ(Cli({"shrink", "--banker", "12:3"}).out.find("112"), std::string::npos);
  for (const std::vector<std::string>& bad : std::vector<std::vector<std::string>>{{"--size", "大大"},
                                                                                   {"--kill", "1,2"},
                                                                                   {"--route", "003"},
                                                                                   {"--span", "x"},
                                                                                   {"--banker", "12:4"},
                                                                                   {"--nothing", "1"},
                                                                                   {"--banker", "1 2 3 4 5"}}) {
    std::vector<std::string> args{"shrink"};
    args.insert(args.end(), bad.begin(), bad.end());
    EXPECT_EQ(Cli(args).exitCode, 2) << bad[0] << " " << bad[1];
  }
}

TEST(ToolCli, FilterReadsLfAndCrLfAlike) {
  auto crlf = TempFile("crlf.txt", "7895-012-346=12\r\n4567-789-012=12\r\n");
  auto lf = TempFile("lf.txt", "7895-012-346=12\n4567-789-012=12\n");
  RunResult a = Cli({"filter", "--rules", crlf.string(), "--accept", "2"});
  RunResult b = Cli({"filter", "--rules", lf.string(), "--accept", "2"});
  EXPECT_EQ(a.exitCode, 0);
  EXPECT_EQ(a.out, b.out);
  EXPECT_EQ(Cli({"filter", "--rules", lf.string(), "--accept", ""}).out, "\n0\n");
}

TEST(ToolCli, RankPrintsThirtyOneLinesOrRefuses) {
  std::string draws;
  for (int p = 1; p <= 120; ++p)
    draws += (p < 10    ? "00"
              : p < 100 ? "0"
                        : "") +
             std::to_string(p) + "-00" + std::to_string(100 + p % 900).substr(0, 3) + "\n";
  auto file = TempFile("draws.txt", draws);
  RunResult r = Cli({"rank", "--draws", file.string(), "--window", "10", "--groups", "1-2-3"});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 31);
  EXPECT_EQ(LastLine(r.out).substr(0, 9), "121期：");
  EXPECT_EQ(Cli({"rank", "--draws", file.string(), "--window", "51", "--groups", "1-2-3"}).exitCode, 1);
  EXPECT_EQ(Cli({"rank", "--draws", file.string(), "--window", "10", "--groups", "123", "--cold"}).exitCode, 1);
}

}  // namespace
