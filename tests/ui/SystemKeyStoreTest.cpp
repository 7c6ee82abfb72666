// The password in the system's key store for real: Secret Service (gnome-keyring in a D-Bus
// session of the test's own, its keyrings in a scratch home) through the port the program uses,
// and lumora.ini's password moved into it and read back at the next start.
#include <stdlib.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "core/Files.h"
#include "core/KeyStore.h"
#include "ui/SystemKeyStore.h"
#include "ui/support/UiTest.h"

namespace lumora::uitest {
namespace {

namespace fs = std::filesystem;

bool OnPath(const char* tool) {
  return std::system((std::string("command -v ") + tool + " >/dev/null 2>&1").c_str()) == 0;
}

TEST(SystemKeyStore, ThePasswordMovesIntoSecretServiceAndComesBack) {
  const fs::path scratch = fs::temp_directory_path() / ("lumora-keyring-" + std::to_string(::getpid()));
  if (!std::getenv("LUMORA_KEYRING_SESSION")) {
    // This test again, inside a D-Bus session with an unlocked keyring of its own.
    if (!OnPath("dbus-run-session") || !OnPath("gnome-keyring-daemon"))
      GTEST_SKIP() << "no dbus-run-session or gnome-keyring-daemon: Secret Service cannot run here";
    fs::create_directories(scratch);
    const std::string self = fs::read_symlink("/proc/self/exe").string();
    const std::string command =
        "cd '" + scratch.string() + "' && HOME='" + scratch.string() + "' XDG_DATA_HOME='" + scratch.string() +
        "/data' LUMORA_KEYRING_SESSION=1 dbus-run-session -- sh -c "
        "'printf x | gnome-keyring-daemon --unlock --components=secrets >/dev/null 2>&1; exec \"$0\" "
        "--gtest_filter=SystemKeyStore.*' '" +
        self + "' >out.txt 2>&1";
    const int status = std::system(command.c_str());
    std::ifstream log(scratch / "out.txt");
    std::string text((std::istreambuf_iterator<char>(log)), {});
    fs::remove_all(scratch);
    EXPECT_EQ(status, 0) << text;
    EXPECT_NE(text.find("[  PASSED  ] 1 test"), std::string::npos) << text;
    return;
  }
  App();
  std::unique_ptr<KeyStore> store = SystemKeyStore();
  ASSERT_NE(store, nullptr);
  std::string error;
  ASSERT_TRUE(store->write("lumora test key", "p=w 1", error)) << error;
  EXPECT_EQ(store->read("lumora test key", error), std::optional<std::string>("p=w 1")) << error;
  EXPECT_EQ(store->read("no such key", error), std::nullopt);
  EXPECT_EQ(error, "");  // absent, not a failure

  const fs::path ini = fs::current_path() / "lumora.ini";
  ASSERT_TRUE(WriteFileAtomic(ini, "[service]\nusername=u\npassword=s3cret\npassword_store=keyring\n"));
  ServiceConfig first = ReadServiceConfig(ini);
  EXPECT_NE(TakePasswordFromKeyStore(first, ini, store.get()), "");
  EXPECT_EQ(ReadWholeFileBytes(ini), "[service]\nusername=u\npassword=\npassword_store=keyring\n");
  ServiceConfig next = ReadServiceConfig(ini);
  EXPECT_EQ(TakePasswordFromKeyStore(next, ini, store.get()), "");
  EXPECT_EQ(next.password, "s3cret");
}

}  // namespace
}  // namespace lumora::uitest
