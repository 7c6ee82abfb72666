#pragma once
// One backtest run, shared by `backtest`, `sweep` and the program: a bare session with the
// default values, "自动计划" ticked and "每期算号" selected, optional scheme, statistics scheme and
// controls set by name, replayed over draws through the after-draw pipeline.
#include <array>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "analysis/Chance.h"
#include "core/Draws.h"
#include "core/Form.h"
#include "core/NumberSet.h"
#include "core/Ports.h"
#include "curves/CurveState.h"
#include "money/PlanStats.h"

namespace lumora {

struct BacktestSettings {
  std::filesystem::path data;    // the data folder (curve store, phrases)
  int start = 3;                 // SubNumberStart
  std::optional<uint64_t> seed;  // none: the session's own fixed seed
  std::string schemeText;        // a scheme file's text, "" for none
  std::string stats;             // flat | multiplier:SEQ | push-wave:N, "" to keep
  int odds = 1940;
  std::vector<std::pair<std::string, std::string>> controls;  // NAME=value, in order
  bool keepPools = false;                                     // keep every judged period's pool in the outcome
  // The curve store's slots already read (the runs of a sweep share one reading); none: the run
  // reads the data folder's store.
  std::shared_ptr<const std::array<std::string, kCurveSlots>> curveStore;
};

struct BacktestOutcome {
  std::vector<JudgedPeriod> periods;
  std::vector<NumberSet> pools;  // with keepPools: the pool bet in each judged period
  PlanStats scheme;              // the statistics record as the run began (replays book with it)
  int odds = 1940;
  std::string summary;  // the statistics' summary text (LF line breaks)
  std::string error;    // why the run could not start ("" when it ran)
};

class AnsweringPrompter;

// Called after every judged period with the pool that was judged and the judged record line.
using JudgedFn = std::function<void(const std::string& pool, const std::string& line)>;

// Replays `draws` (oldest first): the first 120 fill the history, every later draw is judged.
// Fewer than 121 draws give no periods. A figure of the statistics that would pass the 64-bit
// range stops the run with an error naming it (figures are never saturated). `judged` (optional) sees every judged period; asking it
// for nothing keeps the run from copying pools.
BacktestOutcome RunBacktestOn(const BacktestSettings& settings, const std::vector<DrawRecord>& draws,
                              AnsweringPrompter& prompter, const JudgedFn& judged = {});

// `count` fair draws from `seed` (every number equally likely, periods 001..120 over and over):
// what the benchmarks and the tests replay when the outcome must not depend on real draws.
std::vector<DrawRecord> SeededDraws(uint64_t seed, int count);

// Sets a control of a bare Form by its name: check and option boxes (Check_, Ch_, Op_, Option_)
// take 1/0, on/off or true/false; an option array's bare name (Option_touzhu_sz) takes the index
// of the option to select; other controls take the text (trimmed). A control a backtest cannot
// set, or a value not of the control's kind, is refused (analysis/ControlValues.h). Returns why it
// was refused ("" when set).
std::string SetControlByName(Form& form, const std::string& name, const std::string& value);

// A run nobody answers: questions are answered Yes (an input box: cancelled) once the step that
// asked has ended (settle()); notices are dropped unless a subclass keeps them.
class AnsweringPrompter : public Prompter {
 public:
  void inform(const std::string&, const std::string&) override {}
  void askYesNo(const std::string&, const std::string&, std::function<void(bool)> answer) override;
  void askText(const std::string&, const std::string&, const std::string&,
               std::function<void(std::optional<std::string>)> reply) override;
  void settle();

 private:
  std::deque<std::function<void()>> pending_;
};

// Reads the data folder's curve store into settings.curveStore, unless it holds one already, for
// runs that share it. A store that cannot be read is left to each run to refuse.
void ShareCurveStore(BacktestSettings& settings);

// The statistics' odds named in `controls` (T_szzx_canshu_0), else settings.odds.
int OddsOf(const BacktestSettings& settings);

}  // namespace lumora
