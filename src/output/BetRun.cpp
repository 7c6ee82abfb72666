#include "output/BetRun.h"

#include <stdexcept>

#include "core/Text.h"
#include "core/controls/Fmain.h"
#include "money/BetLog.h"
#include "money/Fund.h"
#include "output/Driving.h"
#include "output/Executor.h"
#include "output/Texts.h"

namespace lumora {

namespace T = output_text;

namespace {

constexpr auto kCountdownTimer = fmain::Timer_tz_djs;
constexpr auto kStepTimer = fmain::Timer_dianji;

void Log(Context& cx, const std::string& text) { LogBetMessage(cx, text); }

void StopSteps(Context& cx) { cx.form.setTimerEnabled(kStepTimer, false); }

// Thrown by a step whose paste cannot be built: the step tick reports it and stops the run.
struct StepError : std::runtime_error {
  StepError() : std::runtime_error("step") {}
};

}  // namespace

void RestartBetCountdown(Context& cx) {
  cx.form.setTimerEnabled(kCountdownTimer, false);
  cx.form.setTimer(kCountdownTimer, true, 1000);
}

void StartCountdownByHand(Context& cx) { cx.form.setTimer(kCountdownTimer, true, 1000); }

void BetCountdown(Context& cx, OutputState& out, MoneyState& money) {
  int32_t c = out.countdown;
  out.countdown = c + 1;
  Log(cx, T::kCountdown30 + std::to_string(29 - c));
  if (out.countdown < 30) return;
  out.countdown = 0;
  cx.form.setTimerEnabled(kCountdownTimer, false);
  if (!cx.form.checked(fmain::Check_touzhu_sx)) {
    Log(cx, T::kNotTicked);
    return;
  }
  if (CheckFundLimits(money) != 1) {
    Log(cx, T::kLimitsReached);
    return;
  }
  StartAutoBet(cx, out, money);
}

void StartAutoBet(Context& cx, OutputState& out, MoneyState& money) {
  try {
    money.betCount = ReadInt(cx.form.text(fmain::T_touzhu_dd[1]));
    if (money.sequenceValid != 1) {
      Log(cx, T::kBadSequence);
      return;
    }
    std::vector<std::string> items = Split(money.multipleSequence, "-");
    const double u = static_cast<double>(items.size()) - 1;
    double multiple = 0;
    if (money.multiplePosition > u) {
      multiple = ReadNumber(items.at(0));
      money.multiplePosition = 0;
    } else {
      int64_t index = RoundHalfEven(money.multiplePosition);
      if (index < 0) throw std::out_of_range("position");
      multiple = ReadNumber(items.at(static_cast<size_t>(index)));
      money.multiplePosition = money.multiplePosition + 1;
    }
    money.currentMultiple = FormatNumber(RoundHalfEvenTo(multiple, 2), 2);
    cx.form.setText(fmain::T_zd_touzhu_beitou[1], money.currentMultiple);
    Log(cx, T::kCurrentMultiple + money.currentMultiple);
    out.stepIndex = 1;
    out.stepCountdown = 0;
    cx.form.setTimer(kStepTimer, true, 1000);
    Log(cx, T::kAutoBetStarted);
    out.runStarted = 0;
  } catch (const std::exception&) {
    StopSteps(cx);
    Log(cx, T::kMultipleFailed);
  }
}

void StepTick(Context& cx, OutputState& out, MoneyState& money) {
  // Scripts never overlap: while the previous step is still being typed, this tick waits.
  if (ScriptsRunning(out)) return;
  try {
    if (cx.form.checked(fmain::Check_pt_tz_sx)) {
      out.stepCountdown = 0;
      RecordPlacedBet(money, Trim(cx.form.text(fmain::T_touzhu_dd[0])), money.betCount, money.currentMultiple,
                      cx.draws.history[1]);
      StopSteps(cx);
      PassParametersToTool(cx, out);
      return;
    }
    int32_t c = out.stepCountdown;
    out.stepCountdown = c + 1;
    Log(cx, T::kCountdown3 + std::to_string(3 - c));
    if (out.stepCountdown > 2) {
      ExecuteNextStep(cx, out, money);
      out.stepCountdown = 0;
    }
  } catch (const std::exception&) {
    Log(cx, T::kStepFailed);
    StopSteps(cx);
  }
}

void ExecuteNextStep(Context& cx, OutputState& out, MoneyState& money) {
  Script s;
  // Whatever this step has built runs, also when a later part of it fails.
  struct Submit {
    Context& cx;
    OutputState& out;
    Script& s;
    ~Submit() { RunScript(cx, out, std::move(s)); }
  } submit{cx, out, s};

  if (out.runStarted == 0) {
    if (!AddPlatformClick(cx.form, s)) {
      cx.inform(T::kSetPlatformFirst, T::kErrorTitle);
      StopSteps(cx);
      return;
    }
    out.runStarted = 1;
  }
  if (out.stepIndex == 2) {
    // The multiple goes into the multiple box before the second step; its result is not used.
    if (AddPaste(cx, s, "1", "1", money.currentMultiple) == PasteResult::Error) throw StepError();
  }
  const int index = out.stepIndex;
  // Past the last slot counts as an empty slot: a full list ends like any other.
  if (index < 1 || index > kStepSlots || out.steps.slots[index].kind == 0) {
    StopSteps(cx);
    Log(cx, T::kBetDone);
    return;
  }
  const Step& step = out.steps.slots[index];
  s.move({step.x, step.y});
  cx.form.setSelectedIndex(fmain::List_touzhu, index - 1);
  Log(cx, T::kClicking + std::to_string(index));
  s.eventsOnce().click();
  if (step.kind != 2) {
    out.stepIndex = index + 1;
    return;
  }
  const std::string numbers = cx.form.text(fmain::T_touzhu_dd[0]);
  PasteResult r = AddPaste(cx, s, numbers, "0", "1");
  if (r == PasteResult::Error) throw StepError();
  if (r == PasteResult::Ok) {
    RecordPlacedBet(money, numbers, money.betCount, money.currentMultiple, cx.draws.history[1]);
    out.stepIndex = index + 1;
  } else {
    StopSteps(cx);
    Log(cx, T::kPasteFailed);
  }
}

void PassParametersToTool(Context& cx, OutputState& out) {
  std::string numbersWindow = Trim(cx.form.text(fmain::T_dsf_canshu[0]));
  std::string multipleWindow = Trim(cx.form.text(fmain::T_dsf_canshu[1]));
  if (numbersWindow.empty() || multipleWindow.empty()) {
    Log(cx, T::kToolHandlesMissing);
    return;
  }
  Script s;
  AddPassText(s, numbersWindow, Trim(cx.form.text(fmain::T_touzhu_dd[0])), CapturedToolBox(out, 0, numbersWindow));
  AddPassText(s, multipleWindow, Trim(cx.form.text(fmain::T_zd_touzhu_beitou[1])),
              CapturedToolBox(out, 1, multipleWindow));
  RunScript(cx, out, std::move(s));
}

void UpdateFundParameters(Context& cx, MoneyState& money) {
  cx.form.setEnabled(fmain::C_touzhu_gx, false);
  ReadFundSettings(cx, money);
  cx.form.setEnabled(fmain::C_touzhu_gx, true);
}

}  // namespace lumora
