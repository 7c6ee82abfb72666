#pragma once
// lumora-cli's one GET: OpenSSL through cpp-httplib on Linux, the system's WinHTTP on Windows.
// https is verified (chain, host name, validity); a refusal says which check failed. Messages
// name the scheme, host and port only, never the query (it carries the account's password).
#include <cstddef>
#include <string>

#include "core/Ports.h"

namespace lumora::cli {

struct FetchOptions {
  double timeoutSeconds = 20;
  std::size_t maxBytes = 1 << 20;
  std::string caFile;  // PEM certificates trusted besides the system's; empty: the system's only
};

struct Fetched {
  std::string body;  // decoded to UTF-8
  int status = 0;
  HttpFailure failure = HttpFailure::None;
  std::string error;  // set when no complete response arrived
};

Fetched Fetch(const std::string& url, const FetchOptions& options);

// "scheme://host:port" of `url`: what messages may show of it.
std::string OriginOf(const std::string& url);
// A few words for `failure` ("certificate not trusted", ...).
std::string FailureWords(HttpFailure failure);

}  // namespace lumora::cli
