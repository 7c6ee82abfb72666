#pragma once
// The user's own presses (left and right button, Ctrl+V) anywhere on the desktop, counted from
// XInput2 raw events, or, without XInput2, from the button and key state between two queries.
#include <chrono>

#include "output/Desktop.h"
#include "output/x11/X11Connection.h"

namespace lumora {

class X11RawInput {
 public:
  explicit X11RawInput(X11Connection& x) : x_(x) {}
  // Looks up the keys and XInput2 once connected; takes raw events from the connection's queue.
  void start();

  // Whether the button (Ctrl+V) went down since the last query about it.
  bool newlyPressed(MouseButton b);
  bool newlyPressedCtrlV();
  // Stops listening a second after the last query about presses. Every other call of the desktop
  // runs it, so raw events stop piling up once nobody asks.
  void idleCheck();

 private:
  void take(XEvent& ev);
  void pollState();
  void listen(bool on);
  void update();

  X11Connection& x_;
  int xiOpcode_ = -1;
  // Presses counted from raw events since the last query.
  int left_ = 0, right_ = 0, ctrlV_ = 0;
  int ctrlDown_ = 0;
  KeyCode keyV_ = 0, keyCtrlL_ = 0, keyCtrlR_ = 0;
  // Raw events are asked for only while someone asks about presses: otherwise every key press of
  // the whole desktop would pile up in our queue.
  bool listening_ = false;
  std::chrono::steady_clock::time_point lastQuery_{};
  // Without XInput2: button and key state seen at the previous query.
  unsigned lastMask_ = 0;
  bool lastV_ = false;
};

}  // namespace lumora
