#pragma once
// The main cycle at session level: applying draws with the after-draw sequence, the update
// countdown, the draw channel's responses (through the re-entry gate), the history buttons, page
// switching, the close confirmation and the folder check.
#include <string>

#include "core/Ports.h"
#include "session/AfterDraw.h"
#include "session/Session.h"

namespace lumora {

// Applies the window and, when the history was applied, runs the after-draw sequence. A feed
// answer has been held against the history already and replaces it; a deletion or a
// hand-entered draw goes through ApplyIncomingDraws. Returns whether the history was applied.
bool ApplyDraws(Session& s, DrawSource source = DrawSource::Feed);

// Timer_gx tick: the countdown, and every 25th tick the automatic update.
void UpdateCountdownTick(Session& s);
// Cshoudong click.
void ManualUpdate(Session& s);
// Sends the draw request; its answer comes back through DrawResultArrived.
void RequestDraws(Session& s);
// A completed exchange on the draw channel. It is applied through the gate: one that arrives
// while an operation is running is queued and applied after it,
// never on top of it, so DeepBuffer and IncomingWindow never change under an operation.
void DrawResultArrived(Session& s, const HttpResult& result);

// C_kjh_shanchu, C_rulu_kjh (Fmain), Fadd.C_rulu_kjh, Op_3x_moshi_k.
void DeletionDialogue(Session& s);
void OpenManualEntryWindow(Session& s);
void ConfirmManualEntryWindow(Session& s);
void SubGameChosen(Session& s, int element);

// Colours of the navigation buttons (blue-green-red numbers).
inline constexpr int kNavSelected = 16776960;  // cyan
inline constexpr int kNavOther = 8454016;      // light green

// At initialise: every page hidden but page 1, button 1 cyan.
void PageLayout(Session& s);
// C_sst_0_k: shows page Frame_ding_k alone; button k cyan, the others light green.
void SwitchPage(Session& s, int k);

// The main window asked to close: "是否要关闭软件？". `close` runs, as an operation of its own,
// when the answer is Yes; No keeps the program running.
void ConfirmClose(Session& s, std::function<void()> close);

// Timer_lj first tick: the program's folder path, with "/" turned into "\", must not contain
// "\Temp\" (an archive opened in place); then the notice is shown and true returned (the program
// ends). Otherwise Timer_lj is disabled and false returned.
bool ArchiveFolderCheck(Session& s, const std::string& programFolder);

}  // namespace lumora
