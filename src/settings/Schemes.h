#pragma once
// Scheme files: named snapshots of the plan settings, one file "<name>.fa" each in the data
// folder's "fa/", listed in the side window's List_fangan, saved, loaded and deleted there.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "core/Context.h"

namespace lumora {

// Saves the settings as Fk.T_fangan_name (trimmed; empty does nothing). A name that cannot be a
// file name inside "fa/" (a path separator, a control character, a device name) and a failed
// write give "保存过程发生错误，请检查"; a name whose file name in the data folder would read back
// as another name, and a value that would break the file, are refused with a message naming the
// box. Any other name is kept as typed, an emoji too (it lists, loads, saves and deletes under
// it). The file holds GBK, or UTF-8 with a byte-order mark when GBK cannot hold the text
// (WriteTextFile). The list is refreshed in every case but the empty name.
void SaveScheme(Context& cx);

// Loads the scheme selected in Fk.List_fangan into the controls.
void LoadScheme(Context& cx);

// Deletes the scheme file selected in Fk.List_fangan, without asking.
void DeleteSelectedScheme(Context& cx);

// Fk.List_fangan := every entry of "fa/" whose name contains ".fa", in name order.
void RefreshSchemeList(Context& cx);

// The whole file as text (GBK or UTF-8), or nothing after the message path + "文件丢失,请检查".
std::optional<std::string> ReadWholeFile(Context& cx, const std::filesystem::path& path);

// Whether `name` (already trimmed) can name a scheme file inside the scheme folder.
bool IsSchemeFileName(std::string_view name);

}  // namespace lumora
