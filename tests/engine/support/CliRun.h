#pragma once
// Runs lumora-cli (from LUMORA_BIN) the way a script would: one command line of arguments, its
// exit status and standard output back (line breaks as "\n"), standard error dropped. On Windows
// the command line goes through the wide C runtime, so Chinese arguments arrive whole.
#include <cstdio>
#include <cstdlib>
#include <string>

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#include <sys/wait.h>
#endif

namespace lumora::testing {

struct CliRun {
  int rc = -1;
  std::string out;
};

inline CliRun RunCli(const std::string& args) {
  const char* bin = std::getenv("LUMORA_BIN");
  const std::string program = std::string(bin ? bin : ".") + "/lumora-cli";
  CliRun r;
#ifdef _WIN32
  // cmd /c drops the outermost pair of quotes: the whole line is quoted once more.
  const std::string command = "\"\"" + program + ".exe\" " + args + " 2>NUL\"";
  std::wstring wide(static_cast<size_t>(MultiByteToWideChar(CP_UTF8, 0, command.data(),
                                                            static_cast<int>(command.size()), nullptr, 0)), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, command.data(), static_cast<int>(command.size()), wide.data(),
                      static_cast<int>(wide.size()));
  std::fflush(nullptr);
  FILE* p = _wpopen(wide.c_str(), L"rb");
#else
  const std::string command = "'" + program + "' " + args + " 2>/dev/null";
  FILE* p = popen(command.c_str(), "r");
#endif
  if (!p) return r;
  char buf[4096];
  for (size_t n; (n = std::fread(buf, 1, sizeof buf, p)) > 0;) r.out.append(buf, n);
#ifdef _WIN32
  r.rc = _pclose(p);
  for (size_t at; (at = r.out.find("\r\n")) != std::string::npos;) r.out.erase(at, 1);
#else
  int status = pclose(p);
  r.rc = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
  return r;
}

}  // namespace lumora::testing
