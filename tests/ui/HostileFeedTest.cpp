// The program against a hostile feed: an HTTP server on 127.0.0.1 in this test serves scripted
// answers (periods going back, replays, rewritten history, bad periods, HTTP 500 with a feed body,
// a lagging mirror, cut answers, a gap longer than the answer) to the real window, its real
// network port and the real journal. Refused answers book nothing, start no bet and leave the
// draws as they were; the status line says why, once a notice, and the journal keeps a row.
#include <httplib.h>

#include <QCheckBox>
#include <QLabel>
#include <deque>
#include <filesystem>
#include <mutex>
#include <thread>

#include "core/Text.h"
#include "core/controls/Fmain.h"
#include "engine/journal/JournalSupport.h"
#include "journal/Journal.h"
#include "session/AfterDraw.h"
#include "ui/support/UiTest.h"

namespace lumora {
namespace {

using journal_test::Query;
using journal_test::Rows;

std::string Digits(int n) { return Pad((n * 7919 + 4242) % 100000, 5); }
// Draw n of a game of 120 draws a day: period n % 120 + 1.
DrawRecord Draw(int n) { return {Pad(n % 120 + 1, 3), Digits(n)}; }

std::string Body(std::vector<DrawRecord> draws) {
  std::string b = "**ok***-*";
  for (size_t i = 0; i < draws.size(); ++i) b += (i ? "\r\n" : "") + draws[i].period + "-" + draws[i].digits;
  return b + "*-*";
}
std::vector<DrawRecord> Window(int newest) {
  std::vector<DrawRecord> d;
  for (int n = newest - 149; n <= newest; ++n) d.push_back(Draw(n));
  return d;
}

// One scripted answer: a status and a body, or a body cut off after `cutAt` bytes of the
// length announced.
struct Scripted {
  int status = 200;
  std::string body;
  size_t cutAt = std::string::npos;
};

class HostileFeed {
 public:
  HostileFeed() {
    server_.Get("/feed", [this](const httplib::Request&, httplib::Response& res) {
      Scripted s;
      {
        std::lock_guard lock(mutex_);
        if (!script_.empty()) {
          s = std::move(script_.front());
          script_.pop_front();
        }
        ++served_;
      }
      res.status = s.status;
      if (s.cutAt == std::string::npos) {
        res.set_content(s.body, "text/plain; charset=utf-8");
        return;
      }
      auto body = std::make_shared<std::string>(s.body);
      const size_t cut = s.cutAt;
      res.set_content_provider(body->size(), "text/plain", [body, cut](size_t, size_t, httplib::DataSink& sink) {
        sink.write(body->data(), cut);
        return false;  // the connection drops before the rest
      });
    });
    port_ = server_.bind_to_any_port("127.0.0.1");
    thread_ = std::thread([this] { server_.listen_after_bind(); });
  }
  ~HostileFeed() {
    server_.stop();
    thread_.join();
  }
  void push(Scripted s) {
    std::lock_guard lock(mutex_);
    script_.push_back(std::move(s));
  }
  int served() {
    std::lock_guard lock(mutex_);
    return served_;
  }
  std::string url() const { return "http://127.0.0.1:" + std::to_string(port_) + "/feed"; }

 private:
  httplib::Server server_;
  std::thread thread_;
  std::mutex mutex_;
  std::deque<Scripted> script_;
  int served_ = 0;
  int port_ = 0;
};

struct HostileFeedTest : uitest::WindowTest {
  HostileFeed feed;
  FixedClock clock;
  std::unique_ptr<Journal> journal;
  std::filesystem::path db;
  std::vector<std::string> applied;

