// The Qt network port over https against feeds with certificates from a private CA made here:
// each refusal says which check failed, the CA file makes the good one pass, nothing but http and
// https is fetched, and error texts never hold the password.
#include <unistd.h>

#include <optional>

#include "support/PrivateCa.h"
#include "ui/support/UiTest.h"

namespace lumora::uitest {
namespace {

using lumora::testing::PrivateCa;
using lumora::testing::TlsFeed;

constexpr const char* kPassword = "s3cret-PW";

HttpResult Get(QtHttp& http, const std::string& url) {
  std::optional<HttpResult> got;
  http.get(1, url, 10000, 1 << 20, [&](const HttpResult& r) { got = r; });
  EXPECT_TRUE(Eventually([&] { return got.has_value(); }, 15000)) << url;
  return got.value_or(HttpResult{});
}

TEST(QtHttpTls, EachCertificateFaultIsNamedAndTheCaFileLetsTheGoodOneThrough) {
  App();
  PrivateCa ca(std::filesystem::temp_directory_path() / ("lumora-qt-ca-" + std::to_string(::getpid())));
  ASSERT_EQ(ca.error, "");
  TlsFeed good(ca.good, kPassword), wrongHost(ca.wrongHost, kPassword), expired(ca.expired, kPassword);
  const std::string query = std::string("?username=u&pw=") + kPassword;
  QtHttp::Dispatch now = [](std::function<void()> f) { f(); };

  QtHttp system(now);
  HttpResult untrusted = Get(system, good.url() + query);
  EXPECT_FALSE(untrusted.ok);
  EXPECT_EQ(untrusted.failure, HttpFailure::TlsUntrusted);
  EXPECT_EQ(good.requests(), 0);

  QtHttp trusting(now);
  ASSERT_TRUE(trusting.trustCaFile(ca.caPem.string()));
  HttpResult fetched = Get(trusting, good.url() + query);
  EXPECT_TRUE(fetched.ok) << fetched.error;
  EXPECT_EQ(fetched.status, 200);
  EXPECT_EQ(fetched.body, lumora::testing::FeedAnswer());
  EXPECT_EQ(fetched.failure, HttpFailure::None);

  HttpResult host = Get(trusting, wrongHost.url() + query);
  EXPECT_EQ(host.failure, HttpFailure::TlsWrongHost) << host.error;
  HttpResult old = Get(trusting, expired.url() + query);
  EXPECT_EQ(old.failure, HttpFailure::TlsExpired) << old.error;
  EXPECT_EQ(wrongHost.requests() + expired.requests(), 0);

  // Not http: never fetched (a file: URL would hand a local file to the engine as an answer).
  HttpResult file = Get(trusting, "file:///etc/hostname" + query);
  EXPECT_EQ(file.failure, HttpFailure::NotAllowed);
  EXPECT_FALSE(file.ok);

  // Nothing listening: no connection, and Qt's text about it without the password.
  int port;
  {
    TlsFeed gone(ca.good, kPassword);
    port = gone.port();
  }
  HttpResult refused = Get(trusting, "https://127.0.0.1:" + std::to_string(port) + "/feed" + query);
  EXPECT_EQ(refused.failure, HttpFailure::NoConnection);
  for (const HttpResult* r : {&untrusted, &host, &old, &file, &refused})
    EXPECT_EQ(r->error.find(kPassword), std::string::npos) << r->error;
  EXPECT_FALSE(QtHttp(now).trustCaFile(ca.good.key.string()));  // a key file holds no certificate
  std::filesystem::remove_all(ca.caPem.parent_path());
}

}  // namespace
}  // namespace lumora::uitest
