#pragma once
// A session with the plan tab's design values, recording ports and a settable newest draw.
#include <gtest/gtest.h>

#include <string>

#include "core/Text.h"
#include "core/controls/Fmain.h"
#include "engine/support/EngineFixture.h"
#include "money/PlanStats.h"
#include "plan/MonitorPools.h"
#include "plan/PlanDefaults.h"
#include "session/PlanSession.h"

namespace lumora::testing {

class PlanFixture : public ::testing::Test, protected RecordedSession {
 protected:
  void SetUp() override {
    s.cx.ports.http = nullptr;  // the plan tab asks nothing of the network
    Form& f = s.cx.form;
    ApplyPlanDesignValues(f);
    for (int i = 0; i < 15; ++i) f.setChecked(fmain::Ch_jiankong_jj[i], true);
    f.setChecked(fmain::Check_jihua_sx, true);
    f.setText(fmain::Tkjh, "draws");
    BuildAllThreeDigitNumbers(s.plan);
    PresetPlanStats(s.stats);
  }

  PlanEnv env() { return PlanEnvOf(s); }

  // A new draw arrives: the history moves one row older and the draw becomes row 1.
  void SetNewest(const std::string& period, const std::string& digits) {
    auto& h = s.cx.draws.history;
    s.cx.draws.previousNewest = h[1];
    for (int i = kHistoryRows; i > 1; --i) h[static_cast<size_t>(i)] = h[static_cast<size_t>(i - 1)];
    h[1] = DrawRecord{period, digits};
    s.cx.draws.rebuildSubSeries();
  }

  // A plan pool that StartPlan keeps as it is: both modes off, the small pool not taking part.
  void UseFixedPool(const std::string& pool) {
    form().setChecked(fmain::Check_jh_dadi_chongfu, false);
    form().setChecked(fmain::Check_jh_dadi_fenzu, false);
    form().setText(fmain::T_rj_jh_dd, pool);
  }

  // `n` numbers starting at `first`, ascending.
  static std::string Numbers(int first, int n) {
    std::string t;
    for (int i = first; i < first + n; ++i) t += (t.empty() ? "" : " ") + Pad(i, 3);
    return t;
  }
};

}  // namespace lumora::testing
