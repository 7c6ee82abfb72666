#include "cli/Help.h"

#include <cstring>

namespace lumora::cli {

namespace {

struct Entry {
  const char* command;
  const char* text;
};

constexpr const char* kDrawFile =
    "  --draws FILE  one draw a line, oldest first: the period's three digits, '-', five digits (023-12345);\n"
    "                blank lines are skipped, any other line refuses the file with its line number\n";

const Entry kHelp[] = {
    {"filter",
     "  --rules FILE   the banker rules, one a line\n"
     "  --accept TEXT  the accepted counts\n"},
    {"shrink",
     "  --compound H,T,U  --kill H,T,U   digit strings per position\n"
     "  --route, --size, --parity, --prime  patterns separated by blanks\n"
     "  --sum-tail DIGITS  --span DIGITS  --banker DIGITS[:COUNTS],...  --banker-repeat  --junk TEXT\n"},
    {"backtest",
     "  --stats flat|multiplier:SEQ|push-wave:N  the statistics' money scheme;  --odds N  their odds (1701..2000)\n"
     "  --curves FILE  a curve store to use instead of the shipped one;  --scheme FILE  a scheme to load first\n"
     "  --start 1|2|3  the sub-game;  --seed N  the session's seed;  --report FILE.svg  the report\n"
     "The first 120 draws fill the history before the first judged period.\n"},
    {"sweep",
     "  --set NAME=V1,V2,...  a control of the plan, curve, banker or statistics settings and the values to try;\n"
     "                 every value is checked against the control's kind before anything runs (check and option\n"
     "                 boxes 1/0, an option array's bare name the index of its option, counts whole numbers in\n"
     "                 their range, accepted-count lists like 08.09.10); a control a backtest cannot set is refused\n"
     "                 with the reason\n"
     "  --seeds K      K seeds per combination (1..10000)\n"
     "  --jobs N       threads (default: every core); the results do not depend on it\n"
     "  --train N --test M  walk-forward: choose the best combination on N judged draws, report it on the next M,\n"
     "                 rolling over the file; only the test draws are an honest figure\n"
     "  --csv FILE, --report FILE.svg  outputs, checked writable before the first run\n"
     "  --curves FILE, --scheme FILE, --start 1|2|3  as for backtest\n"
     "The first 120 draws fill the history before the first judged period; a grid over the size limit is refused\n"
     "with its count and an estimate of its time.\n"},
    {"journal",
     "  --data DIR     the data folder (default: beside the program)\n"
     "  --from DATE --to DATE  the days to export (YYYY-MM-DD, both inclusive)\n"
     "  --csv FILE     the journal as CSV;  --backup FILE  a copy of the journal\n"},
};

}  // namespace

std::string CommandHelp(const std::string& command, const std::string& usage) {
  if (command == "feed") return FeedUsage() + "\n";
  if (command == "risk") return RiskUsage() + "\n";
  std::string text = "usage: lumora-cli " + usage + "\n";
  for (const char* withDraws : {"curve", "fit", "rank", "backtest", "sweep"})
    if (command == withDraws) text += kDrawFile;
  for (const Entry& e : kHelp)
    if (command == e.command && e.text) text += e.text;
  return text;
}

bool AsksForHelp(int argc, char** argv) {
  for (int i = 0; i < argc; ++i)
    if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) return true;
  return false;
}

}  // namespace lumora::cli
