#include "core/Ports.h"

#include <ctime>

namespace lumora {

namespace {
std::string Format(std::chrono::system_clock::time_point t, const char* pattern) {
  std::time_t tt = std::chrono::system_clock::to_time_t(t);
  std::tm tm{};
#ifdef _WIN32
  localtime_s(&tm, &tt);
#else
  localtime_r(&tt, &tm);
#endif
  char buf[64];
  std::strftime(buf, sizeof buf, pattern, &tm);
  return buf;
}
}  // namespace

std::string DateTimeText(std::chrono::system_clock::time_point t) { return Format(t, "%Y-%m-%d %H:%M:%S"); }
std::string TimeText(std::chrono::system_clock::time_point t) { return Format(t, "%H:%M:%S"); }

}  // namespace lumora
