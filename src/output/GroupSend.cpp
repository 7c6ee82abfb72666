#include "output/GroupSend.h"

#include <algorithm>

#include "core/Text.h"
#include "core/controls/Fmain.h"
#include "output/Driving.h"
#include "output/Executor.h"
#include "output/Texts.h"

namespace lumora {

namespace T = output_text;

namespace {

std::string Lower(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return s;
}

// The steps of one chat window's send; the window's kind decides whether its input area is
// clicked first.
void AddSendTo(Context& cx, Script& s, const QqWindow& target) {
  const WindowHandle w = target.handle;
  s.restore(w).activate(w).eventsOnce();
  s.restore(w).activate(w).eventsOnce();
  if (target.newStyle) {
    // ClickQqInputArea: just above the bottom-left corner, where the input box lies.
    s.restore(w).activate(w).moveIntoWindow(w, 50, -80).pause(20000).click().settle(w);
  }
  s.pause(280000).keysTo(w, KeyChord::CtrlV).eventsOnce().pause(180000);
  s.restore(w).activate(w).keysTo(w, KeyChord::Enter).eventsOnce().pause(510000);
  if (cx.form.checked(fmain::Check_qf_min)) s.minimise(w);
}

}  // namespace

std::vector<QqWindow> WalkQqWindows(Desktop& desktop, const ChatClasses& classes) {
  auto in = [](const std::vector<std::string>& list, const std::string& name) {
    return std::find(list.begin(), list.end(), name) != list.end();
  };
  std::vector<QqWindow> found;
  std::vector<TopWindow> all = desktop.topLevelWindows();
  auto first =
      std::find_if(all.begin(), all.end(), [&](const TopWindow& w) { return in(classes.ordinary, w.className); });
  for (auto it = first; it != all.end(); ++it) {
    const bool newStyle = in(classes.newStyle, it->className);
    if (newStyle || in(classes.ordinary, it->className)) found.push_back({it->handle, it->title, newStyle});
  }
  return found;
}

bool SkippedQqTitle(const std::string& title) {
  std::string trimmed = Trim(title);
  if (trimmed.empty()) return true;
  std::string lower = Lower(trimmed);
  std::string head = lower.substr(0, 6);
  if (head == "qq2013" || head == "qq2012") return true;
  if (lower == "txfloatingwnd" || lower == "txmenuwindow") return true;
  return title == "QQ";
}

void RefreshQqTargets(Context& cx, OutputState& out) {
  cx.form.setItems(fmain::qf_list, {});
  if (!DesktopReady(cx, out)) return;
  for (const QqWindow& w : WalkQqWindows(*out.desktop, cx.service.chat))
    if (!SkippedQqTitle(w.title)) cx.form.addItem(fmain::qf_list, w.title);
}

QqWindow FindQqWindow(Desktop& desktop, const std::string& target, const ChatClasses& classes) {
  for (const QqWindow& w : WalkQqWindows(desktop, classes))
    if (Contains(Trim(w.title), target)) return w;
  return {};
}

void SelectAllQqTargets(Context& cx) {
  int n = static_cast<int>(cx.form.items(fmain::qf_list).size());
  for (int i = 0; i < n; ++i) cx.form.setItemSelected(fmain::qf_list, i, true);
}

std::string QqMessage(const Form& form) {
  std::string message;
  if (form.checked(fmain::Check_jihua_jilu_haoma)) message = form.text(fmain::T_jihua_jj_dadi) + std::string(kCrLf);
  message += form.text(fmain::T_jh_dadi_jilu);
  message += form.text(fmain::T_jihua_qianming);
  return message;
}

namespace {

// The send itself, added to `s`. False when there is no target.
bool AddGroupSend(Context& cx, OutputState& out, Script& s) {
  const std::vector<std::string>& items = cx.form.items(fmain::qf_list);
  std::vector<std::string> targets;
  for (int i = 0; i < static_cast<int>(items.size()); ++i)
    if (cx.form.itemSelected(fmain::qf_list, i)) targets.push_back(items[i]);
  if (targets.empty() || !out.desktop) return false;
  s.clipboard(QqMessage(cx.form));
  for (const std::string& target : targets) {
    s.eventsOnce();
    QqWindow w = FindQqWindow(*out.desktop, target, cx.service.chat);
    if (w.handle == 0) continue;  // closed since the list was made: skipped
    AddSendTo(cx, s, w);
  }
  return true;
}

}  // namespace

void SendToQqGroups(Context& cx, OutputState& out) {
  if (!DesktopReady(cx, out)) return;
  Script s;
  if (AddGroupSend(cx, out, s)) RunScript(cx, out, std::move(s));
}

void SendToQqGroupsLocked(Context& cx, OutputState& out) {
  if (!DesktopReady(cx, out)) return;
  Script s;
  s.lock().eventsOnce();
  AddGroupSend(cx, out, s);
  s.eventsOnce().free().armTimer(fmain::Timer_jiesuo, 2000);
  RunScript(cx, out, std::move(s));
}

void GroupSendTick(Context& cx, OutputState& out) {
  double elapsed = cx.form.value(fmain::T_qf_yanshi[1]) + 1;
  cx.form.setText(fmain::T_qf_yanshi[1], FormatNumber(elapsed));
  if (elapsed - cx.form.value(fmain::T_qf_yanshi[0]) < 0) return;
  cx.form.setTimerEnabled(fmain::Timer_qf_dd, false);
  cx.form.setText(fmain::T_qf_yanshi[1], "0");
  if (cx.form.checked(fmain::C_qunfa_sx)) SendToQqGroupsLocked(cx, out);
}

void UnlockTick(Context& cx, OutputState& out) {
  LockMouse(cx, out, 0);
  cx.form.setTimerEnabled(fmain::Timer_jiesuo, false);
}

void ArmGroupSend(Context& cx) {
  if (cx.form.checked(fmain::C_qunfa_sx)) cx.form.setTimer(fmain::Timer_qf_dd, true, 1000);
}

void ToggleSignatureFrame(Context& cx) {
  if (cx.form.visible(fmain::Fr_qianming)) {
    cx.form.setVisible(fmain::Fr_qianming, false);
    cx.form.setText(fmain::C_qm_show, T::kShowSignature);
  } else {
    cx.form.setVisible(fmain::Fr_qianming, true);
    cx.form.setText(fmain::C_qm_show, T::kHideSignature);
  }
}

void ShowGroupSendHelp(Context& cx) {
  std::vector<std::string> lines(std::begin(T::kHelpLines), std::end(T::kHelpLines));
  cx.inform(Join(lines, kCrLf), T::kHelpTitle);
}

}  // namespace lumora
