// lumora-cli backtest over a generated draw file: the real pipeline end to end.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/Text.h"
#include "support/DrawLines.h"
#include "support/RunProgram.h"
#include "support/ScratchFolder.h"

namespace lumora {
namespace {

// lumora-cli's standard output, one entry per finished line.
std::vector<std::string> RunLines(const std::vector<std::string>& args) {
  std::vector<std::string> lines;
  std::string out = testing::RunCli(args).out;
  for (size_t at; (at = out.find('\n')) != std::string::npos; out.erase(0, at + 1)) lines.push_back(out.substr(0, at));
  return lines;
}

// A draw file of `count` draws in `dir`, the digits drawn from `seed`.
std::string DrawFile(const testing::ScratchFolder& dir, int count, unsigned seed) {
  return dir.put("draws.txt", testing::DrawLines(count, seed)).string();
}

TEST(BacktestCliTest, PrintsPoolAndLinePerJudgedPeriodThenTheSummary) {
  const testing::ScratchFolder dir("backtest");
  auto lines = RunLines({"backtest", "--draws", DrawFile(dir, 126, 3), "--stats", "multiplier:1-2-4", "--seed", "5"});
  ASSERT_EQ(lines.size(), 6u * 2 + 5);
  // Period 121 after "120" is the first judged one.
  EXPECT_NE(lines[1].find("后三"), std::string::npos);
  EXPECT_NE(lines[1].find("注001期开"), std::string::npos);
  int size = ReadInt(lines[1].substr(lines[1].find("后三") + 6));
  EXPECT_EQ(static_cast<size_t>(size), lines[0].empty() ? 0 : (lines[0].size() + 1) / 4);
  EXPECT_EQ(lines[12].rfind("当前 利润：", 0), 0u);
  EXPECT_NE(lines[13].find("方案二<倍投>(1-2-4)"), std::string::npos);
  EXPECT_EQ(lines[14].rfind("hits=", 0), 0u);
  EXPECT_NE(lines[14].find(" periods=6 expected="), std::string::npos);
  // The risk of ruin of the run's scheme and mean pool over its six periods.
  EXPECT_EQ(lines[15].rfind("风险 risk of ruin: capital 130, stop-loss 5, take-profit 300", 0), 0u) << lines[15];
  EXPECT_NE(lines[15].find("multiplier 1-2-4 at odds 1940"), std::string::npos) << lines[15];
  EXPECT_NE(lines[16].find(", 6 draws)"), std::string::npos) << lines[16];
}

TEST(BacktestCliTest, MultiplierTurnoverPastThirtyTwoBitsIsTheTrueSum) {
  // --stats multiplier:1-100000: every booked stake is 2 x pool size x the step's multiple; the
  // printed turnover is their exact sum, far past 2147483647.
  const testing::ScratchFolder dir("backtest");
  auto lines =
      RunLines({"backtest", "--draws", DrawFile(dir, 200, 8), "--stats", "multiplier:1-100000", "--seed", "4"});
  ASSERT_EQ(lines.size(), 80u * 2 + 5);  // the periods, the summary, the hits, the risk of ruin
  long long turnover = 0, profit = 0, multiple = 1;
  for (size_t n = 0; n < 80; ++n) {
    const std::string& pool = lines[2 * n];
    const long long size = pool.empty() ? 0 : static_cast<long long>((pool.size() + 1) / 4);
    const bool hit =
        lines[2 * n + 1].find("中") != std::string::npos && lines[2 * n + 1].find("挂") == std::string::npos;
    turnover += 2 * size * multiple;
    profit += (hit ? 1940 * multiple : 0) - 2 * size * multiple;
    multiple = hit || multiple == 100000 ? 1 : 100000;
  }
  const std::string& last = lines[lines.size() - 3];
  EXPECT_GT(turnover, 2147483647LL);
  EXPECT_NE(last.find(" turnover=" + std::to_string(turnover) + " "), std::string::npos) << last;
  EXPECT_NE(last.find(" profit=" + std::to_string(profit) + " "), std::string::npos) << last;
}

}  // namespace
}  // namespace lumora
