// Atomic file replacement: the temporary files of saves, and what a cut-off save leaves.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>

#include "core/Files.h"
#include "engine/support/EngineFixture.h"

namespace lumora {
namespace {

namespace fs = std::filesystem;

struct Folder {
  testing::ScratchFolder root{"files"};
  void put(const std::string& name, const std::string& bytes, std::chrono::minutes age) {
    std::ofstream(root / name, std::ios::binary) << bytes;
    fs::last_write_time(root / name, fs::file_time_type::clock::now() - age);
  }
  std::vector<std::string> names() const {
    std::vector<std::string> out;
    for (const auto& e : fs::directory_iterator(root)) out.push_back(e.path().filename().string());
    std::sort(out.begin(), out.end());
    return out;
  }
};

TEST(WriteFileAtomic, LeavesOnlyTheTargetAndClearsWhatCutOffSavesLeft) {
#ifdef _WIN32
  GTEST_SKIP() << "names here are narrow UTF-8; Chinese paths on Windows are checked in ChinesePathsTest";
#endif
  Folder f;
  // Left by a save that was killed long ago, and by one running right now in another process.
  f.put(".lumora-save-12.tmp", "half a sch", std::chrono::minutes(5));
  f.put(".lumora-save-34.tmp", "in progress", std::chrono::minutes(0));
  // Files that merely look alike are the player's own.
  f.put("方案.fa.tmp", "mine", std::chrono::minutes(5));
  f.put(".lumora-save-56.txt", "mine", std::chrono::minutes(5));
  ASSERT_TRUE(WriteFileAtomic(f.root / "方案.fa", "new"));
  EXPECT_EQ(ReadWholeFileBytes(f.root / "方案.fa").value(), "new");
  EXPECT_EQ(f.names(),
            (std::vector<std::string>{".lumora-save-34.tmp", ".lumora-save-56.txt", "方案.fa", "方案.fa.tmp"}));
  // Replacing keeps exactly the new bytes.
  ASSERT_TRUE(WriteFileAtomic(f.root / "方案.fa", std::string(5000, 'x')));
  EXPECT_EQ(ReadWholeFileBytes(f.root / "方案.fa").value(), std::string(5000, 'x'));
}

TEST(WriteFileAtomic, FailsWithoutItsFolderAndLeavesTheOldFile) {
  Folder f;
  EXPECT_FALSE(WriteFileAtomic(f.root / "missing" / "zdy.txt", "x"));
  ASSERT_TRUE(WriteFileAtomic(f.root / "zdy.txt", "old"));
  fs::create_directory(f.root / "dir.txt");  // a folder cannot be replaced by a file
  EXPECT_FALSE(WriteFileAtomic(f.root / "dir.txt", "new"));
  EXPECT_EQ(f.names(), (std::vector<std::string>{"dir.txt", "zdy.txt"}));
  EXPECT_EQ(ReadWholeFileBytes(f.root / "zdy.txt").value(), "old");
}

}  // namespace
}  // namespace lumora
