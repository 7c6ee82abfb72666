#pragma once
// A plain GET against the local service for the end-to-end tests.
#include <httplib.h>

#include <optional>
#include <string>

namespace lumora::e2e {

// The body of GET `pathAndQuery`, or nothing when no complete answer arrives in `timeoutSeconds`.
inline std::optional<std::string> Get(int port, const std::string& pathAndQuery, int timeoutSeconds = 10) {
  httplib::Client client("127.0.0.1", port);
  client.set_read_timeout(timeoutSeconds, 0);
  auto result = client.Get(pathAndQuery);
  if (!result) return std::nullopt;
  return result->body;
}

}  // namespace lumora::e2e
