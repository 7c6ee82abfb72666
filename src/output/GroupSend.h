#pragma once
// Posting the plan into open chat windows: the list of chat windows, the targets found by title,
// the paste-and-Enter send with the user's mouse locked out, and the automatic send after each
// plan computation.
#include <string>
#include <vector>

#include "core/Context.h"
#include "output/OutputState.h"

namespace lumora {

struct QqWindow {
  WindowHandle handle = 0;
  std::string title;
  bool newStyle = false;  // of a new-style class ("QWidget")
};

// From the first window of an ordinary chat class ("TXGuiFoundation") down the z-order, the
// windows of an ordinary or a new-style class ("QWidget"). Nothing without a window of an
// ordinary class. The classes come from lumora.ini (ServiceConfig::chat).
std::vector<QqWindow> WalkQqWindows(Desktop& desktop, const ChatClasses& classes = {});

// True when a chat window with this title is left out of the target list.
bool SkippedQqTitle(const std::string& title);

void RefreshQqTargets(Context& cx, OutputState& out);  // "刷新群列表"
// The first window (in z-order) whose trimmed title contains `target`; handle 0 when none.
QqWindow FindQqWindow(Desktop& desktop, const std::string& target, const ChatClasses& classes = {});
void SelectAllQqTargets(Context& cx);  // "列表全选"

// The message: (pool, CR LF, when "记录+号码" is ticked) the plan record, then the signature.
std::string QqMessage(const Form& form);

// Sends the message to every selected target (nothing when none is selected).
void SendToQqGroups(Context& cx, OutputState& out);
// "手动发送" and the automatic send: the user's mouse locked out for the send, freed after it,
// and Timer_jiesuo armed to free it again two seconds later.
void SendToQqGroupsLocked(Context& cx, OutputState& out);

void GroupSendTick(Context& cx, OutputState& out);  // Timer_qf_dd
void UnlockTick(Context& cx, OutputState& out);     // Timer_jiesuo
// The plan start arms the automatic send when "自动群发" is ticked.
void ArmGroupSend(Context& cx);

void ToggleSignatureFrame(Context& cx);  // "打开设置签名档"
void ShowGroupSendHelp(Context& cx);     // "设置说明"

}  // namespace lumora
