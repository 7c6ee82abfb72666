#pragma once
// A scratch folder for a test: made empty, removed with what it holds when the test is done.
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

namespace lumora::testing {

// An empty folder of its own under the system's temporary folder (lumora-<tag>-<random>), removed
// with everything in it at the end, also when a test took its write permission away.
class ScratchFolder {
 public:
  explicit ScratchFolder(const std::string& tag = "test") {
    static std::random_device rd;
    do
      path_ = std::filesystem::temp_directory_path() /
              ("lumora-" + tag + "-" + std::to_string(rd()) + std::to_string(rd()));
    while (!std::filesystem::create_directory(path_));
  }
  ~ScratchFolder() {
    std::error_code ec;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(path_, ec);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }
  operator const std::filesystem::path&() const { return path_; }
  std::filesystem::path operator/(const std::filesystem::path& relative) const { return path_ / relative; }

  // Writes `bytes` as they are to `relative` (its folders made on the way); the file's path back.
  std::filesystem::path put(const std::filesystem::path& relative, const std::string& bytes) const {
    const std::filesystem::path file = path_ / relative;
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << bytes;
    return file;
  }

 protected:
  std::filesystem::path path_;
};

}  // namespace lumora::testing
