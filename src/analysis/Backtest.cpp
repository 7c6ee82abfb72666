#include "analysis/Backtest.h"

#include <algorithm>

#include "analysis/ControlValues.h"
#include "core/ControlNames.h"

#include "core/Form.h"
#include "core/Random.h"
#include "core/RecordingPorts.h"
#include "core/Text.h"
#include "core/controls/Fmain.h"
#include "curves/CurveStore.h"
#include "money/Fund.h"
#include "money/PlanStats.h"
#include "plan/PlanDefaults.h"
#include "plan/PlanStart.h"
#include "session/AfterDraw.h"
#include "session/DrawCycle.h"
#include "session/PlanSession.h"
#include "settings/SchemeFile.h"
#include "settings/Schemes.h"
#include "tools/BankerRanking.h"

namespace lumora {
namespace {

// IncomingWindow rows 1..120 from the draws ending at `end - 1` (row 1 the newest).
void FillIncoming(DrawStore& store, const std::vector<DrawRecord>& draws, size_t end) {
  store.incoming.fill(DrawRecord{});
  for (size_t row = 1; row <= static_cast<size_t>(kHistoryRows) && row <= end; ++row)
    store.incoming[row] = draws[end - row];
}

// Whether the named control belongs to the statistics' money scheme.
bool StatsName(const std::string& name) {
  const ControlEntry* e = FindControlOrRow(name).entry;
  return e && (e->key == fmain::T_szzx_canshu.key || e->key == fmain::Option_touzhu_sz.key);
}

// Keeps the last message shown while the statistics settings are applied.
class StatsRefusal final : public AnsweringPrompter {
 public:
  void inform(const std::string& message, const std::string&) override { text = message; }
  std::string text;
};

}  // namespace

void AnsweringPrompter::askYesNo(const std::string&, const std::string&, std::function<void(bool)> answer) {
  pending_.push_back([answer = std::move(answer)] { answer(true); });
}

void AnsweringPrompter::askText(const std::string&, const std::string&, const std::string&,
                                std::function<void(std::optional<std::string>)> reply) {
  pending_.push_back([reply = std::move(reply)] { reply(std::nullopt); });
}

void AnsweringPrompter::settle() {
  // Bounded: an answer that asks again is answered in the same settle, up to a point.
  for (int n = 0; n < 100 && !pending_.empty(); ++n) {
    auto next = std::move(pending_.front());
    pending_.pop_front();
    next();
  }
}

std::vector<DrawRecord> SeededDraws(uint64_t seed, int count) {
  Rng rng(seed);
  std::vector<DrawRecord> draws;
  draws.reserve(static_cast<size_t>(std::max(0, count)));
  for (int i = 0; i < count; ++i)
    draws.push_back(DrawRecord{Pad(i % 120 + 1, 3), Pad(static_cast<int64_t>(rng.Below(100000)), 5)});
  return draws;
}

std::string SetControlByName(Form& form, const std::string& name, const std::string& value) {
  if (std::string refused = CheckControlValue(name, value); !refused.empty()) return refused;
  const std::string v = Trim(value);
  const NamedControl named = FindControlOrRow(name);
  if (named.isRow()) {
    // A row of option buttons by its bare name: the value is the index of the one to check.
    form.setOption(OptionGroup{named.entry->key, named.entry->first, named.entry->last}, ReadInt(v));
    return {};
  }
  const ControlKind kind = named.entry->kind;
  if (kind == ControlKind::CheckBox || kind == ControlKind::OptionButton)
    form.setChecked(named.ref(), v == "1" || v == "on" || v == "true");
  else form.setText(named.ref(), v);
  return {};
}

void ShareCurveStore(BacktestSettings& settings) {
  if (settings.curveStore) return;
  if (auto slots = ReadCurveStoreFile(DataFolder(settings.data).curveStore()))
    settings.curveStore = std::make_shared<const std::array<std::string, kCurveSlots>>(std::move(*slots));
}

int OddsOf(const BacktestSettings& settings) {
  int odds = settings.odds;
  for (const auto& [name, value] : settings.controls)
    if (name == fmain::T_szzx_canshu[0].name()) odds = static_cast<int>(RoundHalfEven(ReadNumber(value)));
  return odds;
}

BacktestOutcome RunBacktestOn(const BacktestSettings& settings, const std::vector<DrawRecord>& draws,
                              AnsweringPrompter& prompter, const JudgedFn& judged) {
  BacktestOutcome out;
  out.odds = OddsOf(settings);
  Session s;
  RecordingClipboard clipboard;
  RecordingSound sound;
  SystemClock clock;
  s.cx.ports = Ports{&clipboard, &sound, &prompter, nullptr, &clock};
  if (settings.seed) s.cx.rng.seed(*settings.seed);
  s.cx.data = DataFolder(settings.data);
  s.cx.headless = true;

  Form& f = s.cx.form;
  // The boxes' default texts, as the window creates them.
  ApplyPlanDesignValues(f);
  ApplyBankerDesignValues(f);
  ApplyFundDesignValues(f);
  if (!StartupDefaults(s, settings.curveStore.get())) {
    out.error = "the curve store " + s.cx.data.curveStore().string() + " cannot be read";
    return out;
  }
  f.setChecked(fmain::Check_jihua_sx, true);
  f.setChecked(fmain::Op_jiankong_zihui, true);
  f.setChecked(fmain::Op_jiankong_shougong, false);
  s.cx.draws.subStart = settings.start;

  if (!settings.schemeText.empty() && !ApplySchemeText(s.cx, settings.schemeText)) {
    out.error = "the scheme is damaged";
    return out;
  }

  bool statsChanged = false;
  if (!settings.stats.empty()) {
    const std::string& stats = settings.stats;
    int option = 0;
    if (stats == "flat") {
      option = 0;
    } else if (stats.rfind("multiplier:", 0) == 0) {
      option = 1;
      f.setText(fmain::T_szzx_canshu[2], stats.substr(11));
    } else if (stats.rfind("push-wave:", 0) == 0) {
      option = 2;
      f.setText(fmain::T_szzx_canshu[3], stats.substr(10));
    } else {
      out.error = "--stats must be flat, multiplier:SEQ or push-wave:N";
      return out;
    }
    f.setOption(fmain::Option_touzhu_sz, option);
    f.setText(fmain::T_szzx_canshu[0], std::to_string(settings.odds));
    statsChanged = true;
  }
  for (const auto& [name, value] : settings.controls) {
    std::string refused = SetControlByName(f, name, value);
    if (!refused.empty()) {
      out.error = refused;
      return out;
    }
    statsChanged = statsChanged || StatsName(name);
  }
  if (statsChanged) {
    // The statistics say why they refuse in a message box: that message is the error.
    StatsRefusal refusal;
    s.cx.ports.prompter = &refusal;
    const bool applied = ApplyStatsSettings(s.cx, s.stats);
    s.cx.ports.prompter = &prompter;
    if (!applied) {
      out.error = "the statistics settings were refused" + (refusal.text.empty() ? std::string() : ": " + refusal.text);
      return out;
    }
  }

  const size_t first = std::min<size_t>(draws.size(), kHistoryRows);
  if (first == 0) return out;
  out.periods.reserve(draws.size() - first);
  FillIncoming(s.cx.draws, draws, first);
  ApplyDraws(s);
  PlanEnv env = PlanEnvOf(s);
  StartPlan(env);
  out.scheme = s.stats.plan();
  const bool wantPool = judged || settings.keepPools;
  std::string pool;
  for (size_t end = first + 1; end <= draws.size(); ++end) {
    if (wantPool) pool = f.text(fmain::T_jihua_jj_dadi);
    const int size = f.value(fmain::T_jihua_jj_dadi_zhushu);
    const int32_t before = s.stats.plan().periods;
    FillIncoming(s.cx.draws, draws, end);
    const bool applied = ApplyDraws(s);
    prompter.settle();
    const PlanStats& st = s.stats.plan();
    if (st.overflow) {
      out.error = "period " + draws[end - 1].period +
                  ": the statistics' turnover or profit passes the largest 64-bit figure "
                  "(9223372036854775807); the run is refused rather than booked wrong";
      return out;
    }
    if (!applied || st.periods == before) continue;
    out.periods.push_back(
        JudgedPeriod{size, s.plan.lastJudgeResult == 1, st.profit, st.turnover, static_cast<int64_t>(end - 1)});
    if (settings.keepPools) out.pools.push_back(NumberSet::FromText(pool));
    if (judged) judged(pool, s.plan.lastJudgedLine);
  }
  UpdateStats(s.stats.plan());
  out.summary = ToLf(TrimView(s.stats.plan().summary));
  return out;
}

}  // namespace lumora
