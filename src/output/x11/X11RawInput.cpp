#include "output/x11/X11RawInput.h"

#include <X11/extensions/XInput2.h>
#include <X11/keysym.h>

namespace lumora {

void X11RawInput::start() {
  Display* dpy = x_.dpy;
  keyV_ = XKeysymToKeycode(dpy, XK_v);
  keyCtrlL_ = XKeysymToKeycode(dpy, XK_Control_L);
  keyCtrlR_ = XKeysymToKeycode(dpy, XK_Control_R);
  int opcode, ev, err;
  if (XQueryExtension(dpy, "XInputExtension", &opcode, &ev, &err)) {
    int xmaj = 2, xmin = 0;
    if (XIQueryVersion(dpy, &xmaj, &xmin) == Success) xiOpcode_ = opcode;
  }
  x_.listeners.push_back([this](XEvent& e) { take(e); });
}

void X11RawInput::take(XEvent& ev) {
  if (ev.type != GenericEvent || ev.xcookie.extension != xiOpcode_ || !ev.xcookie.data) return;
  auto* raw = static_cast<XIRawEvent*>(ev.xcookie.data);
  switch (ev.xcookie.evtype) {
    case XI_RawButtonPress:
      if (raw->detail == 1) ++left_;
      if (raw->detail == 3) ++right_;
      break;
    case XI_RawKeyPress:
      if (raw->detail == keyCtrlL_ || raw->detail == keyCtrlR_) ++ctrlDown_;
      if (raw->detail == keyV_ && ctrlDown_ > 0) ++ctrlV_;
      break;
    case XI_RawKeyRelease:
      if ((raw->detail == keyCtrlL_ || raw->detail == keyCtrlR_) && ctrlDown_ > 0) --ctrlDown_;
      break;
  }
}

// Polling fallback: a press is a change from up to down between two queries.
void X11RawInput::pollState() {
  Display* dpy = x_.dpy;
  Window r, c;
  int rx, ry, wx, wy;
  unsigned mask = 0;
  XQueryPointer(dpy, x_.root, &r, &c, &rx, &ry, &wx, &wy, &mask);
  if ((mask & Button1Mask) && !(lastMask_ & Button1Mask)) ++left_;
  if ((mask & Button3Mask) && !(lastMask_ & Button3Mask)) ++right_;
  lastMask_ = mask;
  char keys[32];
  XQueryKeymap(dpy, keys);
  auto down = [&](KeyCode k) { return k != 0 && (keys[k / 8] & (1 << (k % 8))) != 0; };
  bool v = down(keyV_);
  if (v && !lastV_ && (down(keyCtrlL_) || down(keyCtrlR_))) ++ctrlV_;
  lastV_ = v;
}

void X11RawInput::listen(bool on) {
  unsigned char bits[XIMaskLen(XI_LASTEVENT)] = {};
  if (on) {
    XISetMask(bits, XI_RawButtonPress);
    XISetMask(bits, XI_RawKeyPress);
    XISetMask(bits, XI_RawKeyRelease);
  }
  XIEventMask mask{XIAllMasterDevices, sizeof(bits), bits};
  XISelectEvents(x_.dpy, x_.root, &mask, 1);
  XSync(x_.dpy, False);
  listening_ = on;
}

void X11RawInput::idleCheck() {
  if (!x_.dpy || !listening_) return;
  if (std::chrono::steady_clock::now() - lastQuery_ < std::chrono::seconds(1)) return;
  listen(false);
  x_.drainEvents();
  left_ = right_ = ctrlV_ = 0;
}

void X11RawInput::update() {
  lastQuery_ = std::chrono::steady_clock::now();
  if (xiOpcode_ >= 0) {
    if (!listening_) {
      listen(true);
      ctrlDown_ = 0;
    }
    x_.drainEvents();
  } else {
    pollState();
  }
}

bool X11RawInput::newlyPressed(MouseButton b) {
  if (!x_.dpy) return false;
  update();
  int& n = b == MouseButton::Left ? left_ : right_;
  bool pressed = n > 0;
  n = 0;
  return pressed;
}

bool X11RawInput::newlyPressedCtrlV() {
  if (!x_.dpy) return false;
  update();
  bool pressed = ctrlV_ > 0;
  ctrlV_ = 0;
  return pressed;
}

}  // namespace lumora
