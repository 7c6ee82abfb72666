#pragma once
// The catalogue of controls: every window lists its controls once (core/controls/<window>.h),
// which gives the engine its typed handles and the shell the names its widgets carry.
//
// An entry is a single control ("Tkjh") or a control array ("T_quxian_zhushu", elements 0..14,
// whose widgets are named "T_quxian_zhushu_0" ... "T_quxian_zhushu_14"). Timers live only in the
// Form and have no widget.
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/Control.h"

namespace lumora {

struct ControlEntry {
  const char* key;   // the Form key: the window's prefix and the name ("Fadd.T_total_renshu")
  const char* name;  // the name its widget carries ("T_total_renshu")
  ControlKind kind;
  int first = -1;  // a control array: elements first..last; -1 for a single control
  int last = -1;

  constexpr bool isArray() const { return first >= 0; }
  constexpr bool hasWidget() const { return kind != ControlKind::Timer && kind != ControlKind::Window; }
};

struct WindowCatalogue {
  const char* window;  // the window's own name: "Fmain", "Fadd", ...
  const char* prefix;  // what its controls carry in front of their names in the Form: "", "Fadd."
  std::span<const ControlEntry> controls;
};

// Every window's catalogue.
std::span<const WindowCatalogue> ControlCatalogues();

// A control found by the name it is written with ("Tkjh", "Fadd.T_total_renshu",
// "T_quxian_zhushu_3", or a window's name "Fbj"): for the shell, which binds widgets by their
// names, and for the command line, which names controls in its arguments. No value when no
// catalogue holds the name (an array's base name alone is no control).
struct FoundControl {
  ControlRef ref;
  ControlKind kind;
  const ControlEntry* entry;  // nullptr for a window
};
std::optional<FoundControl> FindControl(std::string_view name);
// The catalogue entry whose key is `key` (an array's base "Fmain" key included), or nullptr.
const ControlEntry* FindEntry(std::string_view key);

// A control or a whole row of them by the name the command line gives: a control as FindControl
// finds it, or an array's bare name ("Option_touzhu_sz") for the row. No entry when none.
struct NamedControl {
  const ControlEntry* entry = nullptr;
  int index = -1;  // an array element's index; -1 for a single control or a whole row

  bool isRow() const { return entry && entry->isArray() && index < 0; }
  ControlRef ref() const { return {entry->key, index}; }
};
NamedControl FindControlOrRow(std::string_view name);

// The window's names (arrays expanded, without the prefix) that need a widget.
std::vector<std::string> WidgetNames(const WindowCatalogue& window);

// How a window's widgets and its catalogue disagree: a widget whose name the catalogue lacks, or
// (for a whole window, not one page of it bound alone) a catalogued control without a widget.
// One line per disagreement; empty when they agree.
std::vector<std::string> CatalogueMismatches(const WindowCatalogue& window, const std::vector<std::string>& widgetNames,
                                             bool wholeWindow = true);

}  // namespace lumora
