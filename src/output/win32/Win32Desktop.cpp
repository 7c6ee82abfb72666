#include "output/win32/Win32Desktop.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <chrono>
#include <cwchar>

#include "output/win32/Texts.h"

namespace lumora {

namespace {

// How long an activated window's program may take to handle its activation before its box is
// given the keyboard anyway.
constexpr auto kActivationWait = std::chrono::milliseconds(200);
// How long WM_SETTEXT may wait for the receiving program before giving up on it.
constexpr UINT kSetTextTimeoutMs = 3000;
// A guard against a z-order that keeps changing while it is walked.
constexpr int kMaxTopWindows = 20000;

HWND ToHwnd(WindowHandle w) { return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(w)); }
WindowHandle FromHwnd(HWND h) { return static_cast<WindowHandle>(reinterpret_cast<std::uintptr_t>(h)); }

// A window that exists; null for 0 and for handles of windows that have gone.
HWND Existing(WindowHandle w) {
  HWND h = ToHwnd(w);
  return (h && IsWindow(h)) ? h : nullptr;
}

HWND RootOf(HWND h) {
  HWND root = GetAncestor(h, GA_ROOT);
  return root ? root : h;
}

std::wstring Widen(const std::string& utf8) {
  if (utf8.empty()) return {};
  int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring out(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
  return out;
}

std::string Narrow(const wchar_t* text, int length) {
  if (length <= 0) return {};
  int n = WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, length, out.data(), n, nullptr, nullptr);
  return out;
}

// Text in the system's ANSI code page -> UTF-8.
std::string FromAnsi(const char* text, int length) {
  if (length <= 0) return {};
  int n = MultiByteToWideChar(CP_ACP, 0, text, length, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text, length, wide.data(), n);
  return Narrow(wide.data(), n);
}

bool ButtonsSwapped() { return GetSystemMetrics(SM_SWAPBUTTON) != 0; }

// Keys of the navigation block need the extended flag, or they arrive as the keypad's keys.
bool IsExtendedKey(WORD vk) { return vk == VK_HOME || vk == VK_END; }

INPUT Key(WORD vk, bool up) {
  INPUT in{};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = vk;
  in.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
  in.ki.dwFlags = (up ? KEYEVENTF_KEYUP : 0) | (IsExtendedKey(vk) ? KEYEVENTF_EXTENDEDKEY : 0);
  return in;
}

// modifier down, key down, modifier up, key up: the order the automation's chords are made in.
std::vector<INPUT> Chord(WORD modifier, WORD vk) {
  return {Key(modifier, false), Key(vk, false), Key(modifier, true), Key(vk, true)};
}

std::vector<INPUT> Tap(WORD vk) { return {Key(vk, false), Key(vk, true)}; }

}  // namespace

Win32Desktop::Win32Desktop() {
  // Reading every latch once starts "newly pressed" at the backend's creation.
  newlyPressed(MouseButton::Left);
  newlyPressed(MouseButton::Right);
  newlyPressedCtrlV();
}

Win32Desktop::~Win32Desktop() {
  if (locked_) freePointer();
}

std::string Win32Desktop::unavailableReason() {
  if (GetSystemMetrics(SM_CXSCREEN) <= 0 || GetSystemMetrics(SM_CYSCREEN) <= 0) return win32_text::kNoScreen;
  // Synthetic input goes nowhere while the workstation is locked or the session is not shown.
  HDESK input = OpenInputDesktop(0, FALSE, DESKTOP_READOBJECTS);
  if (!input) return win32_text::kNoInputDesktop;
  CloseDesktop(input);
  return {};
}

Point Win32Desktop::pointer() {
  POINT p{};
  if (!GetCursorPos(&p)) return {};
  return {p.x, p.y};
}

void Win32Desktop::movePointer(Point p) {
  // A confinement lifted a moment ago (by us or another program) can hold the pointer back; the
  // executor finds out with pointer() and moves again.
  if (locked_) confineTo(p);
  SetCursorPos(p.x, p.y);
}

