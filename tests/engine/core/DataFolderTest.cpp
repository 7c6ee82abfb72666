// Where the data folder is: --data, LUMORA_DATA, a writable data/ beside the program, or else
// the user's folder, seeded once from the shipped one (an installed program in /usr/bin).
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>

#include "core/Files.h"
#include "engine/support/EngineFixture.h"

namespace lumora {
namespace {

namespace fs = std::filesystem;

struct Scratch {
  testing::ScratchFolder root{"datafolder"};
  std::string oldData, oldXdg;
  Scratch() {
    if (const char* v = std::getenv("LUMORA_DATA")) oldData = v;
    if (const char* v = std::getenv("XDG_DATA_HOME")) oldXdg = v;
    unsetenv("LUMORA_DATA");
    setenv("XDG_DATA_HOME", (root / "xdg").c_str(), 1);
  }
  ~Scratch() {
    if (!oldData.empty()) setenv("LUMORA_DATA", oldData.c_str(), 1);
    if (oldXdg.empty()) unsetenv("XDG_DATA_HOME");
    else setenv("XDG_DATA_HOME", oldXdg.c_str(), 1);
  }
};

TEST(DataFolder, InstalledProgramUsesTheUsersFolderSeededOnceFromTheSharedOne) {
  Scratch s;
  const fs::path exe = s.root.put("usr/bin/lumora", "");
  s.root.put("usr/share/lumora/data.mdb", "curves");
  fs::create_directories(s.root / "usr" / "share" / "lumora" / "fa");
  const fs::path user = s.root / "xdg" / "lumora";

  EXPECT_EQ(DataFolder::Locate(exe).root(), user);
  EXPECT_EQ(ReadWholeFileBytes(user / "data.mdb"), "curves");
  EXPECT_TRUE(fs::is_directory(user / "fa"));
  EXPECT_EQ(fs::status(user).permissions() & fs::perms::all, fs::perms(0700));  // private from the start
  // Later starts keep what the user has: nothing is copied over it again.
  s.root.put("xdg/lumora/data.mdb", "the user's curves");
  fs::remove(user / "fa");
  EXPECT_EQ(DataFolder::Locate(exe).root(), user);
  EXPECT_EQ(ReadWholeFileBytes(user / "data.mdb"), "the user's curves");
  EXPECT_FALSE(fs::exists(user / "fa"));
  EXPECT_FALSE(fs::exists(s.root / "xdg" / "lumora.seeding"));

  // --data and LUMORA_DATA still win.
  EXPECT_EQ(DataFolder::Locate(exe, "/elsewhere").root(), fs::path("/elsewhere"));
  setenv("LUMORA_DATA", "/from-env", 1);
  EXPECT_EQ(DataFolder::Locate(exe).root(), fs::path("/from-env"));
  unsetenv("LUMORA_DATA");
  // Without XDG_DATA_HOME: ~/.local/share/lumora, seeded the same way.
  unsetenv("XDG_DATA_HOME");
  const std::string oldHome = std::getenv("HOME") ? std::getenv("HOME") : "";
  setenv("HOME", (s.root / "home").c_str(), 1);
  EXPECT_EQ(DataFolder::Locate(exe).root(), s.root / "home" / ".local" / "share" / "lumora");
  EXPECT_EQ(ReadWholeFileBytes(s.root / "home" / ".local" / "share" / "lumora" / "data.mdb"), "curves");
  setenv("HOME", oldHome.c_str(), 1);
}

TEST(DataFolder, AWritableFolderBesideTheProgramIsUsedAsItIs) {
  Scratch s;
  const fs::path exe = s.root.put("build/bin/lumora", "");
  s.root.put("build/bin/data/data.mdb", "curves");
  EXPECT_EQ(DataFolder::Locate(exe).root(), s.root / "build" / "bin" / "data");
  EXPECT_FALSE(fs::exists(s.root / "xdg"));
  EXPECT_FALSE(fs::exists(s.root / "build" / "bin" / "data" / ".lumora-write-probe"));
}

}  // namespace
}  // namespace lumora
