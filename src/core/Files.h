#pragma once
// File access shared by every store: whole-file reads, atomic replacement, the data folder.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lumora {

// Paths to and from the program's UTF-8 text. A path built from a plain narrow string is read in
// the system's ANSI code page on Windows, so every path made from text (a scheme name, a folder
// given on the command line, a file name shown in a message) goes through these two.
std::filesystem::path PathFromUtf8(std::string_view utf8);
std::string PathToUtf8(const std::filesystem::path& path);

// The program's command-line arguments as UTF-8 (on Windows taken from the wide command line,
// so a folder or file name in Chinese arrives whole whatever the ANSI code page).
std::vector<std::string> Utf8Arguments(int argc, char** argv);

// The running program's own file ("lumora" when the system cannot say).
std::filesystem::path RunningExecutable();

// The whole file as bytes, or nothing when it cannot be read.
std::optional<std::string> ReadWholeFileBytes(const std::filesystem::path& path);

// Writes `bytes` to a temporary file beside `path` (hidden, ".lumora-save-N.tmp"), flushes it to
// disk and renames it over `path`, then flushes the folder: a failed or cut-off save never leaves
// a half-written file, `path` is always the old or the new content. Temporary files a cut-off
// save left in the folder are removed by a later save once they are a minute old. Returns false
// (and leaves `path` as it was) on any failure. A replaced file keeps its permissions; with
// `FileAccess::OwnerOnly` the file is its owner's alone (0600) from the moment it exists, also
// when it replaces a file others could read (Windows: as the folder gives).
enum class FileAccess { AsBefore, OwnerOnly };
bool WriteFileAtomic(const std::filesystem::path& path, std::string_view bytes,
                     FileAccess access = FileAccess::AsBefore);

// Text helpers over the codec, the one reading and the one writing of the data folder's text
// files: read a text file (GBK or UTF-8) as UTF-8; write UTF-8 text atomically as GBK, or as
// UTF-8 with a byte-order mark when GBK cannot hold it (EncodeDataText), so nothing is lost.
std::optional<std::string> ReadTextFile(const std::filesystem::path& path);
bool WriteTextFile(const std::filesystem::path& path, std::string_view utf8);

// The data folder and the files in it that hold the service account (lumora.ini) made private
// to their owner (0700 / 0600) where group or others could read them; one line for each change
// (or each failure to change), nothing when all was private already. A no-op on Windows.
std::vector<std::string> MakeDataFolderPrivate(const std::filesystem::path& root);

// The data folder: `data/` beside the executable, unless `--data DIR` or LUMORA_DATA says
// otherwise, or that folder cannot be written (an installed program): then the user's
// $XDG_DATA_HOME/lumora (~/.local/share/lumora), seeded at its first use from the shipped data
// folder. All of the program's own files live under it.
class DataFolder {
 public:
  DataFolder() = default;
  explicit DataFolder(std::filesystem::path root) : root_(std::move(root)) {}

  // Resolution order: explicit override (UTF-8), then the LUMORA_DATA environment variable, then
  // `data/` beside `executable` when a file can be created in it, then the user's folder (copied
  // from `data/` beside the executable or from `../share/lumora` when it does not exist yet).
  static DataFolder Locate(const std::filesystem::path& executable, const std::string& override = {});

  const std::filesystem::path& root() const { return root_; }
  std::filesystem::path file(std::string_view relative) const { return root_ / PathFromUtf8(relative); }
  std::filesystem::path curveStore() const { return file("data.mdb"); }
  std::filesystem::path phrases() const { return file("zdy.txt"); }
  std::filesystem::path alarmSound() const { return file("bj.wav"); }
  std::filesystem::path schemes() const { return file("fa"); }
  std::filesystem::path exports() const { return file("txt"); }
  std::filesystem::path ini() const { return file("lumora.ini"); }

 private:
  std::filesystem::path root_;
};

}  // namespace lumora
