#include "core/ControlNames.h"

#include <algorithm>
#include <set>

#include "core/controls/Fadd.h"
#include "core/controls/Fbj.h"
#include "core/controls/Ffenxi.h"
#include "core/controls/Fk.h"
#include "core/controls/Fmain.h"
#include "core/controls/Ftishi.h"
#include "core/controls/Ftool.h"

namespace lumora {

namespace {

constexpr WindowCatalogue kWindows[] = {
    {"Fmain", "", controls::kFmain}, {"Fadd", "Fadd.", controls::kFadd},     {"Fbj", "Fbj.", controls::kFbj},
    {"Fk", "Fk.", controls::kFk},    {"Ftishi", "Ftishi.", controls::kFtishi}, {"Ftool", "Ftool.", controls::kFtool},
    {"Ffenxi", "Ffenxi.", controls::kFfenxi},
};

std::string Element(const ControlEntry& e, int i) { return std::string(e.name) + "_" + std::to_string(i); }

template <typename F>
void ForEachName(const WindowCatalogue& w, F&& f) {
  for (const ControlEntry& e : w.controls) {
    if (e.first < 0) f(std::string(e.name), e);
    else
      for (int i = e.first; i <= e.last; ++i) f(Element(e, i), e);
  }
}

const std::set<std::string, std::less<>>& AllNames() {
  static const std::set<std::string, std::less<>> names = [] {
    std::set<std::string, std::less<>> n;
    for (const WindowCatalogue& w : kWindows) {
      n.insert(w.window);
      ForEachName(w, [&](const std::string& name, const ControlEntry&) { n.insert(w.prefix + name); });
    }
    return n;
  }();
  return names;
}

bool strictNames = false;

}  // namespace

void SetStrictControlNames(bool on) { strictNames = on; }
bool StrictControlNames() { return strictNames; }

std::span<const WindowCatalogue> ControlCatalogues() { return kWindows; }

const WindowCatalogue* CatalogueForPrefix(std::string_view prefix) {
  for (const WindowCatalogue& w : kWindows)
    if (prefix == w.prefix) return &w;
  return nullptr;
}

bool IsCataloguedName(std::string_view key) { return AllNames().count(key) > 0; }

bool IsCataloguedArray(std::string_view base) {
  for (const WindowCatalogue& w : kWindows)
    for (const ControlEntry& e : w.controls)
      if (e.first >= 0 && (std::string(w.prefix) + e.name) == base) return true;
  return false;
}

std::vector<std::string> WidgetNames(const WindowCatalogue& window) {
  std::vector<std::string> names;
  ForEachName(window, [&](const std::string& name, const ControlEntry& e) {
    if (e.widget) names.push_back(name);
  });
  return names;
}

std::vector<std::string> CatalogueMismatches(const WindowCatalogue& window, const std::vector<std::string>& widgetNames,
                                             bool wholeWindow) {
  std::set<std::string> widgets(widgetNames.begin(), widgetNames.end());
  std::set<std::string> wanted, formOnly;
  ForEachName(window, [&](const std::string& name, const ControlEntry& e) { (e.widget ? wanted : formOnly).insert(name); });
  std::vector<std::string> problems;
  for (const std::string& w : widgets)
    if (!wanted.count(w))
      problems.push_back(std::string(window.window) + ": widget \"" + w + "\" is not in the window's control catalogue" +
                         (formOnly.count(w) ? " as a widget" : ""));
  for (const std::string& c : wanted)
    if (wholeWindow && !widgets.count(c))
      problems.push_back(std::string(window.window) + ": catalogued control \"" + c + "\" has no widget");
  return problems;
}

}  // namespace lumora
