#include "settings/TextFetch.h"

#include <exception>

#include "core/Endpoint.h"
#include "core/Feed.h"
#include "core/Text.h"

namespace lumora {

void FetchText(Context& cx, const std::string& url, std::function<void(const std::string&)> done) {
  try {
    if (!cx.ports.http) {
      if (done) done(std::string());
      return;
    }
    const float r = static_cast<float>(cx.rng.Uniform() * 10.0);
    std::string full = url + "&a=" + FormatNumber(static_cast<double>(r), 6);
    if (HttpResult refusal; !MaySend(cx, full, refusal)) {
      if (done) done(std::string());
      return;
    }
    cx.ports.http->get(kTextChannel, full, kFetchTextTimeoutMs, kDrawResponseMaxBytes,
                       [done = std::move(done)](const HttpResult& res) {
                         if (!done) return;
                         if (res.ok) done(res.body);
                         else if (res.error == "timeout") done(kFetchTimedOut);
                         else done(std::string());
                       });
  } catch (const std::exception&) {
    if (done) done(std::string());
  }
}

}  // namespace lumora
