#include "session/BankerActions.h"

#include "core/controls/Fmain.h"
#include "plan/BackupPools.h"
#include "session/PlanSession.h"
#include "tools/BankerRanking.h"

namespace lumora {

void InsertBankerResultIntoPlan(Session& s) {
  if (auto box = InsertBankerResultIntoSourcePool(s.cx)) {
    PlanEnv env = PlanEnvOf(s);
    NormalizePool(env, *box);
  }
}

void UpdatePlanFromBanker(Session& s) {
  PlanEnv env = PlanEnvOf(s);
  RefreshPlanFromBackups(env, true);
}

void UpdatePlanAfterGroupChange(Session& s) {
  s.cx.form.setEnabled(fmain::C_dz_jj_gx, false);
  UpdatePlanFromBanker(s);
  s.cx.form.setEnabled(fmain::C_dz_jj_gx, true);
}

}  // namespace lumora
