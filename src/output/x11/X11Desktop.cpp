#include "output/x11/X11Desktop.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include "output/x11/X11Connection.h"
#include "output/x11/X11PointerBarriers.h"
#include "output/x11/X11RawInput.h"
#include "output/x11/X11Settling.h"
#include "output/x11/X11WindowQueries.h"

namespace lumora {

namespace {

// Calls on a window that has gone must have no effect: errors are swallowed, not fatal.
int IgnoreErrors(Display*, XErrorEvent*) { return 0; }

}  // namespace

// The desktop's parts over one connection.
struct X11Desktop::Parts {
  X11Connection x;
  X11RawInput input{x};
  X11Settling settling{x};
  X11WindowQueries windows{x};
  X11PointerBarriers barriers{x};
};

X11Desktop::X11Desktop(const char* display) : d_(std::make_unique<Parts>()) {
  XSetErrorHandler(IgnoreErrors);
  X11Connection& x = d_->x;
  x.dpy = XOpenDisplay(display);
  if (!x.dpy) {
    reason_ = "无法连接 X 显示";
    return;
  }
  Display* dpy = x.dpy;
  x.root = DefaultRootWindow(dpy);
  int ev, err, major, minor;
  if (!XTestQueryExtension(dpy, &ev, &err, &major, &minor)) {
    reason_ = "X 服务器没有 XTest 扩展，无法模拟鼠标和键盘";
    return;
  }
  XSetWindowAttributes attrs{};
  attrs.event_mask = PropertyChangeMask;
  x.own = XCreateWindow(dpy, x.root, -10, -10, 1, 1, 0, CopyFromParent, InputOnly, CopyFromParent, CWEventMask, &attrs);
  d_->input.start();
  d_->settling.start();
  d_->barriers.start();
  XSync(dpy, False);
}

X11Desktop::~X11Desktop() {
  X11Connection& x = d_->x;
  if (!x.dpy) return;
  if (reason_.empty()) d_->barriers.unlock();
  if (x.own) XDestroyWindow(x.dpy, x.own);
  XCloseDisplay(x.dpy);
}

Point X11Desktop::pointer() {
  d_->input.idleCheck();
  return d_->x.dpy ? d_->windows.pointer() : Point{};
}

void X11Desktop::movePointer(Point p) {
  d_->input.idleCheck();
  if (!reason_.empty()) return;
  d_->barriers.warp(p);
}

void X11Desktop::leftClick() {
  if (!reason_.empty()) return;
  XTestFakeButtonEvent(d_->x.dpy, 1, True, CurrentTime);
  XTestFakeButtonEvent(d_->x.dpy, 1, False, CurrentTime);
  XSync(d_->x.dpy, False);
}

bool X11Desktop::newlyPressed(MouseButton b) { return d_->input.newlyPressed(b); }

bool X11Desktop::newlyPressedCtrlV() { return d_->input.newlyPressedCtrlV(); }

WindowHandle X11Desktop::windowAt(Point p) {
  d_->input.idleCheck();
  if (!d_->x.dpy) return 0;
  return d_->windows.windowAt(p);
}

void X11Desktop::activate(WindowHandle w) {
  d_->input.idleCheck();
  if (!reason_.empty() || w == 0) return;
  X11Connection& x = d_->x;
  XEvent ev{};
  ev.xclient.type = ClientMessage;
  ev.xclient.window = static_cast<Window>(w);
  ev.xclient.message_type = x.atom("_NET_ACTIVE_WINDOW");
  ev.xclient.format = 32;
  ev.xclient.data.l[0] = 2;  // from a pager-like tool: honoured without focus-stealing rules
  ev.xclient.data.l[1] = static_cast<long>(x.freshTime());
  ev.xclient.data.l[2] = 0;
  XSendEvent(x.dpy, x.root, False, SubstructureRedirectMask | SubstructureNotifyMask, &ev);
  XSync(x.dpy, False);
}

bool X11Desktop::isActive(WindowHandle w) {
  if (!d_->x.dpy || w == 0) return false;
  return d_->windows.isActive(static_cast<Window>(w));
}

void X11Desktop::restore(WindowHandle w) {
  if (!reason_.empty() || w == 0) return;
  XMapRaised(d_->x.dpy, static_cast<Window>(w));
  XSync(d_->x.dpy, False);
}

void X11Desktop::minimise(WindowHandle w) {
  if (!reason_.empty() || w == 0) return;
  XIconifyWindow(d_->x.dpy, static_cast<Window>(w), DefaultScreen(d_->x.dpy));
  XSync(d_->x.dpy, False);
}

std::optional<Rect> X11Desktop::windowRect(WindowHandle w) {
  if (!d_->x.dpy || w == 0) return std::nullopt;
  return d_->windows.frameRect(static_cast<Window>(w));
}

std::vector<TopWindow> X11Desktop::topLevelWindows() {
  d_->input.idleCheck();
  if (!d_->x.dpy) return {};
  return d_->windows.topLevelWindows();
}

bool X11Desktop::setWindowText(WindowHandle, const std::string&) { return false; }

namespace {

void Key(Display* dpy, KeySym sym, bool down) {
  KeyCode code = XKeysymToKeycode(dpy, sym);
  if (code != 0) XTestFakeKeyEvent(dpy, code, down ? True : False, CurrentTime);
}

void Chord(Display* dpy, std::initializer_list<KeySym> modifiers, KeySym sym) {
  for (KeySym m : modifiers) Key(dpy, m, true);
  Key(dpy, sym, true);
  Key(dpy, sym, false);
  for (KeySym m : modifiers) Key(dpy, m, false);
}

}  // namespace

void X11Desktop::sendKeys(KeyChord chord) {
  if (!reason_.empty()) return;
  Display* dpy = d_->x.dpy;
  switch (chord) {
    case KeyChord::CtrlV: Chord(dpy, {XK_Control_L}, XK_v); break;
    case KeyChord::CtrlBackspace: Chord(dpy, {XK_Control_L}, XK_BackSpace); break;
    case KeyChord::Enter: Chord(dpy, {}, XK_Return); break;
    case KeyChord::Home: Chord(dpy, {}, XK_Home); break;
    case KeyChord::ShiftEnd: Chord(dpy, {XK_Shift_L}, XK_End); break;
    case KeyChord::Backspace: Chord(dpy, {}, XK_BackSpace); break;
    case KeyChord::CtrlHome: Chord(dpy, {XK_Control_L}, XK_Home); break;
    case KeyChord::CtrlShiftEnd: Chord(dpy, {XK_Control_L, XK_Shift_L}, XK_End); break;
  }
  XSync(dpy, False);
}

void X11Desktop::beginSettle(WindowHandle w) {
  d_->input.idleCheck();
  if (!reason_.empty()) return;
  d_->settling.begin(static_cast<Window>(w));
}

bool X11Desktop::settled() {
  if (!reason_.empty()) return true;
  return d_->settling.settled();
}

void X11Desktop::lockPointer() {
  if (!reason_.empty()) return;
  d_->barriers.lock(d_->windows.pointer());
}

void X11Desktop::freePointer() {
  if (!reason_.empty()) return;
  d_->barriers.unlock();
}

std::unique_ptr<Desktop> CreateSystemDesktop() { return std::make_unique<X11Desktop>(); }

}  // namespace lumora
