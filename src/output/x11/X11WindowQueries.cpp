#include "output/x11/X11WindowQueries.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>

namespace lumora {

Point X11WindowQueries::pointer() const {
  Window r, c;
  int rx = 0, ry = 0, wx, wy;
  unsigned mask;
  XQueryPointer(x_.dpy, x_.root, &r, &c, &rx, &ry, &wx, &wy, &mask);
  return {rx, ry};
}

// A window that comes and goes over what the user points at without the window manager: a
// context menu opened by the very right click that fixes a capture, a tooltip.
bool X11WindowQueries::isPassingPopup(Window w) const {
  XWindowAttributes a{};
  return XGetWindowAttributes(x_.dpy, w, &a) && a.override_redirect && !x_.hasWmState(w);
}

// The topmost shown child of the root under (x, y) that is not a passing popup; 0 when none.
Window X11WindowQueries::topAtBeneathPopups(int x, int y) const {
  Window r, parent, *children = nullptr;
  unsigned n = 0;
  if (!XQueryTree(x_.dpy, x_.root, &r, &parent, &children, &n)) return 0;
  Window found = 0;
  for (unsigned i = n; i-- > 0 && !found;) {  // top of the stack first
    XWindowAttributes a{};
    if (!XGetWindowAttributes(x_.dpy, children[i], &a) || a.map_state != IsViewable || a.c_class == InputOnly ||
        (a.override_redirect && !x_.hasWmState(children[i])))
      continue;
    const int edge = 2 * a.border_width;
    if (x >= a.x && y >= a.y && x < a.x + a.width + edge && y < a.y + a.height + edge) found = children[i];
  }
  if (children) XFree(children);
  return found;
}

// The client window (the one with WM_STATE) at or below `w`, 0 when none.
Window X11WindowQueries::clientOf(Window w, int depth) const {
  if (x_.hasWmState(w)) return w;
  if (depth > 4) return 0;
  Window r, parent, *children = nullptr;
  unsigned n = 0;
  if (!XQueryTree(x_.dpy, w, &r, &parent, &children, &n)) return 0;
  Window found = 0;
  for (unsigned i = n; i-- > 0 && !found;) found = clientOf(children[i], depth + 1);
  if (children) XFree(children);
  return found;
}

Window X11WindowQueries::activeWindow() const {
  std::vector<Window> w = x_.windowList("_NET_ACTIVE_WINDOW");
  return w.empty() ? 0 : w[0];
}

std::string X11WindowQueries::title(Window w) const {
  std::string text;
  Atom type;
  int format;
  unsigned long n = 0, after = 0;
  unsigned char* data = nullptr;
  if (XGetWindowProperty(x_.dpy, w, x_.atom("_NET_WM_NAME"), 0, 4096, False, x_.atom("UTF8_STRING"), &type, &format, &n,
                         &after, &data) == Success &&
      data && n > 0)
    text.assign(reinterpret_cast<char*>(data), n);
  if (data) XFree(data);
  if (!text.empty()) return text;
  XTextProperty prop;
  if (XGetWMName(x_.dpy, w, &prop) && prop.value) {
    char** list = nullptr;
    int count = 0;
    if (Xutf8TextPropertyToTextList(x_.dpy, &prop, &list, &count) >= Success && list && count > 0) text = list[0];
    if (list) XFreeStringList(list);
    XFree(prop.value);
  }
  return text;
}

std::string X11WindowQueries::className(Window w) const {
  std::string cls;
  XClassHint hint{nullptr, nullptr};
  if (XGetClassHint(x_.dpy, w, &hint)) {
    if (hint.res_class) cls = hint.res_class;
    if (hint.res_name) XFree(hint.res_name);
    if (hint.res_class) XFree(hint.res_class);
  }
  return cls;
}

Window X11WindowQueries::windowAt(Point p) const {
  Window child = 0;
  int x, y;
  XTranslateCoordinates(x_.dpy, x_.root, x_.root, p.x, p.y, &x, &y, &child);
  if (child != None && isPassingPopup(child)) child = topAtBeneathPopups(x, y);
  if (child == None) return x_.root;  // the desktop itself
  Window client = clientOf(child);
  return client ? client : child;
}

bool X11WindowQueries::isActive(Window w) const {
  if (activeWindow() != w) return false;
  Window focus = 0;
  int revert;
  XGetInputFocus(x_.dpy, &focus, &revert);
  for (int depth = 0; focus != None && focus != PointerRoot && depth < 8; ++depth) {
    if (focus == w) return true;
    Window r, parent, *children = nullptr;
    unsigned n;
    if (!XQueryTree(x_.dpy, focus, &r, &parent, &children, &n)) return false;
    if (children) XFree(children);
    if (parent == x_.root) return false;
    focus = parent;
  }
  return false;
}

std::optional<Rect> X11WindowQueries::frameRect(Window w) const {
  XWindowAttributes a;
  if (!XGetWindowAttributes(x_.dpy, w, &a)) return std::nullopt;
  int x = 0, y = 0;
  Window child;
  if (!XTranslateCoordinates(x_.dpy, w, x_.root, 0, 0, &x, &y, &child)) return std::nullopt;
  long ext[4] = {0, 0, 0, 0};  // left, right, top, bottom
  Atom type;
  int format;
  unsigned long n = 0, after = 0;
  unsigned char* data = nullptr;
  if (XGetWindowProperty(x_.dpy, w, x_.atom("_NET_FRAME_EXTENTS"), 0, 4, False, XA_CARDINAL, &type, &format, &n, &after,
                         &data) == Success &&
      data && n == 4) {
    auto* v = reinterpret_cast<long*>(data);
    for (int i = 0; i < 4; ++i) ext[i] = v[i];
  }
  if (data) XFree(data);
  return Rect{x - static_cast<int>(ext[0]), y - static_cast<int>(ext[2]), x + a.width + static_cast<int>(ext[1]),
              y + a.height + static_cast<int>(ext[3])};
}

std::vector<TopWindow> X11WindowQueries::topLevelWindows() const {
  std::vector<TopWindow> out;
  // The window manager's stacking list (bottom first) holds shown and minimised windows alike.
  std::vector<Window> stack = x_.windowList("_NET_CLIENT_LIST_STACKING");
  if (stack.empty()) {
    Window r, parent, *children = nullptr;
    unsigned n = 0;
    if (XQueryTree(x_.dpy, x_.root, &r, &parent, &children, &n)) {
      for (unsigned i = 0; i < n; ++i)
        if (Window c = clientOf(children[i])) stack.push_back(c);
      if (children) XFree(children);
    }
  }
  for (auto it = stack.rbegin(); it != stack.rend(); ++it)
    out.push_back({static_cast<WindowHandle>(*it), className(*it), title(*it)});
  return out;
}

}  // namespace lumora
