#include "core/ControlNames.h"

#include <algorithm>
#include <charconv>
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

constexpr WindowCatalogue kWindows[] = {fmain::kCatalogue,  fadd::kCatalogue,  fbj::kCatalogue,   fk::kCatalogue,
                                        ftishi::kCatalogue, ftool::kCatalogue, ffenxi::kCatalogue};

std::string Element(const ControlEntry& e, int i) { return std::string(e.name) + "_" + std::to_string(i); }

template <typename F>
void ForEachName(const WindowCatalogue& w, F&& f) {
  for (const ControlEntry& e : w.controls) {
    if (!e.isArray()) f(std::string(e.name), e);
    else
      for (int i = e.first; i <= e.last; ++i) f(Element(e, i), e);
  }
}

}  // namespace

std::span<const WindowCatalogue> ControlCatalogues() { return kWindows; }

const ControlEntry* FindEntry(std::string_view key) {
  for (const WindowCatalogue& w : kWindows)
    for (const ControlEntry& e : w.controls)
      if (key == e.key) return &e;
  return nullptr;
}

std::optional<FoundControl> FindControl(std::string_view name) {
  for (const WindowCatalogue& w : kWindows)
    if (name == w.window) return FoundControl{{w.window, -1}, ControlKind::Window, nullptr};
  if (const ControlEntry* e = FindEntry(name); e && !e->isArray()) return FoundControl{{e->key, -1}, e->kind, e};
  // An element of a control array: "<key>_<index>" with the index in the array's range.
  const size_t bar = name.rfind('_');
  if (bar == std::string_view::npos || bar + 1 == name.size()) return std::nullopt;
  const std::string_view digits = name.substr(bar + 1);
  if (digits.size() > 1 && digits[0] == '0') return std::nullopt;
  int index = 0;
  auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), index);
  if (ec != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
  const ControlEntry* e = FindEntry(name.substr(0, bar));
  if (!e || !e->isArray() || index < e->first || index > e->last) return std::nullopt;
  return FoundControl{{e->key, index}, e->kind, e};
}

NamedControl FindControlOrRow(std::string_view name) {
  if (const ControlEntry* e = FindEntry(name)) return {e, -1};
  if (auto c = FindControl(name); c && c->entry) return {c->entry, c->ref.index};
  return {};
}

std::vector<std::string> WidgetNames(const WindowCatalogue& window) {
  std::vector<std::string> names;
  ForEachName(window, [&](const std::string& name, const ControlEntry& e) {
    if (e.hasWidget()) names.push_back(name);
  });
  return names;
}

std::vector<std::string> CatalogueMismatches(const WindowCatalogue& window, const std::vector<std::string>& widgetNames,
                                             bool wholeWindow) {
  std::set<std::string> widgets(widgetNames.begin(), widgetNames.end());
  std::set<std::string> wanted, formOnly;
  ForEachName(window, [&](const std::string& name, const ControlEntry& e) {
    (e.hasWidget() ? wanted : formOnly).insert(name);
  });
  std::vector<std::string> problems;
  for (const std::string& w : widgets)
    if (!wanted.count(w))
      problems.push_back(std::string(window.window) + ": widget \"" + w +
                         "\" is not in the window's control catalogue" + (formOnly.count(w) ? " as a widget" : ""));
  for (const std::string& c : wanted)
    if (wholeWindow && !widgets.count(c))
      problems.push_back(std::string(window.window) + ": catalogued control \"" + c + "\" has no widget");
  return problems;
}

}  // namespace lumora