  void SetUp() override {
    UseDataCopy();
    db = std::filesystem::path(dataCopy->path().toStdString()) / kJournalFile;
    clock.time = std::chrono::system_clock::from_time_t(1796000000);
    journal = std::make_unique<Journal>(db, &clock, &prompter);
    ASSERT_TRUE(journal->open());
    session.cx.ports.clock = &clock;
    session.cx.ports.recorder = journal.get();
    session.drawApplied = [this](const DrawRecord& r) { applied.push_back(r.period); };
    UseRealHttp();
    WindowTest::SetUp();
    window->show();
    StartProgram();
    session.cx.service.feedEndpoint = feed.url();
    Find<QCheckBox>(fmain::Cauto)->setChecked(false);
    prompter.notices.clear();
  }
  void TearDown() override {
    window.reset();
    journal->close("closed");
  }
  // "手动更新" once, the next scripted answer served and handled; returns the status line.
  std::string Serve(Scripted s) {
    feed.push(std::move(s));
    const int before = feed.served();
    Click(fmain::Cshoudong);
    EXPECT_TRUE(uitest::Eventually([&] {
      return feed.served() > before && Find<QPushButton>(fmain::Cshoudong)->isEnabled() &&
             Status() != "正在获取开奖数据";
    }));
    clock.advance(std::chrono::seconds(25));
    return Status().toStdString();
  }
  std::string Serve(std::vector<DrawRecord> draws, int status = 200) {
    return Serve(Scripted{status, Body(std::move(draws))});
  }
  int Notices(const std::string& start) {
    return static_cast<int>(std::count_if(prompter.notices.begin(), prompter.notices.end(),
                                          [&](const Notice& n) { return n.text.rfind(start, 0) == 0; }));
  }
};

TEST_F(HostileFeedTest, RefusedAnswersMoveNothingAndASleepPausesBettingUntilTickedAgain) {
  ASSERT_EQ(Serve(Window(500)), "开奖完毕");
  Find<QCheckBox>(fmain::Check_touzhu_sx)->setChecked(true);
  Find<QCheckBox>(fmain::C_qunfa_sx)->setChecked(true);
  ASSERT_EQ(Serve(Window(501)).rfind("开奖完毕", 0), 0u);
  ASSERT_EQ(session.cx.draws.updateCount, 2);
  shell->run([](Session& s) { s.cx.form.setTimerEnabled(fmain::Timer_tz_djs, false); });
  const DrawStore before = session.cx.draws;
  const float position = session.money.multiplePosition, capital = session.money.fund.current;
  const int periods = session.stats.plan().periods;

  // Periods going back and forth, a replay, a rewritten history, bad periods, a server error
  // with a feed body, answers cut short.
  const std::string older = "答复比已采用的开奖号旧，未采用";
  EXPECT_EQ(Serve(Window(500)).rfind(older, 0), 0u);
  EXPECT_EQ(Serve(Window(501)), "没有更新");
  EXPECT_EQ(Serve(Window(500)).rfind(older, 0), 0u);
  EXPECT_EQ(Serve(Window(501)), "没有更新");
  std::vector<DrawRecord> rewritten = Window(501);
  for (size_t i = 0; i + 1 < rewritten.size(); ++i)
    rewritten[i].digits = Pad((ReadInt(rewritten[i].digits) + 1) % 100000, 5);
  EXPECT_EQ(Serve(rewritten),
            "答复与已采用的开奖号不符，已拒绝（第021期 答复 " + rewritten[148].digits + "，已有 " + Digits(500) + "）");
  std::vector<DrawRecord> replayed = Window(501);
  replayed.erase(replayed.begin());
  replayed.push_back({Draw(501).period, "55555"});
  EXPECT_EQ(Serve(replayed), "答复中的期号顺序不对，已拒绝（第022期 55555）");
  const std::string check = "没有获取到数据,请检查：";
  for (const char* period : {"x01", "abc", "../", "   "}) {
    std::vector<DrawRecord> bad = Window(502);
    bad.back().period = period;
    EXPECT_EQ(Serve(bad), check + "答复格式错误（开奖号行不合格）") << period;
  }
  EXPECT_EQ(Serve(Window(502), 500), check + "服务答复 HTTP 500");
  const std::string full = Body(Window(502));
  EXPECT_EQ(Serve(Scripted{200, full.substr(0, 700) + "*-*"}), check + "答复不完整（开奖号行数不足）");
  const std::string cut = Serve(Scripted{200, full, 700});
  EXPECT_EQ(cut.rfind(check, 0), 0u) << cut;
  EXPECT_EQ(cut.find("没有更新"), std::string::npos);

  EXPECT_EQ(session.cx.draws.history, before.history);
  EXPECT_EQ(session.cx.draws.deep, before.deep);
  EXPECT_EQ(session.cx.draws.updateCount, 2);
  EXPECT_FALSE(session.cx.form.timer(fmain::Timer_tz_djs).enabled);
  EXPECT_EQ(session.money.multiplePosition, position);
  EXPECT_EQ(session.money.fund.current, capital);
  EXPECT_EQ(session.stats.plan().periods, periods);
  EXPECT_EQ(Notices(older), 1);
  EXPECT_EQ(Notices("答复与已采用的开奖号不符"), 1);
  EXPECT_EQ(Notices("答复中的期号顺序不对"), 1);

  // A lagging mirror: every second answer two requests old. The draws applied go forward only.
  applied.clear();
  for (int n : {502, 503, 501, 504, 502, 505}) Serve(Window(n));
  EXPECT_EQ(applied, (std::vector<std::string>{"023", "024", "025", "026"}));
  EXPECT_EQ(Notices(older), 1);

  // Four hours asleep: the answer reaches back less far than the draws missed. Applied, automatic
  // betting and group send unticked, and said so until the player ticks them again.
  clock.advance(std::chrono::hours(4));
  const std::string slept = Serve(Window(800));
  EXPECT_NE(slept.find("答复与已有开奖号接不上；自动投注和自动群发已暂停"), std::string::npos) << slept;
  EXPECT_EQ(session.cx.draws.history[1], Draw(800));
  EXPECT_FALSE(Find<QCheckBox>(fmain::Check_touzhu_sx)->isChecked());
  EXPECT_FALSE(Find<QCheckBox>(fmain::C_qunfa_sx)->isChecked());
  EXPECT_EQ(Notices("答复与已有开奖号接不上"), 1);
  const std::string paused = "自动投注和自动群发已暂停，核对开奖号后请重新勾选";
  EXPECT_EQ(Serve(Window(801)), "开奖完毕；" + paused);
  Find<QCheckBox>(fmain::Check_touzhu_sx)->setChecked(true);
  Find<QCheckBox>(fmain::C_qunfa_sx)->setChecked(true);
  EXPECT_EQ(Serve(Window(802)).find(paused), std::string::npos);

  // The journal: a row for every refusal and the pause, no draw from a refused answer.
  journal->close("closed");
  const Rows kinds = Query(db, "SELECT kind, period FROM feed_events ORDER BY seq");
  const Rows want{{"older", "021"},
                  {"older", "021"},
                  {"contradicts", "022"},
                  {"disordered", "022"},
                  {"failure", ""},
                  {"failure", ""},
                  {"failure", ""},
                  {"failure", ""},
                  {"older", "022"},
                  {"older", "023"},
                  {"untied", Draw(800).period}};
  EXPECT_EQ(kinds, want);
  EXPECT_EQ(Query(db, "SELECT count(*) FROM draws WHERE source = 'feed'"), (Rows{{"9"}}));
}

}  // namespace
}  // namespace lumora
