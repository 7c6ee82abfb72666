#include "core/Feed.h"

#include <exception>
#include <vector>

#include "core/FeedCheck.h"

#include "core/DrawTexts.h"
#include "core/Endpoint.h"
#include "core/Text.h"
#include "core/controls/Fmain.h"

namespace lumora {

namespace {

namespace T = draw_text;
using TimePoint = std::chrono::system_clock::time_point;

TimePoint Now(Context& cx) { return cx.ports.clock ? cx.ports.clock->now() : std::chrono::system_clock::now(); }

// Tnew gains "；" and `more`.
void AddToStatus(Context& cx, const std::string& more) {
  cx.form.setText(fmain::Tnew, cx.form.text(fmain::Tnew) + "；" + more);
}

// A feed event for the recorder, unless it is the one recorded last.
void Record(Context& cx, FeedState& feed, const FeedEvent& e) {
  std::string key = e.kind + "\n" + e.period + "\n" + e.digits + "\n" + e.text;
  if (key == feed.lastEvent) return;
  feed.lastEvent = std::move(key);
  cx.recorder().feedEvent(e);
}

// While a switch unticked by a pause stays unticked, the status says so; ticking it resumes.
void ShowPause(Context& cx, FeedState& feed) {
  if (feed.betPaused && cx.form.checked(fmain::Check_touzhu_sx)) feed.betPaused = false;
  if (feed.sendPaused && cx.form.checked(fmain::C_qunfa_sx)) feed.sendPaused = false;
  if (feed.betPaused || feed.sendPaused) AddToStatus(cx, T::kPaused);
}

// A good answer ends a run of failures.
void Good(Context& cx, FeedState& feed) {
  const TimePoint now = Now(cx);
  if (feed.outageNoticed) Record(cx, feed, {"recovered", "", "", cx.form.text(fmain::Tnew)});
  feed.lastGood = now;
  feed.failingSince.reset();
  feed.outageNoticed = false;
  feed.lastEvent.clear();
}

// A failed exchange or a broken answer: Tnew says which; after kOutageMinutes of them, how long
// since the last good answer, and one notice.
void Failed(Context& cx, FeedState& feed, const std::string& why) {
  const TimePoint now = Now(cx);
  if (!feed.failingSince) feed.failingSince = now;
  cx.form.setText(fmain::Tnew, std::string(T::kNoDataCheck) + T::kWhy + why);
  Record(cx, feed, {"failure", "", "", cx.form.text(fmain::Tnew)});
  const auto failing = std::chrono::duration_cast<std::chrono::minutes>(now - *feed.failingSince);
  if (failing.count() >= kOutageMinutes) {
    const TimePoint since = feed.lastGood ? *feed.lastGood : *feed.failingSince;
    const auto minutes = std::chrono::duration_cast<std::chrono::minutes>(now - since).count();
    std::string more = std::string(T::kOutageSince) + std::to_string(minutes) + T::kOutageMinutes;
    if (feed.lastGood) more += T::kOutageLast + TimeText(*feed.lastGood) + T::kOutageLastEnd;
    cx.form.setText(fmain::Tnew, cx.form.text(fmain::Tnew) + more);
    if (!feed.outageNoticed) {
      feed.outageNoticed = true;
      cx.inform(T::kOutageNotice, T::kTip);
      Record(cx, feed, {"outage", "", "", cx.form.text(fmain::Tnew)});
    }
  }
  ShowPause(cx, feed);
}

// A notice for a kind of refusal or pause, unless the same kind was met within the quiet spell.
void NoticeOnce(Context& cx, FeedState& feed, const std::string& kind, const std::string& text) {
  const TimePoint now = Now(cx);
  auto it = feed.refusalsSeen.find(kind);
  const bool quiet =
      it == feed.refusalsSeen.end() || now - it->second >= std::chrono::minutes(kRefusalNoticeQuietMinutes);
  feed.refusalsSeen[kind] = now;
  if (quiet) cx.inform(text, T::kTip);
}

std::string DrawText(const DrawRecord& r) { return "第" + r.period + "期 " + r.digits; }

// An answer not applied: the history, DeepBuffer and IncomingWindow stay as they were.
void Refuse(Context& cx, FeedState& feed, const std::string& kind, const std::string& status,
            const DrawRecord& newest) {
  cx.form.setText(fmain::Tnew, status);
  NoticeOnce(cx, feed, kind, status + std::string(kCrLf) + T::kRefusedNotice);
  Record(cx, feed, {kind, newest.period, newest.digits, status});
  ShowPause(cx, feed);
}

// DeepBuffer rows 1..150 and IncomingWindow rows 1..120 from an answer's draws, oldest first.
void FillBuffers(DrawStore& d, const std::vector<DrawRecord>& draws) {
  d.deep.fill(DrawRecord{});
  d.incoming.fill(DrawRecord{});
  d.deepCreated = true;
  const int n = static_cast<int>(draws.size());
  for (int i = 0; i < n; ++i) {
    const size_t row = static_cast<size_t>(n - i);
    if (row < d.deep.size()) d.deep[row] = draws[static_cast<size_t>(i)];
    if (row < d.incoming.size()) d.incoming[row] = draws[static_cast<size_t>(i)];
  }
}

// Unticks automatic betting and group send (those ticked) and stops a group send already armed.
void Pause(Context& cx, FeedState& feed) {
  if (cx.form.checked(fmain::Check_touzhu_sx)) {
    cx.form.setChecked(fmain::Check_touzhu_sx, false);
    feed.betPaused = true;
  }
  if (cx.form.checked(fmain::C_qunfa_sx)) {
    cx.form.setChecked(fmain::C_qunfa_sx, false);
    feed.sendPaused = true;
  }
  cx.form.setTimerEnabled(fmain::Timer_qf_dd, false);
}

std::string AnswerFaultText(const FeedAnswer& a) {
  switch (a.fault) {
    case AnswerFault::NoMarker: return T::kNoMarker;
    case AnswerFault::NoBlock: return T::kNoBlock;
    case AnswerFault::TooFewLines: return T::kTooFewLines;
    case AnswerFault::BadLine: return T::kBadLine;
    case AnswerFault::None: break;
  }
  return {};
}

}  // namespace

std::string BuildFeedRequest(const ServiceConfig& config) {
  return config.feedEndpoint + "?username=" + PercentEncode(config.user) + "&pw=" + PercentEncode(config.password) +
         "&sjm_in=" + PercentEncode(config.randomCode) + "&lx=2&zt=2&r=8";
}

std::string HttpFailureText(const HttpResult& result) {
  switch (result.failure) {
    case HttpFailure::NoConnection: return T::kNoConnection;
    case HttpFailure::Timeout: return T::kTimeout;
    case HttpFailure::TooLarge: return T::kTooLarge;
    case HttpFailure::TlsUntrusted: return T::kTlsUntrusted;
    case HttpFailure::TlsWrongHost: return T::kTlsWrongHost;
    case HttpFailure::TlsExpired: return T::kTlsExpired;
    case HttpFailure::TlsOther: return T::kTlsOther;
    case HttpFailure::NotAllowed: return T::kNotAllowed;
    case HttpFailure::None:
    case HttpFailure::Other: break;
  }
  return T::kNetworkOther;
}

bool ProcessDrawResponse(Context& cx, FeedState& feed, const ApplyDrawsFn& apply) {
  auto buttonAfterAnswer = [&cx] {
    if (!cx.form.checked(fmain::Cauto)) cx.form.setEnabled(fmain::Cshoudong, true);
  };
  if (feed.response.empty()) {
    Failed(cx, feed, T::kEmptyAnswer);
    cx.form.setEnabled(fmain::Cshoudong, true);
    return false;
  }
  FeedAnswer answer = ReadFeedAnswer(feed.response);
  if (answer.fault != AnswerFault::None) {
    if (answer.fault == AnswerFault::NoMarker) feed.response.clear();
    Failed(cx, feed, AnswerFaultText(answer));
    cx.form.setEnabled(fmain::Cshoudong, true);
    return false;
  }
  DrawStore& d = cx.draws;
  AnswerCheck check = CheckAnswer(answer.draws, d, d.handEntered);
  // Nothing left to hold it against after a run: only hand-entered draws.
  if (check.verdict == AnswerVerdict::First && d.updateCount > 0) check.verdict = AnswerVerdict::Untied;
  // A draw entered by hand stands until the answers go past its period.
  if (check.verdict == AnswerVerdict::New && d.handEntered > 0 && answer.draws.back().period == d.history[1].period)
    check.verdict = AnswerVerdict::NotNew;
  // Only a long absence explains an answer that shares no draw with the draws applied.
  const bool longAbsence = !feed.lastGood || Now(cx) - *feed.lastGood >= std::chrono::hours(kUntiedAfterHours);
  const DrawRecord& newest = answer.draws.back();
  if (check.verdict == AnswerVerdict::Untied && !longAbsence) {
    Refuse(cx, feed, "unrelated", std::string(T::kUnrelated) + "（答复最新 " + DrawText(newest) + "）", newest);
    buttonAfterAnswer();
    return false;
  }
  switch (check.verdict) {
    case AnswerVerdict::Older:
      Refuse(cx, feed, "older",
             std::string(T::kOlder) + "（答复最新 " + DrawText(newest) + "，已有 " + DrawText(check.applied) + "）",
             newest);
      buttonAfterAnswer();
      return false;
    case AnswerVerdict::Contradicts:
      Refuse(cx, feed, "contradicts",
             std::string(T::kContradicts) + "（第" + check.applied.period + "期 答复 " + check.answered.digits +
                 "，已有 " + check.applied.digits + "）",
             newest);
      buttonAfterAnswer();
      return false;
    case AnswerVerdict::Disordered:
      Refuse(cx, feed, "disordered", std::string(T::kDisordered) + "（" + DrawText(check.answered) + "）", newest);
      buttonAfterAnswer();
      return false;
    case AnswerVerdict::NotNew:
      FillBuffers(d, answer.draws);
      cx.form.setText(fmain::Tnew, T::kNotNew);
      Good(cx, feed);
      ShowPause(cx, feed);
      buttonAfterAnswer();
      return false;
    case AnswerVerdict::Untied: Pause(cx, feed); break;
    case AnswerVerdict::First:
    case AnswerVerdict::New: break;
  }
  FillBuffers(d, answer.draws);
  d.handEntered = 0;
  const bool applied = apply ? apply(cx) : ReplaceHistory(cx);
  Good(cx, feed);
  if (check.verdict == AnswerVerdict::Untied) {
    AddToStatus(cx, T::kUntied);
    NoticeOnce(cx, feed, "untied", std::string(T::kUntied) + std::string(kCrLf) + "（" + DrawText(newest) + "）");
    Record(cx, feed, {"untied", newest.period, newest.digits, cx.form.text(fmain::Tnew)});
    // The status already says it; the flags stay until the player ticks the switches again.
  } else {
    ShowPause(cx, feed);
  }
  buttonAfterAnswer();
  return applied;
}

bool ProcessDrawResponse(Context& cx, FeedState& feed) {
  return ProcessDrawResponse(cx, feed, [](Context& c) { return ReplaceHistory(c); });
}

bool HandleDrawResult(Context& cx, FeedState& feed, const HttpResult& result, const ApplyDrawsFn& apply) {
  if (!result.ok) {
    feed.response.clear();
    Failed(cx, feed, HttpFailureText(result));
    cx.form.setEnabled(fmain::Cshoudong, true);
    return false;
  }
  if (result.status != 200) {
    feed.response.clear();
    Failed(cx, feed, T::kHttpStatus + std::to_string(result.status));
    cx.form.setEnabled(fmain::Cshoudong, true);
    return false;
  }
  feed.response = result.body;
  return ProcessDrawResponse(cx, feed, apply);
}

void FetchOnChannel(Context& cx, int channel, const std::string& url, std::function<void(const HttpResult&)> done) {
  try {
    if (channel == kDrawChannel) cx.form.setText(fmain::Tnew, draw_text::kFetching);
    if (!cx.ports.http) return;
    if (HttpResult refusal; !MaySend(cx, url, refusal)) {
      if (done) done(refusal);
      return;
    }
    cx.ports.http->get(channel, url, kDrawRequestTimeoutMs, kDrawResponseMaxBytes, std::move(done));
  } catch (const std::exception&) {
    // The request simply does not happen; the next tick tries again.
  }
}

void RequestDrawFeed(Context& cx, std::function<void(const HttpResult&)> done) {
  FetchOnChannel(cx, kDrawChannel, BuildFeedRequest(cx.service), std::move(done));
}

bool CountdownTick(Context& cx, FeedState& feed) {
  feed.countdownTicks += 1;
  cx.form.setText(fmain::L_djs, std::to_string(kCountdownTicks - feed.countdownTicks));
  if (feed.countdownTicks > kCountdownTicks - 1) {
    feed.countdownTicks = 0;
    return true;
  }
  return false;
}

bool AutoUpdateTick(Context& cx) {
  if (cx.form.checked(fmain::Cauto)) {
    cx.form.setEnabled(fmain::Cshoudong, false);
    return true;
  }
  cx.form.setEnabled(fmain::Cshoudong, true);
  return false;
}

void BeginManualUpdate(Context& cx) { cx.form.setEnabled(fmain::Cshoudong, false); }

}  // namespace lumora
