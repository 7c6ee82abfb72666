#pragma once
// What the desktop's windows are: the window under a point (beneath passing popups), the active
// window, a window's frame rectangle, the top-level windows with class and title in z-order.
#include <optional>
#include <string>
#include <vector>

#include "output/Desktop.h"
#include "output/x11/X11Connection.h"

namespace lumora {

class X11WindowQueries {
 public:
  explicit X11WindowQueries(X11Connection& x) : x_(x) {}

  Point pointer() const;
  // The client window under `p`; the root for the desktop itself.
  Window windowAt(Point p) const;
  // Whether `w` is the active window and holds the input focus (itself or a child of it).
  bool isActive(Window w) const;
  // The rectangle of `w` with its window manager frame.
  std::optional<Rect> frameRect(Window w) const;
  // Top first.
  std::vector<TopWindow> topLevelWindows() const;

 private:
  bool isPassingPopup(Window w) const;
  Window topAtBeneathPopups(int x, int y) const;
  Window clientOf(Window w, int depth = 0) const;
  Window activeWindow() const;
  std::string title(Window w) const;
  std::string className(Window w) const;

  X11Connection& x_;
};

}  // namespace lumora
