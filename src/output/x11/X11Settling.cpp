#include "output/x11/X11Settling.h"

#include <vector>

namespace lumora {

void X11Settling::start() {
  x_.listeners.push_back([this](XEvent& e) { take(e); });
}

void X11Settling::take(XEvent& ev) {
  if (ev.type != ClientMessage) return;
  const XClientMessageEvent& e = ev.xclient;
  if (stage_ != Stage::Program || e.message_type != x_.atom("WM_PROTOCOLS") || e.format != 32) return;
  if (static_cast<Atom>(e.data.l[0]) == x_.atom("_NET_WM_PING") && e.data.l[1] == pingStamp_ &&
      static_cast<Window>(e.data.l[2]) == target_)
    pongSeen_ = true;
}

bool X11Settling::hasWindowManager() const {
  std::vector<Window> check = x_.windowList("_NET_SUPPORTING_WM_CHECK");
  return !check.empty() && check[0] != 0;
}

void X11Settling::askWindowManager() {
  XDeleteProperty(x_.dpy, x_.own, x_.atom("_NET_FRAME_EXTENTS"));
  XEvent ev{};
  ev.xclient.type = ClientMessage;
  ev.xclient.window = x_.own;
  ev.xclient.message_type = x_.atom("_NET_REQUEST_FRAME_EXTENTS");
  ev.xclient.format = 32;
  XSendEvent(x_.dpy, x_.root, False, SubstructureRedirectMask | SubstructureNotifyMask, &ev);
  XFlush(x_.dpy);
  stage_ = Stage::WindowManager;
  stageStart_ = std::chrono::steady_clock::now();
}

void X11Settling::pingProgram() {
  stage_ = Stage::Done;
  if (!x_.listsProtocol(target_, x_.atom("_NET_WM_PING"))) return;
  // The answer goes to the root window, to whoever listens for its substructure.
  XSelectInput(x_.dpy, x_.root, SubstructureNotifyMask);
  pingStamp_ = static_cast<long>(x_.freshTime());
  pongSeen_ = false;
  XEvent ev{};
  ev.xclient.type = ClientMessage;
  ev.xclient.window = target_;
  ev.xclient.message_type = x_.atom("WM_PROTOCOLS");
  ev.xclient.format = 32;
  ev.xclient.data.l[0] = static_cast<long>(x_.atom("_NET_WM_PING"));
  ev.xclient.data.l[1] = pingStamp_;
  ev.xclient.data.l[2] = static_cast<long>(target_);
  XSendEvent(x_.dpy, target_, False, NoEventMask, &ev);
  XFlush(x_.dpy);
  stage_ = Stage::Program;
  stageStart_ = std::chrono::steady_clock::now();
}

void X11Settling::end() {
  if (stage_ == Stage::Program) XSelectInput(x_.dpy, x_.root, NoEventMask);
  stage_ = Stage::Done;
}

void X11Settling::begin(Window w) {
  end();
  target_ = w;
  if (w == 0) return;
  if (hasWindowManager()) {
    askWindowManager();
  } else {
    pingProgram();
  }
}

bool X11Settling::settled() {
  // The executor's own bound covers whatever the given-up stages leave.
  const auto giveUp = std::chrono::milliseconds(2000);
  if (stage_ == Stage::WindowManager) {
    bool answered = x_.hasProperty(x_.own, x_.atom("_NET_FRAME_EXTENTS"));
    if (!answered && std::chrono::steady_clock::now() - stageStart_ < giveUp) return false;
    pingProgram();
  }
  if (stage_ == Stage::Program) {
    x_.drainEvents();
    if (!pongSeen_ && std::chrono::steady_clock::now() - stageStart_ < giveUp) return false;
    end();
  }
  return true;
}

}  // namespace lumora
