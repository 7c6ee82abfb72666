#include "output/Script.h"

namespace lumora {

Script& Script::move(Point p) {
  add({Action::Kind::Move, p});
  Action wait{Action::Kind::WaitPointer};
  wait.passes = kWaitPointerPolls;
  return add(std::move(wait));
}

Script& Script::moveIntoWindow(WindowHandle w, int dxFromLeft, int dyFromBottom) {
  Action a{Action::Kind::MoveIntoWindow, {dxFromLeft, dyFromBottom}};
  a.window = w;
  add(std::move(a));
  Action wait{Action::Kind::WaitPointer};
  wait.passes = kWaitPointerPolls;
  return add(std::move(wait));
}

Script& Script::settle(WindowHandle w) {
  Action a{Action::Kind::Settle};
  a.window = w;
  a.passes = kSettlePolls;
  return add(std::move(a));
}

Script& Script::keysTo(WindowHandle w, KeyChord chord) {
  Action wait{Action::Kind::WaitActive};
  wait.window = w;
  wait.passes = kWaitActivePolls;
  add(std::move(wait));
  Action keys{Action::Kind::Keys};
  keys.chord = chord;
  return add(std::move(keys));
}

Script& Script::clipboard(std::string text) {
  Action a{Action::Kind::Clipboard};
  a.text = std::move(text);
  return add(std::move(a));
}

Script& Script::setText(WindowHandle w, std::string text) {
  Action a{Action::Kind::SetText};
  a.window = w;
  a.text = std::move(text);
  return add(std::move(a));
}

Script& Script::setText(WindowHandle w, std::string text, Point at) {
  Action a{Action::Kind::SetText, at};
  a.window = w;
  a.text = std::move(text);
  a.hasPoint = true;
  return add(std::move(a));
}

Script& Script::pause(long passes) {
  Action a{Action::Kind::Pause};
  a.passes = passes;
  return add(std::move(a));
}

Script& Script::armTimer(Timer timer, int ms) {
  Action a{Action::Kind::ArmTimer};
  a.timer = timer;
  a.passes = ms;
  return add(std::move(a));
}

Script& Script::append(const Script& other) {
  actions_.insert(actions_.end(), other.actions_.begin(), other.actions_.end());
  return *this;
}

Script& Script::window(Action::Kind k, WindowHandle w) {
  Action a{k};
  a.window = w;
  return add(std::move(a));
}

int PauseMilliseconds(long passes) {
  long long us = static_cast<long long>(passes) * kMicrosecondsPerPass;
  long long ms = (us + 999) / 1000;
  return ms < 1 ? 1 : static_cast<int>(ms);
}

}  // namespace lumora
