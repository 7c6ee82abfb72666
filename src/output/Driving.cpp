#include "output/Driving.h"

#include <cmath>
#include <optional>

#include "core/Text.h"
#include "core/controls/Fmain.h"
#include "money/BetLog.h"
#include "output/Executor.h"
#include "output/Texts.h"

namespace lumora {

namespace T = output_text;

namespace {

constexpr int kCaptureTickMs = 10;

std::string PointerText(Point p) { return "x:" + std::to_string(p.x) + "\r\ny:" + std::to_string(p.y); }
std::string StarText(Point p) { return std::to_string(p.x) + "*" + std::to_string(p.y); }

void ShowCaptureButtons(Form& form, bool visible) {
  for (int i = 0; i < 6; ++i) form.setVisible(fmain::C_pt_id_shibie[i], visible);
}

// A number taken to the nearest whole number, as long as it fits 32 bits.
std::optional<int32_t> Whole(double v) {
  if (!std::isfinite(v) || v > 2147483647.0 || v < -2147483648.0) return std::nullopt;
  return static_cast<int32_t>(RoundHalfEven(v));
}

// "x*y" (or more parts; the first two count). Nothing when there are fewer than two parts.
std::optional<Point> StarPoint(std::string_view text) {
  std::vector<std::string> parts = Split(Trim(text), "*");
  if (parts.size() < 2) return std::nullopt;
  auto x = Whole(ReadNumber(parts[0]));
  auto y = Whole(ReadNumber(parts[1]));
  if (!x || !y) return std::nullopt;
  return Point{*x, *y};
}

// A text that is a number as a whole (blanks around it allowed), taken to a 32-bit integer.
std::optional<int32_t> StrictInteger(std::string_view text) {
  std::string t = Trim(text);
  if (t.empty()) return std::nullopt;
  size_t i = 0;
  if (t[i] == '+' || t[i] == '-') ++i;
  bool digits = false;
  while (i < t.size() && t[i] >= '0' && t[i] <= '9') ++i, digits = true;
  if (i < t.size() && t[i] == '.') {
    ++i;
    while (i < t.size() && t[i] >= '0' && t[i] <= '9') ++i, digits = true;
  }
  if (!digits || i != t.size()) return std::nullopt;
  return Whole(ReadNumber(t));
}

// Starts from a clean slate: presses made before a capture began do not end it.
void ForgetPresses(Desktop& d) {
  d.newlyPressed(MouseButton::Left);
  d.newlyPressed(MouseButton::Right);
  d.newlyPressedCtrlV();
}

}  // namespace

void CaptureTarget(Context& cx, OutputState& out, int k) {
  if (k < 0 || k > 2 || !DesktopReady(cx, out)) return;
  ForgetPresses(*out.desktop);
  cx.form.setTimer(fmain::Timer_pt_id[k], true, kCaptureTickMs);
  ShowCaptureButtons(cx.form, false);
}

void CaptureTick(Context& cx, OutputState& out, int k) {
  if (!out.desktop) return;
  Desktop& d = *out.desktop;
  Point p = d.pointer();
  cx.form.setText(fmain::T_xy, PointerText(p));
  WindowHandle w = d.windowAt(p);
  bool done = d.newlyPressed(MouseButton::Right);
  if (k == 0 || k == 1) {
    cx.form.setText(fmain::Tid[k], HandleText(w));
    if (done) cx.form.setText(fmain::T_beishu_xy[k], StarText(p));
  } else {
    cx.form.setText(fmain::Tid[2], StarText(p));
  }
  if (done) {
    cx.form.setTimerEnabled(fmain::Timer_pt_id[k], false);
    ShowCaptureButtons(cx.form, true);
  }
}

void RecordSteps(Context& cx, OutputState& out) {
  if (!DesktopReady(cx, out)) return;
  ForgetPresses(*out.desktop);
  cx.form.setEnabled(fmain::C_sz_touzhu, false);
  cx.form.setItems(fmain::List_touzhu, {});
  out.steps.clear();
  cx.form.setTimer(fmain::Timer_shubiao, true, kCaptureTickMs);
}

void RecordTick(Context& cx, OutputState& out) {
  if (!out.desktop) return;
  Desktop& d = *out.desktop;
  Point p = d.pointer();
  cx.form.setText(fmain::T_xy, PointerText(p));
  auto record = [&](int kind, const char* ending) {
    if (out.steps.count >= kStepSlots) return;  // every slot in use: ignored
    int n = ++out.steps.count;
    out.steps.slots[n] = Step{p.x, p.y, kind};
    cx.form.addItem(fmain::List_touzhu,
                    "[" + std::to_string(n) + "]x:" + std::to_string(p.x) + "--y:" + std::to_string(p.y) + ending);
  };
  if (d.newlyPressed(MouseButton::Left)) record(1, T::kClickLine);
  if (d.newlyPressedCtrlV()) record(2, T::kPasteLine);
  if (d.newlyPressed(MouseButton::Right)) {
    cx.form.setTimerEnabled(fmain::Timer_shubiao, false);
    cx.form.setEnabled(fmain::C_sz_touzhu, true);
    cx.form.addItem(fmain::List_touzhu, T::kSetupDone);
  }
}

void CaptureToolWindow(Context& cx, OutputState& out, int k) {
  if (k < 0 || k > 1 || !DesktopReady(cx, out)) return;
  ForgetPresses(*out.desktop);
  cx.form.setTimer(fmain::Timer_dsf_sb[k], true, kCaptureTickMs);
  cx.form.setVisible(fmain::C_dsf_sb[0], false);
  cx.form.setVisible(fmain::C_dsf_sb[1], false);
}

void CaptureToolTick(Context& cx, OutputState& out, int k) {
  if (!out.desktop) return;
  Desktop& d = *out.desktop;
  Point p = d.pointer();
  const std::string handle = HandleText(d.windowAt(p));
  cx.form.setText(fmain::T_dsf_canshu[k], handle);
  if (d.newlyPressed(MouseButton::Right)) {
    out.toolBoxes[static_cast<size_t>(k)] = {handle, p};
    cx.form.setTimerEnabled(fmain::Timer_dsf_sb[k], false);
    cx.form.setVisible(fmain::C_dsf_sb[0], true);
    cx.form.setVisible(fmain::C_dsf_sb[1], true);
  }
}

bool AddPlatformClick(const Form& form, Script& script) {
  auto p = StarPoint(form.text(fmain::Tid[2]));
  if (!p) return false;
  script.move(*p).click();
  return true;
}

std::string ClickPlatformPoint(Context& cx, OutputState& out) {
  Script s;
  if (!AddPlatformClick(cx.form, s)) return {};
  RunScript(cx, out, std::move(s));
  return "ok";
}

PasteResult AddPaste(Context& cx, Script& script, const std::string& text, const std::string& mode,
                     const std::string& multiple) {
  Form& form = cx.form;
  Script s;
  s.eventsOnce();
  const bool multipleBox = mode == "1";
  const TextBox handleKey = multipleBox ? fmain::Tid[1] : fmain::Tid[0];
  std::string cleaned;
  for (char c : Trim(form.text(handleKey)))
    if ((c >= '0' && c <= '9') || c == '.') cleaned += c;
  if (mode.empty()) form.setText(fmain::Tid[0], cleaned);
  if (multipleBox) form.setText(fmain::Tid[1], cleaned);
  // These two lines go into the bet log as they stand, without a time stamp.
  if (cleaned.empty()) {
    form.addItem(kBetLogList, T::kNoPlatformHandle);
    return PasteResult::Failed;
  }
  if (text.empty()) {
    form.addItem(kBetLogList, T::kNoBetData);
    return PasteResult::Failed;
  }
  if (!AddPlatformClick(form, s)) {
    cx.inform(T::kSetPlatformFirst, T::kErrorTitle);
    return PasteResult::Failed;
  }
  auto handle = Whole(ReadNumber(cleaned));
  if (!handle) return PasteResult::Error;
  const WindowHandle w = static_cast<WindowHandle>(static_cast<uint32_t>(*handle));
  if (!multipleBox) {
    auto at = StarPoint(form.text(fmain::T_beishu_xy[0]));
    if (!at) return PasteResult::Error;
    s.clipboard(text).restore(w).activate(w);
    s.eventsOnce().pause(500000);
    // The paste waits until the client has handled the click on the box.
    s.move(*at).eventsOnce().click().settle(w);
    s.activate(w).restore(w).keysTo(w, KeyChord::CtrlV);
    s.eventsOnce().pause(80000);
  } else {
    auto at = StarPoint(form.text(fmain::T_beishu_xy[1]));
    if (!at) return PasteResult::Error;
    s.restore(w).activate(w);
    s.eventsOnce().activate(w);
    // A double click selects the box's content.
    s.move(*at).click().eventsOnce().eventsOnce().click().settle(w);
    for (int i = 0; i < 8; ++i) s.eventsOnce().pause(80000).keysTo(w, KeyChord::CtrlBackspace);
    s.clipboard(multiple);
    s.restore(w).activate(w).eventsOnce().pause(80000).activate(w).keysTo(w, KeyChord::CtrlV);
    s.eventsOnce().pause(80000);
  }
  script.append(s);
  return PasteResult::Ok;
}

std::string PasteIntoBox(Context& cx, OutputState& out, const std::string& text, const std::string& mode,
                         const std::string& multiple) {
  Script s;
  if (AddPaste(cx, s, text, mode, multiple) != PasteResult::Ok) return {};
  RunScript(cx, out, std::move(s));
  return "ok";
}

void AddPassText(Script& script, const std::string& handleText, const std::string& text, const ToolBox* box) {
  auto handle = StrictInteger(handleText);
  if (!handle) return;  // not a number: nothing happens
  const WindowHandle w = static_cast<WindowHandle>(static_cast<uint32_t>(*handle));
  script.eventsOnce();
  script.restore(w).activate(w).eventsOnce().pause(200000);
  script.activate(w);
  if (box) {
    script.setText(w, text, box->at);
  } else {
    script.setText(w, text);
  }
  script.eventsOnce().pause(10000);
}

const ToolBox* CapturedToolBox(const OutputState& out, int k, const std::string& handleText) {
  if (k < 0 || k > 1) return nullptr;
  const ToolBox& box = out.toolBoxes[static_cast<size_t>(k)];
  if (box.handleText.empty() || box.handleText != Trim(handleText)) return nullptr;
  return &box;
}

void PassTextToWindow(Context& cx, OutputState& out, const std::string& handleText, const std::string& text, int box) {
  Script s;
  AddPassText(s, handleText, text, CapturedToolBox(out, box, handleText));
  RunScript(cx, out, std::move(s));
}

void LockMouse(Context& cx, OutputState& out, int flag) {
  (void)cx;
  if (!out.desktop) return;
  if (flag == 1) {
    out.desktop->lockPointer();
    out.pointerLocked = true;
  } else {
    out.desktop->freePointer();
    out.pointerLocked = false;
  }
}

void SendTest(Context& cx, OutputState& out, int button) {
  if (button == 1) PasteIntoBox(cx, out, T::kTestPasteText, "0", "0");
  if (button == 3) PasteIntoBox(cx, out, "5", "1", "5");
  if (button == 5) ClickPlatformPoint(cx, out);
}

void TestToolWindows(Context& cx, OutputState& out) {
  PassTextToWindow(cx, out, Trim(cx.form.text(fmain::T_dsf_canshu[0])), Trim(cx.form.text(fmain::T_touzhu_dd[0])), 0);
  PassTextToWindow(cx, out, Trim(cx.form.text(fmain::T_dsf_canshu[1])),
                   Trim(cx.form.text(fmain::T_zd_touzhu_beitou[1])), 1);
}

}  // namespace lumora
