#include "core/Files.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <system_error>

#include "core/TextCodec.h"

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#else
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
// (these need windows.h first)
#include <shellapi.h>
#endif

namespace lumora {

namespace fs = std::filesystem;

fs::path PathFromUtf8(std::string_view utf8) { return fs::path(std::u8string(utf8.begin(), utf8.end())); }

std::string PathToUtf8(const fs::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

std::vector<std::string> Utf8Arguments(int argc, char** argv) {
#ifdef _WIN32
  int count = 0;
  if (LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count)) {
    std::vector<std::string> out;
    for (int i = 0; i < count; ++i) out.push_back(PathToUtf8(fs::path(wide[i])));
    LocalFree(wide);
    if (count == argc) return out;
  }
#endif
  return std::vector<std::string>(argv, argv + argc);
}

fs::path RunningExecutable() {
#ifdef _WIN32
  std::wstring buffer(MAX_PATH, L'\0');
  for (int tries = 0; tries < 8; ++tries) {
    DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0) break;
    if (n < buffer.size()) return fs::path(buffer.substr(0, n));
    buffer.resize(buffer.size() * 2);
  }
  return fs::path("lumora");
#else
  std::error_code ec;
  fs::path p = fs::read_symlink("/proc/self/exe", ec);
  return ec ? fs::path("lumora") : p;
#endif
}

std::optional<std::string> ReadWholeFileBytes(const fs::path& path) {
  // A folder (or anything else that is not a regular file) opens on some systems and then throws
  // on the first read: it is simply not readable here.
  std::error_code ec;
  if (!fs::is_regular_file(path, ec)) return std::nullopt;
  try {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) return std::nullopt;
    return bytes;
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

namespace {

// Temporary files of saves are hidden files of their own name pattern beside the target: a
// folder listing (the scheme list takes every name holding ".fa") never takes one for data.
constexpr std::string_view kTempPrefix = ".lumora-save-";
constexpr std::string_view kTempSuffix = ".tmp";
// A save that was cut off (the process killed or the machine stopped) leaves its temporary file;
// one older than this is removed by the next save into the same folder. A save in progress is
// never that old.
constexpr auto kStaleTemp = std::chrono::minutes(1);

bool IsTempName(const std::string& name) {
  return name.size() > kTempPrefix.size() + kTempSuffix.size() && name.rfind(kTempPrefix, 0) == 0 &&
         name.compare(name.size() - kTempSuffix.size(), kTempSuffix.size(), kTempSuffix) == 0;
}

void RemoveStaleTemps(const fs::path& dir) {
  std::error_code ec;
  const auto now = fs::file_time_type::clock::now();
  fs::directory_iterator it(dir.empty() ? fs::path(".") : dir, ec), end;
  for (; !ec && it != end; it.increment(ec)) {
    std::error_code e2;
    if (!IsTempName(it->path().filename().string()) || !it->is_regular_file(e2)) continue;
    const auto written = fs::last_write_time(it->path(), e2);
    if (!e2 && now - written > kStaleTemp) fs::remove(it->path(), e2);
  }
}

}  // namespace

bool WriteFileAtomic(const fs::path& path, std::string_view bytes, FileAccess access) {
  std::error_code ec;
  fs::path dir = path.parent_path();
  if (!dir.empty() && !fs::is_directory(dir, ec)) return false;
  RemoveStaleTemps(dir);
  std::random_device rd;
  fs::path tmp = dir / (std::string(kTempPrefix) + std::to_string(rd() % 1000000000) + std::string(kTempSuffix));
#ifndef _WIN32
  struct stat old {};
  const bool replacing = ::stat(path.c_str(), &old) == 0;
  // The temporary file is private from its creation; a replaced file's own mode is put back.
  const bool ownerOnly = access == FileAccess::OwnerOnly;
  int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC, replacing || ownerOnly ? 0600 : 0644);
  if (fd < 0) return false;
  if (replacing && !ownerOnly) ::fchmod(fd, old.st_mode & 07777);
  size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      ::close(fd);
      fs::remove(tmp, ec);
      return false;
    }
    done += static_cast<size_t>(n);
  }
  if (::fsync(fd) != 0 || ::close(fd) != 0) {
    fs::remove(tmp, ec);
    return false;
  }
#else
  (void)access;  // the per-user folders the programs write in are private already
  {
    std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.flush();
    if (!out) {
      out.close();
      fs::remove(tmp, ec);
      return false;
    }
  }
#endif
  fs::rename(tmp, path, ec);
  if (ec) {
    fs::remove(tmp, ec);
    return false;
  }
#ifndef _WIN32
  // The rename itself reaches the disk with the folder's entry: without this a power cut right
  // after the save could bring back the old file (the new content is safe either way).
  if (int dfd = ::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY); dfd >= 0) {
    ::fsync(dfd);
    ::close(dfd);
  }
#endif
  return true;
}

