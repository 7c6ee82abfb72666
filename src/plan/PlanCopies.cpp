#include "plan/PlanCopies.h"

#include "core/Text.h"
#include "core/controls/Fmain.h"
#include "plan/MonitorPools.h"
#include "plan/PlanTexts.h"

namespace lumora {
namespace tx = plan_text;

void CopyPlanPool(PlanEnv& env) { CopyToClipboard(env.cx, env.cx.form.text(fmain::T_jihua_jj_dadi), true); }

void CopyPlan(PlanEnv& env) {
  const Form& f = env.cx.form;
  std::string text = f.checked(fmain::Check_jihua_jilu_haoma)
                         ? f.text(fmain::T_jihua_jj_dadi) + "\r\n" + f.text(fmain::T_jh_dadi_jilu)
                         : f.text(fmain::T_jh_dadi_jilu);
  text += "\r\n" + Trim(f.text(fmain::T_jihua_qianming));
  CopyToClipboard(env.cx, text);
}

void CopyComplement(PlanEnv& env) {
  env.cx.inform(tx::kComplement, tx::kComplementTitle);
  NumberSet pool = NumberSet::FromText(Trim(env.cx.form.text(fmain::T_jihua_jj_dadi)));
  std::string text;
  for (int i = 0; i < 1000; ++i)
    if (!pool.contains(i)) text += ThreeDigits(i) + " ";
  CopyToClipboard(env.cx, text);
}

void SaveSignature(Context& cx) {
  const Form& f = cx.form;
  std::string line = Trim(Trim(f.text(fmain::T_jihua_qianming)) + "@-@" + Trim(f.text(fmain::T_zdy_yongyu[0])) + "@-@" +
                          Trim(f.text(fmain::T_zdy_yongyu[1])) + "@-@" + Trim(f.text(fmain::T_zdy_yongyu[2])));
  if (WriteTextFile(cx.data.phrases(), line)) cx.inform(tx::kSaved, tx::kSavedTitle);
  else cx.inform(tx::kSaveFailed, tx::kSaveFailedTitle);
}

}  // namespace lumora
