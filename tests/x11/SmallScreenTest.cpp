// The main window on a small screen with a panel, under a real window manager: its first size,
// frame included, lies inside the screen's available area, so its bottom row and its scroll bar
// can be reached. Run on a display of its own (run-under-xvfb.sh, LUMORA_XVFB_SCREEN sets the
// screen's size).
#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>
#include <filesystem>

#include "settings/SettingsTexts.h"
#include "ui/Program.h"
#include "ui/Widgets.h"

// Last: Xlib's macros (None, Bool, ...) would clash with the headers above.
#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace lumora {
namespace {

constexpr int kPanelHeight = 36;

// A dock along the bottom edge that reserves its height, as a desktop panel or task bar does.
class Panel {
 public:
  Panel() {
    display_ = XOpenDisplay(nullptr);
    if (!display_) return;
    const int screen = DefaultScreen(display_);
    const int width = DisplayWidth(display_, screen), height = DisplayHeight(display_, screen);
    window_ = XCreateSimpleWindow(display_, RootWindow(display_, screen), 0, height - kPanelHeight, width, kPanelHeight,
                                  0, 0, 0x303030);
    Atom type = XInternAtom(display_, "_NET_WM_WINDOW_TYPE", False);
    Atom dock = XInternAtom(display_, "_NET_WM_WINDOW_TYPE_DOCK", False);
    XChangeProperty(display_, window_, type, XA_ATOM, 32, PropModeReplace, reinterpret_cast<unsigned char*>(&dock), 1);
    // left, right, top, bottom, then the start and end of each edge's span.
    long partial[12] = {0, 0, 0, kPanelHeight, 0, 0, 0, 0, 0, 0, 0, width - 1};
    XChangeProperty(display_, window_, XInternAtom(display_, "_NET_WM_STRUT_PARTIAL", False), XA_CARDINAL, 32,
                    PropModeReplace, reinterpret_cast<unsigned char*>(partial), 12);
    long strut[4] = {0, 0, 0, kPanelHeight};
    XChangeProperty(display_, window_, XInternAtom(display_, "_NET_WM_STRUT", False), XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(strut), 4);
    XMapWindow(display_, window_);
    XFlush(display_);
  }
  ~Panel() {
    if (display_) XCloseDisplay(display_);
  }
  bool shown() const { return display_ != nullptr; }
  // The work area the window manager announces (_NET_WORKAREA of the first desktop): its height.
  long workAreaHeight() const {
    Atom type;
    int format;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    long height = -1;
    if (XGetWindowProperty(display_, DefaultRootWindow(display_), XInternAtom(display_, "_NET_WORKAREA", False), 0, 4,
                           False, XA_CARDINAL, &type, &format, &count, &after, &data) == Success &&
        data && count >= 4)
      height = reinterpret_cast<long*>(data)[3];
    if (data) XFree(data);
    return height;
  }

 private:
  Display* display_ = nullptr;
  ::Window window_ = 0;
};

QRect Global(const QWidget* w) { return QRect(w->mapToGlobal(QPoint(0, 0)), w->size()); }

TEST(SmallScreen, TheFirstSizeFitsTheAvailableAreaFrameIncluded) {
  QScreen* screen = QGuiApplication::primaryScreen();
  const QRect whole = screen->geometry();
  Panel panel;
  ASSERT_TRUE(panel.shown());
  // The window manager takes the panel's strut off the work area (on a loaded machine it may still
  // be starting), and Qt learns it.
  ASSERT_TRUE(QTest::qWaitFor([&] { return panel.workAreaHeight() == whole.height() - kPanelHeight; }, 30000))
      << "work area " << panel.workAreaHeight() << " of " << whole.height();
  ASSERT_TRUE(
      QTest::qWaitFor([&] { return screen->availableGeometry().height() == whole.height() - kPanelHeight; }, 10000))
      << "available " << screen->availableGeometry().height() << " of " << whole.height();
  const QRect area = screen->availableGeometry();

  QTemporaryDir dir;
  const std::filesystem::path data = std::filesystem::path(dir.path().toStdString()) / "data";
  std::filesystem::copy(qEnvironmentVariable("LUMORA_DATA").toStdString(), data,
                        std::filesystem::copy_options::recursive);
  Program program({"http://127.0.0.1:9/feed", data.string(), QApplication::applicationFilePath().toStdString()});
  ASSERT_TRUE(program.start());
  MainWindow& window = program.window();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  // Until the window manager's frame is there and the window has settled inside it.
  ASSERT_TRUE(QTest::qWaitFor([&] { return !window.windowHandle()->frameMargins().isNull(); }, 5000));
  QTest::qWait(1000);

  const QRect frame = window.frameGeometry();
  EXPECT_TRUE(area.contains(frame)) << "frame " << frame.x() << "," << frame.y() << " " << frame.width() << "x"
                                    << frame.height() << " in the available " << area.x() << "," << area.y() << " "
                                    << area.width() << "x" << area.height();
  // The window fills the height it has (its usual size is taller than these screens).
  EXPECT_GE(frame.height(), area.height() - 2);
  // The pages scroll where they are larger than the window, and the scroll bar is on the screen.
  auto* scroller = window.findChild<QScrollArea*>();
  ASSERT_NE(scroller, nullptr);
  if (scroller->horizontalScrollBar()->isVisible()) {
    EXPECT_TRUE(area.contains(Global(scroller->horizontalScrollBar())));
  }
  // The bottom row of the main controls: "缩<<" and "伸>>".
  for (Button control : {settings_texts::kCollapseButton, settings_texts::kWidenButton}) {
    auto* button = window.findChild<QPushButton*>(ObjectName(control));
    ASSERT_NE(button, nullptr) << control.name();
    EXPECT_TRUE(area.contains(Global(button))) << control.name();
  }
}

}  // namespace
}  // namespace lumora

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
