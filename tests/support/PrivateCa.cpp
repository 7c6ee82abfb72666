#include "support/PrivateCa.h"

#include <httplib.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace lumora::testing {

namespace fs = std::filesystem;

namespace {
bool Run(const std::string& command, std::string& error) {
  if (std::system((command + " >/dev/null 2>&1").c_str()) == 0) return true;
  if (error.empty()) error = "failed: " + command;
  return false;
}

std::string Q(const fs::path& p) { return "'" + p.string() + "'"; }
}  // namespace

PrivateCa::PrivateCa(const fs::path& dir) {
  fs::create_directories(dir);
  caPem = dir / "ca.pem";
  const std::string ec = "-newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes";
  Run("openssl req -x509 " + ec + " -keyout " + Q(dir / "ca.key") + " -out " + Q(caPem) +
          " -days 30 -subj '/CN=Lumora Test CA' -addext basicConstraints=critical,CA:TRUE -addext keyUsage=keyCertSign,cRLSign",
      error);
  auto issue = [&](const std::string& name, const std::string& san, int days) {
    CertAndKey c{dir / (name + ".pem"), dir / (name + ".key")};
    const fs::path csr = dir / (name + ".csr"), ext = dir / (name + ".ext");
    std::FILE* f = std::fopen(ext.c_str(), "w");
    if (f) {
      std::fprintf(f, "subjectAltName=%s\nbasicConstraints=CA:FALSE\nextendedKeyUsage=serverAuth\n", san.c_str());
      std::fclose(f);
    }
    Run("openssl req " + ec + " -keyout " + Q(c.key) + " -out " + Q(csr) + " -subj '/CN=" + name + "'", error);
    Run("openssl x509 -req -in " + Q(csr) + " -CA " + Q(caPem) + " -CAkey " + Q(dir / "ca.key") +
            " -CAcreateserial -out " + Q(c.cert) + " -days " + std::to_string(days) + " -extfile " + Q(ext),
        error);
    return c;
  };
  good = issue("good", "IP:127.0.0.1,DNS:localhost", 30);
  wrongHost = issue("wrong-host", "DNS:feed.invalid", 30);
  expired = issue("expired", "IP:127.0.0.1,DNS:localhost", -1);
}

std::string FeedAnswer() {
  std::string block;
  for (int i = 0; i < 150; ++i) {
    char line[16];
    std::snprintf(line, sizeof line, "%03d-%05d\r\n", i % 120 + 1, (i * 7919) % 100000);
    block += line;
  }
  return "**ok**\r\n*-*" + block + "*-*\r\n";
}

TlsFeed::TlsFeed(const CertAndKey& identity, std::string password)
    : server_(std::make_unique<httplib::SSLServer>(identity.cert.c_str(), identity.key.c_str())),
      requests_(std::make_shared<std::atomic<int>>(0)), accountRequests_(std::make_shared<std::atomic<int>>(0)) {
  auto count = requests_, withAccount = accountRequests_;
  server_->Get("/feed", [count, withAccount, password](const httplib::Request& req, httplib::Response& res) {
    ++*count;
    if (req.has_param("pw")) ++*withAccount;
    res.set_content(req.get_param_value("pw") == password ? FeedAnswer() : "no", "text/plain");
  });
  port_ = server_->bind_to_any_port("127.0.0.1");
  thread_ = std::thread([this] { server_->listen_after_bind(); });
  for (int i = 0; i < 500 && !server_->is_running(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
}

TlsFeed::~TlsFeed() {
  server_->stop();
  if (thread_.joinable()) thread_.join();
}

int TlsFeed::requests() const { return *requests_; }
int TlsFeed::accountRequests() const { return *accountRequests_; }

}  // namespace lumora::testing
