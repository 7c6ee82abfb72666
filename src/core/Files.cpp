#include "core/Files.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <system_error>

#include "core/TextCodec.h"

#ifndef _WIN32
#include <fcntl.h>
#include <unistd.h>
#else
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
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

bool WriteFileAtomic(const fs::path& path, std::string_view bytes) {
  std::error_code ec;
  fs::path dir = path.parent_path();
  if (!dir.empty() && !fs::is_directory(dir, ec)) return false;
  std::random_device rd;
  fs::path tmp = path;
  tmp += ".tmp" + std::to_string(rd() % 1000000);
#ifndef _WIN32
  int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (fd < 0) return false;
  size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
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
  return true;
}

std::optional<std::string> ReadTextFile(const fs::path& path) {
  auto bytes = ReadWholeFileBytes(path);
  if (!bytes) return std::nullopt;
  return DecodeText(*bytes);
}

bool WriteTextFileGbk(const fs::path& path, std::string_view utf8) { return WriteFileAtomic(path, ToGbk(utf8)); }

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
  return DataFolder(exe.parent_path() / "data");
}

}  // namespace lumora
