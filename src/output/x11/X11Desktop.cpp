#include "output/x11/X11Desktop.h"

#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XInput2.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/Xfixes.h>
#include <X11/keysym.h>

#include <chrono>
#include <cstring>

namespace lumora {

namespace {

// Calls on a window that has gone must have no effect: errors are swallowed, not fatal.
int IgnoreErrors(Display*, XErrorEvent*) { return 0; }

}  // namespace

struct X11Desktop::Impl {
  Display* dpy = nullptr;
  Window root = 0;
  Window own = 0;  // an unmapped window of ours, for fresh server timestamps
  int xiOpcode = -1;
  bool haveBarriers = false;
  std::vector<PointerBarrier> barriers;
  bool locked = false;
  // Presses counted from raw events since the last query.
  int left = 0, right = 0, ctrlV = 0;
  int ctrlDown = 0;
  KeyCode keyV = 0, keyCtrlL = 0, keyCtrlR = 0;
  // Raw events are asked for only while someone asks about presses: otherwise every key press of
  // the whole desktop would pile up in our queue.
  bool listening = false;
  std::chrono::steady_clock::time_point lastQuery{};
  // Without XInput2: button and key state seen at the previous query.
  unsigned lastMask = 0;
  bool lastV = false;

  // The round trip of beginSettle/settled. First the window manager: a click on a managed window
  // usually meets its passive grab, and the click reaches the program only once the window
  // manager has let it through. It handles its events in order, so once it has answered a request
  // sent after the click (_NET_REQUEST_FRAME_EXTENTS for our own window: it sets the property),
  // the click is on its way to the program. Then the program: a _NET_WM_PING, which it answers
  // after handling the events queued before it.
  enum class Settle { Done, WindowManager, Program };
  Settle settle = Settle::Done;
  Window settleTarget = 0;
  long pingStamp = 0;
  bool pongSeen = false;
  std::chrono::steady_clock::time_point settleStage{};

  Atom atom(const char* name) { return XInternAtom(dpy, name, False); }

  void drainEvents() {
    while (XPending(dpy) > 0) {
      XEvent ev;
      XNextEvent(dpy, &ev);
      if (ev.type == ClientMessage) notePong(ev.xclient);
      if (ev.type != GenericEvent || ev.xcookie.extension != xiOpcode) continue;
      if (!XGetEventData(dpy, &ev.xcookie)) continue;
      auto* raw = static_cast<XIRawEvent*>(ev.xcookie.data);
      switch (ev.xcookie.evtype) {
        case XI_RawButtonPress:
          if (raw->detail == 1) ++left;
          if (raw->detail == 3) ++right;
          break;
        case XI_RawKeyPress:
          if (raw->detail == keyCtrlL || raw->detail == keyCtrlR) ++ctrlDown;
          if (raw->detail == keyV && ctrlDown > 0) ++ctrlV;
          break;
        case XI_RawKeyRelease:
          if ((raw->detail == keyCtrlL || raw->detail == keyCtrlR) && ctrlDown > 0) --ctrlDown;
          break;
      }
      XFreeEventData(dpy, &ev.xcookie);
    }
  }

  // Polling fallback: a press is a change from up to down between two queries.
  void pollState() {
    Window r, c;
    int rx, ry, wx, wy;
    unsigned mask = 0;
    XQueryPointer(dpy, root, &r, &c, &rx, &ry, &wx, &wy, &mask);
    if ((mask & Button1Mask) && !(lastMask & Button1Mask)) ++left;
    if ((mask & Button3Mask) && !(lastMask & Button3Mask)) ++right;
    lastMask = mask;
    char keys[32];
    XQueryKeymap(dpy, keys);
    auto down = [&](KeyCode k) { return k != 0 && (keys[k / 8] & (1 << (k % 8))) != 0; };
    bool v = down(keyV);
    if (v && !lastV && (down(keyCtrlL) || down(keyCtrlR))) ++ctrlV;
    lastV = v;
  }

