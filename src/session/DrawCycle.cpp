#include "session/DrawCycle.h"

#include "core/Feed.h"
#include "core/History.h"
#include "core/Text.h"
#include "core/controls/Fmain.h"

namespace lumora {

namespace {
constexpr const char* kCloseQuestion = "是否要关闭软件？";
constexpr const char* kCloseTitle = "Lumora";
constexpr const char* kArchiveTitle = "文件解压提示";
constexpr const char* kArchiveLines[] = {"温情提示：", "软件不能直接在压缩包里运行",
                                         "请先解压整个软件包到文件夹下再运行", "预防出现未知错误，谢谢。"};

ApplyDrawsFn Applier(Session& s, DrawSource source) {
  return [&s, source](Context&) { return ApplyDraws(s, source); };
}
}  // namespace

bool ApplyDraws(Session& s, DrawSource source) {
  // An answer of the feed has been held against the history already (core/Feed); a deletion
  // or a hand-entered draw is applied when its newest period differs.
  if (source == DrawSource::Feed) ReplaceHistory(s.cx);
  else if (!ApplyIncomingDraws(s.cx)) return false;
  // The recorder keeps the applied draw and everything its sequence does as one unit.
  const DrawRecord& newest = s.cx.draws.history[1];
  Recorder& recorder = s.cx.recorder();
  recorder.beginSequence(newest.period, newest.digits,
                         source == DrawSource::Feed     ? "feed"
                         : source == DrawSource::Manual ? "manual"
                                                        : "deletion");
  // Every draw the answer brought is kept, not only its newest.
  if (source != DrawSource::Deletion)
    for (const DrawRecord& d : DrawsBetween(s.cx.draws, s.cx.draws.previousNewest))
      recorder.drawBetween(d.period, d.digits);
  AfterDrawSequence(s, source);
  recorder.endSequence();
  if (s.drawApplied) s.drawApplied(s.cx.draws.history[1]);
  return true;
}

void RequestDraws(Session& s) {
  RequestDrawFeed(s.cx, [&s](const HttpResult& r) { DrawResultArrived(s, r); });
}

void DrawResultArrived(Session& s, const HttpResult& result) {
  s.gate.run([&s, result] { HandleDrawResult(s.cx, s.feed, result, Applier(s, DrawSource::Feed)); });
}

void UpdateCountdownTick(Session& s) {
  if (!CountdownTick(s.cx, s.feed)) return;
  if (AutoUpdateTick(s.cx)) RequestDraws(s);
}

void ManualUpdate(Session& s) {
  BeginManualUpdate(s.cx);
  RequestDraws(s);
}

void DeletionDialogue(Session& s) { RunDeletionDialogue(s.cx, Applier(s, DrawSource::Deletion)); }

void OpenManualEntryWindow(Session& s) { OpenManualEntry(s.cx); }

void ConfirmManualEntryWindow(Session& s) { ConfirmManualEntry(s.cx, Applier(s, DrawSource::Manual)); }

void SubGameChosen(Session& s, int element) { SelectSubGame(s.cx, element); }

void PageLayout(Session& s) {
  Form& f = s.cx.form;
  for (int k = 1; k <= 5; ++k) {
    f.setVisible(fmain::Frame_ding[k], k == 1);
    f.setBackColor(fmain::C_sst_0[k], k == 1 ? kNavSelected : kNavOther);
  }
}

void SwitchPage(Session& s, int k) {
  if (k < 1 || k > 5) return;
  Form& f = s.cx.form;
  for (int i = 1; i <= 5; ++i) f.setVisible(fmain::Frame_ding[i], false);
  f.setVisible(fmain::Frame_ding[k], true);
  for (int i = 1; i <= 5; ++i) f.setBackColor(fmain::C_sst_0[i], kNavOther);
  f.setBackColor(fmain::C_sst_0[k], kNavSelected);
}

void ConfirmClose(Session& s, std::function<void()> close) {
  s.cx.askYesNo(kCloseQuestion, kCloseTitle, [close = std::move(close)](bool yes) {
    if (yes && close) close();
  });
}

bool ArchiveFolderCheck(Session& s, const std::string& programFolder) {
  if (Contains(ReplaceAll(programFolder, "/", "\\"), "\\Temp\\")) {
    std::string text;
    for (const char* line : kArchiveLines) {
      text += line;
      text += kCrLf;
    }
    s.cx.inform(text, kArchiveTitle);
    return true;
  }
  s.cx.form.setTimerEnabled(fmain::Timer_lj, false);
  return false;
}

}  // namespace lumora
