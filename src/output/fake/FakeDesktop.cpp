#include "output/fake/FakeDesktop.h"

#include "core/Context.h"
#include "output/Executor.h"

namespace lumora {

const char* KeyChordName(KeyChord chord) {
  switch (chord) {
    case KeyChord::CtrlV: return "CtrlV";
    case KeyChord::CtrlBackspace: return "CtrlBackspace";
    case KeyChord::Enter: return "Enter";
    case KeyChord::Home: return "Home";
    case KeyChord::ShiftEnd: return "ShiftEnd";
    case KeyChord::Backspace: return "Backspace";
    case KeyChord::CtrlHome: return "CtrlHome";
    case KeyChord::CtrlShiftEnd: return "CtrlShiftEnd";
  }
  return "?";
}

void FakeDesktop::record(std::string what) {
  events.push_back({nowMs, nowMs - lastEventMs_, std::move(what)});
  lastEventMs_ = nowMs;
}

std::vector<std::string> FakeDesktop::whats() const {
  std::vector<std::string> out;
  for (const Event& e : events) out.push_back(e.what);
  return out;
}

std::vector<std::string> FakeDesktop::whatsWithPauses() const {
  std::vector<std::string> out;
  for (const Event& e : events) out.push_back("+" + std::to_string(e.pauseMs) + " " + e.what);
  return out;
}

Point FakeDesktop::pointer() {
  if (pendingPointerPolls_ > 0) {
    --pendingPointerPolls_;
    return pointerBefore_;
  }
  return pointerAt;
}

void FakeDesktop::movePointer(Point p) {
  if (p != pointerAt) {  // moving again to the same place does not start the lag over
    pointerBefore_ = pointerAt;
    pendingPointerPolls_ = pointerLagPolls;
  }
  pointerAt = p;
  record("move " + std::to_string(p.x) + "," + std::to_string(p.y));
}

bool FakeDesktop::newlyPressed(MouseButton b) {
  int& n = b == MouseButton::Left ? leftPresses : rightPresses;
  if (n == 0) return false;
  --n;
  return true;
}

bool FakeDesktop::newlyPressedCtrlV() {
  if (ctrlVPresses == 0) return false;
  --ctrlVPresses;
  return true;
}

WindowHandle FakeDesktop::windowAt(Point p) {
  auto it = windowAtPoint.find({p.x, p.y});
  return it == windowAtPoint.end() ? windowEverywhere : it->second;
}

void FakeDesktop::activate(WindowHandle w) {
  active = w;
  pendingActivationPolls_ = activationDelayPolls;
  record("activate " + HandleText(w));
}

bool FakeDesktop::isActive(WindowHandle w) {
  if (pendingActivationPolls_ > 0) {
    --pendingActivationPolls_;
    return false;
  }
  return active == w;
}

std::optional<Rect> FakeDesktop::windowRect(WindowHandle w) {
  auto it = rects.find(w);
  if (it == rects.end()) return std::nullopt;
  return it->second;
}

bool FakeDesktop::setWindowText(WindowHandle w, const std::string& text) {
  if (!directText) return false;
  texts[w] = text;
  record("settext " + HandleText(w) + " " + text);
  return true;
}

void FakeDesktop::sendKeys(KeyChord chord) { record(std::string("keys ") + KeyChordName(chord)); }

void FakeDesktop::beginSettle(WindowHandle w) {
  pendingSettlePolls_ = settleDelayPolls;
  record("settle " + HandleText(w));
}

bool FakeDesktop::settled() {
  if (pendingSettlePolls_ == 0) return true;
  --pendingSettlePolls_;
  return false;
}

void FakeDesktop::lockPointer() {
  locked = true;
  record("lock");
}

void FakeDesktop::freePointer() {
  locked = false;
  record("free");
}

void RunScriptsToEnd(Context& cx, OutputState& out, FakeDesktop& desktop) {
  for (int guard = 0; guard < 1000000 && ScriptsRunning(out); ++guard) {
    TimerState t = cx.form.timer(kScriptTimer);
    desktop.nowMs += t.enabled ? t.intervalMs : 0;
    ScriptTick(cx, out);
  }
}

}  // namespace lumora