  void listen(bool on) {
    unsigned char bits[XIMaskLen(XI_LASTEVENT)] = {};
    if (on) {
      XISetMask(bits, XI_RawButtonPress);
      XISetMask(bits, XI_RawKeyPress);
      XISetMask(bits, XI_RawKeyRelease);
    }
    XIEventMask mask{XIAllMasterDevices, sizeof(bits), bits};
    XISelectEvents(dpy, root, &mask, 1);
    XSync(dpy, False);
    listening = on;
  }

  // Stops listening a second after the last query about presses.
  void idleCheck() {
    if (!dpy || !listening) return;
    if (std::chrono::steady_clock::now() - lastQuery < std::chrono::seconds(1)) return;
    listen(false);
    drainEvents();
    left = right = ctrlV = 0;
  }

  void update() {
    lastQuery = std::chrono::steady_clock::now();
    if (xiOpcode >= 0) {
      if (!listening) {
        listen(true);
        ctrlDown = 0;
      }
      drainEvents();
    } else {
      pollState();
    }
  }

  void notePong(const XClientMessageEvent& e) {
    if (settle != Settle::Program || e.message_type != atom("WM_PROTOCOLS") || e.format != 32) return;
    if (static_cast<Atom>(e.data.l[0]) == atom("_NET_WM_PING") && e.data.l[1] == pingStamp &&
        static_cast<Window>(e.data.l[2]) == settleTarget)
      pongSeen = true;
  }

  bool hasWindowManager() {
    std::vector<Window> check = windowList("_NET_SUPPORTING_WM_CHECK");
    return !check.empty() && check[0] != 0;
  }

  bool listsProtocol(Window w, Atom protocol) {
    Atom* list = nullptr;
    int n = 0;
    bool found = false;
    if (XGetWMProtocols(dpy, w, &list, &n)) {
      for (int i = 0; i < n; ++i) found = found || list[i] == protocol;
      XFree(list);
    }
    return found;
  }

  bool hasProperty(Window w, Atom property) {
    Atom type = None;
    int format;
    unsigned long n = 0, after = 0;
    unsigned char* data = nullptr;
    XGetWindowProperty(dpy, w, property, 0, 4, False, AnyPropertyType, &type, &format, &n, &after, &data);
    if (data) XFree(data);
    return type != None;
  }

  void askWindowManager() {
    XDeleteProperty(dpy, own, atom("_NET_FRAME_EXTENTS"));
    XEvent ev{};
    ev.xclient.type = ClientMessage;
    ev.xclient.window = own;
    ev.xclient.message_type = atom("_NET_REQUEST_FRAME_EXTENTS");
    ev.xclient.format = 32;
    XSendEvent(dpy, root, False, SubstructureRedirectMask | SubstructureNotifyMask, &ev);
    XFlush(dpy);
    settle = Settle::WindowManager;
    settleStage = std::chrono::steady_clock::now();
  }

  void pingProgram() {
    settle = Settle::Done;
    if (!listsProtocol(settleTarget, atom("_NET_WM_PING"))) return;
    // The answer goes to the root window, to whoever listens for its substructure.
    XSelectInput(dpy, root, SubstructureNotifyMask);
    pingStamp = static_cast<long>(freshTime());
    pongSeen = false;
    XEvent ev{};
    ev.xclient.type = ClientMessage;
    ev.xclient.window = settleTarget;
    ev.xclient.message_type = atom("WM_PROTOCOLS");
    ev.xclient.format = 32;
    ev.xclient.data.l[0] = static_cast<long>(atom("_NET_WM_PING"));
    ev.xclient.data.l[1] = pingStamp;
    ev.xclient.data.l[2] = static_cast<long>(settleTarget);
    XSendEvent(dpy, settleTarget, False, NoEventMask, &ev);
    XFlush(dpy);
    settle = Settle::Program;
    settleStage = std::chrono::steady_clock::now();
  }

  void endSettle() {
    if (settle == Settle::Program) XSelectInput(dpy, root, NoEventMask);
    settle = Settle::Done;
  }

  // A server timestamp of now: the time of a property change of our own window (our own change
  // of WM_NAME, not one the window manager makes to it).
  Time freshTime() {
    XChangeProperty(dpy, own, XA_WM_NAME, XA_STRING, 8, PropModeAppend, nullptr, 0);
    XEvent ev;
    XIfEvent(
        dpy, &ev,
        [](Display*, XEvent* e, XPointer arg) -> Bool {
          return e->type == PropertyNotify && e->xproperty.window == *reinterpret_cast<Window*>(arg) &&
                 e->xproperty.atom == XA_WM_NAME;
        },
        reinterpret_cast<XPointer>(&own));
    return ev.xproperty.time;
  }

