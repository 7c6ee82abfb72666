// The journal over the real after-draw pipeline and a real database: what one run leaves in it,
// a journal that cannot be written (one notice, the program goes on), a process killed while it
// writes (at most the sequence in progress lost, the database still sound), and the CSV export.
#include <gtest/gtest.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <thread>

#include "core/RecordingPorts.h"
#include "core/Text.h"
#include "core/controls/Fmain.h"
#include "engine/journal/JournalSupport.h"
#include "engine/support/EngineFixture.h"
#include "engine/support/FeedAnswers.h"
#include "journal/Journal.h"
#include "journal/JournalExport.h"
#include "money/BetLog.h"
#include "money/Fund.h"
#include "session/DrawCycle.h"
#include "support/RunProgram.h"

namespace lumora {
namespace {

using testing::Digits;
using testing::FeedEndingAt;

using namespace journal_test;

// A started session over the shipped data folder, journalled into `db`.
struct JournalledRun : testing::RecordedSession {
  Journal journal;
  explicit JournalledRun(const fs::path& db, bool record = true) : journal(db, &clock, &prompter) {
    clock.time = std::chrono::system_clock::from_time_t(1796000000);  // 2026-12-01
    if (record) s.cx.ports.recorder = &journal;
    s.cx.data = DataFolder(testing::ShippedDataFolder());
    EXPECT_TRUE(StartupDefaults(s));
    if (record) journal.open();
    Form& f = s.cx.form;
    f.setChecked(fmain::Cauto, true);
    // A fixed plan pool: both plan modes off, the pool of the sub-numbers 000..499.
    f.setChecked(fmain::Check_jh_dadi_chongfu, false);
    f.setChecked(fmain::Check_jh_dadi_fenzu, false);
    std::string pool;
    for (int i = 0; i < 500; ++i) pool += (pool.empty() ? "" : " ") + Pad(i, 3);
    f.setText(fmain::T_rj_jh_dd, pool);
  }
  int journalNotices() const {
    return static_cast<int>(std::count_if(prompter.notices.begin(), prompter.notices.end(),
                                          [](const Notice& n) { return n.title == kJournalFailureTitle; }));
  }
  void Fetch(int newest) {
    s.gate.run([&] { RequestDraws(s); });
    ASSERT_TRUE(http.answer(FeedEndingAt(newest)));
    clock.advance(std::chrono::minutes(1));
  }
};

TEST_F(JournalRun, KeepsEveryDrawPlanJudgementSettlementAndLogLineOfARun) {
  JournalledRun run(db);
  run.Fetch(150);
  run.Fetch(151);
  RecordPlacedBet(run.s.money, "000 001", 2, "3",
                  run.s.cx.draws.history[1]);  // the betting run placed a bet on 151's plan
  run.s.money.fund.prize = 1940;
  run.Fetch(152);
  LogBetMessage(run.s.cx, "投注完成");  // a log line outside any draw's sequence
  run.Fetch(152);                       // nothing new: no sequence

  EXPECT_EQ(run.journal.failures(), 0);
  EXPECT_EQ(run.journalNotices(), 0);
  EXPECT_EQ(Query(db, "PRAGMA journal_mode"), (Rows{{"wal"}}));
  EXPECT_EQ(Query(db, "SELECT version FROM schema_version"), (Rows{{"3"}}));
  EXPECT_EQ(Query(db, "SELECT DISTINCT run FROM draws"), (Rows{{"1"}}));
  EXPECT_EQ(
      Query(db, "SELECT id, period, digits, source FROM draws"),
      (Rows{{"1", "150", Digits(150), "feed"}, {"2", "151", Digits(151), "feed"}, {"3", "152", Digits(152), "feed"}}));
  // The first history only loads; every later one judges the plan and starts the next.
  const Rows judged = Query(db, "SELECT draw_id, period, digits, hit, scheme FROM judgements");
  ASSERT_EQ(judged.size(), 2u);
  for (size_t i = 0; i < 2; ++i) {
    const int p = 151 + static_cast<int>(i);
    // No plan was started before the first judgement: its pool is empty.
    const bool hit = i > 0 && std::stoi(Digits(p).substr(2)) < 500;
    EXPECT_EQ(judged[i], (std::vector<std::string>{std::to_string(i + 2), std::to_string(p), Digits(p), hit ? "1" : "0",
                                                   "方案一<平刷>"}));
  }
  EXPECT_EQ(Query(db, "SELECT draw_id, name, period, sub_game, size FROM plans"),
            (Rows{{"2", "Lumora计划", "152", "后三", "500"}, {"3", "Lumora计划", "153", "后三", "500"}}));
  EXPECT_EQ(Query(db, "SELECT count(*) FROM plans WHERE length(pool) = 500 * 4 - 1"), (Rows{{"2"}}));
  // The profit booked is the statistics' own: the journal's last figure is the record's.
  EXPECT_EQ(Query(db, "SELECT sum(profit_change), max(id) FROM judgements"),
            (Rows{Row{std::to_string(run.s.stats.plan().profit), "2"}}));
  const Rows settled = Query(db, "SELECT draw_id, period, hit, multiple, count FROM settlements");
  EXPECT_EQ(settled, (Rows{{"3", "152", Digits(152).substr(2) <= "001" ? "1" : "0", "3", "2"}}));
  EXPECT_EQ(Query(db, "SELECT draw_id, line FROM bet_log"),
            (Rows{Row{"NULL", "投注完成::" + DateTimeText(run.clock.time - std::chrono::minutes(1))}}));
}

// Answers the feed did not simply apply are kept with what the status said, in the order told,
// and exported; a refused answer leaves no draw, plan or judgement.
TEST_F(JournalRun, KeepsTheFeedsRefusalsFailuresAndOutages) {
  JournalledRun run(db);
  run.Fetch(150);
  run.Fetch(151);
  run.Fetch(150);  // older
  run.s.gate.run([&] { RequestDraws(run.s); });
  ASSERT_TRUE(run.http.complete(HttpResult{true, 500, FeedEndingAt(152), "", HttpFailure::None}));
  for (int i = 0; i < 6; ++i) {
    run.s.gate.run([&] { RequestDraws(run.s); });
    ASSERT_TRUE(run.http.complete(HttpResult{false, 0, "", "timeout", HttpFailure::Timeout}));
    run.clock.advance(std::chrono::minutes(1));
  }
  run.Fetch(152);
  EXPECT_EQ(Query(db, "SELECT kind, period, text FROM feed_events ORDER BY seq"),
            (Rows{{"older", "150",
                   "答复比已采用的开奖号旧，未采用（答复最新 第150期 " + Digits(150) + "，已有 第151期 " + Digits(151) +
                       "）"},
                  {"failure", "", "没有获取到数据,请检查：服务答复 HTTP 500"},
                  {"failure", "", "没有获取到数据,请检查：请求超时"},
                  {"outage", "",
                   "没有获取到数据,请检查：请求超时；已有 7 分钟没有获取到开奖数据（上次成功 " +
                       TimeText(run.clock.time - std::chrono::minutes(9)) + "）"},
                  {"recovered", "", "开奖完毕"}}));
  EXPECT_EQ(Query(db, "SELECT period FROM draws"), (Rows{{"150"}, {"151"}, {"152"}}));
  JournalCsv csv = ExportJournalCsv(db, "", "");
  ASSERT_EQ(csv.error, "");
  EXPECT_NE(csv.text.find(",feed older,150," + Digits(150) + ","), std::string::npos);
  EXPECT_NE(csv.text.find(",feed outage,"), std::string::npos);
}

TEST_F(JournalRun, RecordingChangesNothingTheProgramShows) {
  JournalledRun with(dir.path() / kJournalFile), without(dir.path() / "unused.sqlite", false);
  for (int p = 150; p <= 155; ++p) {
    with.Fetch(p);
    without.Fetch(p);
  }
  EXPECT_EQ(with.s.cx.form.text(fmain::T_jh_dadi_jilu), without.s.cx.form.text(fmain::T_jh_dadi_jilu));
  EXPECT_EQ(with.s.cx.form.text(fmain::T_jihua_jj_dadi), without.s.cx.form.text(fmain::T_jihua_jj_dadi));
  EXPECT_EQ(with.s.stats.plan().profit, without.s.stats.plan().profit);
  EXPECT_FALSE(fs::exists(dir.path() / "unused.sqlite"));
}

TEST_F(JournalRun, AFailureToWriteShowsOneNoticeAndTheProgramGoesOn) {
  struct Case {
    const char* name;
    std::function<fs::path(const fs::path&)> make;
  } cases[] = {
      {"a folder where the file should be",
       [](const fs::path& d) {
         fs::create_directory(d / kJournalFile);
         return d / kJournalFile;
       }},
      {"a read-only file",
       [](const fs::path& d) {
         {
           Journal j(d / "ro.sqlite", nullptr, nullptr);
           EXPECT_TRUE(j.open());
         }
         chmod((d / "ro.sqlite").c_str(), 0444);
         return d / "ro.sqlite";
       }},
      {"a folder that does not exist", [](const fs::path& d) { return d / "missing" / kJournalFile; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    // root writes through file modes, so a read-only file stops only other users.
    if (geteuid() == 0 && std::string(c.name) == "a read-only file") continue;
    JournalledRun run(c.make(dir.path()));
    run.Fetch(150);
    run.Fetch(151);
    run.Fetch(152);
    EXPECT_FALSE(run.journal.isOpen());
    EXPECT_GT(run.journal.failures(), 3);  // the open and every later write, counted
    EXPECT_EQ(run.journalNotices(), 1);
    EXPECT_EQ(run.s.cx.draws.history[1].period, "152");  // the draws went on being applied and judged
    EXPECT_EQ(run.s.stats.plan().periods, 2);
    EXPECT_EQ(run.journal.statusText().find("运行记录未能打开"), 0u) << run.journal.statusText();
  }
}

// The child's loop: sequences of one draw and six rows each, reporting every committed one.
[[noreturn]] void WriteSequences(const fs::path& db, int reportFd) {
  FixedClock clock;
  Journal j(db, &clock, nullptr);
  if (!j.open()) _exit(3);
  for (int n = 1; n < 1000000; ++n) {
    const std::string period = std::to_string(n);
    j.beginSequence(period, "12345", "feed");
    for (int k = 0; k < 2; ++k) {
      j.planJudged({period, "12345", k == 0, 10, n, "方案一<平刷>", std::string(200, 'x')});
      j.planStarted({"Lumora计划", period, "后三", std::string(2000, '1'), 500});
      j.betLogLine("line " + period);
    }
    j.endSequence();
    if (write(reportFd, &n, sizeof n) != sizeof n) _exit(4);
  }
  _exit(0);
}

TEST_F(JournalRun, AKilledProcessLosesAtMostTheSequenceInProgress) {
  std::mt19937 rng(20261208);
  int lastCommitted = 0;
  for (int round = 0; round < 12; ++round) {
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      close(fds[0]);
      WriteSequences(db, fds[1]);
    }
    close(fds[1]);
    // The kill waits for the writer's first commit, so it lands in the middle of the writing
    // however slow the machine is (and the database exists).
    int n = 0, reported = 0;
    const bool started = read(fds[0], &n, sizeof n) == sizeof n;
    reported = started ? n : 0;
    const int after = std::uniform_int_distribution<int>(20, 250)(rng);
    std::this_thread::sleep_for(std::chrono::milliseconds(after));
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(started) << "the writer committed nothing: " << status;
    ASSERT_TRUE(WIFSIGNALED(status)) << "the writer ended by itself: " << status;
    while (read(fds[0], &n, sizeof n) == sizeof n) reported = n;
    close(fds[0]);

    SCOPED_TRACE("round " + std::to_string(round) + ", reported " + std::to_string(reported));
    EXPECT_EQ(Query(db, "PRAGMA integrity_check"), (Rows{{"ok"}}));
    // Every committed sequence is whole, and no sequence is there in part.
    for (const char* table : {"judgements", "plans", "bet_log"})
      EXPECT_EQ(Query(db, std::string("SELECT count(*) FROM draws d LEFT JOIN (SELECT draw_id, count(*) AS n FROM ") +
                              table + " GROUP BY draw_id) t ON t.draw_id = d.id WHERE t.n IS NOT 2"),
                (Rows{{"0"}}))
          << table;
    EXPECT_EQ(
        Query(db, "SELECT count(*) FROM judgements WHERE draw_id IS NULL OR draw_id NOT IN (SELECT id FROM draws)"),
        (Rows{{"0"}}));
    // Everything reported committed is there; at most the one after it (committed, not yet reported).
    const int kept = std::stoi(Query(db, "SELECT count(*) FROM draws WHERE period = '" + std::to_string(reported) +
                                             "' OR period = '" + std::to_string(reported + 1) + "'")[0][0]);
    const int total = std::stoi(Query(db, "SELECT count(*) FROM draws")[0][0]);
    EXPECT_GE(total, lastCommitted + reported);
    EXPECT_LE(total, lastCommitted + reported + 1);
    EXPECT_GE(kept, reported > 0 ? 1 : 0);
    std::printf("round %2d: SIGKILL after %3d ms, %4d sequences reported committed, %4d found, integrity ok\n", round,
                after, reported, total - lastCommitted);
    lastCommitted = total;
  }
  EXPECT_GT(lastCommitted, 12);  // the writer did get going before the kills
}

TEST_F(JournalExport, RunsPlansJudgementsAndBetsAsCsvWithABomInTheOrderTold) {
  FixedClock clock;
  clock.time = std::chrono::system_clock::from_time_t(1796000000);
  const std::string at = DateTimeText(clock.time), day1 = at.substr(0, 10);
  const std::string later = DateTimeText(clock.time + std::chrono::hours(48));
  const std::string header =
      "time,kind,period,digits,name,sub_game,size,hit,profit_change,profit,scheme,stake,"
      "multiple,capital,text,reason,run";
  const std::vector<std::string> told = {
      at + ",run start,,,,,,,,,,,,,Lumora 0.1; /data; http://feed,,1",
      at + ",judgement,151,12345,,,,1,940,940,方案一<平刷>,,,,\"Lumora计划后三500注151期开12345,中中中\",,1",
      at + ",not judged,149,,,,,,,,,,,,Lumora计划后三500注149期,没有149期的开奖号,1",
      at + ",plan,152,,Lumora计划,后三,2,,,,,,,,000 001,,1",
      at + ",settlement,151,,,,2,1,,,,3,3,1234.5,,,1",
      at + ",not settled,149,,,,,,,,,,,,,没有149期的开奖号,1",
      later + ",bet,,,,,,,,,,,,,\"投注完成 \"\"一\"\"\",,1",
  };
  auto lines = [](const JournalCsv& csv) { return Split(csv.text.substr(3), "\r\n"); };
  {
    Journal j(db, &clock, nullptr, {"0.1", "/data", "http://feed"});
    ASSERT_TRUE(j.open());
    j.beginSequence("151", "12345", "feed");
    j.drawBetween("150", "54321");
    j.planJudged({"151", "12345", true, 940, 940, "方案一<平刷>", "Lumora计划后三500注151期开12345,中中中"});
    j.planNotJudged({"149", "没有149期的开奖号", "Lumora计划后三500注149期"});
    j.planStarted({"Lumora计划", "152", "后三", "000 001", 2});
    j.betSettled({"151", true, 3.0, "3", 2, 1234.5});
    j.betNotSettled("149", "没有149期的开奖号");
    j.endSequence();
    clock.advance(std::chrono::hours(48));
    j.betLogLine("投注完成 \"一\"");
    JournalCsv all = ExportJournalCsv(db, "", "");
    ASSERT_EQ(all.error, "");
    EXPECT_EQ(all.rows, 7);
    EXPECT_EQ(all.text.substr(0, 3), "\xEF\xBB\xBF");
    std::vector<std::string> want = {header};
    want.insert(want.end(), told.begin(), told.end());
    want.push_back("");  // the empty rest after the last CR LF
    EXPECT_EQ(lines(all), want);
    EXPECT_EQ(ExportJournalCsv(db, day1, day1).rows, 6);
    EXPECT_EQ(ExportJournalCsv(db, later.substr(0, 10), "").rows, 1);
    // The draw served between belongs to the sequence of the draw that told it.
    EXPECT_EQ(Query(db, "SELECT id, period, source, draw_id FROM draws ORDER BY seq"),
              (Rows{{"1", "151", "feed", "NULL"}, {"2", "150", "between", "1"}}));
  }
  // Closed: the run's end, and the plan still standing (152) kept as not judged.
  const auto closed = lines(ExportJournalCsv(db, "", ""));
  ASSERT_EQ(closed.size(), 11u);
  EXPECT_EQ(closed[8], later + ",not judged,152,,,,,,,,,,,,," + kPlanNotJudgedClosed + ",1");
  EXPECT_EQ(closed[9], later + ",run end,,,,,,,,,,,,,,closed,1");
  // The command writes the same CSV; a malformed date or a missing --csv is a usage error.
  const std::string data = dir.path().string(), out = (dir.path() / "out.csv").string();
  EXPECT_EQ(testing::RunCli({"journal", "--data", data, "--csv", out}).exitCode, 0);
  EXPECT_EQ(ReadWholeFileBytes(out), ExportJournalCsv(db, "", "").text);
  EXPECT_EQ(testing::RunCli({"journal", "--data", data, "--from", "2026-1-1", "--csv", out}).exitCode, 2);
  EXPECT_EQ(testing::RunCli({"journal", "--data", data}).exitCode, 2);
  EXPECT_NE(ExportJournalCsv(db, "1.12.2026", "").error, "");
  EXPECT_NE(ExportJournalCsv(dir.path() / "none.sqlite", "", "").error, "");
  EXPECT_FALSE(fs::exists(dir.path() / "none.sqlite"));
}

}  // namespace
}  // namespace lumora
