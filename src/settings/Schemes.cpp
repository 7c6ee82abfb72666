#include "settings/Schemes.h"

#include <algorithm>
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

void Inform(Context& cx, std::string_view text, std::string_view title) { cx.inform(std::string(text), std::string(title)); }

struct SchemeEntry {
  std::string name;  // as listed (UTF-8)
  fs::path path;
};

// The entries of the scheme folder whose name contains ".fa" (exact, case-sensitive). Names
// written on another system in GBK are listed decoded.
std::vector<SchemeEntry> SchemeEntries(const Context& cx) {
  std::vector<SchemeEntry> out;
  std::error_code ec;
  fs::directory_iterator it(cx.data.schemes(), ec), end;
  for (; !ec && it != end; it.increment(ec)) {
    std::string raw = PathToUtf8(it->path().filename());
    std::string name = IsValidUtf8(raw) ? raw : FromGbk(raw);
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

bool IsReservedDeviceName(std::string_view name) {
  std::string base(name.substr(0, name.find('.')));
  for (char& c : base) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c);
  static const char* const kFixed[] = {"CON", "PRN", "AUX", "NUL"};
  for (const char* d : kFixed)
    if (base == d) return true;
  return base.size() == 4 && (base.starts_with("COM") || base.starts_with("LPT")) && base[3] >= '1' && base[3] <= '9';
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
  return !IsReservedDeviceName(name) && name.back() != '.';
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
    SchemeText scheme = BuildSchemeText(cx.form);
    if (!scheme.error.empty()) {
      refusal = scheme.error;
    } else {
      const fs::path folder = cx.data.schemes();
      const fs::path file = folder / PathFromUtf8(name + std::string(T::kSchemeExtension));
      std::error_code ec;
      fs::create_directories(folder, ec);
      // The name holds no separator, so the file lies directly in the scheme folder.
      saved = file.parent_path() == folder && WriteTextFileGbk(file, scheme.text);
    }
  }
  if (!refusal.empty()) Inform(cx, refusal, T::kSaveFailedTitle);
  else if (saved) Inform(cx, T::kSaved, T::kSavedTitle);
  else Inform(cx, T::kSaveFailed, T::kSaveFailedTitle);
  RefreshSchemeList(cx);
}

std::optional<std::string> ReadWholeFile(Context& cx, const fs::path& path) {
  std::optional<std::string> text = ReadTextFile(path);
  if (!text) Inform(cx, PathToUtf8(path) + std::string(T::kFileMissing), T::kFileMissingTitle);
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
  fs::path path = cx.data.schemes() / PathFromUtf8(item);
  std::optional<std::string> text;
  bool found = false;
  for (const SchemeEntry& e : SchemeEntries(cx))
    if (e.name == item) {
      path = e.path;
      found = true;
      break;
    }
  if (found) text = ReadWholeFile(cx, path);
  else Inform(cx, PathToUtf8(path) + std::string(T::kFileMissing), T::kFileMissingTitle);
  if (!text) return;
  // Files edited elsewhere may carry LF line breaks; the boxes hold CR LF.
  if (ApplySchemeText(cx, ToCrLf(*text))) Inform(cx, T::kLoaded, T::kLoadedTitle);
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
