#include "settings/Schemes.h"

#include <algorithm>
#include <optional>
#include <system_error>
#include <vector>

#include "core/Files.h"
#include "core/Text.h"
#include "core/TextCodec.h"
#include "settings/SchemeFile.h"
#include "settings/SettingsTexts.h"

namespace lumora {

namespace fs = std::filesystem;

namespace {
namespace T = settings_texts;

void Inform(Context& cx, std::string_view text, std::string_view title) {
  cx.inform(std::string(text), std::string(title));
}

struct SchemeEntry {
  std::string name;  // as listed (UTF-8)
  fs::path path;
};

// The entries of the scheme folder whose name contains ".fa" (exact, case-sensitive), listed by
// their names read as data text (GBK first); each keeps the name's own bytes for reading,
// writing back and deleting.
std::vector<SchemeEntry> SchemeEntries(const Context& cx) {
  std::vector<SchemeEntry> out;
  std::error_code ec;
  fs::directory_iterator it(cx.data.schemes(), ec), end;
  for (; !ec && it != end; it.increment(ec)) {
    std::string name = FileNameText(it->path().filename());
    if (Contains(name, T::kSchemeExtension)) out.push_back({std::move(name), it->path()});
  }
  std::sort(out.begin(), out.end(), [](const SchemeEntry& a, const SchemeEntry& b) { return a.name < b.name; });
  return out;
}

const std::string* SelectedScheme(const Context& cx) {
  int i = cx.form.selectedIndex(T::kSchemeList);
  const auto& items = cx.form.items(T::kSchemeList);
  if (i < 0 || i >= static_cast<int>(items.size())) return nullptr;
  return &items[static_cast<size_t>(i)];
}

// A name's file in the data folder lists under the name its bytes read as (FileNameText): a name
// whose file-name form reads back otherwise would list, load and delete as another scheme. On
// Windows every name reads back (UTF-16); on POSIX the GB18030 bytes carry every character GBK
// holds and the others (an emoji) as four-byte codes, but not the few characters GB18030 lacks,
// nor GBK bytes that begin as a UTF-8 byte-order mark does ("锘" and a character led by 0xBF).
std::optional<std::string> NameNotCarried(const std::string& name) {
  const std::string file = name + std::string(T::kSchemeExtension);
  if (FileNameText(FileNamePath(file)) == file) return std::nullopt;
  for (size_t i = 0; i < name.size();) {
    size_t n = 1;
    while (i + n < name.size() && (static_cast<unsigned char>(name[i + n]) & 0xC0) == 0x80) ++n;
    const std::string ch = name.substr(i, n);
    if (FileNameText(FileNamePath(ch)) != ch) return T::SchemeNameCharNotCarried(ch);
    i += n;
  }
  return std::string(T::kSchemeNameNotCarried);
}

// Windows' device names: CON PRN AUX NUL, COM and LPT with 0-9 or a superscript one, two or
// three, and CONIN$ / CONOUT$, in any case. A device name stays one with any extension and with
// blanks or dots after it ("CON .x", "nul.", "COM1 "), as Windows drops those before the look-up.
bool IsReservedDeviceName(std::string_view name) {
  std::string base(name.substr(0, name.find('.')));
  while (!base.empty() && (base.back() == ' ' || base.back() == '.')) base.pop_back();
  for (char& c : base) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c);
  static const char* const kFixed[] = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"};
  for (const char* d : kFixed)
    if (base == d) return true;
  if (!base.starts_with("COM") && !base.starts_with("LPT")) return false;
  const std::string_view number = std::string_view(base).substr(3);
  if (number.size() == 1) return number[0] >= '0' && number[0] <= '9';
  return number == "\xC2\xB9" || number == "\xC2\xB2" || number == "\xC2\xB3";  // ¹ ² ³
}

// Characters that reorder the text shown around them: a name holding one lists as something else
// than the file it names (U+061C, U+200E/F, U+202A-202E, U+2066-2069).
bool HoldsBidiControl(std::string_view name) {
  for (size_t i = 0; i + 1 < name.size(); ++i) {
    const auto b0 = static_cast<unsigned char>(name[i]), b1 = static_cast<unsigned char>(name[i + 1]);
    if (b0 == 0xD8 && b1 == 0x9C) return true;
    if (i + 2 >= name.size() || b0 != 0xE2) continue;
    const auto b2 = static_cast<unsigned char>(name[i + 2]);
    if (b1 == 0x80 && (b2 == 0x8E || b2 == 0x8F || (b2 >= 0xAA && b2 <= 0xAE))) return true;
    if (b1 == 0x81 && b2 >= 0xA6 && b2 <= 0xA9) return true;
  }
  return false;
}
}  // namespace