  bool hasWmState(Window w) {
    Atom type;
    int format;
    unsigned long n = 0, after = 0;
    unsigned char* data = nullptr;
    int st =
        XGetWindowProperty(dpy, w, atom("WM_STATE"), 0, 2, False, AnyPropertyType, &type, &format, &n, &after, &data);
    bool has = st == Success && type != None;
    if (data) XFree(data);
    return has;
  }

  // A window that comes and goes over what the user points at without the window manager: a
  // context menu opened by the very right click that fixes a capture, a tooltip.
  bool isPassingPopup(Window w) {
    XWindowAttributes a{};
    return XGetWindowAttributes(dpy, w, &a) && a.override_redirect && !hasWmState(w);
  }

  // The topmost shown child of the root under (x, y) that is not a passing popup; 0 when none.
  Window topAtBeneathPopups(int x, int y) {
    Window r, parent, *children = nullptr;
    unsigned n = 0;
    if (!XQueryTree(dpy, root, &r, &parent, &children, &n)) return 0;
    Window found = 0;
    for (unsigned i = n; i-- > 0 && !found;) {  // top of the stack first
      XWindowAttributes a{};
      if (!XGetWindowAttributes(dpy, children[i], &a) || a.map_state != IsViewable || a.c_class == InputOnly ||
          (a.override_redirect && !hasWmState(children[i])))
        continue;
      const int edge = 2 * a.border_width;
      if (x >= a.x && y >= a.y && x < a.x + a.width + edge && y < a.y + a.height + edge) found = children[i];
    }
    if (children) XFree(children);
    return found;
  }

  // The client window (the one with WM_STATE) at or below `w`, 0 when none.
  Window clientOf(Window w, int depth = 0) {
    if (hasWmState(w)) return w;
    if (depth > 4) return 0;
    Window r, parent, *children = nullptr;
    unsigned n = 0;
    if (!XQueryTree(dpy, w, &r, &parent, &children, &n)) return 0;
    Window found = 0;
    for (unsigned i = n; i-- > 0 && !found;) found = clientOf(children[i], depth + 1);
    if (children) XFree(children);
    return found;
  }

  std::vector<Window> windowList(const char* property) {
    std::vector<Window> out;
    Atom type;
    int format;
    unsigned long n = 0, after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(dpy, root, atom(property), 0, 65536, False, XA_WINDOW, &type, &format, &n, &after, &data) ==
            Success &&
        data && format == 32) {
      auto* ids = reinterpret_cast<unsigned long*>(data);
      out.assign(ids, ids + n);
    }
    if (data) XFree(data);
    return out;
  }

  Window activeWindow() {
    std::vector<Window> w = windowList("_NET_ACTIVE_WINDOW");
    return w.empty() ? 0 : w[0];
  }

