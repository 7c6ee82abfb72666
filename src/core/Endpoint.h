#pragma once
// What a request may do before it leaves the machine, and what may be shown of it afterwards.
// Every request of the program carries the service account (user name, password, code) in its
// query, so the rules hold for every request:
//   - only http:// and https:// are fetched;
//   - plain http:// goes only to this machine (localhost, 127.0.0.0/8, [::1]) unless lumora.ini
//     says allow_plain_http=1 (then one warning, once);
//   - a URL is never shown, logged or recorded with its password: RedactSecrets first.
#include <string>
#include <string_view>

#include "core/Ports.h"

namespace lumora {

struct Context;

struct UrlParts {
  std::string scheme;  // lower case: "http", "https"; empty when the URL has none
  std::string host;    // lower case, IPv6 without brackets; empty when there is none
};
UrlParts SplitUrl(std::string_view url);

// localhost, 127.0.0.0/8 and ::1: the only hosts plain HTTP may carry the account to.
bool IsLoopbackHost(std::string_view host);

struct EndpointVerdict {
  HttpFailure failure = HttpFailure::None;  // NotAllowed when the request must not be sent
  std::string reason;                       // why (UTF-8, for the player), empty when allowed
  bool plainOffMachine = false;             // allowed, but the account crosses the network unencrypted
};
EndpointVerdict CheckEndpoint(std::string_view url, bool allowPlainHttp);

// `text` with the value of every "pw=" in it replaced by "***" (up to the next '&', blank or end).
std::string RedactSecrets(std::string_view text);

// The gate of the engine's requests: true when `url` may be sent. When it may not, the player is
// told why once (a notice; later refusals stay quiet) and `refusal` says why (NotAllowed). Plain
// HTTP off this machine that lumora.ini allows is sent, with one warning the first time.
bool MaySend(Context& cx, const std::string& url, HttpResult& refusal);

}  // namespace lumora
