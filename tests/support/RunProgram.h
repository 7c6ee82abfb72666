#pragma once
// Runs a program to its end the way a script would: the arguments reach it as they are (no shell
// between), standard input is the given text (empty when none is given), standard output and
// standard error come back apart with the exit code. On Windows the command line is built wide and
// quoted as the C runtime splits it, so Chinese arguments and spaces arrive whole, and a "\r\n"
// written in text mode comes back as "\n".
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include "support/ScratchFolder.h"

namespace lumora::testing {

struct RunResult {
  int exitCode = -1;  // -1 when it could not start or did not exit by itself
  std::string out;
  std::string err;
};

// `name` (lumora-cli, lumora-feed, ...) in the build's program folder, LUMORA_BIN.
inline std::filesystem::path BuiltProgram(const std::string& name) {
  const char* bin = std::getenv("LUMORA_BIN");
  std::filesystem::path program = std::filesystem::path(bin ? bin : ".") / name;
#ifdef _WIN32
  program += ".exe";
#endif
  return program;
}

namespace run_detail {

inline std::string ReadFile(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
#ifdef _WIN32
  for (size_t at = 0; (at = text.find("\r\n", at)) != std::string::npos;) text.erase(at, 1);
#endif
  return text;
}

#ifdef _WIN32
inline std::wstring Wide(const std::string& utf8) {
  std::wstring wide(
      static_cast<size_t>(MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0)),
      L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(),
                      static_cast<int>(wide.size()));
  return wide;
}

// One argument as the C runtime reads it back: quoted when it holds a space, a tab or a quote (or
// is empty); inside the quotes a quote and the backslashes before a quote or the closing one doubled.
inline std::wstring Quoted(const std::wstring& arg) {
  if (!arg.empty() && arg.find_first_of(L" \t\n\v\"") == std::wstring::npos) return arg;
  std::wstring q = L"\"";
  size_t backslashes = 0;
  for (wchar_t c : arg) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    q.append(c == L'"' ? 2 * backslashes + 1 : backslashes, L'\\');
    backslashes = 0;
    q.push_back(c);
  }
  q.append(2 * backslashes, L'\\');
  return q + L"\"";
}

inline HANDLE Inherited(const std::filesystem::path& file, bool write) {
  SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  return CreateFileW(file.c_str(), write ? GENERIC_WRITE : GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                     write ? CREATE_ALWAYS : OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}
#endif

}  // namespace run_detail

inline RunResult RunProgram(const std::filesystem::path& program, const std::vector<std::string>& args,
                            const std::optional<std::string>& input = std::nullopt) {
  const ScratchFolder io("run");
  const std::filesystem::path in = io.put("in", input.value_or("")), out = io / "out", err = io / "err";
  RunResult r;
#ifdef _WIN32
  std::filesystem::path exe = program;
  exe.make_preferred();
  std::wstring line = run_detail::Quoted(exe.wstring());
  for (const std::string& a : args) line += L" " + run_detail::Quoted(run_detail::Wide(a));
  HANDLE handles[3] = {run_detail::Inherited(in, false), run_detail::Inherited(out, true),
                       run_detail::Inherited(err, true)};
  STARTUPINFOW si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdInput = handles[0];
  si.hStdOutput = handles[1];
  si.hStdError = handles[2];
  PROCESS_INFORMATION pi{};
  if (CreateProcessW(exe.c_str(), line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi)) {
    WaitForSingleObject(pi.hProcess, INFINITE);
    DWORD code = 0;
    if (GetExitCodeProcess(pi.hProcess, &code)) r.exitCode = static_cast<int>(code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
  }
  for (HANDLE h : handles)
    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
#else
  std::vector<std::string> all{program.string()};
  all.insert(all.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& a : all) argv.push_back(a.data());
  argv.push_back(nullptr);
  const int fds[3] = {open(in.c_str(), O_RDONLY), open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600),
                      open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600)};
  const pid_t pid = fork();
  if (pid == 0) {
    for (int i = 0; i < 3; ++i) dup2(fds[i], i);
    execv(argv[0], argv.data());
    _exit(127);
  }
  for (int fd : fds) close(fd);
  int status = 0;
  if (pid > 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status)) r.exitCode = WEXITSTATUS(status);
#endif
  r.out = run_detail::ReadFile(out);
  r.err = run_detail::ReadFile(err);
  return r;
}

// lumora-cli of the build with `args`, fed `input`.
inline RunResult RunCli(const std::vector<std::string>& args, const std::optional<std::string>& input = std::nullopt) {
  return RunProgram(BuiltProgram("lumora-cli"), args, input);
}

}  // namespace lumora::testing
