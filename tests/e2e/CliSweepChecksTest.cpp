// What lumora-cli refuses before it runs anything, and how it says so: the draw file's lines,
// --help, swept values, sizes and output paths; and the walk-forward sweep. The real lumora-cli on
// real files: exit status and messages.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <thread>

#include <signal.h>

#include "core/Files.h"
#include "core/Text.h"
#include "e2e/support/Process.h"
#include "support/DrawLines.h"

namespace lumora::e2e {
namespace {

namespace fs = std::filesystem;

RunResult Cli(const std::vector<std::string>& args) { return RunCli(args); }

using testing::DrawLines;
using testing::ScratchFolder;

std::string ReadFile(const fs::path& path) { return ReadWholeFileBytes(path).value_or(""); }

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST(CliSweepChecks, DrawFileLinesAreExactlyDrawsOrRefusedWithTheirNumber) {
  const ScratchFolder dir("cli");
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
      {"001-12345\n\n002-1\xE4\xB9\x9D"
       "45\r\n",
       ":3: not a draw line"},
      {"001-12345\n002-\x01\x02"
       "345\n",
       ": 002-\\x01\\x02345"},
      {"001-1\xE4\xB9\x9D"
       "45\n",
       ": 001-1\\xE4\\xB9\\x9D45"},
      {"\n \n", ": no draws"},
  };
  for (const Bad& b : bad) {
    const fs::path file = dir.put("bad.txt", b.content);
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
  const fs::path good = dir.put("good.txt", "\xEF\xBB\xBF" + ToCrLf(DrawLines(60, 1)) + "\r\n  \t\n 061-00042 \n\n");
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

// A CSV written by sweep: one map of column name to cell per row.
std::vector<std::map<std::string, std::string>> CsvRows(const std::string& text) {
  std::vector<std::map<std::string, std::string>> rows;
  std::vector<std::string> lines = Split(text, "\n"), header;
  for (const std::string& line : lines) {
    if (line.empty()) continue;
    // Cells: quoted ones may hold commas.
    std::vector<std::string> cells(1);
    bool quoted = false;
    for (char c : line) {
      if (c == '"') quoted = !quoted;
      else if (c == ',' && !quoted) cells.emplace_back();
      else cells.back() += c;
    }
    if (header.empty()) {
      header = cells;
      continue;
    }
    std::map<std::string, std::string> row;
    for (size_t i = 0; i < header.size() && i < cells.size(); ++i) row[header[i]] = cells[i];
    rows.push_back(row);
  }
  return rows;
}

// Each kind's values are ControlValuesTest's; here, that the cli refuses them before any run.
TEST(CliSweepChecks, SweptValuesAreCheckedAgainstTheirControlBeforeAnyRun) {
  const ScratchFolder dir("cli");
  const std::string draws = dir.put("draws.txt", DrawLines(130, 2)).string();
  struct Case {
    std::string set;
    std::string said;  // part of the message
  };
  const std::vector<Case> refused = {
      {"T_jh_dadi_chongfu_cs=abc,-5,9,九",
       "\"abc\" is not a value of T_jh_dadi_chongfu_cs: it takes a whole number from 0 to 999"},
      {"T_jh_dadi_chongfu_cs=,", "an empty value in --set T_jh_dadi_chongfu_cs=,"},
      {"T_jh_dadi_chongfu_cs=9,,18", "an empty value in --set T_jh_dadi_chongfu_cs=9,,18"},
      {"T_jh_dadi_chongfu_cs=9,09,9", "\"9\" is given twice"},
      {"T_szzx_canshu_0=1940,1650", "\"1650\" is not a value of T_szzx_canshu_0"},
      {"T_no_such_box=1,2", "no control named T_no_such_box"},
  };
  for (const Case& c : refused) {
    RunResult r = Cli({"sweep", "--draws", draws, "--set", c.set, "--csv", (dir / "rows.csv").string()});
    EXPECT_EQ(r.exitCode, 2) << c.set;
    EXPECT_TRUE(Has(r.err, c.said)) << c.set << ": " << r.err;
    EXPECT_EQ(r.out, "") << c.set;
    EXPECT_FALSE(fs::exists(dir / "rows.csv")) << c.set;
  }
  // A box the bare form had not made yet is swept.
  RunResult duoqi = Cli({"sweep", "--draws", draws, "--set", "Check_duoqi=0,1", "--jobs", "1"});
  EXPECT_EQ(duoqi.exitCode, 0) << duoqi.err;
  EXPECT_TRUE(Has(duoqi.out, "Check_duoqi=1")) << duoqi.out;
  // What the statistics refuse, they say.
  RunResult stats = Cli({"backtest", "--draws", draws, "--stats", "multiplier:8"});
  EXPECT_EQ(stats.exitCode, 2);
  EXPECT_TRUE(Has(stats.err, "the statistics settings were refused: 倍投输入格式不正确")) << stats.err;
}

TEST(CliSweepChecks, SizesAreRefusedBeforeAnythingIsAllocated) {
  const ScratchFolder dir("cli");
  const std::string draws = dir.put("draws.txt", DrawLines(170, 3)).string();
  std::string hundred, ten;
  for (int i = 0; i < 100; ++i) hundred += (i ? "," : "") + std::to_string(i);
  for (int i = 0; i < 10; ++i) ten += (i ? "," : "") + std::to_string(i);
  const auto began = std::chrono::steady_clock::now();
  RunResult huge =
      Cli({"sweep", "--draws", draws, "--set", "T_quxian_zhushu_0=" + hundred, "--set", "T_quxian_zhushu_1=" + hundred,
           "--set", "T_quxian_zhushu_2=" + ten, "--seeds", "10000", "--jobs", "2"});
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
  EXPECT_EQ(huge.exitCode, 2) << huge.err;
  EXPECT_TRUE(Has(huge.err, "100000 combinations x 10000 seeds = 1000000000 runs over 50 judged draws")) << huge.err;
  EXPECT_TRUE(Has(huge.err, " s (")) << huge.err;  // the time it would take
  EXPECT_LT(seconds, 30);                          // refused, not started

  // 120 draws or fewer judge nothing: said, not booked as empty rows.
  for (int count : {1, 120}) {
    const std::string shortFile = dir.put("short.txt", DrawLines(count, 4)).string();
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"backtest", "--draws", shortFile},
          std::vector<std::string>{"sweep", "--draws", shortFile, "--set", "Check_duoqi=0,1"}}) {
      RunResult r = Cli(args);
      EXPECT_EQ(r.exitCode, 2) << args[0];
      EXPECT_TRUE(Has(r.err, "short.txt has " + std::to_string(count) + " draws")) << r.err;
      EXPECT_TRUE(Has(r.err, "120-draw warm-up")) << r.err;
      EXPECT_EQ(r.out, "");
    }
  }
}

