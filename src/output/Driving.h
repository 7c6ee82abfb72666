#pragma once
// Recognising the betting client and driving its input: the captured targets, the recorded step
// list, clicking the platform point, pasting into the captured boxes, handing texts to the
// external betting tool's windows, and locking the user's mouse.
#include <string>

#include "core/Context.h"
#include "output/OutputState.h"
#include "output/Script.h"

namespace lumora {

// Capture of target k: 0 the bet-number box, 1 the multiple box, 2 the platform point
// ("开始识别" items 0, 2, 4). Runs Timer_pt_id_k until the user's right click.
void CaptureTarget(Context& cx, OutputState& out, int k);
void CaptureTick(Context& cx, OutputState& out, int k);  // Timer_pt_id_k

// Recording of the step list ("开始设置"): left clicks and Ctrl+V until a right click.
void RecordSteps(Context& cx, OutputState& out);
void RecordTick(Context& cx, OutputState& out);  // Timer_shubiao

// Capture of the external tool's window k (0 numbers, 1 multiple): Timer_dsf_sb_k. The right
// click that ends it also fixes the box's point (out.toolBoxes).
void CaptureToolWindow(Context& cx, OutputState& out, int k);
void CaptureToolTick(Context& cx, OutputState& out, int k);

// "ok" when the platform point could be clicked, empty otherwise.
std::string ClickPlatformPoint(Context& cx, OutputState& out);
// Mode "1": the multiple text into the multiple box; any other mode: the text into the bet box.
// "ok" or empty.
std::string PasteIntoBox(Context& cx, OutputState& out, const std::string& text, const std::string& mode,
                         const std::string& multiple);
// Replaces the text of the window whose handle is `handleText` (a text that is not a number
// does nothing). Where the desktop cannot set it directly, the text is typed into the box at the
// captured point of the external tool's box k when that capture named this handle.
void PassTextToWindow(Context& cx, OutputState& out, const std::string& handleText, const std::string& text,
                      int box = -1);
// 1 locks out the user's mouse (Lumora's own moves still work); any other value frees it.
void LockMouse(Context& cx, OutputState& out, int flag);

// The test buttons: "发送测试" item 1, 3 or 5, and "测试" of the external tool.
void SendTest(Context& cx, OutputState& out, int button);
void TestToolWindows(Context& cx, OutputState& out);

// Script builders, for the betting run and the group send. They add to `script` only when the
// whole sequence can be built.
enum class PasteResult { Ok, Failed, Error };  // Error: a click point that is not x "*" y
bool AddPlatformClick(const Form& form, Script& script);
PasteResult AddPaste(Context& cx, Script& script, const std::string& text, const std::string& mode,
                     const std::string& multiple);
void AddPassText(Script& script, const std::string& handleText, const std::string& text, const ToolBox* box = nullptr);
// The captured point of the external tool's box k, when the capture named `handleText`.
const ToolBox* CapturedToolBox(const OutputState& out, int k, const std::string& handleText);

}  // namespace lumora
