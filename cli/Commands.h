#pragma once
// lumora-cli's commands; each lives in its own file and gets argv from the word after its name.
namespace lumora::cli {

int RunFeed(int argc, char** argv);      // FeedCommand.cpp
int RunCurve(int argc, char** argv);     // CurveCommands.cpp
int RunFit(int argc, char** argv);       // CurveCommands.cpp
int RunRank(int argc, char** argv);      // ToolCommands.cpp
int RunFilter(int argc, char** argv);    // ToolCommands.cpp
int RunShrink(int argc, char** argv);    // ToolCommands.cpp
int RunBacktest(int argc, char** argv);  // BacktestCommand.cpp
int RunJournal(int argc, char** argv);   // JournalCommand.cpp
int RunSweep(int argc, char** argv);     // SweepCommand.cpp
int RunRisk(int argc, char** argv);      // RiskCommand.cpp

}  // namespace lumora::cli