void Win32Desktop::leftClick() {
  // Synthetic buttons are physical buttons: with swapped buttons the user's left is the right one.
  bool swapped = ButtonsSwapped();
  mouse_event(swapped ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0);
  mouse_event(swapped ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
}

bool Win32Desktop::pressedSince(Latch& latch) {
  SHORT state = GetAsyncKeyState(latch.vk);
  bool down = (state & 0x8000) != 0;
  // The low bit says "pressed since the last query", but any program's query can take it first;
  // a button found down that was up at our last query counts as well.
  bool pressed = (state & 1) != 0 || (down && !latch.down);
  latch.down = down;
  return pressed;
}

bool Win32Desktop::newlyPressed(MouseButton b) {
  // The key state names physical buttons; the user's left button is the right one when swapped.
  bool physicalLeft = (b == MouseButton::Left) != ButtonsSwapped();
  Latch& latch = b == MouseButton::Left ? left_ : right_;
  latch.vk = physicalLeft ? VK_LBUTTON : VK_RBUTTON;
  return pressedSince(latch);
}

bool Win32Desktop::newlyPressedCtrlV() {
  v_.vk = 'V';
  bool v = pressedSince(v_);
  // Either Ctrl key, down now or pressed since (some desktops keep the "since" bit only per side).
  bool ctrl = false;
  for (int vk : {VK_CONTROL, VK_LCONTROL, VK_RCONTROL}) ctrl = (GetAsyncKeyState(vk) & 0x8001) != 0 || ctrl;
  return v && ctrl;
}

namespace {

// Windows that come and go over what the user points at: a context menu opened by the very right
// click that fixes a capture, a tooltip. They are never what the user means to point at.
bool IsPassingPopup(HWND h) {
  wchar_t cls[32] = {};
  if (!GetClassNameW(h, cls, 32)) return false;
  return wcscmp(cls, L"#32768") == 0 || wcscmp(cls, L"tooltips_class32") == 0 || wcscmp(cls, L"SysShadow") == 0;
}

// The deepest visible child of `top` under the screen point `at`.
HWND DeepestChildAt(HWND top, POINT at) {
  HWND current = top;
  for (int depth = 0; depth < 64; ++depth) {
    POINT local = at;
    ScreenToClient(current, &local);
    HWND child = ChildWindowFromPointEx(current, local, CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT);
    if (!child || child == current) break;
    current = child;
  }
  return current;
}

}  // namespace

WindowHandle Win32Desktop::windowAt(Point p) {
  const POINT at{p.x, p.y};
  HWND found = WindowFromPoint(at);
  if (!found || !IsPassingPopup(RootOf(found))) return FromHwnd(found);
  // Look beneath the popup, down the z-order, for the window the user points at.
  int guard = 0;
  for (HWND top = GetWindow(RootOf(found), GW_HWNDNEXT); top && guard < kMaxTopWindows;
       top = GetWindow(top, GW_HWNDNEXT), ++guard) {
    RECT r{};
    if (!IsWindowVisible(top) || IsPassingPopup(top) || !GetWindowRect(top, &r) || !PtInRect(&r, at)) continue;
    return FromHwnd(DeepestChildAt(top, at));
  }
  return 0;
}

void Win32Desktop::activate(WindowHandle w) {
  HWND h = Existing(w);
  if (!h) return;
  HWND root = RootOf(h);
  if (GetForegroundWindow() != root && !SetForegroundWindow(root)) {
    // A program in the background may not take the foreground on its own; sharing the input
    // state of the foreground window's thread for the call lifts that.
    DWORD self = GetCurrentThreadId();
    DWORD front = GetWindowThreadProcessId(GetForegroundWindow(), nullptr);
    bool attached = front && front != self && AttachThreadInput(self, front, TRUE);
    SetForegroundWindow(root);
    if (attached) AttachThreadInput(self, front, FALSE);
  }
  BringWindowToTop(root);
  // A box inside the window gets the keyboard, as a click on it would, once the window's own
  // program has handled its activation (it puts the keyboard where it likes meanwhile, which would
  // undo ours): isActive() finishes that, as it is polled.
  pendingFocus_ = {};
  if (h != root) {
    pendingFocus_ = {w, std::chrono::steady_clock::now() + kActivationWait};
    finishFocus(w);
  }
  // A change of foreground window may end a confinement: put it back where it was.
  if (locked_) {
    RECT now{};
    GetClipCursor(&now);
    if (now.left != confinedTo_.x || now.top != confinedTo_.y || now.right != confinedTo_.x + 1 ||
        now.bottom != confinedTo_.y + 1)
      confineTo(confinedTo_);
  }
}

void Win32Desktop::finishFocus(WindowHandle w) {
  HWND h = Existing(w);
  if (!h || pendingFocus_.box != w) return;
  HWND root = RootOf(h);
  DWORD owner = GetWindowThreadProcessId(h, nullptr);
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  bool handled = !GetGUIThreadInfo(owner, &info) || info.hwndActive == root;
  if (!handled && std::chrono::steady_clock::now() < pendingFocus_.until) return;
  pendingFocus_ = {};
  DWORD self = GetCurrentThreadId();
  bool attached = owner && owner != self && AttachThreadInput(self, owner, TRUE);
  SetFocus(h);
  if (attached) AttachThreadInput(self, owner, FALSE);
}

bool Win32Desktop::isActive(WindowHandle w) {
  HWND h = Existing(w);
  if (!h) return false;
  finishFocus(w);
  HWND root = RootOf(h);
  HWND front = GetForegroundWindow();
  if (front != root) return false;
  if (h == root) return true;  // whichever of its boxes has the keyboard is its own
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(root, nullptr), &info)) return false;
  return info.hwndFocus == h || (info.hwndFocus && IsChild(h, info.hwndFocus));
}

