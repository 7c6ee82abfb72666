#pragma once
// The Windows desktop, through user32: the pointer, synthetic clicks and keys, top-level windows
// in z-order, and the user's newly pressed buttons from the asynchronous key state.
#include <chrono>

#include "output/Desktop.h"

namespace lumora {

class Win32Desktop final : public Desktop {
 public:
  Win32Desktop();
  ~Win32Desktop() override;  // a pointer still locked is freed
  Win32Desktop(const Win32Desktop&) = delete;
  Win32Desktop& operator=(const Win32Desktop&) = delete;

  std::string unavailableReason() override;
  Point pointer() override;
  void movePointer(Point p) override;
  void leftClick() override;
  bool newlyPressed(MouseButton b) override;
  bool newlyPressedCtrlV() override;
  WindowHandle windowAt(Point p) override;
  void activate(WindowHandle w) override;
  bool isActive(WindowHandle w) override;
  void restore(WindowHandle w) override;
  void minimise(WindowHandle w) override;
  std::optional<Rect> windowRect(WindowHandle w) override;
  std::vector<TopWindow> topLevelWindows() override;
  bool setWindowText(WindowHandle w, const std::string& text) override;
  void sendKeys(KeyChord chord) override;
  void beginSettle(WindowHandle w) override;
  bool settled() override;
  void lockPointer() override;
  void freePointer() override;

 private:
  // One key of the asynchronous key state, read so that a press between two queries is seen once.
  struct Latch {
    int vk = 0;
    bool down = false;
  };
  bool pressedSince(Latch& latch);
  // Confines the pointer to the one pixel at `p` (the lock follows the program's own moves).
  void confineTo(Point p);
  // Gives the box of a pending activation the keyboard once its program has handled the
  // activation (or it has had long enough).
  void finishFocus(WindowHandle w);
  struct PendingFocus {
    WindowHandle box = 0;
    std::chrono::steady_clock::time_point until{};
  };
  PendingFocus pendingFocus_;

  bool locked_ = false;
  Latch left_, right_, v_;
  Point confinedTo_{};
};

}  // namespace lumora
