#include "plan/BackupPools.h"

#include "core/Text.h"
#include "core/controls/Fmain.h"
#include "curves/Preview.h"
#include "plan/MonitorPools.h"
#include "plan/PlanRecord.h"
#include "plan/PlanTexts.h"
#include "plan/PoolBoard.h"

namespace lumora {
namespace tx = plan_text;

namespace {
auto Box(int i) { return fmain::T_dd_beiyong[i]; }
// The count beside box i (the intersection box's label is the other array's last element).
Label CountLabel(int i) { return i < 7 ? fmain::L_jjdi_zhushu[i] : fmain::L_jjdi_zhushu1[7]; }

void WritePlanOnly(Context& cx, const NumberSet& pool) {
  cx.form.setText(fmain::T_jihua_jj_dadi, pool.text());
  cx.form.set(fmain::T_jihua_jj_dadi_zhushu, pool.count());
}

int ItemCount(std::string_view text) {
  int n = 0;
  bool in = false;
  for (char c : text) {
    if (c != ' ' && !in) ++n;
    in = c != ' ';
  }
  return n;
}
}  // namespace

void NormalizePool(PlanEnv& env, int i) {
  if (i < 0 || i > 6) return;
  std::string out;
  bool gap = false;
  for (char c : env.cx.form.text(Box(i))) {
    if (c >= '0' && c <= '9') {
      if (gap && !out.empty()) out += ' ';
      gap = false;
      out += c;
    } else {
      gap = true;
    }
  }
  env.cx.form.setText(Box(i), out);
  env.cx.form.setText(CountLabel(i), std::to_string(ItemCount(out)));
  ShowPoolPreview(env.cx, env.curves, i);
}

NumberSet SmallPool(const Context& cx) {
  const Form& f = cx.form;
  std::vector<NumberSet> sources;
  for (int b = 0; b < 5; ++b) {
    std::string s = Trim(f.text(Box(b)));
    if (!s.empty()) sources.push_back(NumberSet::FromText(s));
  }
  std::string excluded = Trim(f.text(Box(5))), endings = Trim(f.text(Box(6)));
  NumberSet exclusion = NumberSet::FromText(excluded);
  std::array<bool, 100> endingOk{};
  for (int e = 0; e < 100; ++e) endingOk[static_cast<size_t>(e)] = endings.empty() || Contains(endings, Pad(e, 2));
  std::string acc = Trim(f.text(fmain::T_beiyong_rc));
  std::vector<char> missingOk(sources.size() + 1);
  for (size_t m = 0; m <= sources.size(); ++m) missingOk[m] = Contains(acc, std::to_string(m)) ? 1 : 0;

  // Banker rules "digits=accepted matches": per rule which digits match and which counts pass.
  struct Rule {
    std::array<bool, 10> digit{};
    std::array<bool, 4> accept{};
  };
  std::vector<Rule> rules;
  std::string rulesText = Trim(f.text(fmain::T_jihua_danma));
  // Any rules text makes the satisfied-rule count a condition, even when none of its lines is a
  // rule: every number then satisfies 0 rules.
  const bool countRules = !rulesText.empty();
  if (countRules) {
    for (const std::string& line : SplitCrLf(rulesText)) {
      if (!Contains(line, "=")) continue;
      std::vector<std::string> sides = Split(line, "=");
      Rule r;
      for (int d = 0; d < 10; ++d) r.digit[static_cast<size_t>(d)] = Contains(sides[0], std::to_string(d));
      for (int m = 0; m < 4; ++m) r.accept[static_cast<size_t>(m)] = Contains(sides[1], std::to_string(m));
      rules.push_back(r);
    }
  }
  std::string satisfiedText = Trim(f.text(fmain::T_jihua_danma_rc));
  std::vector<char> satisfiedOk(rules.size() + 1);
  for (size_t m = 0; m <= rules.size(); ++m) satisfiedOk[m] = Contains(satisfiedText, std::to_string(m)) ? 1 : 0;

  NumberSet result;
  for (int s = 0; s < 1000; ++s) {
    size_t missing = 0;
    for (const NumberSet& src : sources) missing += src.contains(s) ? 0 : 1;
    if (!missingOk[missing]) continue;
    if (exclusion.contains(s)) continue;
    if (!endingOk[static_cast<size_t>(s % 100)]) continue;
    if (countRules) {
      int d[3] = {s / 100, s / 10 % 10, s % 10};
      size_t satisfied = 0;
      for (const Rule& r : rules) {
        int matches = r.digit[static_cast<size_t>(d[0])] + r.digit[static_cast<size_t>(d[1])] +
                      r.digit[static_cast<size_t>(d[2])];
        satisfied += r.accept[static_cast<size_t>(matches)] ? 1 : 0;
      }
      if (!satisfiedOk[satisfied]) continue;
    }
    result.add(s);
  }
  return result;
}

void BuildSmallPool(Context& cx) {
  NumberSet pool = SmallPool(cx);
  cx.form.setText(Box(7), pool.text());
  cx.form.setText(CountLabel(7), std::to_string(pool.count()));
}

void MergeSmallPool(Context& cx, bool participate) {
  std::string a = Trim(cx.form.text(fmain::T_rj_jh_dd));
  std::string b = participate ? Trim(cx.form.text(Box(7))) : std::string();
  if (!participate && a.empty()) {
    cx.form.setText(fmain::T_jihua_jj_dadi, "");
    cx.form.setText(fmain::T_jihua_jj_dadi_zhushu, "0");
    return;
  }
  NumberSet pool = NumberSet::All();
  if (!a.empty()) pool &= NumberSet::FromText(a);
  if (!b.empty()) pool &= NumberSet::FromText(b);
  WritePlanOnly(cx, pool);
}

void IntersectBankerPool(Context& cx) {
  if (!cx.form.checked(fmain::Check_duanzu_canyu)) return;
  std::string plan = Trim(cx.form.text(fmain::T_jihua_jj_dadi)), banker = Trim(cx.form.text(fmain::T_paixu_dadi));
  if (plan.empty() || banker.empty()) return;
  WritePlanOnly(cx, NumberSet::FromText(plan) & NumberSet::FromText(banker));
}

void ForceTriples(Context& cx) {
  WritePlanOnly(cx,
                NumberSet::FromText(Trim(cx.form.text(fmain::T_jihua_jj_dadi))) | NumberSet::FromText(tx::kTriples));
}

void RefreshPlanFromBackups(PlanEnv& env, bool fromButton) {
  Context& cx = env.cx;
  BuildSmallPool(cx);
  MergeSmallPool(cx, cx.form.checked(fmain::Check_beiyong_canyu));
  IntersectBankerPool(cx);
  if (cx.form.checked(fmain::Check_baozi)) ForceTriples(cx);
  if (fromButton) {
    WritePendingLine(env);
    ShowPoolPreview(cx, env.curves, 3);
    PaintPoolBoard(cx);
  }
}

void CopyBackupBox(PlanEnv& env, int i) {
  if (i < 0 || i >= kBackupBoxes) return;
  CopyToClipboard(env.cx, env.cx.form.text(Box(i)));
}

void PasteBackupBox(PlanEnv& env, int i) {
  if (i < 0 || i > 6 || !env.cx.ports.clipboard) return;
  env.cx.form.setText(Box(i), env.cx.ports.clipboard->text());
  NormalizePool(env, i);
  PaintPoolBoard(env.cx);
}

void ClearBackupBox(Context& cx, int i) {
  if (i < 0 || i >= kBackupBoxes) return;
  cx.form.setText(Box(i), "");
  cx.form.setText(CountLabel(i), "0");
}

void ClearFiveSourceBoxes(Context& cx) {
  for (int i = 0; i < 5; ++i) ClearBackupBox(cx, i);
}

void InsertPlanIntoSourceBox(PlanEnv& env) {
  for (int i = 0; i < 5; ++i) {
    if (Trim(env.cx.form.text(Box(i))).empty()) {
      env.cx.form.setText(Box(i), Trim(env.cx.form.text(fmain::T_jihua_jj_dadi)));
      NormalizePool(env, i);
      return;
    }
  }
}

}  // namespace lumora