void Win32Desktop::restore(WindowHandle w) {
  HWND h = Existing(w);
  if (!h) return;
  HWND root = RootOf(h);
  // Only a minimised or hidden window is touched: restoring a maximised window would shrink it
  // and move every point recorded on it.
  if (IsIconic(root)) {
    ShowWindow(root, SW_RESTORE);
  } else if (!IsWindowVisible(root)) {
    ShowWindow(root, SW_SHOW);
  }
}

void Win32Desktop::minimise(WindowHandle w) {
  HWND h = Existing(w);
  if (!h) return;
  ShowWindow(RootOf(h), SW_MINIMIZE);
}

std::optional<Rect> Win32Desktop::windowRect(WindowHandle w) {
  HWND h = Existing(w);
  RECT r{};
  if (!h || !GetWindowRect(h, &r)) return std::nullopt;
  return Rect{r.left, r.top, r.right, r.bottom};
}

std::vector<TopWindow> Win32Desktop::topLevelWindows() {
  std::vector<TopWindow> out;
  int seen = 0;
  for (HWND h = GetTopWindow(nullptr); h && seen < kMaxTopWindows; h = GetWindow(h, GW_HWNDNEXT), ++seen) {
    if (!IsWindowVisible(h)) continue;
    char cls[256] = {};
    int clsLength = GetClassNameA(h, cls, static_cast<int>(sizeof cls));
    wchar_t title[512] = {};
    int titleLength = GetWindowTextW(h, title, 512);
    out.push_back({FromHwnd(h), FromAnsi(cls, clsLength), Narrow(title, titleLength)});
  }
  return out;
}

bool Win32Desktop::setWindowText(WindowHandle w, const std::string& text) {
  HWND h = Existing(w);
  if (!h) return true;  // the window has gone: nothing to do, and nothing to type in either
  std::wstring wide = Widen(text);
  DWORD_PTR result = 0;
  // The Unicode message reaches an ANSI window in its code page; a program that hangs is given up.
  SendMessageTimeoutW(h, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide.c_str()), SMTO_ABORTIFHUNG, kSetTextTimeoutMs,
                      &result);
  return true;
}

void Win32Desktop::sendKeys(KeyChord chord) {
  std::vector<INPUT> events;
  switch (chord) {
    case KeyChord::CtrlV: events = Chord(VK_CONTROL, 'V'); break;
    case KeyChord::CtrlBackspace: events = Chord(VK_CONTROL, VK_BACK); break;
    case KeyChord::Enter: events = Tap(VK_RETURN); break;
    case KeyChord::Home: events = Tap(VK_HOME); break;
    case KeyChord::ShiftEnd:
      events = {Key(VK_SHIFT, false), Key(VK_END, false), Key(VK_END, true), Key(VK_SHIFT, true)};
      break;
    case KeyChord::Backspace: events = Tap(VK_BACK); break;
    case KeyChord::CtrlHome: events = Chord(VK_CONTROL, VK_HOME); break;
    case KeyChord::CtrlShiftEnd:
      events = {Key(VK_CONTROL, false), Key(VK_SHIFT, false), Key(VK_END, false),
                Key(VK_END, true),      Key(VK_SHIFT, true),  Key(VK_CONTROL, true)};
      break;
  }
  SendInput(static_cast<UINT>(events.size()), events.data(), sizeof(INPUT));
}

// Input goes through one queue per desktop, in order: a click cannot be overtaken by keys sent
// after it.
void Win32Desktop::beginSettle(WindowHandle) {}

bool Win32Desktop::settled() { return true; }

void Win32Desktop::lockPointer() {
  locked_ = true;
  confineTo(pointer());
}

void Win32Desktop::freePointer() {
  locked_ = false;
  ClipCursor(nullptr);
}

void Win32Desktop::confineTo(Point p) {
  RECT one{p.x, p.y, p.x + 1, p.y + 1};
  ClipCursor(&one);
  confinedTo_ = p;
}

std::unique_ptr<Desktop> CreateSystemDesktop() { return std::make_unique<Win32Desktop>(); }

}  // namespace lumora
