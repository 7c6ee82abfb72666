// lumora-cli feed over https against feeds with certificates from a private CA made here: each
// refusal names its reason, the CA file (option or lumora.ini) makes the good one pass, and no
// printed line ever holds the password. The Windows build's lumora-cli.exe is run the same way
// under Wine when LUMORA_WINDOWS_CLI names it.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <fstream>
#include <functional>

#include "core/Text.h"
#include "e2e/support/Process.h"
#include "support/PrivateCa.h"

namespace lumora::e2e {
namespace {

namespace fs = std::filesystem;
using lumora::testing::PrivateCa;
using lumora::testing::TlsFeed;

constexpr const char* kPassword = "s3cret-PW";

struct Env {
  Env(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    had_ = std::getenv(name) != nullptr;
    setenv(name, value, 1);
  }
  ~Env() {
    if (had_) setenv(name_, old_.c_str(), 1);
    else unsetenv(name_);
  }
  const char* name_;
  std::string old_;
  bool had_ = false;
};

RunResult Feed(const std::vector<std::string>& args, const fs::path& program = BinDir() / "lumora-cli") {
  std::vector<std::string> all{"feed"};
  all.insert(all.end(), args.begin(), args.end());
  return RunProgram(program, all);
}

bool Says(const RunResult& r, const std::string& words) { return r.err.find(words) != std::string::npos; }

struct CaFileRuns {
  RunResult fetched, wrongHost, expired;
};
// With the CA file named, the good feed is fetched, and the wrong-host and the expired
// certificates are refused with their reasons, never asked for the account.
CaFileRuns ExpectCaFileChecks(const std::function<RunResult(std::vector<std::string>)>& run,
                              std::string (TlsFeed::*url)() const, const std::string& ca, TlsFeed& good,
                              TlsFeed& wrongHost, TlsFeed& expired) {
  CaFileRuns r{run({"--url", (good.*url)(), "--ca-file", ca}), run({"--url", (wrongHost.*url)(), "--ca-file", ca}),
               run({"--url", (expired.*url)(), "--ca-file", ca})};
  EXPECT_EQ(r.fetched.exitCode, 0) << r.fetched.err;
  EXPECT_EQ(r.wrongHost.exitCode, 2);
  EXPECT_TRUE(Says(r.wrongHost, "certificate names another host")) << r.wrongHost.err;
  EXPECT_EQ(r.expired.exitCode, 2);
  EXPECT_TRUE(Says(r.expired, "certificate expired")) << r.expired.err;
  EXPECT_EQ(wrongHost.accountRequests() + expired.accountRequests(), 0);
  return r;
}

class CliTls : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ca_ = new PrivateCa(FreshTempDir() / "ca"); }
  static void TearDownTestSuite() { delete ca_; }
  void SetUp() override { ASSERT_EQ(ca_->error, ""); }
  static PrivateCa* ca_;
  Env password_{"LUMORA_PASSWORD", kPassword};
  Env noData_{"LUMORA_DATA", FreshTempDir().c_str()};  // an empty folder: no lumora.ini
};
PrivateCa* CliTls::ca_ = nullptr;

TEST_F(CliTls, EachCertificateFaultIsNamedAndTheCaFileLetsTheGoodOneThrough) {
  TlsFeed good(ca_->good, kPassword), wrongHost(ca_->wrongHost, kPassword), expired(ca_->expired, kPassword);
  const std::string ca = ca_->caPem.string();

  RunResult untrusted = Feed({"--url", good.url(), "--user", "u"});
  EXPECT_EQ(untrusted.exitCode, 2);
  EXPECT_TRUE(Says(untrusted, "certificate not trusted")) << untrusted.err;
  EXPECT_EQ(good.requests(), 0);  // refused in the handshake: nothing was sent

  auto [fetched, host, old] = ExpectCaFileChecks([](std::vector<std::string> args) { return Feed(args); },
                                                 &TlsFeed::url, ca, good, wrongHost, expired);
  EXPECT_EQ(Split(fetched.out, "\n")[0], "开奖完毕");
  EXPECT_EQ(wrongHost.requests() + expired.requests(), 0);  // refused in the handshake

  // The CA file named in lumora.ini of the data folder (relative to it).
  fs::path data = FreshTempDir();
  fs::copy_file(ca_->caPem, data / "private-ca.pem");
  std::ofstream(data / "lumora.ini") << "[service]\nca_file=private-ca.pem\n";
  RunResult viaIni = Feed({"--url", good.url(), "--data", data.string()});
  EXPECT_EQ(viaIni.exitCode, 0) << viaIni.err;
  EXPECT_EQ(good.requests(), 2);

  for (const RunResult* r : {&untrusted, &fetched, &host, &old, &viaIni}) {
    EXPECT_EQ(r->err.find(kPassword), std::string::npos) << r->err;
    EXPECT_EQ(r->out.find(kPassword), std::string::npos);
  }
}

