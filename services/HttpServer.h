#pragma once
// lumora-feed's HTTP/1.1 server. One thread reads every connection's request at once, without
// blocking and under fixed limits (size, header count, time); only a complete request goes to one
// of the workers that answer. A slow or stuck client therefore holds no worker and cannot starve
// the others, and a request over a limit is refused the moment the limit shows, before its body is
// read. Every answer closes its connection. With a certificate and key it serves https instead.
#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace lumora::feed {

struct HttpLimits {
  size_t maxHeadBytes = 256 * 1024;  // request line and headers: a 64 KiB record, every byte escaped, fits
  int maxHeaders = 64;
  size_t maxBodyBytes = 64 * 1024;  // the service answers GET only: a body is read and dropped
  double requestSeconds = 10;       // the whole request (TLS handshake included) must arrive in this
  double sendSeconds = 10;          // each write of the answer
  int maxConnections = 256;         // still sending their request; past it the longest waiting goes
  int workers = 32;                 // answers in progress (a hung answer holds one)
  size_t maxQueued = 256;           // complete requests waiting for a worker; past it: 503
};

struct HttpRequest {
  std::string method;
  std::string path;                                         // decoded
  std::vector<std::pair<std::string, std::string>> params;  // the query's pairs, decoded, in order
  std::string remoteAddress;

  bool has(std::string_view key) const;
  std::string param(std::string_view key) const;  // the first value for `key`, or ""
};

struct HttpResponse {
  int status = 200;
  std::string contentType = "text/plain; charset=utf-8";
  std::vector<std::pair<std::string, std::string>> headers;
  std::string body;
  double spreadSeconds = 0;  // > 0: the body goes out in pieces over this long
};

// The pairs of a query string: split at '&', then at the first '='; %XX and '+' decoded.
std::vector<std::pair<std::string, std::string>> ParseQuery(std::string_view query);

class HttpServer {
 public:
  using Handler = std::function<void(const HttpRequest&, HttpResponse&)>;
  HttpServer(HttpLimits limits, Handler handler);
  ~HttpServer();
  HttpServer(const HttpServer&) = delete;
  HttpServer& operator=(const HttpServer&) = delete;

  // Whether this build can serve https.
  static bool TlsBuiltIn();
  // Serves https with the PEM certificate chain and key; false, with `error`, when they do not load.
  bool useTls(const std::string& certFile, const std::string& keyFile, std::string& error);

  // Binds the listening socket; the port (the one chosen when `port` is 0), or -1.
  int bind(const std::string& host, int port);
  // Serves until stop(); true unless the listening socket failed.
  bool serve();
  // Ends serve() (from any thread, also before serve() has begun); answers in progress are cut.
  void stop();
  bool stopping() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace lumora::feed
