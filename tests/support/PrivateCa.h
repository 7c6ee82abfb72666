#pragma once
// A private CA made in the test with the openssl command, the certificates a feed may present
// (good, for another host, expired), and an https feed on 127.0.0.1 serving one of them.
#include <atomic>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>

namespace httplib {
class SSLServer;
}

namespace lumora::testing {

struct CertAndKey {
  std::filesystem::path cert, key;
};

struct PrivateCa {
  explicit PrivateCa(const std::filesystem::path& dir);
  std::filesystem::path caPem;  // the CA's certificate: what a ca_file names
  CertAndKey good;              // for 127.0.0.1 and localhost
  CertAndKey wrongHost;         // for feed.invalid only
  CertAndKey expired;           // for 127.0.0.1, expired yesterday
  std::string error;            // set when the openssl command failed
};

// A full 150-draw feed answer (CR LF line breaks, as the feed sends them).
std::string FeedAnswer();

// https://127.0.0.1:PORT/feed: the feed answer when the request's pw is `password`, "no"
// otherwise; what reached it is counted, and apart what carried a password.
class TlsFeed {
 public:
  TlsFeed(const CertAndKey& identity, std::string password);
  ~TlsFeed();
  int port() const { return port_; }
  std::string url() const { return "https://127.0.0.1:" + std::to_string(port_) + "/feed"; }
  // The same by name (Wine's WinHTTP matches host names only, not addresses).
  std::string namedUrl() const { return "https://localhost:" + std::to_string(port_) + "/feed"; }
  int requests() const;
  int accountRequests() const;  // those that carried a password

 private:
  std::unique_ptr<httplib::SSLServer> server_;
  std::thread thread_;
  int port_ = -1;
  std::shared_ptr<std::atomic<int>> requests_, accountRequests_;
};

}  // namespace lumora::testing
