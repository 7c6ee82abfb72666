#pragma once
// The desktop as the output automation sees it: the pointer, synthetic clicks and key chords,
// other programs' top-level windows, and the user's newly pressed buttons and keys.
//
// One narrow port with one backend per platform (output/x11, output/win32) and a recording fake
// (output/fake). The engine never calls it directly from an operation that waits: the automation
// builds action scripts and one executor runs them (output/Script.h).
//
// A window handle is an opaque number, shown to the user as decimal text; 0 means "no window".
// Coordinates are screen pixels. Texts are UTF-8; a backend converts to what its desktop needs.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace lumora {

using WindowHandle = std::uint64_t;

struct Point {
  int x = 0;
  int y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

// Window rectangle in screen pixels, frame included; right and bottom are exclusive.
struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  friend bool operator==(const Rect&, const Rect&) = default;
};

struct TopWindow {
  WindowHandle handle = 0;
  std::string className;  // Win32 class name; on X11 the res_class of WM_CLASS
  std::string title;      // window title text
};

enum class MouseButton { Left, Right };

// The key chords the automation sends. Home, ShiftEnd and Backspace replace a box's text where
// the desktop cannot set another window's text directly; CtrlHome and CtrlShiftEnd do the same
// for a box of several lines.
enum class KeyChord { CtrlV, CtrlBackspace, Enter, Home, ShiftEnd, Backspace, CtrlHome, CtrlShiftEnd };

class Desktop {
 public:
  virtual ~Desktop() = default;

  // Empty when the backend can drive the desktop; otherwise a short reason, shown in the bet log
  // (for instance: no display, or no synthetic-input extension).
  virtual std::string unavailableReason() = 0;

  // Pointer. A move may take effect a little later (a confinement lifted a moment ago can hold
  // the pointer back): the executor checks with pointer() and moves again.
  virtual Point pointer() = 0;
  virtual void movePointer(Point p) = 0;
  virtual void leftClick() = 0;  // left button down and up where the pointer is

  // The user's input since the previous query of the same thing: true when the button was pressed
  // (or V was pressed while Ctrl was held) at least once since then, even if released again.
  // Presses before the first query (or before a query that follows a long quiet spell) may go
  // unseen: a capture asks once at its start to begin from a clean slate.
  virtual bool newlyPressed(MouseButton b) = 0;
  virtual bool newlyPressedCtrlV() = 0;

  // Windows. `windowAt` gives the window under a screen point as the desktop names it (0 when
  // there is none): on Win32 the control itself (an edit box has a handle of its own), on X11 the
  // top-level client window (toolkits draw their boxes inside one window).
  virtual WindowHandle windowAt(Point p) = 0;
  // Brings `w` to the foreground and gives it the keyboard. Where the desktop does this in stages
  // (the window's program first handles its activation, then the box gets the keyboard), the
  // later stages happen in isActive(), which the executor polls: neither call waits.
  virtual void activate(WindowHandle w) = 0;
  virtual bool isActive(WindowHandle w) = 0;  // it is the foreground window and has the focus
  virtual void restore(WindowHandle w) = 0;   // un-minimise and show
  virtual void minimise(WindowHandle w) = 0;
  virtual std::optional<Rect> windowRect(WindowHandle w) = 0;  // nothing when it has gone
  // Visible top-level windows in z-order, topmost first.
  virtual std::vector<TopWindow> topLevelWindows() = 0;
  // Replaces the window's text directly. False when the desktop has no such call (X11): the
  // caller then types the text in as a user would.
  virtual bool setWindowText(WindowHandle w, const std::string& text) = 0;

  // Keyboard: one chord, pressed and released, to the window that has the focus.
  virtual void sendKeys(KeyChord chord) = 0;

  // Whether the program owning `w` has handled the input sent before. A click can pass through
  // the window manager (which holds it while it decides about focus) and then wait in the
  // program's queue; keys sent meanwhile overtake it and land where the keyboard was before.
  // beginSettle() starts a round trip that the program answers only after its earlier input;
  // settled() says whether the answer came. A desktop whose input cannot be overtaken, or a
  // program that cannot answer, gives true at once: the executor's bounded wait covers the rest.
  // Neither call waits.
  virtual void beginSettle(WindowHandle w) = 0;
  virtual bool settled() = 0;

  // Locks out the user's mouse: the user can no longer move the pointer, while movePointer
  // keeps working. freePointer ends it; both may be called any number of times.
  virtual void lockPointer() = 0;
  virtual void freePointer() = 0;
};

// The handle as the user sees it.
inline std::string HandleText(WindowHandle w) { return std::to_string(w); }

// The desktop of the running system, from the backend linked into the program (output/x11 or
// output/win32). Never null: without a usable desktop it reports why in unavailableReason().
std::unique_ptr<Desktop> CreateSystemDesktop();

}  // namespace lumora
