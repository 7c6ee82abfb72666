// The settings service of lumora-feed over real HTTP: store, fetch, refusals, and records that
// survive a restart of the service.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "core/ServiceConfig.h"
#include "e2e/support/Accounts.h"
#include "e2e/support/Http.h"
#include "e2e/support/Process.h"

namespace lumora::e2e {
namespace {

const std::string kRecord =
    "*sz*110/120/130/140/150/160/170/180/190/200/210/220/230/240/250*18/08.09.10.11.12.13.14*"
    "01.02=12345@01.03=1234/01.02*1/1/1/1/1/1/1/1/1/1/1/1/1/1/1*01.02.03*sz*";

std::string Account(const std::string& user) { return "?username=" + PercentEncode(user) + "&pw=pw&sjm_in=1&lx=2"; }
std::string Upload(const std::string& user, const std::string& record) {
  return "/settings" + Account(user) + "&zt=1&uesr_shizhi=" + PercentEncode(record) + "&a=3.5";
}
// The download request as the client sends it, with the empty pair before "a".
std::string Download(const std::string& user) { return "/settings" + Account(user) + "&zt=2&&a=7.25"; }

// A state folder whose accounts are `users`, each with the password "pw".
std::filesystem::path StateWith(std::initializer_list<std::string> users) {
  auto state = FreshTempDir();
  for (const std::string& user : users) AddAccount(state, user, "pw");
  return state;
}

TEST(SettingsService, StoresPerUserAndAnswersTheRecordBetweenItsMarkers) {
  FeedProcess service({"--state", StateWith({"张三", "li si"}).string()});
  EXPECT_EQ(Get(service.port(), Download("张三")).value(), "*szno*");
  EXPECT_EQ(Get(service.port(), Upload("张三", kRecord)).value(), "*szok*");
  std::string other = "*sz*a b&c#+%/@*\r\n中*sz*";  // every awkward byte travels through
  EXPECT_EQ(Get(service.port(), Upload("li si", other)).value(), "*szok*");

  std::string answer = Get(service.port(), Download("张三")).value();
  EXPECT_EQ(answer, "*szok*\r\n" + kRecord);
  EXPECT_EQ(Get(service.port(), Download("li si")).value(), "*szok*\r\n" + other);

  // A second upload replaces the first.
  EXPECT_EQ(Get(service.port(), Upload("张三", "*sz*new*sz*")).value(), "*szok*");
  EXPECT_EQ(Get(service.port(), Download("张三")).value(), "*szok*\r\n*sz*new*sz*");
}

TEST(SettingsService, RefusesMalformedRequestsAndWrongAccounts) {
  auto state = StateWith({"u"});
  FeedProcess open({"--state", state.string()});
  for (std::string query : {"?username=&pw=pw&sjm_in=1&lx=2&zt=2",                  // no user
                            "?username=u&pw=pw&sjm_in=1&lx=3&zt=2",                 // lx not 2
                            "?username=u&pw=pw&sjm_in=1&lx=2&zt=1",                 // upload without record
                            "?username=u&pw=pw&sjm_in=1&lx=2&zt=5&uesr_shizhi=x"})  // unknown zt
    EXPECT_EQ(Get(open.port(), "/settings" + query).value(), "*szerr*") << query;

  FeedProcess guarded({"--user", "u", "--password-file", PasswordFile("pw").string(), "--code", "1", "--state",
                       FreshTempDir().string()});
  EXPECT_EQ(Get(guarded.port(), Upload("u", kRecord)).value(), "*szok*");
  EXPECT_EQ(Get(guarded.port(), "/settings?username=u&pw=bad&sjm_in=1&lx=2&zt=2").value(), "*szerr*");
}

TEST(SettingsService, RecordsSurviveARestart) {
  auto state = StateWith({"u1", "u2"});
  {
    FeedProcess first({"--state", state.string()});
    ASSERT_EQ(Get(first.port(), Upload("u1", kRecord)).value(), "*szok*");
    ASSERT_EQ(Get(first.port(), Upload("u2", "*sz*2*sz*")).value(), "*szok*");
  }
  // Only the store itself is left in the folder: no temporary file stays behind.
  std::vector<std::string> files;
  for (const auto& e : std::filesystem::directory_iterator(state)) files.push_back(e.path().filename().string());
  std::sort(files.begin(), files.end());
  EXPECT_EQ(files, (std::vector<std::string>{"accounts", "settings.txt"}));

  FeedProcess second({"--state", state.string()});
  EXPECT_EQ(Get(second.port(), Download("u1")).value(), "*szok*\r\n" + kRecord);
  EXPECT_EQ(Get(second.port(), Download("u2")).value(), "*szok*\r\n*sz*2*sz*");
}

TEST(SettingsService, AnUnreadableStoreStopsTheServiceInsteadOfLosingIt) {
  auto state = FreshTempDir();
  std::ofstream(state / "settings.txt") << "u1 *sz*ok*sz*\nbroken%zz line\n";
  auto r = RunProgram(BinDir() / "lumora-feed", {"--state", state.string(), "--port", "0"});
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_NE(r.err.find("settings.txt:2"), std::string::npos) << r.err;
}

}  // namespace
}  // namespace lumora::e2e
