#pragma once
// The draw feed: the request sent to the draw-feed service, the response it must give, and the
// 25-second countdown that asks for it.
//
// Form keys: "Tnew" (status), "L_djs" (seconds left), "Cauto" (automatic update),
// "Cshoudong" (manual update button), "Timer_gx" (1000 ms countdown).
#include <chrono>
#include <cstddef>
#include <functional>
#include <map>
#include <optional>
#include <string>

#include "core/Context.h"
#include "core/History.h"
#include "core/Ports.h"
#include "core/ServiceConfig.h"

namespace lumora {

inline constexpr int kDrawChannel = 1;                         // uXMLHTTP1 element 1
inline constexpr int kDrawRequestTimeoutMs = 20000;            // a request is given up after 20 s
inline constexpr std::size_t kDrawResponseMaxBytes = 1 << 20;  // and capped at 1 MiB
inline constexpr int kCountdownTicks = 25;

inline constexpr int kOutageMinutes = 5;               // failures this long are told once
inline constexpr int kRefusalNoticeQuietMinutes = 30;  // a refusal's notice again only after this quiet
// An answer sharing no draw with the draws applied is believed only this long after the last
// good answer: 150 draws take longer than that (a day has at most 999 periods).
inline constexpr int kUntiedAfterHours = 3;

struct FeedState {
  int countdownTicks = 0;  // CountdownTicks: ticks of Timer_gx since the last automatic request
  std::string response;    // DrawResponse: the last response text; empty after a rejected one

  // Automatic betting (Check_touzhu_sx) and group send (C_qunfa_sx) unticked by an answer that
  // could not be tied to the draws applied; cleared when the player ticks the switch again.
  bool betPaused = false;
  bool sendPaused = false;
  // The last good answer (applied, or agreeing with the draws applied); the start of the
  // failures since; whether the outage notice has been shown for them.
  std::optional<std::chrono::system_clock::time_point> lastGood;
  std::optional<std::chrono::system_clock::time_point> failingSince;
  bool outageNoticed = false;
  // When each kind of refusal was last met: its notice is shown again only after a quiet spell.
  std::map<std::string, std::chrono::system_clock::time_point> refusalsSeen;
  std::string lastEvent;  // the last feed event recorded: the same one is not recorded twice in a row
};

// DrawFeedEndpoint + "?username=" + user + "&pw=" + password + "&sjm_in=" + code +
// "&lx=2&zt=2&r=8", the three account values percent-encoded.
std::string BuildFeedRequest(const ServiceConfig& config);

// What a 200 response body leads to. It is read as an answer (core/FeedCheck: "**ok**", the
// "*-*" block, at least 150 draw lines, every used line a draw) and held against the draws
// applied:
// - broken: a failure, named in Tnew after "没有获取到数据,请检查"; without "**ok**" the
//   response is emptied; nothing else changes;
// - older than the applied newest, contradicting the draws applied, or out of order: refused,
//   one status line, a notice (not again while such refusals go on), a recorder row; DeepBuffer,
//   IncomingWindow and the history stay as they were;
// - agreeing with its newest already applied (or the same period as a draw entered by hand):
//   the buffers are refilled, "没有更新";
// - agreeing and newer, the first answer, or one that shares no draw with the draws applied:
//   the buffers are filled and `apply` runs (one sharing no draw only when the last good answer
//   is kUntiedAfterHours old; sooner it is refused) (ReplaceHistory with or without the after-draw
//   sequence); for the last kind, automatic betting and group send are unticked first, with a
//   status line, a notice and a recorder row, until the player ticks them again.
// The manual update button follows. Returns what `apply` returned (false when it did not run).
bool ProcessDrawResponse(Context& cx, FeedState& feed, const ApplyDrawsFn& apply);
// The same with ReplaceHistory alone (lumora-cli, tests).
bool ProcessDrawResponse(Context& cx, FeedState& feed);

// A completed HTTP exchange of the draw channel: no response, or a status other than 200, is a
// failure named in Tnew (HttpResult::failure); otherwise the body goes to ProcessDrawResponse.
// Failures lasting kOutageMinutes add the time since the last good answer to Tnew and show one
// notice; both end with the next good answer.
bool HandleDrawResult(Context& cx, FeedState& feed, const HttpResult& result, const ApplyDrawsFn& apply);

// The player's words for a failed exchange ("请求超时", "证书不受信任", ...).
std::string HttpFailureText(const HttpResult& result);

// Sends `url` on channel `channel` (Tnew "正在获取开奖数据" for the draw channel). Replaces an
// earlier request still outstanding on that channel. Nothing happens without an Http port.
void FetchOnChannel(Context& cx, int channel, const std::string& url, std::function<void(const HttpResult&)> done);

// The draw request on the draw channel with the service configuration of `cx`.
void RequestDrawFeed(Context& cx, std::function<void(const HttpResult&)> done);

// Timer_gx tick: L_djs counts 24 .. 0; returns true on the 25th tick (CountdownTicks back to 0),
// when AutoUpdateTick is due.
bool CountdownTick(Context& cx, FeedState& feed);
// With Cauto ticked: disables Cshoudong and returns true (a request is due); otherwise enables
// Cshoudong and returns false.
bool AutoUpdateTick(Context& cx);
// Cshoudong click: disables the button (the caller then sends the request).
void BeginManualUpdate(Context& cx);

}  // namespace lumora
