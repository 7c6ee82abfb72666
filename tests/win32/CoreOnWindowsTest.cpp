// The engine's own Windows code paths, cross-built and run under Wine: the GBK codec on the
// Win32 code-page calls, and files replaced atomically over an existing file.
#include <filesystem>
#include <string>

#include "Check.h"
#include "core/Files.h"
#include "core/TextCodec.h"

namespace fs = std::filesystem;
using namespace lumora;

namespace {

const std::string kUtf8 = "后三计划：中";                                     // as the program writes it
const std::string kGbk = "\xBA\xF3\xC8\xFD\xBC\xC6\xBB\xAE\xA3\xBA\xD6\xD0";  // as a GBK file holds it

fs::path FreshFolder() {
  fs::path dir = fs::temp_directory_path() / "lumora-core-win32";
  fs::remove_all(dir);
  fs::create_directories(dir);
  return dir;
}

int Leftovers(const fs::path& dir) {
  int n = 0;
  for (const auto& e : fs::directory_iterator(dir))
    if (e.path().filename().string().find(".tmp") != std::string::npos) ++n;
  return n;
}

}  // namespace

int main() {
  return check::RunAll({
      {"gbk through the code-page calls",
       [] {
         CHECK_EQ(ToGbk(kUtf8), kGbk);
         CHECK_EQ(FromGbk(kGbk), kUtf8);
         CHECK_EQ(ToGbk("023-12345\r\n"), std::string("023-12345\r\n"));
         CHECK_EQ(DecodeText(kGbk), kUtf8);   // a GBK file reads as text
         CHECK_EQ(DecodeText(kUtf8), kUtf8);  // so does a valid UTF-8 one
         CHECK(ToGbk("").empty());
       }},
      {"atomic replace over an existing file",
       [] {
         fs::path dir = FreshFolder();
         fs::path file = dir / "data.mdb";
         CHECK(WriteFileAtomic(file, "first"));
         CHECK(WriteFileAtomic(file, "second, longer"));
         CHECK_EQ(ReadWholeFileBytes(file).value_or("?"), std::string("second, longer"));
         CHECK(WriteTextFile(dir / "zdy.txt", kUtf8));
         CHECK_EQ(ReadWholeFileBytes(dir / "zdy.txt").value_or("?"), kGbk);
         CHECK_EQ(ReadTextFile(dir / "zdy.txt").value_or("?"), kUtf8);
         CHECK_EQ(Leftovers(dir), 0);
         CHECK(!WriteFileAtomic(dir / "no-such-folder" / "x.txt", "x"));
         CHECK(!ReadWholeFileBytes(dir).has_value());  // a folder is not a readable file
         fs::remove_all(dir);
       }},
  });
}
