// The service account on its way out: which endpoints may carry it, that no shown text holds the
// password, the key store taking it out of lumora.ini, and lumora.ini's own keys for all that.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "core/Context.h"
#include "core/Endpoint.h"
#include "core/Feed.h"
#include "core/Files.h"
#include "core/KeyStore.h"
#include "core/RecordingPorts.h"
#include "core/ServiceConfig.h"
#include "engine/support/EngineFixture.h"
#include "settings/TextFetch.h"

namespace lumora {
namespace {

namespace fs = std::filesystem;

TEST(AccountSafety, PlainHttpCarriesTheAccountOnlyToThisMachine) {
  for (const char* url :
       {"http://127.0.0.1:18610/feed", "http://127.9.8.7/feed", "HTTP://LOCALHOST:1/x", "http://localhost./x",
        "http://[::1]:8080/feed", "https://feed.example/feed", "https://10.0.0.2:443/feed?username=a&pw=b"})
    EXPECT_EQ(CheckEndpoint(url, false).failure, HttpFailure::None) << url;
  // Hosts that only look local, and what is not http at all.
  for (const char* url :
       {"http://10.0.0.2/feed", "http://127.0.0.1@evil.example/feed", "http://127.0.0.1.evil.example/",
        "http://127.0.0.256/", "http://[::2]/", "http://localhost.evil.example/", "ftp://127.0.0.1/feed",
        "file:///etc/passwd", "127.0.0.1/feed", "http:///feed"})
    EXPECT_EQ(CheckEndpoint(url, false).failure, HttpFailure::NotAllowed) << url;

  // allow_plain_http lets it go, marked for the warning.
  EndpointVerdict v = CheckEndpoint("http://10.0.0.2/feed", true);
  EXPECT_EQ(v.failure, HttpFailure::None);
  EXPECT_TRUE(v.plainOffMachine);
  EXPECT_EQ(CheckEndpoint("ftp://10.0.0.2/feed", true).failure, HttpFailure::NotAllowed);
  // The reason never quotes the query.
  EXPECT_EQ(CheckEndpoint("http://10.0.0.2/feed?username=u&pw=s3cret", false).reason.find("s3cret"), std::string::npos);
}

TEST(AccountSafety, RedactionHidesEveryPasswordAndNothingElse) {
  EXPECT_EQ(RedactSecrets("http://h/feed?username=u&pw=s%231&sjm_in=c&pw=again"),
            "http://h/feed?username=u&pw=***&sjm_in=c&pw=***");
  EXPECT_EQ(RedactSecrets("Error transferring http://h/f?pw=abc - server replied: Not Found"),
            "Error transferring http://h/f?pw=*** - server replied: Not Found");
  EXPECT_EQ(RedactSecrets("newpw=keep &pw=&x=1 pw=at-start"), "newpw=keep &pw=&x=1 pw=***");
  EXPECT_EQ(RedactSecrets("no secrets here"), "no secrets here");
  EXPECT_EQ(RedactSecrets("tail?pw="), "tail?pw=");
}

TEST(AccountSafety, TheEngineSendsNothingItMustNotAndSaysWhyOnce) {
  RecordingPrompter prompter;
  ScriptedHttp http;  // records what it is asked to fetch
  Context cx;
  cx.ports.prompter = &prompter;
  cx.ports.http = &http;
  cx.service.feedEndpoint = "http://192.0.2.7:18610/feed";
  cx.service.settingsEndpoint = "http://192.0.2.7:18610/settings";
  cx.service.password = "s3cret";

  std::vector<HttpResult> results;
  for (int i = 0; i < 3; ++i) RequestDrawFeed(cx, [&](const HttpResult& r) { results.push_back(r); });
  std::vector<std::string> texts;
  FetchText(cx, cx.service.settingsEndpoint + "?username=&pw=s3cret",
            [&](const std::string& t) { texts.push_back(t); });
  EXPECT_TRUE(http.urls.empty());
  ASSERT_EQ(results.size(), 3u);
  EXPECT_EQ(results[0].failure, HttpFailure::NotAllowed);
  EXPECT_FALSE(results[0].ok);
  EXPECT_NE(results[0].error.find("https"), std::string::npos);
  EXPECT_EQ(texts, std::vector<std::string>{""});
  ASSERT_EQ(prompter.notices.size(), 1u);  // one notice, not one per tick
  EXPECT_EQ(prompter.notices[0].text.find("s3cret"), std::string::npos);

  // Allowed in lumora.ini: sent, with one warning however often.
  cx.service.allowPlainHttp = true;
  for (int i = 0; i < 3; ++i) RequestDrawFeed(cx, [](const HttpResult&) {});
  EXPECT_EQ(http.urls.size(), 3u);
  EXPECT_EQ(prompter.notices.size(), 2u);
  EXPECT_NE(prompter.notices[1].text.find("192.0.2.7"), std::string::npos);

  // https to anywhere and plain http to this machine go out without a word.
  cx.service.allowPlainHttp = false;
  cx.service.feedEndpoint = "https://192.0.2.7/feed";
  RequestDrawFeed(cx, [](const HttpResult&) {});
  cx.service.feedEndpoint = "http://127.0.0.1:18610/feed";
  RequestDrawFeed(cx, [](const HttpResult&) {});
  EXPECT_EQ(http.urls.size(), 5u);
  EXPECT_EQ(prompter.notices.size(), 2u);
}

TEST(AccountSafety, LumoraIniNamesTheCaFileThePlainHttpAllowanceAndTheKeyStore) {
  const testing::ScratchFolder root("account");
  ServiceConfig c =
      ParseServiceConfig("[service]\r\nca_file = ca.pem\r\nallow_plain_http=1\r\npassword_store=keyring\r\n");
  EXPECT_EQ(c.caFile, "ca.pem");
  EXPECT_TRUE(c.allowPlainHttp);
  EXPECT_TRUE(c.passwordInKeyStore);
  ServiceConfig d = ParseServiceConfig("allow_plain_http=0\npassword_store=file\n");
  EXPECT_FALSE(d.allowPlainHttp);
  EXPECT_FALSE(d.passwordInKeyStore);
  EXPECT_TRUE(d.caFile.empty());

  // A relative ca_file is the data folder's; one that holds no certificate is said at start-up.
  ASSERT_TRUE(WriteFileAtomic(root / "lumora.ini", "ca_file=ca.pem\nusername=u\n"));
  ServiceConfig missing = ReadServiceConfig(root / "lumora.ini");
  EXPECT_EQ(missing.caFile, PathToUtf8(root / "ca.pem"));
  EXPECT_NE(missing.fault.find("ca.pem"), std::string::npos);
  EXPECT_EQ(missing.user, "u");  // the rest of the file still counts
  ASSERT_TRUE(WriteFileAtomic(root / "ca.pem", "-----BEGIN CERTIFICATE-----\nMIIB\n-----END CERTIFICATE-----\n"));
  EXPECT_EQ(ReadServiceConfig(root / "lumora.ini").fault, "");
}

// A key store in memory, able to fail like an unreachable Secret Service.
struct MemoryKeyStore final : KeyStore {
  std::map<std::string, std::string> secrets;
  std::string down;  // set: every call fails with it
  std::optional<std::string> read(const std::string& key, std::string& error) override {
    if (!down.empty()) {
      error = down;
      return std::nullopt;
    }
    auto it = secrets.find(key);
    if (it == secrets.end()) return std::nullopt;
    return it->second;
  }
  bool write(const std::string& key, const std::string& secret, std::string& error) override {
    if (!down.empty()) {
      error = down;
      return false;
    }
    secrets[key] = secret;
    return true;
  }
};

TEST(AccountSafety, TheKeyStoreTakesThePasswordOutOfLumoraIni) {
  const testing::ScratchFolder root("account");
  const fs::path ini = root / "lumora.ini";
  // GBK comment, CR LF, the password line among others.
  const std::string before =
      "; \xD6\xD0\xCE\xC4\r\n[service]\r\nusername=\xD5\xC5\r\npassword = p=w&1\r\npassword_store=keyring\r\nrandom_code=9\r\n";
  ASSERT_TRUE(WriteFileAtomic(ini, before));
  MemoryKeyStore store;
  store.down = "no D-Bus session";

  // The store cannot be reached: the password stays where it is, and the player is told.
  ServiceConfig c = ReadServiceConfig(ini);
  EXPECT_NE(TakePasswordFromKeyStore(c, ini, &store).find("no D-Bus session"), std::string::npos);
  EXPECT_EQ(c.password, "p=w&1");
  EXPECT_EQ(ReadWholeFileBytes(ini), before);

  // Reachable: moved into the store, blanked in the file, everything else byte for byte.
  store.down.clear();
  c = ReadServiceConfig(ini);
  EXPECT_FALSE(TakePasswordFromKeyStore(c, ini, &store).empty());
  EXPECT_EQ(store.secrets[PasswordKey(c)], "p=w&1");
  EXPECT_EQ(
      ReadWholeFileBytes(ini),
      "; \xD6\xD0\xCE\xC4\r\n[service]\r\nusername=\xD5\xC5\r\npassword =\r\npassword_store=keyring\r\nrandom_code=9\r\n");
  EXPECT_EQ(c.password, "p=w&1");

  // The next start reads it from the store, silently.
  c = ReadServiceConfig(ini);
  EXPECT_EQ(c.password, "");
  EXPECT_EQ(TakePasswordFromKeyStore(c, ini, &store), "");
  EXPECT_EQ(c.password, "p=w&1");

  // Without password_store=keyring the store is never asked; without a store the file's is kept.
  ServiceConfig plain = ParseServiceConfig("password=x\n");
  store.down = "must not be asked";
  EXPECT_EQ(TakePasswordFromKeyStore(plain, ini, &store), "");
  ServiceConfig noStore = ParseServiceConfig("password=x\npassword_store=keyring\n");
  EXPECT_FALSE(TakePasswordFromKeyStore(noStore, ini, nullptr).empty());
  EXPECT_EQ(noStore.password, "x");
}

#ifndef _WIN32
TEST(AccountSafety, TheDataFolderAndLumoraIniArePrivate) {
  const testing::ScratchFolder root("account");
  const fs::path data = root / "data";
  fs::create_directories(data);
  fs::permissions(data, fs::perms(0755));
  ASSERT_TRUE(WriteFileAtomic(data / "lumora.ini", "password=x\n"));
  fs::permissions(data / "lumora.ini", fs::perms(0644));
  ASSERT_TRUE(WriteFileAtomic(data / "zdy.txt", "phrases"));

  std::vector<std::string> said = MakeDataFolderPrivate(data);
  EXPECT_EQ(said.size(), 2u);
  EXPECT_EQ(fs::status(data).permissions() & fs::perms::all, fs::perms(0700));
  EXPECT_EQ(fs::status(data / "lumora.ini").permissions() & fs::perms::all, fs::perms(0600));
  EXPECT_TRUE(MakeDataFolderPrivate(data).empty());  // nothing to say the second time

  // Saving over a private file keeps it private; a file saved owner-only is private whatever it
  // replaced (the service's accounts and records).
  ASSERT_TRUE(WriteFileAtomic(data / "lumora.ini", "password=\n"));
  EXPECT_EQ(fs::status(data / "lumora.ini").permissions() & fs::perms::all, fs::perms(0600));
  ASSERT_TRUE(WriteFileAtomic(data / "accounts", "a b\n", FileAccess::OwnerOnly));
  EXPECT_EQ(fs::status(data / "accounts").permissions() & fs::perms::all, fs::perms(0600));
  fs::permissions(data / "accounts", fs::perms(0644));
  ASSERT_TRUE(WriteFileAtomic(data / "accounts", "a c\n", FileAccess::OwnerOnly));
  EXPECT_EQ(fs::status(data / "accounts").permissions() & fs::perms::all, fs::perms(0600));
}
#endif

}  // namespace
}  // namespace lumora
