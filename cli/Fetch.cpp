#include "cli/Fetch.h"

namespace lumora::cli {

std::string OriginOf(const std::string& url) {
  size_t schemeEnd = url.find("://");
  size_t hostStart = schemeEnd == std::string::npos ? 0 : schemeEnd + 3;
  std::string origin = url.substr(0, url.find_first_of("/?#", hostStart));
  // user:password@ before the host stays out of messages too.
  if (size_t at = origin.rfind('@'); at != std::string::npos && at >= hostStart)
    origin.erase(hostStart, at + 1 - hostStart);
  return origin;
}

std::string FailureWords(HttpFailure failure) {
  switch (failure) {
    case HttpFailure::None: return "no failure";
    case HttpFailure::NoConnection: return "no connection";
    case HttpFailure::Timeout: return "timed out";
    case HttpFailure::TooLarge: return "response too large";
    case HttpFailure::TlsUntrusted: return "certificate not trusted";
    case HttpFailure::TlsWrongHost: return "certificate names another host";
    case HttpFailure::TlsExpired: return "certificate expired or not yet valid";
    case HttpFailure::TlsOther: return "TLS handshake failed";
    case HttpFailure::NotAllowed: return "not allowed";
    case HttpFailure::Other: return "failed";
  }
  return "failed";
}

}  // namespace lumora::cli
