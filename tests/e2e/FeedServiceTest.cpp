// The draw feed of lumora-feed over real HTTP: the answer's form, new draws, draw files, the
// account check and the deliberately bad answers.
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <regex>
#include <thread>

#include "core/Text.h"
#include "e2e/support/Accounts.h"
#include "e2e/support/Http.h"
#include "e2e/support/Process.h"

namespace lumora::e2e {
namespace {

const std::string kRequest = "/feed?username=&pw=&sjm_in=&lx=2&zt=2&r=8";

// The draw lines of a well-formed answer; fails the test when the form is wrong.
std::vector<std::string> DrawLines(const std::string& answer) {
  EXPECT_EQ(answer.rfind("**ok**", 0), 0u) << answer.substr(0, 40);
  auto pieces = Split(answer, "*-*");
  EXPECT_EQ(pieces.size(), 3u);
  if (pieces.size() < 3) return {};
  return SplitCrLf(pieces[1]);
}

std::string Newest(int port) {
  auto lines = DrawLines(Get(port, kRequest).value_or(""));
  return lines.empty() ? std::string() : lines.back();
}

// Polls until the newest draw differs from `old` (the service adds one per interval).
std::string WaitForNewDraw(int port, const std::string& old) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  std::string now = old;
  while (now == old && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    now = Newest(port);
  }
  return now;
}

TEST(FeedService, AnswersOneFiftyDrawLinesOldestFirstWithConsecutivePeriods) {
  FeedProcess feed({"--seed", "11", "--interval", "0", "--state", FreshTempDir().string()});
  auto lines = DrawLines(Get(feed.port(), kRequest).value());
  ASSERT_EQ(lines.size(), 150u);
  std::regex form(R"(\d{3}-\d{5})");
  for (size_t i = 0; i < lines.size(); ++i) {
    ASSERT_TRUE(std::regex_match(lines[i], form)) << lines[i];
    if (i) {
      EXPECT_EQ(ReadInt(lines[i].substr(0, 3)), ReadInt(lines[i - 1].substr(0, 3)) % 120 + 1) << i;
    }
  }
  // Each period of a day appears once before 001 comes round again.
  EXPECT_EQ(lines[0].substr(0, 3), "001");
  EXPECT_EQ(lines[119].substr(0, 3), "120");
  EXPECT_EQ(lines[120].substr(0, 3), "001");
}

TEST(FeedService, SeedRepeatsTheDrawsAndDigitsAreSpread) {
  auto state = FreshTempDir().string();
  FeedProcess a({"--seed", "5", "--interval", "0", "--state", state});
  FeedProcess b({"--seed", "5", "--interval", "0", "--state", state});
  FeedProcess c({"--seed", "6", "--interval", "0", "--state", state});
  std::string answer = Get(a.port(), kRequest).value();
  EXPECT_EQ(answer, Get(b.port(), kRequest).value());
  EXPECT_NE(answer, Get(c.port(), kRequest).value());
  // 750 digits: every digit turns up, none dominates (a uniform draw gives about 75 each).
  int counts[10] = {};
  for (const auto& line : DrawLines(answer))
    for (char d : line.substr(4)) ++counts[d - '0'];
  for (int d = 0; d < 10; ++d) {
    EXPECT_GT(counts[d], 30) << d;
    EXPECT_LT(counts[d], 130) << d;
  }
}

TEST(FeedService, ANewDrawEachIntervalShiftsTheWindowByOne) {
  FeedProcess feed({"--seed", "3", "--interval", "1", "--state", FreshTempDir().string()});
  auto before = DrawLines(Get(feed.port(), kRequest).value());
  std::string newest = WaitForNewDraw(feed.port(), before.back());
  auto after = DrawLines(Get(feed.port(), kRequest).value());
  ASSERT_EQ(after.size(), 150u);
  EXPECT_EQ(newest.substr(0, 3), "031");
  // The window moved on by the new draws: the older ones slid towards the front unchanged.
  auto at = std::find(after.begin(), after.end(), before.back());
  ASSERT_NE(at, after.end());
  ASSERT_NE(at + 1, after.end());
  size_t added = static_cast<size_t>(after.end() - at) - 1;
  EXPECT_TRUE(std::equal(after.begin(), at + 1, before.begin() + static_cast<long>(added)));
  EXPECT_EQ(at[1].substr(0, 3), "031");
}

TEST(FeedService, ServesADrawFileOneDrawAtATime) {
  auto dir = FreshTempDir();
  {
    std::ofstream f(dir / "draws.txt", std::ios::binary);
    for (int i = 0; i < 152; ++i) f << Pad(i % 120 + 1, 3) << "-" << Pad(i * 37 % 100000, 5) << "\n";
  }
  FeedProcess still({"--draws", (dir / "draws.txt").string(), "--interval", "0", "--state", dir.string()});
  auto lines = DrawLines(Get(still.port(), kRequest).value());
  ASSERT_EQ(lines.size(), 150u);
  EXPECT_EQ(lines.front(), "001-00000");
  EXPECT_EQ(lines.back(), "030-05513");

  FeedProcess moving({"--draws", (dir / "draws.txt").string(), "--interval", "0.3", "--state", dir.string()});
  std::string newest = "030-05513";
  newest = WaitForNewDraw(moving.port(), newest);
  if (newest == "031-05550") newest = WaitForNewDraw(moving.port(), newest);
  EXPECT_EQ(newest, "032-05587");
  std::this_thread::sleep_for(std::chrono::milliseconds(700));
  // The file is used up: the last draw stays the newest.
  auto last = DrawLines(Get(moving.port(), kRequest).value());
  EXPECT_EQ(last.back(), "032-05587");
  EXPECT_EQ(last.front(), "003-00074");

  std::ofstream(dir / "bad.txt") << "001-12345\nnot a draw\n";
  auto bad = RunProgram(BinDir() / "lumora-feed", {"--draws", (dir / "bad.txt").string(), "--port", "0"});
  EXPECT_EQ(bad.exitCode, 2);
  EXPECT_NE(bad.err.find("bad.txt:2"), std::string::npos) << bad.err;
}

TEST(FeedService, AWrongAccountGetsNoOkAndValuesArriveDecoded) {
  FeedProcess feed({"--user", "王 a&b", "--password-file", PasswordFile("p#+q").string(), "--code", "7", "--interval",
                    "0", "--state", FreshTempDir().string()});
  const std::string tail = "&lx=2&zt=2&r=8";
  auto good = Get(feed.port(), "/feed?username=%E7%8E%8B%20a%26b&pw=p%23%2Bq&sjm_in=7" + tail).value();
  EXPECT_EQ(DrawLines(good).size(), 150u);
  for (std::string query : {"username=%E7%8E%8B%20a%26b&pw=p%23q&sjm_in=7",     // wrong password
                            "username=%E7%8E%8B%20a%26b&pw=p%23%2Bq&sjm_in=8",  // wrong code
                            "username=x&pw=p%23%2Bq&sjm_in=7", "pw=p%23%2Bq&sjm_in=7"}) {
    auto answer = Get(feed.port(), "/feed?" + query + tail).value();
    EXPECT_EQ(answer.find("**ok**"), std::string::npos) << query;
  }
}

TEST(FeedService, FaultModesAnswerBadlyAsAsked) {
  auto state = FreshTempDir().string();
  {
    FeedProcess garbage({"--fault", "garbage", "--state", state});
    auto answer = Get(garbage.port(), kRequest).value();
    EXPECT_FALSE(answer.empty());
    EXPECT_EQ(answer.find("**ok**"), std::string::npos);
  }
  {
    FeedProcess shortAnswer({"--fault", "short", "--state", state});
    auto answer = Get(shortAnswer.port(), kRequest).value();
    EXPECT_NE(answer.find("**ok**"), std::string::npos);
    EXPECT_LT(Split(answer, "*-*").size(), 3u);
  }
  {
    FeedProcess huge({"--fault", "huge", "--state", state});
    auto answer = Get(huge.port(), kRequest).value();
    EXPECT_GT(answer.size(), 2u << 20);
    EXPECT_EQ(answer.rfind("**ok**", 0), 0u);
  }
  {
    // Slow: the whole, correct answer, trickled out.
    FeedProcess slow({"--fault", "slow", "--fault-seconds", "1", "--seed", "9", "--interval", "0", "--state", state});
    FeedProcess normal({"--seed", "9", "--interval", "0", "--state", state});
    EXPECT_EQ(Get(slow.port(), kRequest).value(), Get(normal.port(), kRequest).value());
  }
  {
    // Hang: no answer at all; the service still stops at once when told to.
    FeedProcess hang({"--fault", "hang", "--state", state});
    EXPECT_FALSE(Get(hang.port(), kRequest, 1).has_value());
    EXPECT_EQ(hang.stop(), 0);
  }
  for (int i = 0; i < 20; ++i) {
    // Told to stop the moment it says it serves: the stop is not lost.
    FeedProcess quick({"--state", state});
    ASSERT_EQ(quick.stop(), 0) << "stop " << i << " was lost";
  }
  {
    // A fault for the first answer only, then the service recovers.
    FeedProcess once({"--fault", "garbage", "--fault-count", "1", "--state", state});
    EXPECT_EQ(Get(once.port(), kRequest).value().find("**ok**"), std::string::npos);
    EXPECT_EQ(DrawLines(Get(once.port(), kRequest).value()).size(), 150u);
  }
}

}  // namespace
}  // namespace lumora::e2e
