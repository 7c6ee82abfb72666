#pragma once
// The X11 desktop's connection to the display, shared by its parts: the display and its root, an
// unmapped window of our own, atoms and window properties, and the one event queue every part
// reads from.
#include <X11/Xlib.h>

#include <functional>
#include <vector>

namespace lumora {

struct X11Connection {
  Display* dpy = nullptr;
  Window root = 0;
  Window own = 0;  // an unmapped window of ours, for fresh server timestamps and the WM's answers

  // Whoever takes events from the queue: each sees every event (generic events with their data).
  std::vector<std::function<void(XEvent&)>> listeners;

  Atom atom(const char* name) const { return XInternAtom(dpy, name, False); }

  // Reads every queued event and hands it to each listener.
  void drainEvents();

  // A server timestamp of now: the time of a property change of our own window (our own change
  // of WM_NAME, not one the window manager makes to it).
  Time freshTime();

  // The windows a root property names (_NET_CLIENT_LIST_STACKING, _NET_ACTIVE_WINDOW ...).
  std::vector<Window> windowList(const char* property) const;
  bool hasProperty(Window w, Atom property) const;
  // A client window: one the window manager manages (it has WM_STATE).
  bool hasWmState(Window w) const;
  bool listsProtocol(Window w, Atom protocol) const;
};

}  // namespace lumora
