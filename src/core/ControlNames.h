#pragma once
// The catalogue of control names: every window lists the names of its controls in one place
// (core/controls/<window>.h), so a name the engine or the shell uses can be checked against it.
//
// An entry is a single name ("Tkjh") or a control array ("T_quxian_zhushu", elements 0..14,
// named "T_quxian_zhushu_0" ... "T_quxian_zhushu_14"). `widget` says whether the window has a
// widget for it; timers and the like live only in the Form.
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace lumora {

struct ControlEntry {
  const char* name;
  int first = -1;  // a control array: elements first..last; -1 for a single control
  int last = -1;
  bool widget = true;
};

// A single control, a control array, and Form-only names (timers).
constexpr ControlEntry One(const char* name) { return {name, -1, -1, true}; }
constexpr ControlEntry Array(const char* name, int first, int last) { return {name, first, last, true}; }
constexpr ControlEntry FormOnly(const char* name) { return {name, -1, -1, false}; }
constexpr ControlEntry FormOnlyArray(const char* name, int first, int last) { return {name, first, last, false}; }

struct WindowCatalogue {
  const char* window;  // the window's own name: "Fmain", "Fadd", ...
  const char* prefix;  // what its controls carry in front of their names in the Form: "", "Fadd."
  std::span<const ControlEntry> controls;
};

// With strict names on (every test program turns them on) the Form refuses a name that no
// catalogue holds: it throws std::invalid_argument naming it, so a mistyped name cannot quietly
// read an empty text (a test then fails with the name). The binder then also stops on a window whose widgets and catalogue disagree.
// The operation gate lets it through: it is a fault in the program, not a failure to run.
struct UnknownControlName : std::invalid_argument {
  using std::invalid_argument::invalid_argument;
};
void SetStrictControlNames(bool on);
bool StrictControlNames();

// Every window's catalogue.
std::span<const WindowCatalogue> ControlCatalogues();
// The catalogue of the window whose controls carry `prefix` (nullptr when none).
const WindowCatalogue* CatalogueForPrefix(std::string_view prefix);

// Whether `key` ("Tkjh", "Fadd.T_total_renshu", "Fk") is a name in some catalogue, or a window.
bool IsCataloguedName(std::string_view key);
// Whether `base` is a control array of some catalogue (for names built element by element).
bool IsCataloguedArray(std::string_view base);

// The window's names (arrays expanded, without the prefix) that need a widget.
std::vector<std::string> WidgetNames(const WindowCatalogue& window);

// How a window's widgets and its catalogue disagree: a widget whose name the catalogue lacks, or
// (for a whole window, not one page of it bound alone) a catalogued control without a widget.
// One line per disagreement; empty when they agree.
std::vector<std::string> CatalogueMismatches(const WindowCatalogue& window, const std::vector<std::string>& widgetNames,
                                             bool wholeWindow = true);

}  // namespace lumora
