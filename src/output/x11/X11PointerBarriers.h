#pragma once
// Confining the user's mouse while input is driven: XFixes pointer barriers in a small box around
// the pointer. The user's mouse cannot leave the box; our own warps can, and the box follows them.
#include <vector>

#include <X11/extensions/Xfixes.h>

#include "output/Desktop.h"
#include "output/x11/X11Connection.h"

namespace lumora {

class X11PointerBarriers {
 public:
  explicit X11PointerBarriers(X11Connection& x) : x_(x) {}
  X11PointerBarriers(const X11PointerBarriers&) = delete;
  X11PointerBarriers& operator=(const X11PointerBarriers&) = delete;
  // Whether the server has barriers (XFixes 5); without them locking does nothing.
  void start();

  void lock(Point at);
  void unlock();
  // Warps the pointer to `p`, the box with it while locked.
  void warp(Point p);

 private:
  void clear();
  void place(Point p);

  X11Connection& x_;
  bool available_ = false;
  bool locked_ = false;
  std::vector<PointerBarrier> barriers_;
};

}  // namespace lumora
