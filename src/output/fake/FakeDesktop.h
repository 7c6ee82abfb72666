#pragma once
// A desktop that records every action with the pause before it, and answers queries from what
// a test set up: windows with classes, titles, rectangles and points, and the user's presses.
#include <map>
#include <string>
#include <vector>

#include "core/Ports.h"
#include "output/Desktop.h"
#include "output/OutputState.h"

namespace lumora {

struct Context;

class FakeDesktop final : public Desktop {
 public:
  struct Event {
    long atMs = 0;     // time since the fake was made
    long pauseMs = 0;  // time since the previous event
    std::string what;  // "move 10,20", "click", "keys CtrlV", "activate 5", "clipboard text" ...
  };
  std::vector<Event> events;
  long nowMs = 0;

  // What the desktop looks like.
  std::string reason;  // unavailableReason()
  Point pointerAt{};
  std::vector<TopWindow> windows;  // z-order, topmost first
  std::map<WindowHandle, Rect> rects;
  std::map<WindowHandle, std::string> texts;  // set by setWindowText
  bool directText = true;                     // setWindowText works (Win32) or not (X11)
  WindowHandle active = 0;
  int activationDelayPolls = 0;  // isActive answers false this many times after activate
  int settleDelayPolls = 0;      // settled answers false this many times after beginSettle
  int pointerLagPolls = 0;       // pointer() shows the old place this many times after a move elsewhere
  bool locked = false;
  // Pending user presses, taken by the newlyPressed queries.
  int leftPresses = 0, rightPresses = 0, ctrlVPresses = 0;
  // Window under a point: exact points first, else `windowEverywhere`.
  std::map<std::pair<int, int>, WindowHandle> windowAtPoint;
  WindowHandle windowEverywhere = 0;

  // A clipboard whose changes are recorded among the events.
  Clipboard& clipboard() { return clipboard_; }

  // The events' texts only, and with their pauses ("+500 click").
  std::vector<std::string> whats() const;
  std::vector<std::string> whatsWithPauses() const;
  void clearEvents() { events.clear(); }

  std::string unavailableReason() override { return reason; }
  Point pointer() override;
  void movePointer(Point p) override;
  void leftClick() override { record("click"); }
  bool newlyPressed(MouseButton b) override;
  bool newlyPressedCtrlV() override;
  WindowHandle windowAt(Point p) override;
  void activate(WindowHandle w) override;
  bool isActive(WindowHandle w) override;
  void restore(WindowHandle w) override { record("restore " + HandleText(w)); }
  void minimise(WindowHandle w) override { record("minimise " + HandleText(w)); }
  std::optional<Rect> windowRect(WindowHandle w) override;
  std::vector<TopWindow> topLevelWindows() override { return windows; }
  bool setWindowText(WindowHandle w, const std::string& text) override;
  void sendKeys(KeyChord chord) override;
  void beginSettle(WindowHandle w) override;
  bool settled() override;
  void lockPointer() override;
  void freePointer() override;

  void record(std::string what);

 private:
  class RecordingClip final : public Clipboard {
   public:
    explicit RecordingClip(FakeDesktop& d) : d_(d) {}
    void clear() override { content_.clear(); }
    void setText(const std::string& utf8) override {
      content_ = utf8;
      d_.record("clipboard " + utf8);
    }
    std::string text() override { return content_; }

   private:
    FakeDesktop& d_;
    std::string content_;
  };
  RecordingClip clipboard_{*this};
  long lastEventMs_ = 0;
  int pendingActivationPolls_ = 0;
  int pendingSettlePolls_ = 0;
  int pendingPointerPolls_ = 0;
  Point pointerBefore_{};
};

const char* KeyChordName(KeyChord chord);

// Runs the executor's scripts to their end, moving the fake's clock on by every wait.
void RunScriptsToEnd(Context& cx, OutputState& out, FakeDesktop& desktop);

}  // namespace lumora