bool IsSchemeFileName(std::string_view name) {
  if (name.empty() || name == "." || name == "..") return false;
  if (name.size() + T::kSchemeExtension.size() > 255) return false;
  for (char ch : name) {
    unsigned char c = static_cast<unsigned char>(ch);
    if (c < 0x20 || c == 0x7f) return false;
    if (std::string_view("\\/:*?\"<>|").find(ch) != std::string_view::npos) return false;
  }
  if (!IsValidUtf8(name)) return false;
  // The data folder moves between systems: names the other one cannot hold are refused too.
  // Windows drops trailing dots and blanks, so such a name would name another file there.
  return !IsReservedDeviceName(name) && !HoldsBidiControl(name) && name.back() != '.' && name.back() != ' ';
}

void RefreshSchemeList(Context& cx) {
  std::vector<std::string> names;
  for (SchemeEntry& e : SchemeEntries(cx)) names.push_back(std::move(e.name));
  cx.form.setItems(T::kSchemeList, std::move(names));
}

void SaveScheme(Context& cx) {
  const std::string name = Trim(cx.form.text(T::kSchemeName));
  if (name.empty()) return;
  bool saved = false;
  std::string refusal;
  if (IsSchemeFileName(name)) {
    const fs::path folder = cx.data.schemes();
    const std::string listed = name + std::string(T::kSchemeExtension);
    // A scheme that exists is written under its own name bytes; a new one gets the data
    // folder's name form, which must list under the name typed.
    std::optional<fs::path> file;
    for (const SchemeEntry& e : SchemeEntries(cx))
      if (e.name == listed) file = e.path;
    SchemeText scheme = BuildSchemeText(cx.form);
    if (auto why = file ? std::nullopt : NameNotCarried(name)) {
      refusal = *why;
    } else if (!scheme.error.empty()) {
      refusal = scheme.error;
    } else {
      if (!file) file = folder / FileNamePath(listed);
      std::error_code ec;
      fs::create_directories(folder, ec);
      // The name holds no separator, so the file lies directly in the scheme folder.
      saved = file->parent_path() == folder && WriteTextFile(*file, scheme.text);
    }
  }
  if (!refusal.empty()) Inform(cx, refusal, T::kSaveFailedTitle);
  else if (saved) Inform(cx, T::kSaved, T::kSavedTitle);
  else Inform(cx, T::kSaveFailed, T::kSaveFailedTitle);
  RefreshSchemeList(cx);
}

std::optional<std::string> ReadWholeFile(Context& cx, const fs::path& path) {
  std::optional<std::string> text = ReadTextFile(path);
  if (!text) Inform(cx, path.string() + std::string(T::kFileMissing), T::kFileMissingTitle);
  return text;
}

void LoadScheme(Context& cx) {
  const std::string* selected = SelectedScheme(cx);
  if (!selected) {
    Inform(cx, T::kSelectScheme, T::kSelectSchemeTitle);
    return;
  }
  const std::string item = *selected;
  // Only a file the folder really holds is read; a name gone since the list was filled is missing.
  fs::path path = cx.data.schemes() / fs::path(item);
  std::optional<std::string> bytes;
  for (const SchemeEntry& e : SchemeEntries(cx))
    if (e.name == item) {
      path = e.path;
      bytes = ReadWholeFileBytes(path);
      break;
    }
  if (!bytes) {
    Inform(cx, path.string() + std::string(T::kFileMissing), T::kFileMissingTitle);
    return;
  }
  if (ApplySchemeText(cx, SchemeTextFromBytes(*bytes))) Inform(cx, T::kLoaded, T::kLoadedTitle);
  else Inform(cx, T::kLoadFailed, T::kLoadFailedTitle);
}

void DeleteSelectedScheme(Context& cx) {
  const std::string* selected = SelectedScheme(cx);
  if (!selected) {
    Inform(cx, T::kSelectScheme, T::kSelectSchemeTitle);
    return;
  }
  const std::string item = *selected;
  for (const SchemeEntry& e : SchemeEntries(cx)) {
    if (e.name != item) continue;
    std::error_code ec;
    // Files only: a folder whose name looks like a scheme stays, as a failed delete would.
    if (!fs::is_directory(fs::symlink_status(e.path, ec))) fs::remove(e.path, ec);
  }
  RefreshSchemeList(cx);
}

}  // namespace lumora
