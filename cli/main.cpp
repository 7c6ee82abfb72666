// lumora-cli: the engine from a terminal (feed checks, curves, fits, rankings, filters, backtests).
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "cli/Commands.h"
#include "cli/Help.h"
#include "core/Files.h"
#include "core/Version.h"

namespace {
struct Command {
  const char* name;
  int (*run)(int, char**);
  const char* usage;
};
const Command kCommands[] = {
    {"feed", lumora::cli::RunFeed, "feed (--url URL | --file FILE)"},
    {"curve", lumora::cli::RunCurve, "curve --draws FILE --pool TEXT [--start 1|2|3]"},
    {"fit", lumora::cli::RunFit,
     "fit --draws FILE --trend TEXT --size N [--slot Q --mode 0|1|2 --mask M] [--start S] [--seed N]"},
    {"rank", lumora::cli::RunRank, "rank --draws FILE --window N --groups MODE [--cold]"},
    {"filter", lumora::cli::RunFilter, "filter --rules FILE --accept TEXT"},
    {"shrink", lumora::cli::RunShrink, "shrink [marks]"},
    {"backtest", lumora::cli::RunBacktest,
     "backtest --draws FILE [--curves FILE] [--scheme FILE] [--stats ...] [--odds N] [--start S] [--seed N] [--report FILE.svg]"},
    {"sweep", lumora::cli::RunSweep,
     "sweep --draws FILE --set NAME=V1,V2,... [--set ...] [--seeds K] [--jobs N] [--csv FILE] [--report FILE.svg] [--train N --test M]"},
    {"risk", lumora::cli::RunRisk,
     "risk --pool K [--stats flat|multiplier:SEQ|push-wave:N] [--odds N] [--periods D] [--capital X --stop-loss X --take-profit X --prize X]"},
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
  if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
    std::printf("%s\n", lumora::VersionLine("lumora-cli").c_str());
    return 0;
  }
  if (argc >= 2) {
    for (const Command& c : kCommands)
      if (std::strcmp(argv[1], c.name) == 0) {
        if (lumora::cli::AsksForHelp(argc - 2, argv + 2)) {
          std::printf("%s", lumora::cli::CommandHelp(c.name, c.usage).c_str());
          return 0;
        }
        return c.run(argc - 2, argv + 2);
      }
  }
  const bool help = argc >= 2 && lumora::cli::AsksForHelp(1, argv + 1);
  std::FILE* out = help ? stdout : stderr;
  std::fprintf(
      out,
      "usage: lumora-cli COMMAND [options] | lumora-cli --version   (lumora-cli COMMAND --help for its options)\ncommands:\n");
  for (const Command& c : kCommands) std::fprintf(out, "  lumora-cli %s\n", c.usage);
  return help ? 0 : 2;
}
