#include "core/Feed.h"

#include <exception>
#include <vector>

#include "core/DrawTexts.h"
#include "core/Endpoint.h"
#include "core/Text.h"

namespace lumora {

namespace {

// First three characters the period, last five the digits (they may overlap on a short line).
DrawRecord SplitDrawLine(const std::string& line) {
  DrawRecord r;
  r.period = line.substr(0, 3);
  r.digits = line.size() >= 5 ? line.substr(line.size() - 5) : line;
  return r;
}

bool IsDrawLine(const std::string& line) { return line.size() >= 5 && IsDigits(std::string_view(line).substr(line.size() - 5)); }

}  // namespace

std::string BuildFeedRequest(const ServiceConfig& config) {
  return config.feedEndpoint + "?username=" + PercentEncode(config.user) + "&pw=" + PercentEncode(config.password) +
         "&sjm_in=" + PercentEncode(config.randomCode) + "&lx=2&zt=2&r=8";
}

bool ParseDrawFeed(Context& cx, FeedState& feed) {
  if (!Contains(feed.response, draw_text::kFeedOk)) {
    cx.form.setText("Tnew", draw_text::kNoData);
    feed.response.clear();
    return false;
  }
  std::vector<std::string> pieces = Split(feed.response, draw_text::kFeedBlock);
  if (pieces.size() < 3) {
    cx.form.setText("Tnew", draw_text::kNoData);
    return false;
  }
  std::vector<std::string> lines = SplitCrLf(pieces[1]);
  // The empty rest after a final CR LF is no draw line.
  if (!lines.empty() && lines.back().empty()) lines.pop_back();
  if (lines.size() < static_cast<size_t>(kDeepRows)) {
    cx.form.setText("Tnew", draw_text::kNoData);
    return false;
  }
  // A longer block: its newest 150 lines (the last ones) are used.
  const size_t first = lines.size() - static_cast<size_t>(kDeepRows);
  // Every draw line must end in five digits; the rest of the program relies on that.
  for (size_t i = first; i < lines.size(); ++i) {
    if (!IsDrawLine(lines[i])) {
      cx.form.setText("Tnew", draw_text::kNoData);
      return false;
    }
  }
  DrawStore& d = cx.draws;
  d.deep.fill(DrawRecord{});
  d.incoming.fill(DrawRecord{});
  d.deepCreated = true;
  for (int i = 0; i < kDeepRows; ++i) {
    DrawRecord r = SplitDrawLine(lines[first + static_cast<size_t>(i)]);
    d.deep[static_cast<size_t>(kDeepRows - i)] = r;
    if (i >= kDeepRows - kHistoryRows) d.incoming[static_cast<size_t>(kDeepRows - i)] = r;
  }
  return true;
}

bool ProcessDrawResponse(Context& cx, FeedState& feed, const ApplyDrawsFn& apply) {
  ParseDrawFeed(cx, feed);
  if (feed.response.empty()) {
    cx.form.setText("Tnew", draw_text::kNoDataCheck);
    cx.form.setEnabled("Cshoudong", true);
    return false;
  }
  bool applied = apply ? apply(cx) : ApplyIncomingDraws(cx);
  if (!cx.form.checked("Cauto")) cx.form.setEnabled("Cshoudong", true);
  return applied;
}

bool ProcessDrawResponse(Context& cx, FeedState& feed) { return ProcessDrawResponse(cx, feed, ApplyIncomingDraws); }

bool HandleDrawResult(Context& cx, FeedState& feed, const HttpResult& result, const ApplyDrawsFn& apply) {
  feed.response = result.ok ? result.body : std::string();
  return ProcessDrawResponse(cx, feed, apply);
}

void FetchOnChannel(Context& cx, int channel, const std::string& url, std::function<void(const HttpResult&)> done) {
  try {
    if (channel == kDrawChannel) cx.form.setText("Tnew", draw_text::kFetching);
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
  cx.form.setText("L_djs", std::to_string(kCountdownTicks - feed.countdownTicks));
  if (feed.countdownTicks > kCountdownTicks - 1) {
    feed.countdownTicks = 0;
    return true;
  }
  return false;
}

bool AutoUpdateTick(Context& cx) {
  if (cx.form.checked("Cauto")) {
    cx.form.setEnabled("Cshoudong", false);
    return true;
  }
  cx.form.setEnabled("Cshoudong", true);
  return false;
}

void BeginManualUpdate(Context& cx) { cx.form.setEnabled("Cshoudong", false); }

}  // namespace lumora