std::optional<std::string> ReadTextFile(const fs::path& path) {
  auto bytes = ReadWholeFileBytes(path);
  if (!bytes) return std::nullopt;
  return DecodeDataText(*bytes);
}

bool WriteTextFile(const fs::path& path, std::string_view utf8) { return WriteFileAtomic(path, EncodeDataText(utf8)); }

namespace {

// Whether a file can be created in `dir` (tried, not guessed from the mode bits).
bool WritableFolder(const fs::path& dir) {
  std::error_code ec;
  if (!fs::is_directory(dir, ec)) return false;
  const fs::path probe = dir / ".lumora-write-probe";
  {
    std::ofstream out(probe, std::ios::binary | std::ios::trunc);
    if (!out) return false;
  }
  fs::remove(probe, ec);
  return true;
}

// $XDG_DATA_HOME/lumora, by default ~/.local/share/lumora (%APPDATA%\Lumora without a home).
fs::path UserDataFolder() {
  auto env = [](const char* name) -> std::string {
    const char* v = std::getenv(name);
    return v ? v : "";
  };
  if (std::string x = env("XDG_DATA_HOME"); !x.empty() && fs::path(x).is_absolute()) return fs::path(x) / "lumora";
  if (std::string home = env("HOME"); !home.empty()) return fs::path(home) / ".local" / "share" / "lumora";
  if (std::string app = env("APPDATA"); !app.empty()) return fs::path(app) / "Lumora";
  return fs::path("lumora-data");
}

// Fills `target` from `shipped` when `target` does not exist yet (the first start).
bool SeedDataFolder(const fs::path& shipped, const fs::path& target) {
  std::error_code ec;
  if (fs::exists(target, ec)) return true;
  if (!fs::is_directory(shipped, ec)) return false;
  // Copied into a temporary folder first and renamed into place: a start that ends half way
  // leaves no half-filled data folder behind.
  fs::create_directories(target.parent_path(), ec);
  const fs::path temp = target.parent_path() / (target.filename().string() + ".seeding");
  fs::remove_all(temp, ec);
  // Private from the first moment: the folder is made for the user alone before anything is
  // copied into it (the files inside are tightened by MakeDataFolderPrivate).
  fs::create_directory(temp, ec);
  if (!ec) fs::permissions(temp, fs::perms::owner_all, fs::perm_options::replace, ec);
  if (!ec) fs::copy(shipped, temp, fs::copy_options::recursive, ec);
  if (!ec) fs::rename(temp, target, ec);
  if (ec) {
    fs::remove_all(temp, ec);
    return false;
  }
  return true;
}

}  // namespace

std::vector<std::string> MakeDataFolderPrivate(const fs::path& root) {
  std::vector<std::string> said;
#ifndef _WIN32
  auto tighten = [&said](const fs::path& p, fs::perms wanted) {
    std::error_code ec;
    fs::file_status st = fs::symlink_status(p, ec);
    if (ec || fs::is_symlink(st) || !fs::exists(st)) return;
    const fs::perms open = fs::perms::group_all | fs::perms::others_all;
    if ((st.permissions() & open) == fs::perms::none) return;
    fs::permissions(p, wanted, fs::perm_options::replace, ec);
    char octal[8];
    std::snprintf(octal, sizeof octal, "%o", static_cast<unsigned>(wanted));
    said.push_back(ec ? "cannot make " + PathToUtf8(p) + " private: " + ec.message()
                      : "made " + PathToUtf8(p) + " private to its owner (mode " + octal + ")");
  };
  tighten(root, fs::perms::owner_all);
  for (const char* name : {"lumora.ini"}) tighten(root / name, fs::perms::owner_read | fs::perms::owner_write);
#else
  (void)root;  // the per-user folders Windows gives a program are the user's alone already
#endif
  return said;
}

DataFolder DataFolder::Locate(const fs::path& executable, const std::string& override) {
  if (!override.empty()) return DataFolder(PathFromUtf8(override));
#ifdef _WIN32
  // The wide environment: a folder name outside the ANSI code page survives.
  if (const wchar_t* env = _wgetenv(L"LUMORA_DATA"); env && *env) return DataFolder(fs::path(env));
#else
  if (const char* env = std::getenv("LUMORA_DATA"); env && *env) return DataFolder(fs::path(env));
#endif
  std::error_code ec;
  fs::path exe = fs::weakly_canonical(executable, ec);
  if (ec) exe = executable;
  const fs::path beside = exe.parent_path() / "data";
  if (WritableFolder(beside)) return DataFolder(beside);
  // Installed (or run from a folder it cannot write): the user's own folder, filled at its first
  // use from the shipped data folder beside the program or in ../share/lumora.
  const fs::path user = UserDataFolder();
  const fs::path shipped = fs::is_directory(beside, ec) ? beside : exe.parent_path().parent_path() / "share" / "lumora";
  SeedDataFolder(shipped, user);
  return DataFolder(user);
}

}  // namespace lumora
