#pragma once
// A small check harness for the Windows cross build, where GoogleTest is not available. Cases run
// in order; a failed check prints where it failed and the case goes on. The last line printed is
// "N passed, M failed"; the exit code is non-zero when anything failed.
#include <chrono>
#include <cstdio>
#include <functional>
#include <initializer_list>
#include <sstream>
#include <string>

namespace check {

inline int passed = 0;
inline int failed = 0;
inline const char* currentCase = "";

inline bool That(bool ok, const std::string& what, const char* file, int line) {
  if (ok) {
    ++passed;
  } else {
    ++failed;
    std::printf("FAILED [%s] %s (%s:%d)\n", currentCase, what.c_str(), file, line);
    std::fflush(stdout);
  }
  return ok;
}

template <class A, class B>
bool Equal(const A& a, const B& b, const char* as, const char* bs, const char* file, int line) {
  bool ok = a == b;
  std::ostringstream what;
  what << as << " == " << bs;
  if (!ok) what << "  (got \"" << a << "\" and \"" << b << "\")";
  return That(ok, what.str(), file, line);
}

struct Case {
  const char* name;
  std::function<void()> run;
};

inline int RunAll(std::initializer_list<Case> cases) {
  for (const Case& c : cases) {
    currentCase = c.name;
    int before = failed;
    auto t0 = std::chrono::steady_clock::now();
    c.run();
    auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - t0).count();
    std::printf("%s %s (%lld ms)\n", failed == before ? "ok  " : "FAIL", c.name, static_cast<long long>(ms));
    std::fflush(stdout);
  }
  std::printf("%d passed, %d failed\n", passed, failed);
  std::fflush(stdout);
  return failed == 0 ? 0 : 1;
}

}  // namespace check

#define CHECK(cond) ::check::That((cond), #cond, __FILE__, __LINE__)
#define CHECK_EQ(a, b) ::check::Equal((a), (b), #a, #b, __FILE__, __LINE__)
