#include "output/Executor.h"

#include "money/BetLog.h"
#include "output/Texts.h"

namespace lumora {

namespace {

constexpr int kPollMs = 5;

// Runs one action that needs no waiting.
void Perform(Context& cx, OutputState& out, const Action& a) {
  Desktop& d = *out.desktop;
  switch (a.kind) {
    case Action::Kind::Move: d.movePointer(a.at); break;
    case Action::Kind::MoveIntoWindow:
      if (auto r = d.windowRect(a.window)) d.movePointer({r->left + a.at.x, r->bottom + a.at.y});
      break;
    case Action::Kind::Click: d.leftClick(); break;
    case Action::Kind::Keys: d.sendKeys(a.chord); break;
    case Action::Kind::Clipboard:
      if (cx.ports.clipboard) {
        cx.ports.clipboard->clear();
        cx.ports.clipboard->setText(a.text);
      }
      break;
    case Action::Kind::Activate: d.activate(a.window); break;
    case Action::Kind::Restore: d.restore(a.window); break;
    case Action::Kind::Minimise: d.minimise(a.window); break;
    case Action::Kind::Lock:
      d.lockPointer();
      out.pointerLocked = true;
      break;
    case Action::Kind::Free:
      d.freePointer();
      out.pointerLocked = false;
      break;
    case Action::Kind::ArmTimer: cx.form.setTimer(a.text, true, static_cast<int>(a.passes)); break;
    case Action::Kind::SetText:
    case Action::Kind::WaitActive:
    case Action::Kind::Pause: break;  // handled by the executor loop
  }
}

}  // namespace

bool DesktopReady(Context& cx, OutputState& out) {
  std::string why = out.desktop ? out.desktop->unavailableReason() : std::string("没有桌面");
  if (why.empty()) return true;
  LogBetMessage(cx, output_text::kDesktopUnavailable + why);
  return false;
}

void RunScript(Context& cx, OutputState& out, Script script) {
  if (script.empty()) return;
  if (!DesktopReady(cx, out)) return;
  bool idle = !out.scripts.running();
  out.scripts.scripts.push_back(std::move(script));
  if (idle) {
    out.scripts.next = 0;
    out.scripts.polls = 0;
    ScriptTick(cx, out);
  }
}

void ScriptTick(Context& cx, OutputState& out) {
  ScriptQueue& q = out.scripts;
  if (!out.desktop) {
    q.scripts.clear();
    cx.form.setTimerEnabled(kScriptTimer, false);
    return;
  }
  while (!q.scripts.empty()) {
    std::vector<Action>& actions = q.scripts.front().actions();
    while (q.next < actions.size()) {
      Action& a = actions[q.next];
      if (a.kind == Action::Kind::Pause) {
        ++q.next;
        cx.form.setTimer(kScriptTimer, true, PauseMilliseconds(a.passes));
        return;
      }
      if (a.kind == Action::Kind::WaitActive) {
        if (!out.desktop->isActive(a.window) && q.polls < a.passes) {
          ++q.polls;
          cx.form.setTimer(kScriptTimer, true, kPollMs);
          return;
        }
        q.polls = 0;
        ++q.next;
        continue;
      }
      if (a.kind == Action::Kind::SetText) {
        WindowHandle w = a.window;
        std::string text = a.text;
        ++q.next;
        if (!out.desktop->setWindowText(w, text)) {
          // Type it in as a user would: select the box's text, delete it, paste.
          Script typed;
          typed.clipboard(text)
              .keysTo(w, KeyChord::Home)
              .keysTo(w, KeyChord::ShiftEnd)
              .keysTo(w, KeyChord::Backspace)
              .keysTo(w, KeyChord::CtrlV);
          actions.insert(actions.begin() + static_cast<std::ptrdiff_t>(q.next), typed.actions().begin(),
                         typed.actions().end());
        }
        continue;
      }
      Perform(cx, out, a);
      ++q.next;
    }
    q.scripts.pop_front();
    q.next = 0;
    q.polls = 0;
  }
  cx.form.setTimerEnabled(kScriptTimer, false);
}

}  // namespace lumora