  std::string title(Window w) {
    std::string text;
    Atom type;
    int format;
    unsigned long n = 0, after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(dpy, w, atom("_NET_WM_NAME"), 0, 4096, False, atom("UTF8_STRING"), &type, &format, &n,
                           &after, &data) == Success &&
        data && n > 0)
      text.assign(reinterpret_cast<char*>(data), n);
    if (data) XFree(data);
    if (!text.empty()) return text;
    XTextProperty prop;
    if (XGetWMName(dpy, w, &prop) && prop.value) {
      char** list = nullptr;
      int count = 0;
      if (Xutf8TextPropertyToTextList(dpy, &prop, &list, &count) >= Success && list && count > 0) text = list[0];
      if (list) XFreeStringList(list);
      XFree(prop.value);
    }
    return text;
  }

  std::string className(Window w) {
    std::string cls;
    XClassHint hint{nullptr, nullptr};
    if (XGetClassHint(dpy, w, &hint)) {
      if (hint.res_class) cls = hint.res_class;
      if (hint.res_name) XFree(hint.res_name);
      if (hint.res_class) XFree(hint.res_class);
    }
    return cls;
  }

  void clearBarriers() {
    for (PointerBarrier b : barriers) XFixesDestroyPointerBarrier(dpy, b);
    barriers.clear();
  }

  // A small box of barriers around `p`: the user's mouse cannot leave it, our warps can.
  void placeBarriers(Point p) {
    clearBarriers();
    if (!haveBarriers) return;
    const int big = 1 << 15;
    barriers.push_back(XFixesCreatePointerBarrier(dpy, root, p.x - 1, 0, p.x - 1, big, 0, 0, nullptr));
    barriers.push_back(XFixesCreatePointerBarrier(dpy, root, p.x + 2, 0, p.x + 2, big, 0, 0, nullptr));
    barriers.push_back(XFixesCreatePointerBarrier(dpy, root, 0, p.y - 1, big, p.y - 1, 0, 0, nullptr));
    barriers.push_back(XFixesCreatePointerBarrier(dpy, root, 0, p.y + 2, big, p.y + 2, 0, 0, nullptr));
    XFlush(dpy);
  }

  Point pointer() {
    Window r, c;
    int rx = 0, ry = 0, wx, wy;
    unsigned mask;
    XQueryPointer(dpy, root, &r, &c, &rx, &ry, &wx, &wy, &mask);
    return {rx, ry};
  }

  void chord(std::initializer_list<KeySym> modifiers, KeySym sym) {
    for (KeySym m : modifiers) key(m, true);
    key(sym, true);
    key(sym, false);
    for (KeySym m : modifiers) key(m, false);
  }

  void key(KeySym sym, bool down) {
    KeyCode code = XKeysymToKeycode(dpy, sym);
    if (code != 0) XTestFakeKeyEvent(dpy, code, down ? True : False, CurrentTime);
  }
};

X11Desktop::X11Desktop(const char* display) : d_(std::make_unique<Impl>()) {
  XSetErrorHandler(IgnoreErrors);
  d_->dpy = XOpenDisplay(display);
  if (!d_->dpy) {
    reason_ = "无法连接 X 显示";
    return;
  }
  Display* dpy = d_->dpy;
  d_->root = DefaultRootWindow(dpy);
  int ev, err, major, minor;
  if (!XTestQueryExtension(dpy, &ev, &err, &major, &minor)) {
    reason_ = "X 服务器没有 XTest 扩展，无法模拟鼠标和键盘";
    return;
  }
  d_->keyV = XKeysymToKeycode(dpy, XK_v);
  d_->keyCtrlL = XKeysymToKeycode(dpy, XK_Control_L);
  d_->keyCtrlR = XKeysymToKeycode(dpy, XK_Control_R);
  XSetWindowAttributes attrs{};
  attrs.event_mask = PropertyChangeMask;
  d_->own =
      XCreateWindow(dpy, d_->root, -10, -10, 1, 1, 0, CopyFromParent, InputOnly, CopyFromParent, CWEventMask, &attrs);
  int fixesEv, fixesErr;
  if (XFixesQueryExtension(dpy, &fixesEv, &fixesErr)) {
    int fmaj = 0, fmin = 0;
    XFixesQueryVersion(dpy, &fmaj, &fmin);
    d_->haveBarriers = fmaj >= 5;
  }
  int opcode;
  if (XQueryExtension(dpy, "XInputExtension", &opcode, &ev, &err)) {
    int xmaj = 2, xmin = 0;
    if (XIQueryVersion(dpy, &xmaj, &xmin) == Success) {
      d_->xiOpcode = opcode;
    }
  }
  XSync(dpy, False);
}

X11Desktop::~X11Desktop() {
  if (!d_->dpy) return;
  d_->clearBarriers();
  if (d_->own) XDestroyWindow(d_->dpy, d_->own);
  XCloseDisplay(d_->dpy);
}

Point X11Desktop::pointer() {
  d_->idleCheck();
  return d_->dpy ? d_->pointer() : Point{};
}

void X11Desktop::movePointer(Point p) {
  d_->idleCheck();
  if (!reason_.empty()) return;
  if (d_->locked) d_->clearBarriers();
  XWarpPointer(d_->dpy, None, d_->root, 0, 0, 0, 0, p.x, p.y);
  if (d_->locked) d_->placeBarriers(p);
  XSync(d_->dpy, False);
}

