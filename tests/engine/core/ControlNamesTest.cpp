// The control catalogues: every name the engine writes in its source is catalogued, the strict
// Form refuses a name that is not, and the catalogues themselves are sound.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <regex>
#include <set>
#include <stdexcept>

#include "core/ControlNames.h"
#include "core/Files.h"
#include "core/Form.h"
#include "core/controls/Fbj.h"
#include "core/controls/Fmain.h"

namespace lumora {
namespace {

namespace fs = std::filesystem;

TEST(ControlNames, EveryNameTheEngineSpellsOutIsCatalogued) {
#ifdef _WIN32
  GTEST_SKIP() << "a check of the source tree, the same on every system: it runs on Linux";
#endif
  const char* root = std::getenv("LUMORA_SOURCE");
  ASSERT_NE(root, nullptr);
  // A Form call or an element name with a literal name: f.text("Tkjh"), "T_quxian_zhushu"[i].
  const std::regex call(
      R"re(\b(?:text|setText|checked|setChecked|enabled|setEnabled|visible|setVisible|backColor|setBackColor|foreColor|setForeColor|items|setItems|addItem|selectedIndex|setSelectedIndex|itemSelected|setItemSelected|scene|editScene|setScene|timer|setTimer|setTimerEnabled|fontSize|setFontSize|touch|userSet\w+)\(\s*"([^"]+)")re");
  const std::regex element(R"re(\bIndexed\(\s*"([^"]+)")re");
  std::set<std::string> unknown;
  int files = 0, names = 0;
  for (const char* dir : {"src", "cli"}) {
    for (const auto& e : fs::recursive_directory_iterator(fs::path(root) / dir)) {
      const fs::path& p = e.path();
      // The shell's own setText calls are widget captions, not Form names.
      if (p.string().find("/src/ui/") != std::string::npos) continue;
      if (p.extension() != ".cpp" && p.extension() != ".h") continue;
      std::string text = ReadWholeFileBytes(p).value_or("");
      ++files;
      for (std::sregex_iterator m(text.begin(), text.end(), call), end; m != end; ++m, ++names) {
        const std::string name = (*m)[1].str();
        // "Ftool." + Indexed(...): a window's prefix in front of a built name.
        const bool known = name.back() == '.' ? CatalogueForPrefix(name) != nullptr : IsCataloguedName(name);
        if (!known) unknown.insert(p.filename().string() + ": " + name);
      }
      for (std::sregex_iterator m(text.begin(), text.end(), element), end; m != end; ++m, ++names)
        if (!IsCataloguedArray((*m)[1].str())) unknown.insert(p.filename().string() + ": array " + (*m)[1].str());
    }
  }
  EXPECT_GT(files, 50);
  EXPECT_GT(names, 300);
  for (const std::string& u : unknown) ADD_FAILURE() << "not in any window's control catalogue: " << u;
}

TEST(ControlNames, TheStrictFormRefusesAnUnknownName) {
  ASSERT_TRUE(StrictControlNames());  // every test program runs strict
  Form f;
  EXPECT_NO_THROW(f.setText(fmain::Tkjh, "1"));
  EXPECT_NO_THROW(f.setChecked(fmain::Ch_jiankong_jj[14], true));
  EXPECT_NO_THROW(f.setTimer(fbj::Timer_bj, true, 1000));
  EXPECT_THROW(f.text("Tkjh_"), UnknownControlName);            // read
  EXPECT_THROW(f.setText("T_quxian_zhushu_15", "1"), UnknownControlName);  // past the array
  EXPECT_THROW(f.checked("Fadd.Tkjh"), UnknownControlName);     // another window's name
  EXPECT_THROW(f.touch("Pic_nothing"), UnknownControlName);
}

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