TEST(CliSweepChecks, OutputPathsAreCheckedFirstAndOneFailedOutputKeepsTheOther) {
  const ScratchFolder dir("cli");
  const std::string draws = dir.put("draws.txt", DrawLines(125, 5)).string();
  const fs::path plainFile = dir.put("plain.txt", "x");
  struct Case {
    std::vector<std::string> args;
    std::string said;
  };
  const std::vector<Case> cases = {
      {{"--csv", (dir / "missing" / "a.csv").string()},
       "cannot write --csv " + (dir / "missing" / "a.csv").string() + ": the folder"},
      {{"--report", (plainFile / "a.svg").string()}, "cannot write --report " + (plainFile / "a.svg").string() + ": "},
      {{"--report", dir.path().string()}, "it is a folder"},
      {{"--csv", (dir / "same").string(), "--report", (dir / "same").string()}, "name the same file"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args{"sweep", "--draws", draws, "--set", "Check_duoqi=0,1"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    RunResult r = Cli(args);
    EXPECT_EQ(r.exitCode, 2) << c.said;
    EXPECT_TRUE(Has(r.err, c.said)) << r.err;
    EXPECT_EQ(r.out, "");  // nothing ran
  }
  RunResult backtest = Cli({"backtest", "--draws", draws, "--report", (dir / "missing" / "b.svg").string()});
  EXPECT_EQ(backtest.exitCode, 2);
  EXPECT_EQ(backtest.out, "");

  // The CSV's folder vanishes during the run: the report is still written, and the CSV's failure is said.
  // The outputs are written when every run has ended; these runs take several seconds.
  const std::string longDraws = dir.put("long.txt", DrawLines(900, 6)).string();
  const fs::path gone = dir / "gone";
  fs::create_directories(gone);
  BackgroundProcess sweep(
      BinDir() / "lumora-cli",
      {"sweep", "--draws", longDraws, "--set", "T_jh_dadi_chongfu_cs=9,18", "--set", "Check_duoqi=0,1", "--seeds", "8",
       "--jobs", "1", "--csv", (gone / "rows.csv").string(), "--report", (dir / "report.svg").string()});
  // The progress line shows once the runs have gone on for a second; the sweep is held still while
  // the folder goes, so no moment of the run decides the outcome.
  for (int i = 0; i < 600 && !Has(sweep.err(), "sweep: ") && sweep.running(); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  ASSERT_EQ(::kill(sweep.pid(), SIGSTOP), 0);
  ASSERT_TRUE(Has(sweep.err(), "sweep: ")) << sweep.err();
  ASSERT_FALSE(Has(sweep.err(), " threads in ")) << "the sweep had ended before its folder went: " << sweep.err();
  fs::remove_all(gone);
  ASSERT_EQ(::kill(sweep.pid(), SIGCONT), 0);
  EXPECT_EQ(sweep.signalAndWait(0, 120), 2);
  EXPECT_TRUE(Has(sweep.err(), "cannot write --csv " + (gone / "rows.csv").string())) << sweep.err();
  EXPECT_TRUE(Has(ReadFile(dir / "report.svg"), "</svg>"));
}

TEST(CliSweepChecks, WalkForwardChoosesOnTrainingDrawsAndBooksTheNextOnes) {
  const ScratchFolder dir("cli");
  const std::string all = DrawLines(180, 7);
  const std::string draws = dir.put("draws.txt", all).string();
  const std::vector<std::string> grid = {
      "--set", "T_jh_dadi_chongfu_cs=0,9", "--set", "T_quxian_zhushu_0=110,400", "--seeds", "2"};
  auto walk = [&](const std::string& jobs, const fs::path& csv) {
    std::vector<std::string> args{"sweep", "--draws", draws, "--train", "20",        "--test",
                                  "10",    "--jobs",  jobs,  "--csv",   csv.string()};
    args.insert(args.end(), grid.begin(), grid.end());
    return Cli(args);
  };
  RunResult one = walk("1", dir / "wf1.csv"), two = walk("2", dir / "wf2.csv");
  ASSERT_EQ(one.exitCode, 0) << one.err;
  EXPECT_EQ(one.out, two.out);
  EXPECT_EQ(ReadFile(dir / "wf1.csv"), ReadFile(dir / "wf2.csv"));
  EXPECT_TRUE(Has(one.out, "Only the test draws are an honest figure")) << one.out;
  EXPECT_TRUE(Has(one.out, "test draws, all 4 folds (the honest figure)")) << one.out;
  const auto folds = CsvRows(ReadFile(dir / "wf1.csv"));
  ASSERT_EQ(folds.size(), 4u);  // 60 judged draws: trains 121-140, 131-150, 141-160, 151-170

  // Each fold recomputed from plain sweeps of the file cut after the window's ends: the same runs,
  // so a window's profit is the difference of the cumulative profits.
  auto profits = [&](size_t lines) {
    // Every draw line is "NNN-DDDDD\n": the first `lines` of them are the first 10 x lines bytes.
    const std::string cut = dir.put("cut.txt", all.substr(0, 10 * lines)).string();
    std::vector<std::string> args{"sweep", "--draws", cut, "--jobs", "2", "--csv", (dir / "cut.csv").string()};
    args.insert(args.end(), grid.begin(), grid.end());
    RunResult r = Cli(args);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    std::map<std::string, long long> byLabel;
    for (const auto& row : CsvRows(ReadFile(dir / "cut.csv")))
      byLabel["T_jh_dadi_chongfu_cs=" + row.at("T_jh_dadi_chongfu_cs") +
              " T_quxian_zhushu_0=" + row.at("T_quxian_zhushu_0")] = std::stoll(row.at("profit"));
    return byLabel;
  };
  std::map<size_t, std::map<std::string, long long>> at;  // profits up to draw N, by combination
  for (size_t n : {130, 140, 150, 160, 170, 180}) at[n] = profits(n);
  at[120];  // nothing judged yet
  long long total = 0;
  for (size_t f = 0; f < folds.size(); ++f) {
    const size_t trainFirst = 120 + 10 * f, trainEnd = trainFirst + 20, testEnd = std::min<size_t>(trainEnd + 10, 180);
    EXPECT_EQ(folds[f].at("train_first_draw"), std::to_string(trainFirst + 1));
    EXPECT_EQ(folds[f].at("test_last_draw"), std::to_string(testEnd));
    const std::string chosen = folds[f].at("chosen");
    long long best = 0;
    bool first = true;
    for (const auto& [label, end] : at[trainEnd]) {
      const long long train = end - (at[trainFirst].count(label) ? at[trainFirst][label] : 0);
      if (first || train > best) best = train;
      first = false;
    }
    const long long chosenTrain = at[trainEnd][chosen] - (at[trainFirst].count(chosen) ? at[trainFirst][chosen] : 0);
    EXPECT_EQ(chosenTrain, best) << "fold " << f + 1 << " did not choose the most profitable combination";
    EXPECT_EQ(std::to_string(chosenTrain), folds[f].at("train_profit"));
    const long long test = at[testEnd][chosen] - at[trainEnd][chosen];
    EXPECT_EQ(std::to_string(test), folds[f].at("test_profit")) << "fold " << f + 1;
    total += test;
  }
  EXPECT_TRUE(Has(one.out, "profit " + std::to_string(total) + " on turnover")) << one.out;

  // Windows that do not fit the file are refused before any run.
  std::vector<std::string> tooLong{"sweep", "--draws", draws, "--train", "60", "--test", "5"};
  tooLong.insert(tooLong.end(), grid.begin(), grid.end());
  RunResult r = Cli(tooLong);
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_TRUE(Has(r.err, "more than --train 60 judged draws, and the file has 60")) << r.err;
  EXPECT_EQ(Cli({"sweep", "--draws", draws, "--train", "20", "--set", "Check_duoqi=0,1"}).exitCode, 2);
}

}  // namespace
}  // namespace lumora::e2e
