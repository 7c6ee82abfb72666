#pragma once
// Action scripts: what the automation does on the desktop, as data.
//
// An operation never waits. It builds a script (move, click, key chord, clipboard, activate,
// pause ...) and hands it to the one executor, which runs the scripts one after another, each to
// its end, never two at once. Between actions the executor returns to the event loop: a pause is
// a restart of the timer `Timer_jiaoben`, whose tick runs the next actions.
//
// Waits (the pointer holding where it was moved, a window becoming active, a click handled by
// its program) are conditions the executor re-checks every few milliseconds from the same timer,
// each with a bound after which the script goes on as it would have without the wait.
//
// Pauses are counted in passes of the event loop, with the counts of the hand-made sequences
// they reproduce; one pass is worth kMicrosecondsPerPass. One pass of an idle event loop (peek at
// an empty message queue and return) costs about a microsecond on the desktops these counts were
// tuned on, so "500000 passes" after activating a window is half a second and the 80000-pass
// gaps between key chords are 80 ms. "Let pending events run once" is a pause of one pass: the
// executor goes back to the event loop for at least a millisecond.
#include <deque>
#include <string>
#include <vector>

#include "core/Context.h"
#include "core/controls/Fmain.h"
#include "output/Desktop.h"

namespace lumora {

inline constexpr long kMicrosecondsPerPass = 1;
inline constexpr auto kScriptTimer = fmain::Timer_jiaoben;

struct Action {
  enum class Kind {
    Move,            // pointer to `at`
    MoveIntoWindow,  // pointer to (window's left + at.x, window's bottom + at.y), read when it runs
    WaitPointer,     // go on once the pointer holds where it was last moved (at most `passes` polls)
    Click,           // left click where the pointer is
    Settle,          // go on once `window`'s program has handled the input so far and `window`
                     // is active (at most `passes` polls)
    Keys,            // `chord` to the focused window
    Clipboard,       // clear the clipboard, put `text` on it
    Activate,        // bring `window` to the foreground
    Restore,         // un-minimise `window`
    Minimise,        // minimise `window`
    WaitActive,      // go on once `window` is active (at most `passes` polls of 5 ms)
    SetText,         // replace `window`'s text with `text`; where the desktop cannot, it is typed
                     // in, after a click on `at` when `hasPoint` (the box inside the window)
    Pause,           // `passes` passes of the event loop
    Lock,            // lock out the user's mouse
    Free,            // free the pointer
    ArmTimer,        // start the Form timer `timer` at `passes` ms
  };
  Action(Kind k, Point p = {}) : kind(k), at(p) {}
  Kind kind;
  Point at;
  KeyChord chord = KeyChord::CtrlV;
  WindowHandle window = 0;
  std::string text;
  Timer timer;  // ArmTimer
  long passes = 0;
  bool hasPoint = false;
};

// Bounds of the waits, in polls of kPollMilliseconds.
inline constexpr int kPollMilliseconds = 5;
inline constexpr long kWaitActivePolls = 600;  // three seconds
inline constexpr long kWaitPointerPolls = 60;  // 300 ms
inline constexpr long kSettlePolls = 600;      // three seconds

class Script {
 public:
  // A move, and the wait until the pointer holds there.
  Script& move(Point p);
  Script& moveIntoWindow(WindowHandle w, int dxFromLeft, int dyFromBottom);
  Script& click() { return add({Action::Kind::Click}); }
  // Waits until `w`'s program has handled the input sent so far (a click just made) and `w` has
  // the keyboard: what follows a click with keys goes through here.
  Script& settle(WindowHandle w);
  // Waits until `w` is active (a desktop may activate a window a little later), then sends.
  Script& keysTo(WindowHandle w, KeyChord chord);
  Script& clipboard(std::string text);
  Script& activate(WindowHandle w) { return window(Action::Kind::Activate, w); }
  Script& restore(WindowHandle w) { return window(Action::Kind::Restore, w); }
  Script& minimise(WindowHandle w) { return window(Action::Kind::Minimise, w); }
  Script& setText(WindowHandle w, std::string text);
  // The same for a box inside `w` at the screen point `at`, clicked before typing.
  Script& setText(WindowHandle w, std::string text, Point at);
  Script& pause(long passes);
  Script& eventsOnce() { return pause(1); }
  Script& lock() { return add({Action::Kind::Lock}); }
  Script& free() { return add({Action::Kind::Free}); }
  Script& armTimer(Timer timer, int ms);
  Script& append(const Script& other);

  const std::vector<Action>& actions() const { return actions_; }
  std::vector<Action>& actions() { return actions_; }
  bool empty() const { return actions_.empty(); }

 private:
  Script& add(Action a) {
    actions_.push_back(std::move(a));
    return *this;
  }
  Script& window(Action::Kind k, WindowHandle w);
  std::vector<Action> actions_;
};

// The executor's queue: the running script first.
struct ScriptQueue {
  std::deque<Script> scripts;
  std::size_t next = 0;  // next action of the running script
  long polls = 0;        // polls spent in the current wait
  int found = 0;         // times the pointer was found where it was moved, in the current wait
  Point movedTo;         // where the last move sent the pointer
  bool running() const { return !scripts.empty(); }
};

// Milliseconds the executor waits for a pause of `passes` passes (at least 1).
int PauseMilliseconds(long passes);

}  // namespace lumora
