// The Windows desktop backend against real windows of another program (TargetProgram.cpp):
// pasting with the clipboard and Ctrl+V, replacing texts across processes, the z-order walk,
// windows at points, minimise and restore, clicks, the user's presses, and the pointer lock.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <algorithm>
#include <ostream>
#include <thread>

#include "Check.h"
#include "TargetIds.h"
#include "output/win32/Win32Desktop.h"

namespace lumora {
std::ostream& operator<<(std::ostream& os, const Point& p) { return os << p.x << "," << p.y; }
std::ostream& operator<<(std::ostream& os, const Rect& r) {
  return os << r.left << "," << r.top << "-" << r.right << "," << r.bottom;
}
}  // namespace lumora

namespace {

using namespace lumora;
using std::chrono::milliseconds;

template <class Pred>
bool WaitFor(Pred pred, int ms = 3000) {
  auto until = std::chrono::steady_clock::now() + milliseconds(ms);
  while (!pred()) {
    if (std::chrono::steady_clock::now() >= until) return false;
    std::this_thread::sleep_for(milliseconds(5));
  }
  return true;
}

WindowHandle H(HWND h) { return static_cast<WindowHandle>(reinterpret_cast<std::uintptr_t>(h)); }

// A move as the executor makes it: the backend never waits, so the pointer is checked until it
// is found there twice, a poll apart, and moved again while it is not (at most 300 ms).
template <class D>
void MoveTo(D& d, Point p) {
  d.movePointer(p);
  auto until = std::chrono::steady_clock::now() + milliseconds(300);
  for (int found = 0; found < 2 && std::chrono::steady_clock::now() < until;) {
    if (d.pointer() == p) {
      ++found;
    } else {
      found = 0;
      d.movePointer(p);
    }
    std::this_thread::sleep_for(milliseconds(5));
  }
}

std::string Utf8(const std::wstring& w) {
  if (w.empty()) return {};
  int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), out.data(), n, nullptr, nullptr);
  return out;
}

std::wstring Wide(const std::string& s) {
  if (s.empty()) return {};
  int n = MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
  std::wstring out(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), out.data(), n);
  return out;
}

// A window's text as the other program holds it (the message crosses the process boundary).
std::string TextOf(HWND h) {
  wchar_t buf[1024] = {};
  DWORD_PTR n = 0;
  SendMessageTimeoutW(h, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(buf), SMTO_ABORTIFHUNG, 2000, &n);
  return Utf8(std::wstring(buf, n));
}

void SetTextDirect(HWND h, const std::string& text) {
  std::wstring w = Wide(text);
  DWORD_PTR r = 0;
  SendMessageTimeoutW(h, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(w.c_str()), SMTO_ABORTIFHUNG, 2000, &r);
}

bool PutOnClipboard(const std::string& text) {
  std::wstring w = Wide(text);
  for (int i = 0; i < 50 && !OpenClipboard(nullptr); ++i) std::this_thread::sleep_for(milliseconds(10));
  EmptyClipboard();
  HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, (w.size() + 1) * sizeof(wchar_t));
  auto* p = static_cast<wchar_t*>(GlobalLock(mem));
  std::copy(w.c_str(), w.c_str() + w.size() + 1, p);
  GlobalUnlock(mem);
  bool ok = SetClipboardData(CF_UNICODETEXT, mem) != nullptr;
  CloseClipboard();
  return ok;
}

