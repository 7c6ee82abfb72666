// The control catalogues are sound: each window names a control once, and the check the binder
// runs reports a widget the catalogue lacks and a catalogued control without a widget.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "core/ControlNames.h"

namespace lumora {
namespace {

TEST(ControlNames, CataloguesNameEachControlOnceAndAgreeWithTheirWidgets) {
  for (const WindowCatalogue& w : ControlCatalogues()) {
    std::set<std::string> seen;
    for (const ControlEntry& e : w.controls) {
      EXPECT_TRUE(seen.insert(e.name).second) << w.window << ": " << e.name << " listed twice";
      EXPECT_LE(e.first, e.last) << w.window << ": " << e.name;
    }
    // The check the binder runs: the catalogue's own widget list agrees; one extra widget and
    // one missing widget are both reported.
    std::vector<std::string> widgets = WidgetNames(w);
    EXPECT_TRUE(CatalogueMismatches(w, widgets).empty()) << w.window;
    ASSERT_FALSE(widgets.empty()) << w.window;
    widgets.front() = "Txx_not_catalogued";
    EXPECT_EQ(CatalogueMismatches(w, widgets).size(), 2u) << w.window;
    EXPECT_EQ(CatalogueMismatches(w, widgets, false).size(), 1u) << w.window;  // one page alone: no missing ones
  }
}

}  // namespace
}  // namespace lumora
