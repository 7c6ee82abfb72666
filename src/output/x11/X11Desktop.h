#pragma once
// The Desktop port on X11: Xlib + XTest for synthetic input; its parts over one connection
// (X11Connection) read the user's raw input (X11RawInput), settle after a click (X11Settling), query
// windows through EWMH (X11WindowQueries) and confine the pointer (X11PointerBarriers).
#include <memory>
#include <string>
#include <vector>

#include "output/Desktop.h"

namespace lumora {

class X11Desktop final : public Desktop {
 public:
  // Connects to `display` (null: $DISPLAY).
  explicit X11Desktop(const char* display = nullptr);
  ~X11Desktop() override;
  X11Desktop(const X11Desktop&) = delete;
  X11Desktop& operator=(const X11Desktop&) = delete;

  std::string unavailableReason() override { return reason_; }
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
  struct Parts;
  std::unique_ptr<Parts> d_;
  std::string reason_;
};

}  // namespace lumora