TEST_F(CliTls, ThePasswordComesFromTheEnvironmentOrAFileAndIsNeverPrinted) {
  TlsFeed good(ca_->good, kPassword);
  const std::string ca = ca_->caPem.string();
  // On the command line it is refused, naming what to use instead.
  RunResult onLine = Feed({"--url", good.url(), "--password", kPassword, "--ca-file", ca});
  EXPECT_EQ(onLine.exitCode, 2);
  EXPECT_TRUE(Says(onLine, "LUMORA_PASSWORD") && Says(onLine, "--password-file")) << onLine.err;
  EXPECT_EQ(good.requests(), 0);

  // From a file (its first line), with the environment's wrong: the file wins.
  fs::path file = FreshTempDir() / "pw";
  std::ofstream(file) << kPassword << "\r\n";
  {
    Env wrong("LUMORA_PASSWORD", "wrong");
    EXPECT_EQ(Feed({"--url", good.url(), "--password-file", file.string(), "--ca-file", ca}).exitCode, 0);
    EXPECT_EQ(Feed({"--url", good.url(), "--ca-file", ca}).exitCode, 1);  // "no": the wrong one went
  }

  // Every fetch error names the host, never the query with the password in it.
  int port;
  {
    TlsFeed gone(ca_->good, kPassword);
    port = gone.port();
  }
  std::vector<RunResult> failures{
      Feed({"--url", "http://127.0.0.1:" + std::to_string(port) + "/feed"}),
      Feed({"--url", "https://127.0.0.1:" + std::to_string(port) + "/feed?username=u&pw=" + std::string(kPassword)}),
      Feed({"--url", good.url() + "?username=u&pw=" + std::string(kPassword)}),
      Feed({"--url", "ftp://127.0.0.1/feed?pw=" + std::string(kPassword)}),
      Feed({"--url", "http://u:" + std::string(kPassword) + "@127.0.0.1:" + std::to_string(port) + "/feed"})};
  for (const RunResult& r : failures) {
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.err, "");
    EXPECT_EQ(r.err.find(kPassword), std::string::npos) << r.err;
  }
}

TEST_F(CliTls, PlainHttpOffThisMachineIsNotSentUnlessLumoraIniAllowsIt) {
  // 192.0.2.0/24 answers nobody: had the request been sent, it would wait for the time-out.
  RunResult refused = Feed({"--url", "http://192.0.2.1:18610/feed", "--timeout", "30"});
  EXPECT_EQ(refused.exitCode, 2);
  EXPECT_TRUE(Says(refused, "not sent")) << refused.err;
  EXPECT_TRUE(Says(refused, "https://")) << refused.err;

  fs::path data = FreshTempDir();
  std::ofstream(data / "lumora.ini") << "allow_plain_http=1\n";
  RunResult allowed = Feed({"--url", "http://192.0.2.1:18610/feed", "--timeout", "1", "--data", data.string()});
  EXPECT_EQ(allowed.exitCode, 2);
  EXPECT_TRUE(Says(allowed, "warning: the password goes to http://192.0.2.1:18610 unencrypted")) << allowed.err;
  EXPECT_FALSE(Says(allowed, "not sent"));
}

// The Windows program under Wine: its own TLS (WinHTTP), the same refusals, no crash.
TEST_F(CliTls, TheWindowsProgramFetchesHttpsUnderWine) {
  const char* exe = std::getenv("LUMORA_WINDOWS_CLI");
  if (!exe || !*exe) GTEST_SKIP() << "LUMORA_WINDOWS_CLI does not name lumora-cli.exe";
  const fs::path wine =
      fs::path(std::getenv("LUMORA_SOURCE") ? std::getenv("LUMORA_SOURCE") : ".") / "tests/win32/wine-run.sh";
  auto run = [&](std::vector<std::string> args) {
    args.insert(args.begin(), {exe, "feed"});
    return RunProgram(wine, args);
  };
  TlsFeed good(ca_->good, kPassword), wrongHost(ca_->wrongHost, kPassword), expired(ca_->expired, kPassword);
  const std::string ca = ca_->caPem.string();

  RunResult untrusted = run({"--url", good.namedUrl()});
  EXPECT_EQ(untrusted.exitCode, 2);
  EXPECT_TRUE(Says(untrusted, "certificate not trusted")) << untrusted.err;
  EXPECT_EQ(good.accountRequests(), 0);

  auto [fetched, host, old] = ExpectCaFileChecks(run, &TlsFeed::namedUrl, ca, good, wrongHost, expired);

  // Without the CA file each fault is named too, found by requests without the account.
  RunResult hostNoCa = run({"--url", wrongHost.namedUrl()});
  EXPECT_TRUE(Says(hostNoCa, "certificate not trusted")) << hostNoCa.err;
  RunResult scheme = run({"--url", "gopher://127.0.0.1/feed"});
  EXPECT_EQ(scheme.exitCode, 2);
  EXPECT_TRUE(Says(scheme, "not an http:// or https:// URL")) << scheme.err;
  for (const RunResult* r : {&untrusted, &fetched, &host, &old, &scheme})
    EXPECT_EQ(r->err.find(kPassword), std::string::npos) << r->err;
}

}  // namespace
}  // namespace lumora::e2e