Point Centre(HWND h) {
  RECT r{};
  GetWindowRect(h, &r);
  return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

Point CursorNow() {
  POINT p{};
  GetCursorPos(&p);
  return {p.x, p.y};
}

// The user's own hand on the mouse: a move that does not come through the backend.
void UserMoves(Point p) { SetCursorPos(p.x, p.y); }

// The user's moves reach the point and stay there (a lifted confinement can take a moment to end).
bool UserMovesArrive(Point p) {
  auto until = std::chrono::steady_clock::now() + milliseconds(2000);
  int stayed = 0;
  while (std::chrono::steady_clock::now() < until) {
    if (CursorNow() == p) {
      if (++stayed >= 20) return true;
    } else {
      stayed = 0;
      UserMoves(p);
    }
    std::this_thread::sleep_for(milliseconds(5));
  }
  return false;
}

void UserNudges(int dx, int dy) { mouse_event(MOUSEEVENTF_MOVE, static_cast<DWORD>(dx), static_cast<DWORD>(dy), 0, 0); }

struct Target {
  PROCESS_INFORMATION process{};
  HWND client = nullptr, numbers = nullptr, multiple = nullptr, button = nullptr;
  HWND tool = nullptr, toolBox = nullptr;
  HWND chatA = nullptr, chatAB = nullptr, chatQQ = nullptr, chatGroup = nullptr, hidden = nullptr;

  HWND chat(const wchar_t* title) { return FindWindowW(L"TXGuiFoundation", title); }

  bool start() {
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring path(self);
    path = path.substr(0, path.find_last_of(L"\\/") + 1) + L"win32_target.exe";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    if (!CreateProcessW(path.c_str(), nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &process)) {
      std::printf("cannot start %ls (error %lu)\n", path.c_str(), GetLastError());
      return false;
    }
    WaitForInputIdle(process.hProcess, 10000);
    bool all = WaitFor(
        [&] {
          client = FindWindowW(L"LumoraTestClient", nullptr);
          tool = FindWindowA("LumoraTestTool", nullptr);
          chatA = chat(L"A");
          chatAB = chat(L"AB");
          chatQQ = chat(L"QQ");
          chatGroup = chat(L"彩票交流群");
          hidden = chat(L"TXMenuWindow");
          return client && tool && chatA && chatAB && chatQQ && chatGroup && hidden;
        },
        10000);
    if (!all) return false;
    numbers = GetDlgItem(client, target_ids::kNumbersBox);
    multiple = GetDlgItem(client, target_ids::kMultipleBox);
    button = GetDlgItem(client, target_ids::kButton);
    toolBox = GetDlgItem(tool, target_ids::kToolBox);
    return numbers && multiple && button && toolBox;
  }

  void stop() {
    if (!process.hProcess) return;
    TerminateProcess(process.hProcess, 0);
    WaitForSingleObject(process.hProcess, 5000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
};

Target t;

// Brings a box of the target to the front with the keyboard, as the automation does.
bool Focus(Win32Desktop& d, HWND box) {
  d.restore(H(box));
  d.activate(H(box));
  return WaitFor([&] { return d.isActive(H(box)); });
}

// A handle that named a window once and names none now.
WindowHandle GoneHandle() {
  HWND w = CreateWindowExW(0, L"STATIC", L"gone", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  DestroyWindow(w);
  return H(w);
}

int IndexOf(const std::vector<TopWindow>& list, HWND h) {
  for (std::size_t i = 0; i < list.size(); ++i)
    if (list[i].handle == H(h)) return static_cast<int>(i);
  return -1;
}

void DesktopIsUsable(Win32Desktop& d) {
  CHECK_EQ(d.unavailableReason(), std::string());
  // The ANSI case below needs the Chinese code page the test runs under.
  CHECK_EQ(GetACP(), 936u);
}

void PointerMoves(Win32Desktop& d) {
  for (Point p : {Point{300, 400}, Point{0, 0}, Point{1279, 1023}, Point{640, 512}}) {
    MoveTo(d, p);
    CHECK_EQ(d.pointer(), p);
    CHECK_EQ(CursorNow(), p);
  }
}

void WindowsAtPointsAndRectangles(Win32Desktop& d) {
  // A box has a handle of its own; between the boxes the point belongs to the client window.
  CHECK_EQ(d.windowAt(Centre(t.numbers)), H(t.numbers));
  CHECK_EQ(d.windowAt(Centre(t.multiple)), H(t.multiple));
  CHECK_EQ(d.windowAt(Centre(t.button)), H(t.button));
  RECT box{};
  GetWindowRect(t.multiple, &box);
  CHECK_EQ(d.windowAt({box.right + 40, (box.top + box.bottom) / 2}), H(t.client));
  CHECK_EQ(d.windowAt(Centre(t.chatAB)), H(GetDlgItem(t.chatAB, target_ids::kChatBox)));

  RECT r{};
  GetWindowRect(t.client, &r);
  std::optional<Rect> got = d.windowRect(H(t.client));
  CHECK(got.has_value());
  if (got) CHECK_EQ(*got, (Rect{r.left, r.top, r.right, r.bottom}));
  CHECK(got && got->right - got->left == 420 && got->bottom - got->top == 260);
  CHECK(!d.windowRect(GoneHandle()).has_value());
  CHECK(!d.windowRect(0).has_value());
}

HWND VisibleMenu() {
  HWND menu = FindWindowW(L"#32768", nullptr);
  return menu && IsWindowVisible(menu) ? menu : nullptr;
}

void ThroughAContextMenu(Win32Desktop& d) {
  // A right click fixes a capture, and on a box it also opens the box's context menu right under
  // the pointer: the window there is still the box.
  const Point at = Centre(t.numbers);
  MoveTo(d, at);
  mouse_event(MOUSEEVENTF_RIGHTDOWN, 0, 0, 0, 0);
  mouse_event(MOUSEEVENTF_RIGHTUP, 0, 0, 0, 0);
  CHECK(WaitFor([] { return VisibleMenu() != nullptr; }));
  const Point inside{at.x + 4, at.y + 4};
  CHECK(VisibleMenu() && WindowFromPoint(POINT{inside.x, inside.y}) == VisibleMenu());  // the case is set up
  CHECK_EQ(d.windowAt(inside), H(t.numbers));
  keybd_event(VK_ESCAPE, 0, 0, 0);
  keybd_event(VK_ESCAPE, 0, KEYEVENTF_KEYUP, 0);
  CHECK(WaitFor([] { return VisibleMenu() == nullptr; }));
  CHECK_EQ(d.windowAt(inside), H(t.numbers));
}

void PasteIntoTheNumbersBox(Win32Desktop& d) {
  const std::string text = "测试功能，如果看到文字说明成功。0123456789";
  SetTextDirect(t.numbers, "");
  CHECK(PutOnClipboard(text));
  CHECK(Focus(d, t.numbers));
  CHECK(!d.isActive(H(t.multiple)));
  MoveTo(d, Centre(t.numbers));
  d.leftClick();
  d.sendKeys(KeyChord::CtrlV);
  CHECK(WaitFor([&] { return TextOf(t.numbers) == text; }));
  CHECK_EQ(TextOf(t.numbers), text);

  // Replacing a box's text by keys, where a desktop cannot set it directly.
  SetTextDirect(t.numbers, "old text 000 111");
  CHECK(PutOnClipboard("012 345 678"));
  CHECK(Focus(d, t.numbers));
  d.sendKeys(KeyChord::Home);
  d.sendKeys(KeyChord::ShiftEnd);
  d.sendKeys(KeyChord::Backspace);
  CHECK(WaitFor([&] { return TextOf(t.numbers).empty(); }));
  d.sendKeys(KeyChord::CtrlV);
  CHECK(WaitFor([&] { return TextOf(t.numbers) == "012 345 678"; }));
  CHECK_EQ(TextOf(t.numbers), std::string("012 345 678"));
}

void TypeTheMultiple(Win32Desktop& d) {
  // The click moves the keyboard from the numbers box to the multiple box; eight Ctrl+Backspace
  // delete its words; the paste puts the multiple in.
  SetTextDirect(t.multiple, "12 34 56");
  CHECK(Focus(d, t.numbers));
  MoveTo(d, Centre(t.multiple));
  d.leftClick();
  d.leftClick();
  CHECK(WaitFor([&] { return d.isActive(H(t.multiple)); }));
  for (int i = 0; i < 8; ++i) d.sendKeys(KeyChord::CtrlBackspace);
  CHECK(WaitFor([&] { return TextOf(t.multiple).empty(); }));
  CHECK(PutOnClipboard("5"));
  d.sendKeys(KeyChord::CtrlV);
  CHECK(WaitFor([&] { return TextOf(t.multiple) == "5"; }));
  CHECK_EQ(TextOf(t.multiple), std::string("5"));
}

void SetTextAcrossProcesses(Win32Desktop& d) {
  // An ANSI window gets the text in the system code page: GBK bytes for the Chinese.
  CHECK(d.setWindowText(H(t.toolBox), "012 345 678 测试"));
  CHECK_EQ(TextOf(t.tool), std::string("bytes:303132203334352036373820B2E2CAD4"));
  CHECK(d.setWindowText(H(t.toolBox), ""));
  CHECK_EQ(TextOf(t.tool), std::string("bytes:"));
  // A Unicode window gets it as it is.
  const std::string pool = "000 001 002 投注";
  CHECK(d.setWindowText(H(t.numbers), pool));
  CHECK_EQ(TextOf(t.numbers), pool);
  CHECK(d.setWindowText(H(t.numbers), "2.5"));
  CHECK_EQ(TextOf(t.numbers), std::string("2.5"));
  // A window that has gone: nothing happens, and there is nothing to type into instead.
  CHECK(d.setWindowText(GoneHandle(), "x"));
  CHECK(d.setWindowText(0, "x"));
}

void TopLevelWindowsInZOrder(Win32Desktop& d) {
  d.activate(H(t.chatA));
  CHECK(WaitFor([&] { return d.isActive(H(t.chatA)); }));
  std::vector<TopWindow> list = d.topLevelWindows();
  int a = IndexOf(list, t.chatA), ab = IndexOf(list, t.chatAB), qq = IndexOf(list, t.chatQQ);
  int group = IndexOf(list, t.chatGroup);
  CHECK(a >= 0 && ab >= 0 && qq >= 0 && group >= 0);
  if (a < 0 || ab < 0 || qq < 0 || group < 0) return;
  if (a != 0)
    for (const TopWindow& w : list)
      std::printf("  %s %s \"%s\"\n", HandleText(w.handle).c_str(), w.className.c_str(), w.title.c_str());
  CHECK_EQ(a, 0);  // the active window is on top
  CHECK(a < ab);
  CHECK_EQ(list[a].className, std::string("TXGuiFoundation"));
  CHECK_EQ(list[ab].className, std::string("TXGuiFoundation"));
  CHECK_EQ(list[a].title, std::string("A"));
  CHECK_EQ(list[ab].title, std::string("AB"));
  CHECK_EQ(list[qq].title, std::string("QQ"));
  CHECK_EQ(list[group].title, std::string("彩票交流群"));
  CHECK_EQ(IndexOf(list, t.hidden), -1);  // hidden windows are not listed
  int client = IndexOf(list, t.client);
  CHECK(client >= 0 && list[client].className == "LumoraTestClient" && list[client].title == "投注客户端");
  // Children are not top-level windows.
  CHECK_EQ(IndexOf(list, t.numbers), -1);

  d.activate(H(t.chatAB));
  CHECK(WaitFor([&] { return d.isActive(H(t.chatAB)); }));
  list = d.topLevelWindows();
  CHECK_EQ(IndexOf(list, t.chatAB), 0);
  CHECK(IndexOf(list, t.chatAB) < IndexOf(list, t.chatA));
}

void MinimiseAndRestore(Win32Desktop& d) {
  d.minimise(H(t.chatA));
  CHECK(WaitFor([&] { return IsIconic(t.chatA) != 0; }));
  d.restore(H(t.chatA));
  CHECK(WaitFor([&] { return !IsIconic(t.chatA) && IsWindowVisible(t.chatA); }));
  RECT r{};
  GetWindowRect(t.chatA, &r);
  CHECK_EQ((Rect{r.left, r.top, r.right, r.bottom}), (Rect{40, 360, 340, 560}));

  // Handles of boxes act on their window.
  HWND box = GetDlgItem(t.chatAB, target_ids::kChatBox);
  d.minimise(H(box));
  CHECK(WaitFor([&] { return IsIconic(t.chatAB) != 0; }));
  d.restore(H(box));
  CHECK(WaitFor([&] { return !IsIconic(t.chatAB); }));

  // A maximised window stays maximised: restoring it would move every point recorded on it.
  ShowWindow(t.chatAB, SW_MAXIMIZE);
  CHECK(WaitFor([&] { return IsZoomed(t.chatAB) != 0; }));
  d.restore(H(t.chatAB));
  CHECK(IsZoomed(t.chatAB) != 0);
  d.minimise(H(t.chatAB));
  CHECK(WaitFor([&] { return IsIconic(t.chatAB) != 0; }));
  d.restore(H(t.chatAB));
  CHECK(WaitFor([&] { return !IsIconic(t.chatAB) && IsZoomed(t.chatAB); }));
  ShowWindow(t.chatAB, SW_RESTORE);
  CHECK(WaitFor([&] { return !IsZoomed(t.chatAB); }));

  // Windows that have gone are left alone.
  d.minimise(GoneHandle());
  d.restore(GoneHandle());
  d.activate(GoneHandle());
  CHECK(!d.isActive(GoneHandle()));
  CHECK(!d.isActive(0));
}

// The button's caption after one more click than it has counted so far.
std::string OneMoreClick() {
  std::string text = TextOf(t.button);
  int before = text.rfind("clicks:", 0) == 0 ? std::atoi(text.c_str() + 7) : -1;
  return "clicks:" + std::to_string(before + 1);
}

void ClickAButton(Win32Desktop& d) {
  std::string want = OneMoreClick();
  d.activate(H(t.client));
  MoveTo(d, Centre(t.button));
  d.leftClick();
  CHECK(WaitFor([&] { return TextOf(t.button) == want; }));
  CHECK_EQ(TextOf(t.button), want);
}

void UsersNewPresses(Win32Desktop& d) {
  // Presses on the bare screen, away from every window; the presses are over before the queries.
  MoveTo(d, {1200, 1000});
  d.newlyPressed(MouseButton::Left);
  d.newlyPressed(MouseButton::Right);
  d.newlyPressedCtrlV();

  mouse_event(MOUSEEVENTF_RIGHTDOWN, 0, 0, 0, 0);
  mouse_event(MOUSEEVENTF_RIGHTUP, 0, 0, 0, 0);
  std::this_thread::sleep_for(milliseconds(50));
  CHECK(d.newlyPressed(MouseButton::Right));
  CHECK(!d.newlyPressed(MouseButton::Right));
  CHECK(!d.newlyPressed(MouseButton::Left));

  mouse_event(MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0);
  mouse_event(MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
  std::this_thread::sleep_for(milliseconds(50));
  CHECK(d.newlyPressed(MouseButton::Left));
  CHECK(!d.newlyPressed(MouseButton::Left));
  CHECK(!d.newlyPressed(MouseButton::Right));

  // A button held down counts once.
  mouse_event(MOUSEEVENTF_RIGHTDOWN, 0, 0, 0, 0);
  std::this_thread::sleep_for(milliseconds(50));
  CHECK(d.newlyPressed(MouseButton::Right));
  CHECK(!d.newlyPressed(MouseButton::Right));
  mouse_event(MOUSEEVENTF_RIGHTUP, 0, 0, 0, 0);
  std::this_thread::sleep_for(milliseconds(50));
  CHECK(!d.newlyPressed(MouseButton::Right));

  // Ctrl+V, and V alone, typed into a chat box of the test program.
  CHECK(Focus(d, GetDlgItem(t.chatQQ, target_ids::kChatBox)));
  auto key = [](BYTE vk, bool up) {
    keybd_event(vk, static_cast<BYTE>(MapVirtualKeyW(vk, 0)), up ? KEYEVENTF_KEYUP : 0, 0);
  };
  key(VK_CONTROL, false);
  key('V', false);
  key('V', true);
  key(VK_CONTROL, true);
  std::this_thread::sleep_for(milliseconds(50));
  CHECK(d.newlyPressedCtrlV());
  CHECK(!d.newlyPressedCtrlV());
  key('V', false);
  key('V', true);
  std::this_thread::sleep_for(milliseconds(50));
  CHECK(!d.newlyPressedCtrlV());
}

void LockPointer(Win32Desktop& d) {
  const Point p{600, 600};
  MoveTo(d, p);
  d.lockPointer();
  // The user's moves are held at the point...
  UserMoves({700, 700});
  CHECK_EQ(CursorNow(), p);
  UserNudges(50, 50);
  std::this_thread::sleep_for(milliseconds(50));
  CHECK_EQ(CursorNow(), p);

  // ...while the program's own moves go where they should, and the lock goes with them.
  const Point q{800, 500};
  MoveTo(d, q);
  CHECK_EQ(d.pointer(), q);
  UserMoves({100, 100});
  CHECK_EQ(CursorNow(), q);

  // Clicks and keys work while locked, and a change of foreground window keeps the lock.
  std::string want = OneMoreClick();
  d.activate(H(t.client));
  MoveTo(d, Centre(t.button));
  d.leftClick();
  CHECK(WaitFor([&] { return TextOf(t.button) == want; }));
  // Keys sent straight after a move (which moves the confinement) arrive.
  SetTextDirect(t.numbers, "");
  CHECK(PutOnClipboard("000 111 222"));
  CHECK(Focus(d, t.numbers));
  MoveTo(d, Centre(t.numbers));
  d.sendKeys(KeyChord::CtrlV);
  CHECK(WaitFor([&] { return TextOf(t.numbers) == "000 111 222"; }));
  CHECK_EQ(CursorNow(), Centre(t.numbers));
  MoveTo(d, Centre(t.button));
  d.activate(H(t.chatGroup));
  CHECK(WaitFor([&] { return d.isActive(H(t.chatGroup)); }));
  UserMoves({100, 100});
  CHECK_EQ(CursorNow(), Centre(t.button));

  d.lockPointer();  // locking again changes nothing
  UserMoves({100, 100});
  CHECK_EQ(CursorNow(), Centre(t.button));

  // Freed, the user's moves arrive again (the release can take a moment).
  d.freePointer();
  CHECK(UserMovesArrive({100, 100}));
  d.freePointer();  // freeing again changes nothing
  CHECK(UserMovesArrive({900, 900}));

  // A backend that ends while locked frees the pointer.
  {
    Win32Desktop other;
    MoveTo(other, {300, 300});
    other.lockPointer();
    UserMoves({400, 400});
    CHECK_EQ(CursorNow(), (Point{300, 300}));
  }
  CHECK(UserMovesArrive({400, 400}));
}

}  // namespace

int main() {
  _setmode(_fileno(stdout), _O_BINARY);
  if (!t.start()) {
    std::printf("the test program's windows did not appear\n0 passed, 1 failed\n");
    t.stop();
    return 1;
  }
  Win32Desktop d;
  int rc = check::RunAll({
      {"desktop is usable", [&] { DesktopIsUsable(d); }},
      {"pointer moves", [&] { PointerMoves(d); }},
      {"windows at points and rectangles", [&] { WindowsAtPointsAndRectangles(d); }},
      {"through a context menu", [&] { ThroughAContextMenu(d); }},
      {"paste into the numbers box", [&] { PasteIntoTheNumbersBox(d); }},
      {"type the multiple", [&] { TypeTheMultiple(d); }},
      {"set text across processes", [&] { SetTextAcrossProcesses(d); }},
      {"top-level windows in z-order", [&] { TopLevelWindowsInZOrder(d); }},
      {"minimise and restore", [&] { MinimiseAndRestore(d); }},
      {"click a button", [&] { ClickAButton(d); }},
      {"the user's new presses", [&] { UsersNewPresses(d); }},
      {"lock the pointer", [&] { LockPointer(d); }},
  });
  d.freePointer();
  t.stop();
  return rc;
}
