// Paths from the program's UTF-8 text: folders and files named in Chinese are written, listed and
// read back the same on Linux and on Windows (where a plain narrow path would go through the ANSI
// code page and lose them).
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "core/Files.h"
#include "core/TextCodec.h"
#include "engine/support/EngineFixture.h"

namespace lumora {
namespace {

namespace fs = std::filesystem;

struct ChineseFolder : ::testing::Test {
  testing::ScratchFolder root{"files"};
};

TEST_F(ChineseFolder, NamesSurviveTheRoundTripAndTheFilesHoldGbk) {
  const std::string folderName = "彩票数据 ✓";
  const fs::path folder = root / PathFromUtf8(folderName);
  EXPECT_EQ(PathToUtf8(folder.filename()), folderName);
  ASSERT_TRUE(fs::create_directories(folder / "fa"));

  DataFolder data = DataFolder::Locate(root / "lumora.exe", PathToUtf8(folder));
  EXPECT_EQ(PathToUtf8(data.root().filename()), folderName);
  const fs::path scheme = data.file("fa/我的方案.fa");
  ASSERT_TRUE(WriteTextFile(scheme, "开奖完毕"));
  EXPECT_EQ(ReadWholeFileBytes(scheme), std::optional<std::string>("\xbf\xaa\xbd\xb1\xcd\xea\xb1\xcf"));
  EXPECT_EQ(ReadTextFile(scheme), std::optional<std::string>("开奖完毕"));

  // The folder lists the file under the name it was given, and nothing else is left behind.
  std::vector<std::string> listed;
  for (const auto& entry : fs::directory_iterator(folder / "fa")) listed.push_back(PathToUtf8(entry.path().filename()));
  EXPECT_EQ(listed, std::vector<std::string>{"我的方案.fa"});
}

TEST_F(ChineseFolder, ReplacingAFileKeepsTheOldOneUntilTheNewOneIsWhole) {
  const fs::path file = root / PathFromUtf8("曲线.mdb");
  ASSERT_TRUE(WriteFileAtomic(file, "old"));
  ASSERT_TRUE(WriteFileAtomic(file, "new"));
  EXPECT_EQ(ReadWholeFileBytes(file), std::optional<std::string>("new"));
  // A folder that does not exist: refused, nothing written anywhere.
  EXPECT_FALSE(WriteFileAtomic(root / PathFromUtf8("没有/x.txt"), "x"));
  EXPECT_FALSE(fs::exists(root / PathFromUtf8("没有")));
  EXPECT_EQ(ReadWholeFileBytes(root / PathFromUtf8("不存在.txt")), std::nullopt);
}

TEST(Arguments, AreTheProgramsOwnAsUtf8) {
  char program[] = "lumora-cli";
  char arg[] = "--size";
  char* argv[] = {program, arg, nullptr};
  std::vector<std::string> args = Utf8Arguments(2, argv);
  ASSERT_FALSE(args.empty());
  // On Windows they come from the real command line (the test program's own), elsewhere from argv.
#ifndef _WIN32
  EXPECT_EQ(args, (std::vector<std::string>{"lumora-cli", "--size"}));
#endif
  EXPECT_FALSE(RunningExecutable().empty());
  EXPECT_TRUE(fs::exists(RunningExecutable()));
}

}  // namespace
}  // namespace lumora
