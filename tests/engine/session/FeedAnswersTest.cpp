// Feed answers through the whole session (the hostile feed over real HTTP is tests/ui): an answer
// that cannot be tied pauses automatic betting and group send until the player ticks them again;
// failures that last are told once; deletion and manual entry go on as before.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "core/Files.h"
#include "core/RecordingPorts.h"
#include "core/Text.h"
#include "core/controls/Fadd.h"
#include "core/controls/Fmain.h"
#include "engine/support/EngineFixture.h"
#include "engine/support/FeedAnswers.h"
#include "session/DrawCycle.h"

namespace lumora {
namespace {

using testing::Digits;
using testing::FeedEndingAt;

struct Fixture : testing::RecordedSession {
  RecordingRecorder recorder;
  Fixture() {
    s.cx.ports.recorder = &recorder;
    prompter.dispatch = [this](std::function<void()> answer) { s.gate.run(std::move(answer)); };
    clock.time = std::chrono::system_clock::from_time_t(1796000000);
    s.cx.data = DataFolder(testing::ShippedDataFolder());
    EXPECT_TRUE(StartupDefaults(s));
    Form& f = s.cx.form;
    f.setChecked(fmain::Cauto, true);
    f.setChecked(fmain::Check_jihua_sx, true);
    f.setChecked(fmain::Check_jh_dadi_chongfu, false);
    f.setText(fmain::T_rj_jh_dd, "102 859");
    f.setChecked(fmain::Check_touzhu_sx, true);
    f.setChecked(fmain::C_qunfa_sx, true);
  }
  void Answer(const HttpResult& r) {
    s.gate.run([&] { RequestDraws(s); });
    ASSERT_TRUE(http.complete(r));
    clock.advance(std::chrono::seconds(25));
  }
  void Answer(const std::string& body, int status = 200) {
    Answer(HttpResult{true, status, body, "", HttpFailure::None});
  }
  int Notices(const std::string& start) const {
    return static_cast<int>(std::count_if(prompter.notices.begin(), prompter.notices.end(),
                                          [&](const Notice& n) { return n.text.rfind(start, 0) == 0; }));
  }
};

TEST(FeedAnswers, AnAnswerThatCannotBeTiedPausesBettingAndGroupSendUntilTickedAgain) {
  Fixture f;
  // The first answer: nothing to hold it against, nothing paused.
  f.Answer(FeedEndingAt(150));
  EXPECT_EQ(f.s.cx.form.text(fmain::Tnew), "开奖完毕");
  EXPECT_TRUE(f.s.cx.form.checked(fmain::Check_touzhu_sx));
  f.s.cx.form.setTimer(fmain::Timer_qf_dd, true, 1000);

  // Soon after a good answer, an answer sharing no draw is refused.
  f.Answer(FeedEndingAt(400));
  EXPECT_EQ(f.s.cx.draws.history[1].period, "150");
  EXPECT_TRUE(f.s.cx.form.checked(fmain::Check_touzhu_sx));
  // The computer slept past the answer's reach: applied, both switches unticked.
  f.clock.advance(std::chrono::hours(4));
  f.Answer(FeedEndingAt(400));
  EXPECT_EQ(f.s.cx.draws.history[1].period, "400");
  EXPECT_FALSE(f.s.cx.form.checked(fmain::Check_touzhu_sx));
  EXPECT_FALSE(f.s.cx.form.checked(fmain::C_qunfa_sx));
  EXPECT_FALSE(f.s.cx.form.timer(fmain::Timer_qf_dd).enabled);
  const std::string paused = "自动投注和自动群发已暂停，核对开奖号后请重新勾选";
  EXPECT_NE(f.s.cx.form.text(fmain::Tnew).find("答复与已有开奖号接不上；" + paused), std::string::npos)
      << f.s.cx.form.text(fmain::Tnew);
  EXPECT_EQ(f.Notices("答复与已有开奖号接不上"), 1);
  EXPECT_NE(std::find(f.recorder.events.begin(), f.recorder.events.end(), "feed untied 400"), f.recorder.events.end());

  // It stays visible with every answer until the player ticks the switches again.
  f.Answer(FeedEndingAt(401));
  EXPECT_EQ(f.s.cx.form.text(fmain::Tnew), "开奖完毕；" + paused);
  EXPECT_FALSE(f.s.cx.form.checked(fmain::Check_touzhu_sx));
  f.Answer(FeedEndingAt(401));
  EXPECT_EQ(f.s.cx.form.text(fmain::Tnew), "没有更新；" + paused);
  f.s.cx.form.setChecked(fmain::Check_touzhu_sx, true);
  f.Answer(FeedEndingAt(401));
  EXPECT_EQ(f.s.cx.form.text(fmain::Tnew), "没有更新；" + paused);  // group send still paused
  f.s.cx.form.setChecked(fmain::C_qunfa_sx, true);
  f.Answer(FeedEndingAt(402));
  EXPECT_EQ(f.s.cx.form.text(fmain::Tnew), "开奖完毕");
  EXPECT_TRUE(f.s.cx.form.checked(fmain::Check_touzhu_sx));
}

TEST(FeedAnswers, FailuresSayWhichAndAfterFiveMinutesHowLongOnce) {
  Fixture f;
  const std::string good = TimeText(f.clock.time);
  f.Answer(FeedEndingAt(150));
  const std::string check = "没有获取到数据,请检查：";
  const std::pair<HttpFailure, std::string> kinds[] = {
      {HttpFailure::NoConnection, "无法连接开奖服务"},
      {HttpFailure::Timeout, "请求超时"},
      {HttpFailure::TooLarge, "答复过大"},
      {HttpFailure::TlsUntrusted, "证书不受信任"},
      {HttpFailure::TlsWrongHost, "证书与主机名不符"},
      {HttpFailure::TlsExpired, "证书已过期或尚未生效"},
  };
  for (const auto& [kind, text] : kinds) {
    f.Answer(HttpResult{false, 0, "", "x", kind});
    EXPECT_EQ(f.s.cx.form.text(fmain::Tnew), check + text);
    EXPECT_TRUE(f.s.cx.form.enabled(fmain::Cshoudong));
  }
  // 25 s apart: the thirteenth failure is 5 minutes after the first.
  for (int i = 0; i < 6; ++i) f.Answer(HttpResult{false, 0, "", "x", HttpFailure::Timeout});
  EXPECT_EQ(f.s.cx.form.text(fmain::Tnew), check + "请求超时");
  f.Answer(HttpResult{false, 0, "", "x", HttpFailure::Timeout});
  EXPECT_EQ(f.s.cx.form.text(fmain::Tnew), check + "请求超时；已有 5 分钟没有获取到开奖数据（上次成功 " + good + "）");
  EXPECT_EQ(f.Notices("开奖数据已连续数分钟获取失败"), 1);
  for (int i = 0; i < 20; ++i) f.Answer(FeedEndingAt(149).substr(0, 800) + "*-*");  // truncated, still failing
  EXPECT_EQ(f.s.cx.form.text(fmain::Tnew),
            check + "答复不完整（开奖号行数不足）；已有 13 分钟没有获取到开奖数据（上次成功 " + good + "）");
  EXPECT_EQ(f.Notices("开奖数据已连续数分钟获取失败"), 1);
  EXPECT_EQ(std::count(f.recorder.events.begin(), f.recorder.events.end(), "feed outage "), 1);

  // The next good answer clears both; a later failure starts afresh.
  f.Answer(FeedEndingAt(150));
  EXPECT_EQ(f.s.cx.form.text(fmain::Tnew), "没有更新");
  EXPECT_EQ(f.recorder.events.back(), "feed recovered ");
  f.Answer(HttpResult{false, 0, "", "x", HttpFailure::Timeout});
  EXPECT_EQ(f.s.cx.form.text(fmain::Tnew), check + "请求超时");
  // With no good answer since the start, the time counts from the first failure.
  Fixture g;
  for (int i = 0; i < 14; ++i) g.Answer(HttpResult{true, 200, "", "", HttpFailure::None});
  EXPECT_EQ(g.s.cx.form.text(fmain::Tnew), check + "答复为空；已有 5 分钟没有获取到开奖数据");
}

TEST(FeedAnswers, ManualEntryAndDeletionKeepTheirWays) {
  Fixture f;
  f.Answer(FeedEndingAt(150));
  f.Answer(FeedEndingAt(151));
  // A draw entered by hand with other digits than the feed's: the feed's same period is "no
  // update", its next period replaces the guess.
  f.s.gate.run([&] { OpenManualEntryWindow(f.s); });
  f.s.cx.form.setText(fadd::T_total_renshu, "152-77777");
  f.s.gate.run([&] { ConfirmManualEntryWindow(f.s); });
  ASSERT_EQ(f.s.cx.draws.history[1], (DrawRecord{"152", "77777"}));
  f.Answer(FeedEndingAt(152));
  EXPECT_EQ(f.s.cx.form.text(fmain::Tnew), "没有更新");
  EXPECT_EQ(f.s.cx.draws.history[1], (DrawRecord{"152", "77777"}));
  f.Answer(FeedEndingAt(153));
  EXPECT_EQ(f.s.cx.form.text(fmain::Tnew).rfind("开奖完毕", 0), 0u);
  EXPECT_EQ(f.s.cx.draws.history[2], (DrawRecord{"152", Digits(152)}));
  EXPECT_TRUE(f.s.cx.form.checked(fmain::Check_touzhu_sx));
  // Winding back two draws, then asking the feed: the two come back.
  f.prompter.yesNoAnswers = {true, true};
  f.prompter.textAnswers = {std::string("2")};
  f.s.gate.run([&] { DeletionDialogue(f.s); });
  ASSERT_EQ(f.s.cx.draws.history[1].period, "151");
  f.Answer(FeedEndingAt(153));
  EXPECT_EQ(f.s.cx.draws.history[1], (DrawRecord{"153", Digits(153)}));
}

}  // namespace
}  // namespace lumora
