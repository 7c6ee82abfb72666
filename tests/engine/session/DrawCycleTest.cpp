// The main cycle over a whole session: responses through the gate, the first history not
// judging, money following draws, start-up, pages and the folder check.
#include <gtest/gtest.h>

#include <cstdlib>
#include <deque>
#include <filesystem>

#include "core/Files.h"
#include "core/RecordingPorts.h"
#include "core/ServiceConfig.h"
#include "core/Text.h"
#include "core/controls/Fadd.h"
#include "core/controls/Fmain.h"
#include "engine/support/EngineFixture.h"
#include "engine/support/FeedAnswers.h"
#include "money/BetLog.h"
#include "money/Fund.h"
#include "plan/PlanStart.h"
#include "session/DrawCycle.h"
#include "session/PlanSession.h"

namespace lumora {
namespace {

using testing::Digits;
using testing::FeedEndingAt;

// A prompter that runs `onInform` when a notice is raised, in the middle of the operation that
// raised it (as work arriving from outside can).
class NestedPrompter final : public Prompter {
 public:
  std::function<void(const std::string&)> onInform;
  RecordingPrompter inner;
  void inform(const std::string& text, const std::string& title) override {
    inner.inform(text, title);
    if (onInform) onInform(text);
  }
  void askYesNo(const std::string& text, const std::string& title, std::function<void(bool)> answer) override {
    inner.askYesNo(text, title, std::move(answer));
  }
  void askText(const std::string& p, const std::string& t, const std::string& i,
               std::function<void(std::optional<std::string>)> reply) override {
    inner.askText(p, t, i, std::move(reply));
  }
};

// The session's notices go through a nested prompter (this `prompter` stands in for the recorded one).
struct SessionFixture : testing::RecordedSession {
  NestedPrompter prompter;
  std::vector<std::string> applied;
  SessionFixture() {
    s.cx.ports.prompter = &prompter;
    // Answers enter through the gate, as the shell's prompter delivers them.
    prompter.inner.dispatch = [this](std::function<void()> answer) { s.gate.run(std::move(answer)); };
    s.cx.form.setChecked(fmain::Cauto, true);
    s.drawApplied = [this](const DrawRecord& r) { applied.push_back(r.period); };
  }
  // A request and its answer, as the shell delivers it (through the gate).
  void Fetch(int newest) {
    s.gate.run([&] { RequestDraws(s); });
    ASSERT_TRUE(http.answer(FeedEndingAt(newest)));
  }
};

TEST(DrawCycle, ResponseArrivingDuringAnOperationIsQueuedNotAppliedUnderIt) {
  SessionFixture f;
  f.Fetch(150);
  ASSERT_EQ(f.applied, (std::vector<std::string>{"150"}));
  f.s.gate.run([&] { RequestDraws(f.s); });  // outstanding while the user deletes

  DrawRecord deepDuringBox;
  f.prompter.onInform = [&](const std::string& text) {
    if (text != "删除成功") return;
    f.http.answer(FeedEndingAt(151));  // the feed's answer arrives inside the box's loop
    deepDuringBox = f.s.cx.draws.deep[1];
  };
  f.prompter.inner.yesNoAnswers = {true, true};
  f.prompter.inner.textAnswers = {std::string("2")};
  f.s.gate.run([&] { DeletionDialogue(f.s); });

  EXPECT_EQ(deepDuringBox.period, "150");                                 // untouched under the deletion
  EXPECT_EQ(f.applied, (std::vector<std::string>{"150", "148", "151"}));  // then the queued response
  EXPECT_EQ(f.s.cx.draws.history[1].period, "151");
  EXPECT_EQ(f.s.gate.queued(), 0u);
}

TEST(DrawCycle, DrawsGoOnWhileAQuestionWaitsAndItsAnswerRunsAsAnOperationOfItsOwn) {
  SessionFixture f;
  f.Fetch(150);
  // Nobody answers for a while: the answers are held back.
  std::deque<std::function<void()>> held;
  f.prompter.inner.dispatch = [&](std::function<void()> answer) { held.push_back(std::move(answer)); };
  f.prompter.inner.yesNoAnswers = {true, true};
  f.prompter.inner.textAnswers = {std::string("1")};
  f.s.gate.run([&] { DeletionDialogue(f.s); });
  EXPECT_FALSE(f.s.gate.busy());
  f.Fetch(151);
  f.Fetch(152);
  EXPECT_EQ(f.applied, (std::vector<std::string>{"150", "151", "152"}));
  // Each answer runs through the gate and raises the next question.
  for (int step = 0; step < 3; ++step) {
    ASSERT_EQ(held.size(), 1u) << step;
    auto answer = std::move(held.front());
    held.pop_front();
    f.s.gate.run(answer);
  }
  EXPECT_TRUE(held.empty());
  EXPECT_EQ(f.applied.back(), "151");
  EXPECT_EQ(f.s.cx.draws.history[1].period, "151");

  // Closing: No keeps running, Yes closes after the asking operation has ended.
  int closes = 0;
  f.prompter.inner.dispatch = [&](std::function<void()> answer) { f.s.gate.run(std::move(answer)); };
  f.prompter.inner.yesNoAnswers = {false, true};
  f.s.gate.run([&] { ConfirmClose(f.s, [&] { ++closes; }); });
  EXPECT_EQ(closes, 0);
  f.s.gate.run([&] {
    ConfirmClose(f.s, [&] { ++closes; });
    EXPECT_EQ(closes, 0);  // not under the operation that asked
  });
  EXPECT_EQ(closes, 1);
  EXPECT_EQ(f.prompter.inner.questions.back().text, "是否要关闭软件？");
}

TEST(DrawCycle, FirstHistoryOnlyLoadsLaterOnesJudgeAndRestartTheBetCountdown) {
  SessionFixture f;
  f.Fetch(150);
  EXPECT_EQ(f.s.cx.draws.updateCount, 1);
  EXPECT_FALSE(f.s.cx.form.timer(fmain::Timer_tz_djs).enabled);
  f.Fetch(150);  // nothing new
  EXPECT_EQ(f.s.cx.draws.updateCount, 1);
  EXPECT_EQ(f.s.cx.form.text(fmain::Tnew), "没有更新");
  f.Fetch(151);
  EXPECT_EQ(f.s.cx.draws.updateCount, 2);
  EXPECT_TRUE(f.s.cx.form.timer(fmain::Timer_tz_djs).enabled);
}

// A feed outage, a sleeping computer or a feed faster than the requests: one answer brings several
// new draws. The plan made after 150 is for 151 and is judged, booked and settled against 151's
// draw, not against the newest; every draw the answer brought is told to the recorder.
TEST(DrawCycle, AnAnswerWithSeveralNewDrawsJudgesAndSettlesThePlanOfItsOwnPeriod) {
  SessionFixture f;
  RecordingRecorder recorder;
  f.s.cx.ports.recorder = &recorder;
  Form& form = f.s.cx.form;
  form.setChecked(fmain::Check_jihua_sx, true);
  form.setChecked(fmain::Check_jh_dadi_chongfu, false);
  form.setChecked(fmain::Check_jh_dadi_fenzu, false);
  form.setText(fmain::T_rj_jh_dd, "102");  // 151 is 96102: a hit; the newest, 154 (19859), is not
  ASSERT_EQ(Digits(151), "96102");
  ASSERT_EQ(Digits(154), "19859");
  f.Fetch(150);
  PlanEnv env = PlanEnvOf(f.s);
  f.s.gate.run([&] { StartPlan(env); });
  ASSERT_EQ(form.text(fmain::T_jihua_jj_dadi), "102");
  ReadFundSettings(f.s.cx, f.s.money);
  f.s.money.fund = {100, 100, 19.4f, 5, 300};
  RecordPlacedBet(f.s.money, "102", 1, "1", f.s.cx.draws.history[1]);  // the betting run bet 151's plan
  recorder.events.clear();

  f.Fetch(154);
  EXPECT_EQ(f.s.cx.draws.history[1].period, "154");
  EXPECT_EQ(recorder.events, (std::vector<std::string>{"draw 154 19859 feed", "between 151 96102",
                                                       "between 152 " + Digits(152), "between 153 " + Digits(153),
                                                       "judged 151 96102 hit", "plan 155", "settled 151 hit", "end"}));
  EXPECT_EQ(f.s.stats.plan().hits, 1);
  EXPECT_EQ(f.s.plan.hitMissTrail, "中");
  EXPECT_FLOAT_EQ(f.s.money.fund.current, 100 + 19.4f - 0.02f);
  EXPECT_NE(f.s.plan.recordLines[0].find("151期开96102"), std::string::npos) << f.s.plan.recordLines[0];
  EXPECT_EQ(f.s.plan.board[1][15], 151);  // the monitor board's row is 151's as well

  // The plan made after 154 is for 155; the next answer's window (181 .. 300) no longer holds 155:
  // not judged, nothing booked, the bet not settled, and the status and the record say why.
  RecordPlacedBet(f.s.money, "859", 1, "1", f.s.cx.draws.history[1]);
  const float capital = f.s.money.fund.current;
  const int periods = f.s.stats.plan().periods;
  recorder.events.clear();
  f.Fetch(300);
  ASSERT_EQ(recorder.events.size(), 1u + 119u + 5u);  // the draw, 119 between it and 181, 4 events, end
  EXPECT_EQ(recorder.events[1], "between 181 " + Digits(181));
  EXPECT_EQ(recorder.events[120], "not judged 155");
  EXPECT_EQ(recorder.events[121], "plan 301");
  EXPECT_EQ(recorder.events[122].rfind("log 投注未结算：开奖数据中没有第155期::", 0), 0u) << recorder.events[122];
  EXPECT_EQ(recorder.events[123], "not settled 155");
  EXPECT_EQ(f.s.stats.plan().periods, periods);
  EXPECT_EQ(f.s.plan.hitMissTrail, "中");
  EXPECT_EQ(f.s.money.fund.current, capital);
  EXPECT_EQ(f.s.money.betPlacedFlag, 2);
  EXPECT_EQ(form.text(fmain::Tnew), "开奖完毕；第155期计划未判定：开奖数据中没有第155期");
  EXPECT_NE(f.s.plan.recordLines[1].find("后三001注155期开*****<1>期/当前<1>未判定"), std::string::npos);
  EXPECT_EQ(form.items(kBetLogList).back().rfind("投注未结算：开奖数据中没有第155期::", 0), 0u);
}

TEST(DrawCycle, DeletionDoesNotRestartTheBetCountdownManualEntryDoes) {
  SessionFixture f;
  f.Fetch(150);
  f.Fetch(151);
  f.s.cx.form.setTimer(fmain::Timer_tz_djs, false, 1000);
  f.prompter.inner.yesNoAnswers = {true, true};
  f.prompter.inner.textAnswers = {std::string("1")};
  f.s.gate.run([&] { DeletionDialogue(f.s); });
  EXPECT_EQ(f.s.cx.draws.history[1].period, "150");
  EXPECT_EQ(f.s.cx.draws.updateCount, 3);
  EXPECT_FALSE(f.s.cx.form.timer(fmain::Timer_tz_djs).enabled);

  f.s.gate.run([&] { OpenManualEntryWindow(f.s); });
  EXPECT_EQ(f.s.cx.form.text(fadd::T_total_renshu), "151-12345");
  f.s.gate.run([&] { ConfirmManualEntryWindow(f.s); });
  EXPECT_EQ(f.s.cx.draws.history[1], (DrawRecord{"151", "12345"}));
  EXPECT_TRUE(f.s.cx.form.timer(fmain::Timer_tz_djs).enabled);
  EXPECT_FALSE(f.s.cx.form.checked(fmain::Cauto));
}

TEST(DrawCycle, CountdownSendsTheRequestOnlyWithAutoUpdate) {
  SessionFixture f;
  f.s.cx.service.feedEndpoint = "http://127.0.0.1:1/feed";
  f.s.cx.service.password = "a b";
  for (int t = 0; t < 24; ++t) UpdateCountdownTick(f.s);
  EXPECT_TRUE(f.http.urls.empty());
  UpdateCountdownTick(f.s);
  ASSERT_EQ(f.http.urls.size(), 1u);
  EXPECT_EQ(f.http.urls[0], "http://127.0.0.1:1/feed?username=&pw=a%20b&sjm_in=&lx=2&zt=2&r=8");
  EXPECT_EQ(f.s.cx.form.text(fmain::Tnew), "正在获取开奖数据");
  EXPECT_FALSE(f.s.cx.form.enabled(fmain::Cshoudong));
  f.s.cx.form.setChecked(fmain::Cauto, false);
  for (int t = 0; t < 25; ++t) UpdateCountdownTick(f.s);
  EXPECT_EQ(f.http.urls.size(), 1u);
  EXPECT_TRUE(f.s.cx.form.enabled(fmain::Cshoudong));
  ManualUpdate(f.s);
  EXPECT_EQ(f.http.urls.size(), 2u);
  EXPECT_FALSE(f.s.cx.form.enabled(fmain::Cshoudong));
  // No response (time limit, size cap): the button comes back, the history stays empty.
  f.http.pending.front().done(HttpResult{false, 0, "", "timeout", HttpFailure::Timeout});
  EXPECT_TRUE(f.s.cx.form.enabled(fmain::Cshoudong));
  EXPECT_EQ(f.s.cx.form.text(fmain::Tnew), "没有获取到数据,请检查：请求超时");
}

TEST(StartUp, DefaultsFromTheShippedDataFolder) {
  SessionFixture f;
  f.s.cx.data = DataFolder(testing::ShippedDataFolder());
  ASSERT_TRUE(StartupDefaults(f.s));
  const Form& form = f.s.cx.form;
  EXPECT_EQ(f.s.cx.draws.subStart, 3);
  EXPECT_TRUE(form.checked(fmain::Check_jihua_sx));
  EXPECT_TRUE(form.checked(fmain::Ch_jiankong_jj[14]));
  EXPECT_EQ(form.text(fmain::T_zdy_yongyu[0]), "中中中");
  EXPECT_FALSE(form.visible(fmain::Pic_jindu));
  EXPECT_TRUE(form.timer(fmain::Timer_gx).enabled);
  EXPECT_EQ(form.timer(fmain::Timer_gx).intervalMs, 1000);
  EXPECT_TRUE(form.timer(fmain::Timer_lj).enabled);
  EXPECT_TRUE(f.http.urls.empty());  // no draw is asked for at start-up
}

TEST(StartUp, AnUnreadableIniIsSaidOnceAndTheDefaultsAreUsed) {
  const testing::ShippedDataCopy dir;
  dir.put("lumora.ini", std::string("\xFF\xFE[\0s\0]\0", 8));
  SessionFixture f;
  f.s.cx.data = DataFolder(dir);
  f.s.cx.service = ReadServiceConfig(f.s.cx.data.ini());
  ASSERT_TRUE(StartupDefaults(f.s));
  int said = 0;
  for (const auto& n : f.prompter.inner.notices)
    said += n.text.find(PathToUtf8(dir / "lumora.ini")) != std::string::npos;
  EXPECT_EQ(said, 1);
  EXPECT_EQ(f.s.cx.service.feedEndpoint, kDefaultFeedEndpoint);
}

TEST(MainWindowRules, ArchiveFolderCheckWantsBackslashedTemp) {
  struct Case {
    const char* path;
    bool ends;
  } cases[] = {{"C:\\Users\\a\\AppData\\Local\\Temp\\Rar$EXa0.1\\lumora", true},
               {"/home/a/Temp/x", true},
               {"/home/a/Tempo/x", false},
               {"/tmp/lumora", false},
               {"/home/a/temp/x", false},
               {"/home/a/Temp", false}};
  for (const Case& c : cases) {
    SessionFixture f;
    f.s.cx.form.setTimer(fmain::Timer_lj, true, 1000);
    EXPECT_EQ(ArchiveFolderCheck(f.s, c.path), c.ends) << c.path;
    EXPECT_EQ(f.s.cx.form.timer(fmain::Timer_lj).enabled, c.ends) << c.path;
    if (c.ends) {
      EXPECT_EQ(f.prompter.inner.notices.back().title, "文件解压提示");
      EXPECT_EQ(
          f.prompter.inner.notices.back().text,
          "温情提示：\r\n软件不能直接在压缩包里运行\r\n请先解压整个软件包到文件夹下再运行\r\n预防出现未知错误，谢谢。\r\n");
    }
  }
}

}  // namespace
}  // namespace lumora
