#include "plan/MonitorPools.h"

#include "alarm/Notices.h"
#include "core/Files.h"
#include "core/History.h"
#include "core/Text.h"
#include "core/controls/Fmain.h"
#include "plan/PlanTexts.h"
#include "plan/TrendFit.h"

namespace lumora {
namespace tx = plan_text;

void BuildAllThreeDigitNumbers(PlanState& plan) {
  plan.allThreeDigitNumbers.clear();
  plan.allThreeDigitNumbers.reserve(1000);
  for (int i = 0; i < 1000; ++i) plan.allThreeDigitNumbers.push_back(ThreeDigits(i));
}

bool ComputeMonitorPools(PlanEnv& env) {
  Form& f = env.cx.form;
  if (!f.checked(fmain::Op_jiankong_zihui)) {
    env.cx.inform(tx::kKeepPools, tx::kKeepPoolsTitle);
    return false;
  }
  env.plan.monitorPools = {};
  for (int i = 0; i < kMonitorPoolCount; ++i)
    env.plan.monitorPools[static_cast<size_t>(i)] = NumberSet::FromText(FitMonitorPool(env, i));
  return true;
}

void RecordMonitorRow(Context& cx, PlanState& plan) {
  const int drawRow = RowOfDrawAfter(cx.draws, cx.draws.previousNewest);
  if (drawRow == 0) return;
  MonitorBoard& b = plan.board;
  int k = 1;
  while (k <= kBoardRows && b[static_cast<size_t>(k)][16] != 0) ++k;
  if (k > kBoardRows) {
    for (int s = 1; s < kBoardRows; ++s) b[static_cast<size_t>(s)] = b[static_cast<size_t>(s + 1)];
    k = kBoardRows;
  }
  auto& row = b[static_cast<size_t>(k)];
  row[15] = ReadInt(cx.draws.history[static_cast<size_t>(drawRow)].period);
  row[16] = 1;
  std::string sub = cx.draws.subNumber(drawRow);
  int n = ParseThreeDigits(sub);
  for (int i = 0; i < kMonitorPoolCount; ++i) {
    const NumberSet& pool = plan.monitorPools[static_cast<size_t>(i)];
    // A sub-number that is not three digits is tested as the plain substring it is.
    bool in = n >= 0 ? pool.contains(n) : (!sub.empty() && Contains(pool.text(), sub));
    row[static_cast<size_t>(i)] = in ? 1 : 0;
  }
}

Scene MonitorBoardScene(const PlanState& plan) {
  Scene sc;
  sc.setScale(0, 21, 17, 0);
  for (int y = 0; y <= 21; ++y) sc.line(0, y, 17, y, kBlue, 1);
  for (int x = 2; x <= 17; ++x) sc.line(x, 0, x, 21, kBlue, 1);
  sc.text(0.05, 20.8, tx::kBoardHeader);
  for (int c = 1; c <= 16; ++c) sc.text(c < 10 ? c + 1.3 : c + 1.15, 20.8, std::to_string(c));
  for (int k = 1; k <= kBoardRows; ++k) {
    const auto& row = plan.board[static_cast<size_t>(k)];
    if (row[16] == 0) break;
    double y = (21 - k) - 0.2;
    sc.text(0.8, y, Pad(row[15], 3), kGreen);
    for (int g = 2; g <= 16; ++g) {
      if (row[static_cast<size_t>(g - 2)] == 1) sc.text(g + 0.4, y, tx::kBoardHit, kRed);
      else sc.text(g + 0.5, y, tx::kBoardMiss, kGreen);
    }
  }
  return sc;
}

void DrawMonitorBoard(Context& cx, const PlanState& plan) {
  if (!cx.headless) cx.form.setScene(fmain::Pic_jiangkong, MonitorBoardScene(plan));
}

void ClearMonitorBoard(Context& cx, PlanState& plan) {
  plan.board = {};
  DrawMonitorBoard(cx, plan);
}

void RecountMonitorSelection(Context& cx) {
  int n = 0;
  for (int i = 0; i < kMonitorPoolCount; ++i) n += cx.form.checked(fmain::Ch_jiankong_jj[i]) ? 1 : 0;
  cx.form.setText(fmain::T_jiankong_15di_geshu, std::to_string(n));
}

void SelectAllMonitors(Context& cx, int index) {
  for (int i = 0; i < kMonitorPoolCount; ++i) cx.form.setChecked(fmain::Ch_jiankong_jj[i], index == 0);
  RecountMonitorSelection(cx);
}

void CopyToClipboard(Context& cx, const std::string& text, bool clearFirst) {
  if (!cx.ports.clipboard) {
    cx.inform(tx::kCopyFailed, tx::kCopyFailedTitle);
    return;
  }
  if (clearFirst) cx.ports.clipboard->clear();
  cx.ports.clipboard->setText(text);
  ShowCopyNotice(cx);
}

void CopyMonitorPool(PlanEnv& env, int i) {
  if (i < 0 || i >= kMonitorPoolCount) return;
  CopyToClipboard(env.cx, env.plan.monitorPools[static_cast<size_t>(i)].text());
}

namespace {
// Writes each pool to `prefix` + index + ".txt" with a closing CR LF; stops at the first failure.
template <typename Get>
void ExportPools(Context& cx, const std::string& prefix, int first, int last, Get get) {
  std::error_code ec;
  bool ok = std::filesystem::is_directory(cx.data.exports(), ec);
  for (int i = first; ok && i <= last; ++i)
    ok = WriteTextFile(cx.data.exports() / (prefix + std::to_string(i) + ".txt"), Trim(get(i)) + "\r\n");
  if (ok) cx.inform(tx::kExported, tx::kExportedTitle);
  else cx.inform(tx::kExportFailed, tx::kExportFailedTitle);
}
}  // namespace

void ExportBasePools(Context& cx, const PlanState& plan) {
  ExportPools(cx, "dadi", 0, kMonitorPoolCount - 1,
              [&](int i) { return plan.monitorPools[static_cast<size_t>(i)].text(); });
}

void ExportRepeatPools(Context& cx, const PlanState& plan) {
  ExportPools(cx, "dd_xunhuan_", 1, plan.repeatUpper(),
              [&](int i) { return plan.repeatResults[static_cast<size_t>(i)].text(); });
}

}  // namespace lumora