void X11Desktop::leftClick() {
  if (!reason_.empty()) return;
  XTestFakeButtonEvent(d_->dpy, 1, True, CurrentTime);
  XTestFakeButtonEvent(d_->dpy, 1, False, CurrentTime);
  XSync(d_->dpy, False);
}

bool X11Desktop::newlyPressed(MouseButton b) {
  if (!d_->dpy) return false;
  d_->update();
  int& n = b == MouseButton::Left ? d_->left : d_->right;
  bool pressed = n > 0;
  n = 0;
  return pressed;
}

bool X11Desktop::newlyPressedCtrlV() {
  if (!d_->dpy) return false;
  d_->update();
  bool pressed = d_->ctrlV > 0;
  d_->ctrlV = 0;
  return pressed;
}

WindowHandle X11Desktop::windowAt(Point p) {
  d_->idleCheck();
  if (!d_->dpy) return 0;
  Window child = 0;
  int x, y;
  XTranslateCoordinates(d_->dpy, d_->root, d_->root, p.x, p.y, &x, &y, &child);
  if (child != None && d_->isPassingPopup(child)) child = d_->topAtBeneathPopups(x, y);
  if (child == None) return d_->root;  // the desktop itself
  Window client = d_->clientOf(child);
  return client ? client : child;
}

void X11Desktop::activate(WindowHandle w) {
  d_->idleCheck();
  if (!reason_.empty() || w == 0) return;
  Display* dpy = d_->dpy;
  XEvent ev{};
  ev.xclient.type = ClientMessage;
  ev.xclient.window = static_cast<Window>(w);
  ev.xclient.message_type = d_->atom("_NET_ACTIVE_WINDOW");
  ev.xclient.format = 32;
  ev.xclient.data.l[0] = 2;  // from a pager-like tool: honoured without focus-stealing rules
  ev.xclient.data.l[1] = static_cast<long>(d_->freshTime());
  ev.xclient.data.l[2] = 0;
  XSendEvent(dpy, d_->root, False, SubstructureRedirectMask | SubstructureNotifyMask, &ev);
  XSync(dpy, False);
}

bool X11Desktop::isActive(WindowHandle w) {
  if (!d_->dpy || w == 0) return false;
  if (d_->activeWindow() != static_cast<Window>(w)) return false;
  Window focus = 0;
  int revert;
  XGetInputFocus(d_->dpy, &focus, &revert);
  for (int depth = 0; focus != None && focus != PointerRoot && depth < 8; ++depth) {
    if (focus == static_cast<Window>(w)) return true;
    Window r, parent, *children = nullptr;
    unsigned n;
    if (!XQueryTree(d_->dpy, focus, &r, &parent, &children, &n)) return false;
    if (children) XFree(children);
    if (parent == d_->root) return false;
    focus = parent;
  }
  return false;
}

void X11Desktop::restore(WindowHandle w) {
  if (!reason_.empty() || w == 0) return;
  XMapRaised(d_->dpy, static_cast<Window>(w));
  XSync(d_->dpy, False);
}

void X11Desktop::minimise(WindowHandle w) {
  if (!reason_.empty() || w == 0) return;
  XIconifyWindow(d_->dpy, static_cast<Window>(w), DefaultScreen(d_->dpy));
  XSync(d_->dpy, False);
}

std::optional<Rect> X11Desktop::windowRect(WindowHandle w) {
  if (!d_->dpy || w == 0) return std::nullopt;
  XWindowAttributes a;
  if (!XGetWindowAttributes(d_->dpy, static_cast<Window>(w), &a)) return std::nullopt;
  int x = 0, y = 0;
  Window child;
  if (!XTranslateCoordinates(d_->dpy, static_cast<Window>(w), d_->root, 0, 0, &x, &y, &child)) return std::nullopt;
  long ext[4] = {0, 0, 0, 0};  // left, right, top, bottom
  Atom type;
  int format;
  unsigned long n = 0, after = 0;
  unsigned char* data = nullptr;
  if (XGetWindowProperty(d_->dpy, static_cast<Window>(w), d_->atom("_NET_FRAME_EXTENTS"), 0, 4, False, XA_CARDINAL,
                         &type, &format, &n, &after, &data) == Success &&
      data && n == 4) {
    auto* v = reinterpret_cast<long*>(data);
    for (int i = 0; i < 4; ++i) ext[i] = v[i];
  }
  if (data) XFree(data);
  return Rect{x - static_cast<int>(ext[0]), y - static_cast<int>(ext[2]), x + a.width + static_cast<int>(ext[1]),
              y + a.height + static_cast<int>(ext[3])};
}

