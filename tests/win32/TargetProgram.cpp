// The other programs the Windows desktop backend drives in its tests: a betting client with a
// numbers box, a multiple box and a button that counts its clicks; an external betting tool whose
// box is an ANSI window; chat windows of class "TXGuiFoundation" (one of them hidden, as chat programs
// keep some). The test finds them by class and control id and reads their texts back.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <string>

#include "TargetIds.h"

namespace {

// The box of each top-level window that last had the keyboard, given back on activation.
HWND FocusedBox(HWND top) { return reinterpret_cast<HWND>(GetWindowLongPtrW(top, GWLP_USERDATA)); }

void RememberFocus(HWND top, HWND box) { SetWindowLongPtrW(top, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(box)); }

int clicks = 0;

// The client's boxes delete the word before the caret on Ctrl+Backspace, as its boxes do on the
// desktops it runs on (the plain edit control does not).
WNDPROC plainEdit = nullptr;

LRESULT CALLBACK ClientBoxProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  bool ctrl = GetKeyState(VK_CONTROL) < 0;
  if (msg == WM_KEYDOWN && wp == VK_BACK && ctrl) {
    DWORD start = 0, end = 0;
    CallWindowProcW(plainEdit, w, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    int length = GetWindowTextLengthW(w);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    GetWindowTextW(w, text.data(), length + 1);
    DWORD from = start;
    while (from > 0 && text[from - 1] == L' ') --from;
    while (from > 0 && text[from - 1] != L' ') --from;
    if (start == end) CallWindowProcW(plainEdit, w, EM_SETSEL, from, end);
    CallWindowProcW(plainEdit, w, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L""));
    return 0;
  }
  if (msg == WM_CHAR && (wp == 0x7F || (wp == VK_BACK && ctrl))) return 0;
  return CallWindowProcW(plainEdit, w, msg, wp, lp);
}

// The external tool's box keeps its text as the ANSI bytes it was given and shows them in hex in
// its window's title, so the test can see which bytes arrived.
LRESULT CALLBACK AnsiBoxProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_SETTEXT) {
    const char* text = reinterpret_cast<const char*>(lp);
    std::string hex;
    for (const char* c = text; c && *c; ++c) {
      static const char digits[] = "0123456789ABCDEF";
      unsigned char b = static_cast<unsigned char>(*c);
      hex += digits[b >> 4];
      hex += digits[b & 15];
    }
    SetWindowTextA(GetParent(w), ("bytes:" + hex).c_str());
  }
  return DefWindowProcA(w, msg, wp, lp);
}

LRESULT CALLBACK TopProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND:
      if (HIWORD(wp) == EN_SETFOCUS) RememberFocus(w, reinterpret_cast<HWND>(lp));
      if (LOWORD(wp) == target_ids::kButton && HIWORD(wp) == BN_CLICKED) {
        ++clicks;
        SetWindowTextW(reinterpret_cast<HWND>(lp), (L"clicks:" + std::to_wstring(clicks)).c_str());
      }
      return 0;
    case WM_SETFOCUS:
      if (HWND box = FocusedBox(w)) SetFocus(box);
      return 0;
    case WM_CLOSE: PostQuitMessage(0); return 0;
    default: return DefWindowProcW(w, msg, wp, lp);
  }
}

LRESULT CALLBACK AnsiTopProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_SETFOCUS) {
    if (HWND box = GetDlgItem(w, target_ids::kToolBox)) SetFocus(box);
    return 0;
  }
  return DefWindowProcA(w, msg, wp, lp);
}

void RegisterTopClass(const wchar_t* name, HINSTANCE inst) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = TopProc;
  wc.hInstance = inst;
  wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = name;
  ::RegisterClassW(&wc);
}

HWND Top(const wchar_t* cls, const wchar_t* title, int x, int y, int w, int h, bool visible, HINSTANCE inst) {
  DWORD style = WS_OVERLAPPEDWINDOW | (visible ? WS_VISIBLE : 0);
  return CreateWindowExW(0, cls, title, style, x, y, w, h, nullptr, nullptr, inst, nullptr);
}

HWND Box(HWND parent, int id, int x, int y, int w, int h, DWORD extra, HINSTANCE inst) {
  return CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL | extra, x,
                         y, w, h, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), inst, nullptr);
}

HWND Chat(const wchar_t* title, int x, int y, bool visible, HINSTANCE inst) {
  HWND top = Top(L"TXGuiFoundation", title, x, y, 300, 200, visible, inst);
  RECT c{};
  GetClientRect(top, &c);
  Box(top, target_ids::kChatBox, 0, 0, c.right, c.bottom, ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL, inst);
  return top;
}

}  // namespace

int WINAPI WinMain(HINSTANCE inst, HINSTANCE, LPSTR, int) {
  RegisterTopClass(L"LumoraTestClient", inst);
  RegisterTopClass(L"TXGuiFoundation", inst);

  HWND client = Top(L"LumoraTestClient", L"投注客户端", 40, 40, 420, 260, true, inst);
  HWND numbers = Box(client, target_ids::kNumbersBox, 10, 10, 380, 28, 0, inst);
  HWND multiple = Box(client, target_ids::kMultipleBox, 10, 50, 120, 28, 0, inst);
  plainEdit =
      reinterpret_cast<WNDPROC>(SetWindowLongPtrW(numbers, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ClientBoxProc)));
  SetWindowLongPtrW(multiple, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ClientBoxProc));
  CreateWindowExW(0, L"BUTTON", L"clicks:0", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 10, 100, 120, 40, client,
                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(target_ids::kButton)), inst, nullptr);

  // The external tool: ANSI windows, whose texts travel in the system code page.
  WNDCLASSA tool{};
  tool.lpfnWndProc = AnsiTopProc;
  tool.hInstance = inst;
  tool.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  tool.lpszClassName = "LumoraTestTool";
  RegisterClassA(&tool);
  HWND toolTop = CreateWindowExA(0, "LumoraTestTool", "tool", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 500, 40, 360, 160,
                                 nullptr, nullptr, inst, nullptr);
  WNDCLASSA ansiBox{};
  ansiBox.lpfnWndProc = AnsiBoxProc;
  ansiBox.hInstance = inst;
  ansiBox.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  ansiBox.lpszClassName = "LumoraAnsiBox";
  RegisterClassA(&ansiBox);
  CreateWindowExA(WS_EX_CLIENTEDGE, "LumoraAnsiBox", "", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 10, 10, 320, 28,
                  toolTop, reinterpret_cast<HMENU>(static_cast<INT_PTR>(target_ids::kToolBox)), inst, nullptr);

  Chat(L"A", 40, 360, true, inst);
  Chat(L"AB", 380, 360, true, inst);
  Chat(L"QQ", 720, 360, true, inst);
  Chat(L"彩票交流群", 40, 600, true, inst);
  Chat(L"TXMenuWindow", 720, 600, false, inst);

  MSG m;
  while (GetMessageW(&m, nullptr, 0, 0) > 0) {
    TranslateMessage(&m);
    DispatchMessageW(&m);
  }
  return 0;
}
