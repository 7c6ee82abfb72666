#include "output/x11/X11PointerBarriers.h"

namespace lumora {

void X11PointerBarriers::start() {
  int fixesEv, fixesErr;
  if (XFixesQueryExtension(x_.dpy, &fixesEv, &fixesErr)) {
    int fmaj = 0, fmin = 0;
    XFixesQueryVersion(x_.dpy, &fmaj, &fmin);
    available_ = fmaj >= 5;
  }
}

void X11PointerBarriers::clear() {
  for (PointerBarrier b : barriers_) XFixesDestroyPointerBarrier(x_.dpy, b);
  barriers_.clear();
}

// A small box of barriers around `p`.
void X11PointerBarriers::place(Point p) {
  clear();
  if (!available_) return;
  const int big = 1 << 15;
  const Window root = x_.root;
  barriers_.push_back(XFixesCreatePointerBarrier(x_.dpy, root, p.x - 1, 0, p.x - 1, big, 0, 0, nullptr));
  barriers_.push_back(XFixesCreatePointerBarrier(x_.dpy, root, p.x + 2, 0, p.x + 2, big, 0, 0, nullptr));
  barriers_.push_back(XFixesCreatePointerBarrier(x_.dpy, root, 0, p.y - 1, big, p.y - 1, 0, 0, nullptr));
  barriers_.push_back(XFixesCreatePointerBarrier(x_.dpy, root, 0, p.y + 2, big, p.y + 2, 0, 0, nullptr));
  XFlush(x_.dpy);
}

void X11PointerBarriers::lock(Point at) {
  locked_ = true;
  place(at);
  XSync(x_.dpy, False);
}

void X11PointerBarriers::unlock() {
  locked_ = false;
  clear();
  XSync(x_.dpy, False);
}

void X11PointerBarriers::warp(Point p) {
  if (locked_) clear();
  XWarpPointer(x_.dpy, None, x_.root, 0, 0, 0, 0, p.x, p.y);
  if (locked_) place(p);
  XSync(x_.dpy, False);
}

}  // namespace lumora
