// lumora-cli: the engine from a terminal (feed checks, curves, fits, rankings, filters, backtests).
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "cli/Commands.h"
#include "core/Files.h"

namespace {
struct Command {
  const char* name;
  int (*run)(int, char**);
  const char* usage;
};
const Command kCommands[] = {
    {"feed", lumora::cli::RunFeed, "feed (--url URL | --file FILE)"},
    {"curve", lumora::cli::RunCurve, "curve --draws FILE --pool TEXT [--start 1|2|3]"},
    {"fit", lumora::cli::RunFit, "fit --draws FILE --trend TEXT --size N [--slot Q --mode 0|1|2 --mask M] [--start S] [--seed N]"},
    {"rank", lumora::cli::RunRank, "rank --draws FILE --window N --groups MODE [--cold]"},
    {"filter", lumora::cli::RunFilter, "filter --rules FILE --accept TEXT"},
    {"shrink", lumora::cli::RunShrink, "shrink [marks]"},
    {"backtest", lumora::cli::RunBacktest, "backtest --draws FILE [--curves FILE] [--scheme FILE] [--stats ...] [--odds N] [--start S] [--seed N] [--report FILE.svg]"},
    {"sweep", lumora::cli::RunSweep, "sweep --draws FILE --set NAME=V1,V2,... [--set ...] [--seeds K] [--jobs N] [--csv FILE] [--report FILE.svg]"},
    {"risk", lumora::cli::RunRisk, "risk --pool K [--stats flat|multiplier:SEQ|push-wave:N] [--odds N] [--periods D] [--capital X --stop-loss X --take-profit X --prize X]"},
    {"journal", lumora::cli::RunJournal, "journal [--data DIR] [--from DATE] [--to DATE] --csv FILE | --backup FILE"},
};
}  // namespace

int main(int argc, char** argv) {
  // Arguments as UTF-8 everywhere (Windows hands them over in its ANSI code page).
  std::vector<std::string> text = lumora::Utf8Arguments(argc, argv);
  std::vector<char*> pointers;
  for (std::string& a : text) pointers.push_back(a.data());
  pointers.push_back(nullptr);
  argc = static_cast<int>(text.size());
  argv = pointers.data();
  if (argc >= 2) {
    for (const Command& c : kCommands)
      if (std::strcmp(argv[1], c.name) == 0) return c.run(argc - 2, argv + 2);
  }
  std::fprintf(stderr, "usage: lumora-cli COMMAND [options]\ncommands:\n");
  for (const Command& c : kCommands) std::fprintf(stderr, "  lumora-cli %s\n", c.usage);
  return 2;
}
