#include "output/x11/X11Connection.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>

namespace lumora {

void X11Connection::drainEvents() {
  while (XPending(dpy) > 0) {
    XEvent ev;
    XNextEvent(dpy, &ev);
    const bool withData = ev.type == GenericEvent && XGetEventData(dpy, &ev.xcookie);
    if (ev.type == GenericEvent && !withData) ev.xcookie.data = nullptr;
    for (auto& listener : listeners) listener(ev);
    if (withData) XFreeEventData(dpy, &ev.xcookie);
  }
}

Time X11Connection::freshTime() {
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

std::vector<Window> X11Connection::windowList(const char* property) const {
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

bool X11Connection::hasProperty(Window w, Atom property) const {
  Atom type = None;
  int format;
  unsigned long n = 0, after = 0;
  unsigned char* data = nullptr;
  XGetWindowProperty(dpy, w, property, 0, 4, False, AnyPropertyType, &type, &format, &n, &after, &data);
  if (data) XFree(data);
  return type != None;
}

bool X11Connection::hasWmState(Window w) const {
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

bool X11Connection::listsProtocol(Window w, Atom protocol) const {
  Atom* list = nullptr;
  int n = 0;
  bool found = false;
  if (XGetWMProtocols(dpy, w, &list, &n)) {
    for (int i = 0; i < n; ++i) found = found || list[i] == protocol;
    XFree(list);
  }
  return found;
}

}  // namespace lumora
