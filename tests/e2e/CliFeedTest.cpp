// lumora-cli feed against the real lumora-feed and against saved responses: what it prints and
// its exit status (0 applied, 1 refused, 2 usage or I/O error).
#include <gtest/gtest.h>

#include <stdlib.h>

#include <fstream>

#include "core/Text.h"
#include "e2e/support/Accounts.h"
#include "e2e/support/Http.h"
#include "e2e/support/Process.h"

namespace lumora::e2e {
namespace {

RunResult Cli(const std::vector<std::string>& args) {
  std::vector<std::string> all{"feed"};
  all.insert(all.end(), args.begin(), args.end());
  return RunCli(all);
}

TEST(CliFeed, AppliesTheServedDrawsAndPrintsTheHistoryNewestFirst) {
  FeedProcess feed({"--seed", "21", "--interval", "0", "--user", "a b&c", "--password-file",
                    PasswordFile("#1+").string(), "--state", FreshTempDir().string()});
  // The password from the environment (the command line would show it to every user).
  setenv("LUMORA_PASSWORD", "#1+", 1);
  auto r = Cli({"--url", feed.url("/feed"), "--user", "a b&c"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  auto lines = Split(r.out, "\n");
  ASSERT_EQ(lines.size(), 122u);  // Tnew, 120 history lines, the rest after the final break
  EXPECT_EQ(lines[0], "开奖完毕");
  // The newest of the served draws is the first history line.
  auto served = SplitCrLf(Split(Get(feed.port(), "/feed?username=a%20b%26c&pw=%231%2B").value(), "*-*")[1]);
  EXPECT_EQ(lines[1], "第" + served.back().substr(0, 3) + "期：" + served.back().substr(4));
  EXPECT_EQ(lines[120], "第" + served[30].substr(0, 3) + "期：" + served[30].substr(4));

  // The same service with a wrong password: refused, one line, status 1.
  setenv("LUMORA_PASSWORD", "#1", 1);
  auto refused = Cli({"--url", feed.url("/feed"), "--user", "a b&c"});
  unsetenv("LUMORA_PASSWORD");
  EXPECT_EQ(refused.exitCode, 1);
  EXPECT_EQ(refused.out, "没有获取到数据,请检查：答复格式错误（没有数据标记）\n");
}

TEST(CliFeed, BadAnswersAreRefusedOrGivenUpOn) {
  auto state = FreshTempDir().string();
  {
    FeedProcess garbage({"--fault", "garbage", "--state", state});
    auto r = Cli({"--url", garbage.url("/feed")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "没有获取到数据,请检查：答复格式错误（没有数据标记）\n");
  }
  {
    // "**ok**" without a whole data block: a broken answer, said as such (never "no update").
    FeedProcess shortAnswer({"--fault", "short", "--state", state});
    auto r = Cli({"--url", shortAnswer.url("/feed")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "没有获取到数据,请检查：答复格式错误（没有数据段）\n");
  }
  {
    FeedProcess huge({"--fault", "huge", "--state", state});
    auto r = Cli({"--url", huge.url("/feed")});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.err.find("larger than 1048576"), std::string::npos) << r.err;
    EXPECT_EQ(r.out, "");
  }
  {
    FeedProcess hang({"--fault", "hang", "--state", state});
    auto r = Cli({"--url", hang.url("/feed"), "--timeout", "1"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.err.find("no complete response within 1 s"), std::string::npos) << r.err;
  }
  {
    // A trickle that outlasts the limit is given up on too, not only a silent server.
    FeedProcess slow({"--fault", "slow", "--fault-seconds", "30", "--state", state});
    auto r = Cli({"--url", slow.url("/feed"), "--timeout", "1"});
    EXPECT_EQ(r.exitCode, 2);
  }
  // Nothing listens on a port just given back.
  int port;
  {
    FeedProcess gone({"--state", state});
    port = gone.port();
  }
  auto r = Cli({"--url", "http://127.0.0.1:" + std::to_string(port) + "/feed"});
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_NE(r.err.find("cannot fetch"), std::string::npos) << r.err;
}

TEST(CliFeed, ReadsSavedResponsesWithEitherLineBreak) {
  auto dir = FreshTempDir();
  std::string block;
  for (int i = 0; i < 150; ++i) block += Pad(i % 120 + 1, 3) + "-" + Pad(i * 11, 5) + "\n";
  std::ofstream(dir / "lf.txt", std::ios::binary) << "**ok**\n*-*" << block << "*-*\n";
  auto r = Cli({"--file", (dir / "lf.txt").string()});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(Split(r.out, "\n")[1], "第030期：01639");

  std::ofstream(dir / "149.txt", std::ios::binary) << "**ok**\r\n*-*" << ToCrLf(block.substr(10)) << "*-*";
  r = Cli({"--file", (dir / "149.txt").string()});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.out, "没有获取到数据,请检查：答复不完整（开奖号行数不足）\n");

  EXPECT_EQ(Cli({"--file", (dir / "missing.txt").string()}).exitCode, 2);
  EXPECT_EQ(Cli({}).exitCode, 2);
  EXPECT_EQ(Cli({"--file", "x", "--url", "http://127.0.0.1:1/feed"}).exitCode, 2);
  EXPECT_EQ(Cli({"--url", "ftp://127.0.0.1/feed"}).exitCode, 2);
  EXPECT_EQ(Cli({"--file", "x", "--bogus", "1"}).exitCode, 2);
}

}  // namespace
}  // namespace lumora::e2e
