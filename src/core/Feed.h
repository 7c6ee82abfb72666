#pragma once
// The draw feed: the request sent to the draw-feed service, the response it must give, and the
// 25-second countdown that asks for it.
//
// Form keys: "Tnew" (status), "L_djs" (seconds left), "Cauto" (automatic update),
// "Cshoudong" (manual update button), "Timer_gx" (1000 ms countdown).
#include <cstddef>
#include <functional>
#include <string>

#include "core/Context.h"
#include "core/History.h"
#include "core/Ports.h"
#include "core/ServiceConfig.h"

namespace lumora {

inline constexpr int kDrawChannel = 1;                          // uXMLHTTP1 element 1
inline constexpr int kDrawRequestTimeoutMs = 20000;             // a request is given up after 20 s
inline constexpr std::size_t kDrawResponseMaxBytes = 1 << 20;   // and capped at 1 MiB
inline constexpr int kCountdownTicks = 25;

struct FeedState {
  int countdownTicks = 0;   // CountdownTicks: ticks of Timer_gx since the last automatic request
  std::string response;     // DrawResponse: the last response text; empty after a rejected one
};

// DrawFeedEndpoint + "?username=" + user + "&pw=" + password + "&sjm_in=" + code +
// "&lx=2&zt=2&r=8", the three account values percent-encoded.
std::string BuildFeedRequest(const ServiceConfig& config);

// Checks `feed.response` and cuts it into DeepBuffer (150 rows) and IncomingWindow (the newest
// 120). Accepted: the text holds "**ok**"; split at "*-*" it has at least three pieces; the
// second piece, split at CR LF, has at least 150 lines, oldest first; each line's first three
// characters are the period and its last five the digits. A block of more than 150 lines (other
// than one empty rest after a final CR LF) uses its newest 150 draw lines. Without "**ok**" the
// response is emptied. Writes "没有获取到数据" into Tnew when refused. Returns whether the
// buffers were rebuilt.
bool ParseDrawFeed(Context& cx, FeedState& feed);

// What a response leads to: ParseDrawFeed, then `apply` (ApplyIncomingDraws, or the session's
// applying with the after-draw sequence) unless the response was emptied; the manual update
// button follows. Returns what `apply` returned (false when it did not run).
bool ProcessDrawResponse(Context& cx, FeedState& feed, const ApplyDrawsFn& apply);
// The same with ApplyIncomingDraws alone (lumora-cli, tests).
bool ProcessDrawResponse(Context& cx, FeedState& feed);

// A completed HTTP exchange of the draw channel: the body becomes DrawResponse (empty when no
// response arrived: time limit, size cap, network error), then ProcessDrawResponse.
bool HandleDrawResult(Context& cx, FeedState& feed, const HttpResult& result, const ApplyDrawsFn& apply);

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