std::vector<TopWindow> X11Desktop::topLevelWindows() {
  d_->idleCheck();
  std::vector<TopWindow> out;
  if (!d_->dpy) return out;
  // The window manager's stacking list (bottom first) holds shown and minimised windows alike.
  std::vector<Window> stack = d_->windowList("_NET_CLIENT_LIST_STACKING");
  if (stack.empty()) {
    Window r, parent, *children = nullptr;
    unsigned n = 0;
    if (XQueryTree(d_->dpy, d_->root, &r, &parent, &children, &n)) {
      for (unsigned i = 0; i < n; ++i)
        if (Window c = d_->clientOf(children[i])) stack.push_back(c);
      if (children) XFree(children);
    }
  }
  for (auto it = stack.rbegin(); it != stack.rend(); ++it)
    out.push_back({static_cast<WindowHandle>(*it), d_->className(*it), d_->title(*it)});
  return out;
}

bool X11Desktop::setWindowText(WindowHandle, const std::string&) { return false; }

void X11Desktop::sendKeys(KeyChord chord) {
  if (!reason_.empty()) return;
  switch (chord) {
    case KeyChord::CtrlV: d_->chord({XK_Control_L}, XK_v); break;
    case KeyChord::CtrlBackspace: d_->chord({XK_Control_L}, XK_BackSpace); break;
    case KeyChord::Enter: d_->chord({}, XK_Return); break;
    case KeyChord::Home: d_->chord({}, XK_Home); break;
    case KeyChord::ShiftEnd: d_->chord({XK_Shift_L}, XK_End); break;
    case KeyChord::Backspace: d_->chord({}, XK_BackSpace); break;
    case KeyChord::CtrlHome: d_->chord({XK_Control_L}, XK_Home); break;
    case KeyChord::CtrlShiftEnd: d_->chord({XK_Control_L, XK_Shift_L}, XK_End); break;
  }
  XSync(d_->dpy, False);
}

void X11Desktop::beginSettle(WindowHandle w) {
  d_->idleCheck();
  if (!reason_.empty()) return;
  d_->endSettle();
  d_->settleTarget = static_cast<Window>(w);
  if (w == 0) return;
  if (d_->hasWindowManager()) {
    d_->askWindowManager();
  } else {
    d_->pingProgram();
  }
}

bool X11Desktop::settled() {
  if (!reason_.empty()) return true;
  using Impl = X11Desktop::Impl;
  // A stage that gets no answer (a window manager without the request, a program that does not
  // answer pings in time) is given up after a while: the executor's own bound covers the rest.
  const auto giveUp = std::chrono::milliseconds(2000);
  if (d_->settle == Impl::Settle::WindowManager) {
    bool answered = d_->hasProperty(d_->own, d_->atom("_NET_FRAME_EXTENTS"));
    if (!answered && std::chrono::steady_clock::now() - d_->settleStage < giveUp) return false;
    d_->pingProgram();
  }
  if (d_->settle == Impl::Settle::Program) {
    d_->drainEvents();
    if (!d_->pongSeen && std::chrono::steady_clock::now() - d_->settleStage < giveUp) return false;
    d_->endSettle();
  }
  return true;
}

void X11Desktop::lockPointer() {
  if (!reason_.empty()) return;
  d_->locked = true;
  d_->placeBarriers(d_->pointer());
  XSync(d_->dpy, False);
}

void X11Desktop::freePointer() {
  if (!reason_.empty()) return;
  d_->locked = false;
  d_->clearBarriers();
  XSync(d_->dpy, False);
}

std::unique_ptr<Desktop> CreateSystemDesktop() { return std::make_unique<X11Desktop>(); }

}  // namespace lumora
