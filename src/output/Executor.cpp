#include "output/Executor.h"

#include "money/BetLog.h"
#include "output/Texts.h"

namespace lumora {

namespace {

// Runs one action that needs no waiting.
void Perform(Context& cx, OutputState& out, const Action& a) {
  Desktop& d = *out.desktop;
  switch (a.kind) {
    case Action::Kind::Move:
      d.movePointer(a.at);
      out.scripts.movedTo = a.at;
      break;
    case Action::Kind::MoveIntoWindow:
      if (auto r = d.windowRect(a.window)) {
        out.scripts.movedTo = {r->left + a.at.x, r->bottom + a.at.y};
        d.movePointer(out.scripts.movedTo);
      } else {
        out.scripts.movedTo = d.pointer();  // the window has gone: the pointer stays
      }
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
    case Action::Kind::ArmTimer: cx.form.setTimer(a.timer, true, static_cast<int>(a.passes)); break;
    case Action::Kind::SetText:
    case Action::Kind::WaitActive:
    case Action::Kind::WaitPointer:
    case Action::Kind::Settle:
    case Action::Kind::Pause: break;  // handled by the executor loop
  }
}

bool IsWait(Action::Kind k) {
  return k == Action::Kind::WaitActive || k == Action::Kind::WaitPointer || k == Action::Kind::Settle;
}

// One check of a wait; true while it must go on waiting. `q.polls` is 0 at the first check.
bool StillWaiting(Desktop& d, ScriptQueue& q, const Action& a) {
  switch (a.kind) {
    case Action::Kind::WaitActive: return !d.isActive(a.window);
    case Action::Kind::WaitPointer:
      // Found there twice, a poll apart: a desktop can put the pointer back where an earlier move
      // left it, or hold it at a confinement lifted a moment ago. Moved again when it is not there.
      if (d.pointer() == q.movedTo) return ++q.found < 2;
      q.found = 0;
      d.movePointer(q.movedTo);
      return true;
    case Action::Kind::Settle:
      if (q.polls == 0) d.beginSettle(a.window);
      return !d.settled() || !d.isActive(a.window);
    default: return false;
  }
}

// Typing a text into a box, where the desktop cannot set it: click the box when its point is
// known, select what it holds (the line, then the whole box for one of several lines), delete
// it, paste, and wait until the paste has been handled before the clipboard changes again.
Script TypedText(const Action& a) {
  const WindowHandle w = a.window;
  Script typed;
  typed.clipboard(a.text);
  if (a.hasPoint) typed.move(a.at).click().settle(w);
  typed.keysTo(w, KeyChord::Home).keysTo(w, KeyChord::ShiftEnd).keysTo(w, KeyChord::Backspace);
  typed.keysTo(w, KeyChord::CtrlHome).keysTo(w, KeyChord::CtrlShiftEnd).keysTo(w, KeyChord::Backspace);
  typed.keysTo(w, KeyChord::CtrlV).settle(w);
  return typed;
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
    out.scripts.found = 0;
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
      if (IsWait(a.kind)) {
        // Never waits here: a condition not met yet is checked again at the next tick.
        if (StillWaiting(*out.desktop, q, a) && q.polls < a.passes) {
          ++q.polls;
          cx.form.setTimer(kScriptTimer, true, kPollMilliseconds);
          return;
        }
        q.polls = 0;
        q.found = 0;
        ++q.next;
        continue;
      }
      if (a.kind == Action::Kind::SetText) {
        Action set = a;
        ++q.next;
        if (!out.desktop->setWindowText(set.window, set.text)) {
          Script typed = TypedText(set);
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
    q.found = 0;
  }
  cx.form.setTimerEnabled(kScriptTimer, false);
}

}  // namespace lumora
