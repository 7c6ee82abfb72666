// The draw history and the draw feed: what a response must look like, what applying it does,
// winding back, manual entry and the sub-game.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "core/Feed.h"
#include "core/Files.h"
#include "core/History.h"
#include "core/ProgressPanel.h"
#include "core/RecordingPorts.h"
#include "core/ServiceConfig.h"
#include "core/Text.h"
#include "core/TextCodec.h"
#include "core/UserPhrases.h"
#include "core/controls/Fadd.h"
#include "core/controls/Fmain.h"
#include "engine/support/EngineFixture.h"
#include "plan/Intersection.h"
#include "settings/TextFetch.h"

namespace lumora {
namespace {

// Draw i (0 = oldest) of a made-up day: period i+1, digits derived from i.
std::string Line(int i) { return Pad(i + 1, 3) + "-" + Pad((i * 7919 + 12345) % 100000, 5); }

std::string Block(int lines, int offset = 0, bool finalBreak = false) {
  std::string b;
  for (int i = 0; i < lines; ++i) {
    if (i) b += "\r\n";
    b += Line(i + offset);
  }
  if (finalBreak) b += "\r\n";
  return b;
}

std::string Response(const std::string& block) { return "**ok***-*" + block + "*-*"; }

struct Fixture : testing::RecordedContext {
  FeedState feed;
  Fixture() { cx.form.setChecked(fmain::Cauto, true); }
  bool Feed(const std::string& text) {
    feed.response = text;
    return ProcessDrawResponse(cx, feed);
  }
};

// The last line is the newest; a longer block gives its newest 150 lines.
TEST(DrawFeed, AcceptedFormsFillBothBuffersNewestFirst) {
  const struct {
    int lines;
    bool finalBreak;
    const char *newest, *oldestDeep, *oldestHistory;
  } cases[] = {{150, false, "150", "001", "031"}, {150, true, "150", "001", "031"}, {200, true, "200", "051", "081"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.lines);
    Fixture f;
    ASSERT_TRUE(f.Feed(Response(Block(c.lines, 0, c.finalBreak))));
    const DrawStore& d = f.cx.draws;
    EXPECT_EQ(d.deep[1].period, c.newest);
    EXPECT_EQ(d.deep[150].period, c.oldestDeep);
    EXPECT_EQ(d.incoming[120].period, c.oldestHistory);
    EXPECT_EQ(d.incoming[1], d.deep[1]);
    EXPECT_EQ(d.history[1].period, c.newest);
    EXPECT_EQ(d.history[120].period, c.oldestHistory);
    EXPECT_EQ(f.cx.form.text(fmain::Tnew), "开奖完毕");
  }
}

TEST(DrawFeed, RefusedFormsLeaveTheHistory) {
  Fixture f;
  ASSERT_TRUE(f.Feed(Response(Block(150))));
  const DrawStore before = f.cx.draws;
  const std::string check = "没有获取到数据,请检查：";
  struct Case {
    std::string text;
    std::string status;
  } cases[] = {
      {"*-*" + Block(150, 5) + "*-*", check + "答复格式错误（没有数据标记）"},                // no marker
      {"", check + "答复为空"},                                                               // no response at all
      {"**ok***-*" + Block(150, 5), check + "答复格式错误（没有数据段）"},                    // one "*-*" only
      {Response(Block(149, 5)), check + "答复不完整（开奖号行数不足）"},                      // 149 lines
      {Response(Block(149, 5, true)), check + "答复不完整（开奖号行数不足）"},                // 149 lines and a break
      {Response(Block(149, 5) + "\r\n123-45x78"), check + "答复格式错误（开奖号行不合格）"},  // not five digits
      {Response(Block(149, 5) + "\r\nx01-12345"), check + "答复格式错误（开奖号行不合格）"},  // not a period
  };
  for (const Case& c : cases) {
    f.cx.form.setEnabled(fmain::Cshoudong, false);
    EXPECT_FALSE(f.Feed(c.text)) << c.text.substr(0, 20);
    EXPECT_EQ(f.cx.form.text(fmain::Tnew), c.status);
    EXPECT_TRUE(f.cx.form.enabled(fmain::Cshoudong));
    EXPECT_EQ(f.cx.draws.history, before.history);
    EXPECT_EQ(f.cx.draws.deep, before.deep);
  }
}

TEST(DrawFeed, SameNewestPeriodWithOtherDigitsContradictsTheHistory) {
  Fixture f;
  ASSERT_TRUE(f.Feed(Response(Block(150))));
  const DrawStore before = f.cx.draws;
  std::string block = Block(149) + "\r\n150-99999";
  EXPECT_FALSE(f.Feed(Response(block)));
  EXPECT_EQ(f.cx.form.text(fmain::Tnew),
            "答复与已采用的开奖号不符，已拒绝（第150期 答复 99999，已有 " + before.history[1].digits + "）");
  EXPECT_EQ(f.cx.draws.history, before.history);
  EXPECT_EQ(f.cx.draws.incoming, before.incoming);
  // The same answer again: "没有更新".
  EXPECT_FALSE(f.Feed(Response(Block(150))));
  EXPECT_EQ(f.cx.form.text(fmain::Tnew), "没有更新");
}

TEST(DrawFeed, RequestCarriesEncodedAccountAndFixedTail) {
  ServiceConfig c;
  c.feedEndpoint = "http://127.0.0.1:9/feed";
  c.user = "张 三";
  c.password = "a&b#c d+e%";
  c.randomCode = "x=1";
  EXPECT_EQ(
      BuildFeedRequest(c),
      "http://127.0.0.1:9/feed?username=%E5%BC%A0%20%E4%B8%89&pw=a%26b%23c%20d%2Be%25&sjm_in=x%3D1&lx=2&zt=2&r=8");
  ServiceConfig plain;
  EXPECT_EQ(BuildFeedRequest(plain), std::string(kDefaultFeedEndpoint) + "?username=&pw=&sjm_in=&lx=2&zt=2&r=8");
}

TEST(ServiceSettings, IniOverDefaults) {
  ServiceConfig c = ParseServiceConfig(
      "\xEF\xBB\xBF; comment\r\n[service]\r\nfeed_endpoint = http://h:1/f \r\nusername=王五\npassword=p=q&r\nbogus\n");
  EXPECT_EQ(c.feedEndpoint, "http://h:1/f");
  EXPECT_EQ(c.settingsEndpoint, kDefaultSettingsEndpoint);
  EXPECT_EQ(c.user, "王五");
  EXPECT_EQ(c.password, "p=q&r");
  EXPECT_EQ(ReadServiceConfig("/nonexistent/lumora.ini").feedEndpoint, kDefaultFeedEndpoint);
  // The shipped file names the bundled service.
  EXPECT_EQ(ReadServiceConfig(testing::ShippedDataFolder() / "lumora.ini").feedEndpoint, kDefaultFeedEndpoint);
}

TEST(ServiceSettings, AnIniThatCannotBeTakenKeepsTheDefaultsAndSaysWhich) {
  namespace fs = std::filesystem;
  const testing::ScratchFolder dir("ini");
  auto write = [&](const std::string& bytes) { std::ofstream(dir / "lumora.ini", std::ios::binary) << bytes; };
  // Saved as UTF-16 by an editor: every other byte a NUL.
  write(
      std::string("\xFF\xFE"
                  "f\0e\0e\0d\0_\0e\0n\0d\0p\0o\0i\0n\0t\0=\0x\0",
                  32));
  ServiceConfig c = ReadServiceConfig(dir / "lumora.ini");
  EXPECT_EQ(c.feedEndpoint, kDefaultFeedEndpoint);
  EXPECT_NE(c.fault.find(PathToUtf8(dir / "lumora.ini")), std::string::npos) << c.fault;
  // Neither UTF-8 nor GBK.
  write("feed_endpoint=http://h/\xFF\xFF\n");
  EXPECT_FALSE(ReadServiceConfig(dir / "lumora.ini").fault.empty());
  // Text, however odd its lines, is taken.
  write("feed_endpoint=http://h:1/f\nnot a setting\n");
  c = ReadServiceConfig(dir / "lumora.ini");
  EXPECT_EQ(c.feedEndpoint, "http://h:1/f");
  EXPECT_EQ(c.fault, "");
  // Not a file at all.
  fs::remove(dir / "lumora.ini");
  fs::create_directory(dir / "lumora.ini");
  EXPECT_FALSE(ReadServiceConfig(dir / "lumora.ini").fault.empty());
  EXPECT_EQ(ReadServiceConfig(dir / "absent.ini").fault, "");
}

TEST(DrawHistory, TextSubSeriesAndFollowingPeriod) {
  Fixture f;
  std::string block = Block(149) + "\r\n023-12345";
  ASSERT_TRUE(f.Feed(Response(block)));
  const std::string& text = f.cx.form.text(fmain::Tkjh);
  EXPECT_EQ(text.rfind("第023期：12345\r\n", 0), 0u);
  EXPECT_EQ(SplitCrLf(text).size(), 120u);
  EXPECT_NE(text.substr(text.size() - 2), "\r\n");
  EXPECT_EQ(f.cx.draws.subSeries[119], "345");
  EXPECT_EQ(f.cx.draws.subSeries[120], "");
  EXPECT_EQ(FollowingPeriod("023"), "024");
  EXPECT_EQ(FollowingPeriod("120"), "121");
  EXPECT_EQ(FollowingPeriod("2026120"), "121");
}

// Which draw a plan or bet made after a given draw is for, and which draws an answer brought.
TEST(DrawHistory, TheDrawAfterAnAnchorAndTheDrawsBetween) {
  DrawStore d;
  auto fill = [&d](std::vector<DrawRecord> newestFirst) {
    d.history.fill({});
    for (size_t i = 0; i < newestFirst.size(); ++i) d.history[i + 1] = newestFirst[i];
  };
  fill({{"037", "00037"}, {"036", "00036"}, {"035", "00035"}, {"034", "00034"}, {"033", "00033"}});
  EXPECT_EQ(RowOfDrawAfter(d, {"033", "00033"}), 4);  // several draws came at once: 034 is row 4
  EXPECT_EQ(RowOfDrawAfter(d, {"036", "00036"}), 1);
  EXPECT_EQ(RowOfDrawAfter(d, {"037", "00037"}), 0);  // nothing since
  EXPECT_EQ(RowOfDrawAfter(d, {"033", "99999"}), 0);  // another day's 033: not this history's
  EXPECT_EQ(RowOfDrawAfter(d, {"030", "00030"}), 0);  // gone from the window
  EXPECT_EQ(RowOfDrawAfter(d, {}), 0);
  EXPECT_EQ(DrawMissingText({"030", "00030"}), "开奖数据中没有第031期");
  EXPECT_EQ(DrawsBetween(d, {"034", "00034"}), (std::vector<DrawRecord>{{"035", "00035"}, {"036", "00036"}}));
  EXPECT_TRUE(DrawsBetween(d, {"036", "00036"}).empty());
  EXPECT_TRUE(DrawsBetween(d, {}).empty());                 // the first history
  EXPECT_EQ(DrawsBetween(d, {"001", "00001"}).size(), 4u);  // not held: every row but the newest

  // The feed skipped 035: the plan for 035 has no draw; a new day's 001 follows any period.
  fill({{"036", "00036"}, {"034", "00034"}});
  EXPECT_EQ(RowOfDrawAfter(d, {"034", "00034"}), 0);
  fill({{"002", "00002"}, {"001", "00001"}, {"120", "00120"}});
  EXPECT_EQ(RowOfDrawAfter(d, {"120", "00120"}), 2);
  EXPECT_EQ(RowOfDrawAfter(d, {"001", "00001"}), 1);
}

TEST(DrawHistory, SubGameSwitchRebuildsTheSeries) {
  Fixture f;
  ASSERT_TRUE(f.Feed(Response(Block(149) + "\r\n023-12345")));
  EXPECT_TRUE(SelectSubGame(f.cx, 2));  // 前三
  EXPECT_EQ(f.cx.draws.subStart, 1);
  EXPECT_EQ(f.cx.draws.subSeries[119], "123");
  EXPECT_TRUE(f.cx.form.checked(fmain::Op_3x_moshi[2]));
  EXPECT_FALSE(f.cx.form.checked(fmain::Op_3x_moshi[0]));
  EXPECT_TRUE(SelectSubGame(f.cx, 1));
  EXPECT_EQ(f.cx.draws.subSeries[119], "234");
  EXPECT_FALSE(SelectSubGame(f.cx, 1));
  EXPECT_FALSE(SelectSubGame(f.cx, 7));
}

TEST(DrawHistory, DeletionCountsFromTheFeedsNewestDrawWithin1To20) {
  Fixture f;
  EXPECT_FALSE(DeleteLatestDraws(f.cx, 3, ApplyIncomingDraws));  // no history: nothing, silently
  EXPECT_TRUE(f.prompter.notices.empty());
  ASSERT_TRUE(f.Feed(Response(Block(150))));
  for (int n : {0, 21, -4}) {
    EXPECT_FALSE(DeleteLatestDraws(f.cx, n, ApplyIncomingDraws));
    EXPECT_EQ(f.prompter.lastText(), "删除期数在1~20之内");
  }
  EXPECT_EQ(f.cx.draws.history[1].period, "150");
  EXPECT_TRUE(f.cx.form.checked(fmain::Cauto));
  EXPECT_TRUE(DeleteLatestDraws(f.cx, 2, ApplyIncomingDraws));
  EXPECT_EQ(f.cx.draws.history[1].period, "148");
  EXPECT_FALSE(f.cx.form.checked(fmain::Cauto));
  EXPECT_EQ(f.prompter.lastText(), "删除成功");
  EXPECT_TRUE(DeleteLatestDraws(f.cx, 3, ApplyIncomingDraws));
  EXPECT_EQ(f.cx.draws.history[1].period, "147");  // 3 behind the feed, not 5
  EXPECT_TRUE(DeleteLatestDraws(f.cx, 20, ApplyIncomingDraws));
  EXPECT_EQ(f.cx.draws.history[1], f.cx.draws.deep[21]);
  EXPECT_EQ(f.cx.draws.history[120], f.cx.draws.deep[140]);
}

TEST(DrawHistory, DeletionDialogueEndsOnNoCancelEmptyOrNonNumericReply) {
  Fixture f;
  ASSERT_TRUE(f.Feed(Response(Block(150))));
  // Returns whether the history moved.
  auto run = [&](std::deque<bool> yes, std::optional<std::string> reply) {
    f.prompter.yesNoAnswers = yes;
    f.prompter.textAnswers = {reply};
    f.prompter.notices.clear();
    const std::string before = f.cx.draws.history[1].period;
    RunDeletionDialogue(f.cx, ApplyIncomingDraws);
    f.prompter.answerPending();
    return f.cx.draws.history[1].period != before;
  };
  EXPECT_FALSE(run({false}, "3"));
  EXPECT_FALSE(run({true, false}, "3"));
  EXPECT_FALSE(run({true, true}, std::nullopt));
  EXPECT_FALSE(run({true, true}, ""));
  EXPECT_FALSE(run({true, true}, "  "));
  EXPECT_FALSE(run({true, true}, "abc"));
  EXPECT_TRUE(f.prompter.notices.empty());
  EXPECT_EQ(f.cx.draws.history[1].period, "150");
  EXPECT_TRUE(f.cx.form.checked(fmain::Cauto));
  EXPECT_TRUE(run({true, true}, " 4 "));
  EXPECT_EQ(f.cx.draws.history[1].period, "146");
  EXPECT_EQ(f.prompter.questions.back().text, "需要删除多少期开奖号？[1~20]");
}

TEST(DrawHistory, DeletionDialogueAsksEachQuestionOnlyWhenTheLastOneIsAnswered) {
  Fixture f;
  ASSERT_TRUE(f.Feed(Response(Block(150))));
  f.prompter.yesNoAnswers = {true, true};
  f.prompter.textAnswers = {std::string("2")};
  RunDeletionDialogue(f.cx, ApplyIncomingDraws);
  // Nothing waits inside the call: one question is out, nothing changed yet.
  ASSERT_EQ(f.prompter.questions.size(), 1u);
  EXPECT_EQ(f.prompter.questions[0].text, "是否要删除最近开奖号数据？");
  EXPECT_EQ(f.cx.draws.history[1].period, "150");
  ASSERT_EQ(f.prompter.answerPending(1), 1);
  ASSERT_EQ(f.prompter.questions.size(), 2u);
  // A newer draw arrives while the second question waits: the count applies to the draws as
  // they are when it is answered.
  ASSERT_TRUE(f.Feed(Response(Block(151))));
  EXPECT_EQ(f.cx.draws.history[1].period, "151");
  ASSERT_EQ(f.prompter.answerPending(1), 1);
  ASSERT_EQ(f.prompter.questions.size(), 3u);
  EXPECT_EQ(f.cx.draws.history[1].period, "151");
  ASSERT_EQ(f.prompter.answerPending(), 1);
  EXPECT_EQ(f.cx.draws.history[1].period, "149");
  EXPECT_EQ(f.prompter.lastText(), "删除成功");
}

TEST(ManualEntry, Parsing) {
  struct Case {
    const char* text;
    const char* period;
    const char* digits;
    const char* error;
  } cases[] = {
      {"12a3-45678", "123", "45678", ""}, {"123 45678", "", "", "格式错误"},   {"12-345678", "", "", "期号错误"},
      {"123-4567", "", "", "开奖号错误"}, {"123-45678-9", "123", "45678", ""}, {" 055-75894 ", "055", "75894", ""},
      {"123-", "", "", "开奖号错误"},     {"-", "", "", "期号错误"},
  };
  for (const Case& c : cases) {
    ManualEntry e = ParseManualEntry(c.text);
    EXPECT_EQ(e.error, c.error) << c.text;
    EXPECT_EQ(e.period, c.period) << c.text;
    EXPECT_EQ(e.digits, c.digits) << c.text;
  }
}

TEST(ManualEntry, ShiftsTheWindowAndStopsTheFeed) {
  Fixture f;
  EXPECT_FALSE(OpenManualEntry(f.cx));
  EXPECT_EQ(f.prompter.notices.back().title, "出错提示");
  ASSERT_TRUE(f.Feed(Response(Block(150))));
  const DrawStore before = f.cx.draws;
  ASSERT_TRUE(OpenManualEntry(f.cx));
  EXPECT_EQ(f.cx.form.text(fadd::T_total_renshu), "151-12345");
  EXPECT_TRUE(f.cx.form.visible(fadd::window));

  f.cx.form.setText(fadd::T_total_renshu, "151-4567");
  EXPECT_FALSE(ConfirmManualEntry(f.cx, ApplyIncomingDraws));
  EXPECT_EQ(f.prompter.notices.back().text, "开奖号错误");
  EXPECT_EQ(f.prompter.notices.back().title, "出错");
  EXPECT_TRUE(f.cx.form.visible(fadd::window));

  f.cx.form.setText(fadd::T_total_renshu, "151-45678");
  EXPECT_TRUE(ConfirmManualEntry(f.cx, ApplyIncomingDraws));
  EXPECT_EQ(f.cx.draws.history[1], (DrawRecord{"151", "45678"}));
  for (int i = 2; i <= 120; ++i) EXPECT_EQ(f.cx.draws.history[i], before.history[i - 1]);
  EXPECT_EQ(f.cx.draws.deep, before.deep);
  EXPECT_FALSE(f.cx.form.visible(fadd::window));
  EXPECT_FALSE(f.cx.form.checked(fmain::Cauto));
  EXPECT_TRUE(f.cx.form.enabled(fadd::C_rulu_kjh));
  // A deletion drops the hand-entered draw: it counts from the feed's newest.
  EXPECT_TRUE(DeleteLatestDraws(f.cx, 1, ApplyIncomingDraws));
  EXPECT_EQ(f.cx.draws.history[1].period, "149");
}

TEST(Helpers, UserPhrasesAndBetBoxes) {
  const testing::ScratchFolder dir("phrases");
  Fixture f;
  f.cx.data = DataFolder(dir);
  EXPECT_FALSE(LoadUserPhrases(f.cx));  // missing
  EXPECT_EQ(f.prompter.lastText(), "读取用户自定义用语出错");
  // An empty (or blank) file holds no piece: the signature box keeps its text.
  f.cx.form.setText(fmain::T_jihua_qianming, "签名档位置");
  std::ofstream(dir / "zdy.txt", std::ios::binary) << "  ";
  f.prompter.notices.clear();
  EXPECT_FALSE(LoadUserPhrases(f.cx));
  EXPECT_EQ(f.cx.form.text(fmain::T_jihua_qianming), "签名档位置");
  EXPECT_EQ(f.prompter.notices.size(), 1u);
  std::ofstream(dir / "zdy.txt", std::ios::binary) << ToGbk("签名@-@中中中@-@挂挂");
  f.prompter.notices.clear();
  EXPECT_FALSE(LoadUserPhrases(f.cx));  // three pieces: placed, then the message
  EXPECT_EQ(f.cx.form.text(fmain::T_zdy_yongyu[1]), "挂挂");
  EXPECT_EQ(f.prompter.notices.size(), 1u);
  f.cx.data = DataFolder(testing::ShippedDataFolder());
  f.prompter.notices.clear();
  EXPECT_TRUE(LoadUserPhrases(f.cx));
  EXPECT_EQ(f.cx.form.text(fmain::T_jihua_qianming), "签名档位置");
  EXPECT_EQ(f.cx.form.text(fmain::T_zdy_yongyu[2]), "Lumora计划");
  EXPECT_TRUE(f.prompter.notices.empty());

  f.cx.form.setText(fmain::T_jihua_jj_dadi, "001 002");
  f.cx.form.setText(fmain::T_jihua_jj_dadi_zhushu, "2");
  CopyIntersectionToBet(f.cx);
  EXPECT_EQ(f.cx.form.text(fmain::T_touzhu_dd[0]), "001 002");
  EXPECT_EQ(f.cx.form.text(fmain::T_touzhu_dd[1]), "2");
  ShowProgressPanel(f.cx, 1);
  EXPECT_TRUE(f.cx.form.visible(fmain::Pic_jindu));
  ShowProgressPanel(f.cx, 2);
  EXPECT_FALSE(f.cx.form.visible(fmain::Pic_jindu));
}

TEST(Helpers, FetchTextAnswers) {
  Fixture f;
  ScriptedHttp http;
  f.cx.ports.http = &http;
  std::vector<std::string> got;
  FetchText(f.cx, "http://127.0.0.1/s?zt=2", [&](const std::string& t) { got.push_back(t); });
  ASSERT_EQ(http.urls.size(), 1u);
  EXPECT_EQ(http.urls[0].rfind("http://127.0.0.1/s?zt=2&a=", 0), 0u);
  double a = ReadNumber(http.urls[0].substr(std::string("http://127.0.0.1/s?zt=2&a=").size()));
  EXPECT_GE(a, 0.0);
  EXPECT_LT(a, 10.0);
  http.answer("*sz*x*sz*");
  HttpResult timeout;
  timeout.error = "timeout";
  HttpResult refused;
  refused.error = "Connection refused";
  for (const HttpResult& r : {timeout, refused}) {
    FetchText(f.cx, "http://127.0.0.1/s?zt=2", [&](const std::string& t) { got.push_back(t); });
    auto done = std::move(http.pending.back().done);
    http.pending.clear();
    done(r);
  }
  EXPECT_EQ(got, (std::vector<std::string>{"*sz*x*sz*", "*ng*", ""}));
}

}  // namespace
}  // namespace lumora
