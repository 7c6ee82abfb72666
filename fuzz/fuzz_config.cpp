// The service configuration lumora.ini, the phrase file zdy.txt of the data folder and the
// settings service's state file.
//   first byte % 3 == 0: the bytes are lumora.ini;
//                    1: the bytes are zdy.txt, read from a real data folder;
//                    2: the bytes are the settings service's settings.txt; a record stored over
//                       a readable file is read back after a restart.
#include <unistd.h>

#include <cctype>
#include <cstdint>
#include <filesystem>
#include <fstream>

#include "FuzzSupport.h"
#include "core/Feed.h"
#include "core/RecordingPorts.h"
#include "core/ServiceConfig.h"
#include "core/Text.h"
#include "core/UserPhrases.h"
#include "services/SettingsStore.h"

using namespace lumora;
namespace fs = std::filesystem;

namespace {

bool Blank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

void CheckValue(const std::string& v) {
  FUZZ_CHECK(!Contains(v, "\n"));
  if (!v.empty()) FUZZ_CHECK(!Blank(v.front()) && !Blank(v.back()));
}

// Only unreserved characters and %XX escapes go into a query.
void CheckEncoded(std::string_view q) {
  for (size_t i = 0; i < q.size(); ++i) {
    const char c = q[i];
    if (c == '%') {
      FUZZ_CHECK(i + 2 < q.size() && std::isxdigit(static_cast<unsigned char>(q[i + 1])) &&
                 std::isxdigit(static_cast<unsigned char>(q[i + 2])));
      i += 2;
      continue;
    }
    FUZZ_CHECK((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_' ||
               c == '.' || c == '~');
  }
}

// One data folder for the run, removed when the fuzzer exits.
struct Folder {
  fs::path dir = fs::temp_directory_path() / ("lumora-fuzz-config-" + std::to_string(::getpid()));
  Folder() { fs::create_directories(dir); }
  ~Folder() {
    std::error_code ec;
    fs::remove_all(dir, ec);
  }
};
const fs::path& DataDir() {
  static const Folder folder;
  return folder.dir;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text = fuzz::AsText(data, size);
  const int mode = fuzz::Choose(text, 3);
  if (mode == 0) {
    const ServiceConfig c = ParseServiceConfig(text);
    for (const std::string* v : {&c.feedEndpoint, &c.settingsEndpoint, &c.user, &c.password, &c.randomCode})
      CheckValue(*v);
    CheckEncoded(PercentEncode(c.user));
    CheckEncoded(PercentEncode(c.password));
    CheckEncoded(PercentEncode(c.randomCode));
    FUZZ_CHECK(BuildFeedRequest(c).rfind(c.feedEndpoint, 0) == 0);
  } else if (mode == 1) {
    Context cx;
    RecordingPrompter prompter;
    cx.ports.prompter = &prompter;
    cx.data = DataFolder(DataDir());
    {
      std::ofstream out(cx.data.phrases(), std::ios::binary | std::ios::trunc);
      out.write(text.data(), static_cast<std::streamsize>(text.size()));
    }
    const bool ok = LoadUserPhrases(cx);
    FUZZ_CHECK(ok == prompter.notices.empty());
  } else {
    const fs::path folder = DataDir() / "state";
    fs::create_directories(folder);
    {
      std::ofstream out(folder / "settings.txt", std::ios::binary | std::ios::trunc);
      out.write(text.data(), static_cast<std::streamsize>(text.size()));
    }
    feed::SettingsStore store(folder);
    if (!store.error().empty()) return 0;
    const std::string user = "u s\r\n%", record = "*sz*1/2*\r\n%zz*sz*";
    FUZZ_CHECK(store.put(user, record));
    feed::SettingsStore again(folder);
    FUZZ_CHECK(again.error().empty());
    FUZZ_CHECK(again.get(user) == record);
  }
  return 0;
}
