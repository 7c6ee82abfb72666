#pragma once
// Settling after a synthetic click: a round trip that ends once the click has reached the program.
// First the window manager: a click on a managed window usually meets its passive grab, and the
// click reaches the program only once the window manager has let it through. It handles its events
// in order, so once it has answered a request sent after the click (_NET_REQUEST_FRAME_EXTENTS for
// our own window: it sets the property), the click is on its way to the program. Then the program:
// a _NET_WM_PING, which it answers after handling the events queued before it.
#include <chrono>

#include "output/x11/X11Connection.h"

namespace lumora {

class X11Settling {
 public:
  explicit X11Settling(X11Connection& x) : x_(x) {}
  // Takes the program's answers from the connection's queue.
  void start();

  // Begins the round trip for the program of window `w` (0: nothing to wait for).
  void begin(Window w);
  // Whether the round trip is over. A stage that gets no answer (a window manager without the
  // request, a program that does not answer pings in time) is given up after a while.
  bool settled();

 private:
  enum class Stage { Done, WindowManager, Program };
  void take(XEvent& ev);
  bool hasWindowManager() const;
  void askWindowManager();
  void pingProgram();
  void end();

  X11Connection& x_;
  Stage stage_ = Stage::Done;
  Window target_ = 0;
  long pingStamp_ = 0;
  bool pongSeen_ = false;
  std::chrono::steady_clock::time_point stageStart_{};
};

}  // namespace lumora
