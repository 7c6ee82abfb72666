#include <gtest/gtest.h>

#include "core/RecordingPorts.h"
#include "core/Text.h"
#include "core/controls/Fmain.h"
#include "plan/PlanDefaults.h"
#include "settings/SchemeFile.h"

namespace lumora {
namespace {

class SchemeFileTest : public ::testing::Test {
 protected:
  Context cx;
  RecordingPrompter prompter;
  void SetUp() override {
    cx.ports.prompter = &prompter;
    ApplyPlanDesignValues(cx.form);
    for (int i = 0; i < 15; ++i) {
      cx.form.setText(fmain::T_xl_muduan[i], "1111111111");
      cx.form.setChecked(fmain::Ch_jiankong_jj[i], true);
    }
    cx.form.setChecked(fmain::Check_jh_dadi_chongfu, true);
  }
};

TEST_F(SchemeFileTest, DesignValuesMakeTheSixSections) {
  SchemeText out = BuildSchemeText(cx.form);
  ASSERT_EQ(out.error, "");
  EXPECT_EQ(out.text.substr(0, 30), "*15zs*110/120/130/140/150/160/");
  EXPECT_NE(out.text.find("*ms1*1/18/08.09.10.11.12.13.14/01.02.03*end*\r\n"), std::string::npos);
  EXPECT_NE(
      out.text.find("*ms2*0/01.02.03.04.05=12345\r\n01.03.05.07.09.11=1234\r\n10.11.12.13=12\r\n/01.02.03/*end*\r\n"),
      std::string::npos);
  const std::string last = "*15xl*1/1/1/1/1/1/1/1/1/1/1/1/1/1/1/*end*\r\n";
  EXPECT_EQ(out.text.substr(out.text.size() - last.size()), last);
}

// Values holding a marker, or forming one with the marker beside them, are refused naming the box.
TEST_F(SchemeFileTest, ValuesThatWouldBreakTheFileAreRefusedNamingTheBox) {
  const struct {
    ControlRef box;
    const char* text;
    const char* marker;  // named in the message when not empty
  } cases[] = {
      {fmain::T_xl_muduan[3], "10/1", ""},
      {fmain::T_moshier_input, "1.2=1\r\n*end*", "*end*"},
      {fmain::T_jiankong_rc, "01.02*ms1", "*ms1*"},  // "*ms1" + "*end*": a second mode-one section
      {fmain::T_quxian_zhushu[0], "end*1", ""},      // "*15zs*" + "end*": the section closed at once
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    SetUp();
    cx.form.setText(c.box, c.text);
    SchemeText out = BuildSchemeText(cx.form);
    EXPECT_EQ(out.text, "");
    EXPECT_NE(out.error.find(c.box.messageName()), std::string::npos) << out.error;
    EXPECT_NE(out.error.find(c.marker), std::string::npos) << out.error;
  }
  // The same texts further inside a section are harmless and saved.
  SetUp();
  cx.form.setText(fmain::T_quxian_zhushu[1], "end*1");
  EXPECT_EQ(BuildSchemeText(cx.form).error, "");
}

// A damaged section stops the load: the sections applied before it are taken, it and the later
// ones are not (applied in the order counts, masks, checks, selection, mode one, mode two).
TEST_F(SchemeFileTest, ADamagedSectionStopsTheLoadAfterTheEarlierOnes) {
  cx.form.setText(fmain::T_quxian_zhushu[0], "500");
  cx.form.setText(fmain::T_jh_dadi_chongfu_cs, "7");
  const std::string text = BuildSchemeText(cx.form).text;
  const struct {
    const char* name;
    std::string text;
    const char* count;   // T_quxian_zhushu_0 afterwards
    const char* repeat;  // T_jh_dadi_chongfu_cs afterwards
  } cases[] = {
      {"empty mode-two section",
       text.substr(0, text.find("*ms2*")) + "*ms2**end*\r\n" + text.substr(text.find("*15xl*")), "500", "7"},
      {"a selection value not an integer", ReplaceAll(text, "*15xl*1/", "*15xl*x/"), "500", "18"},
      {"the end inside the start marker", ReplaceAll(text, "*15zs*500/", "*15zs*end*500/"), "110", "18"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Context other;
    ApplyPlanDesignValues(other.form);
    EXPECT_FALSE(ApplySchemeText(other, c.text));
    EXPECT_EQ(other.form.text(fmain::T_quxian_zhushu[0]), c.count);
    EXPECT_EQ(other.form.text(fmain::T_jh_dadi_chongfu_cs), c.repeat);
  }
}

TEST(ExtractSectionTest, TakesTheTextBetweenTheLastStartAndTheFirstEndAfterIt) {
  EXPECT_EQ(ExtractSection("*a*", "*end*", "x*a*1/2*end*y"), "1/2");
  EXPECT_EQ(ExtractSection("*a*", "*end*", "*end**a*old*a*new*end*"), "new");
  EXPECT_EQ(ExtractSection("*a*", "*end*", "*a*no end"), "");
  EXPECT_EQ(ExtractSection("*a*", "*end*", ""), "");
  // An end marker that begins inside the start marker encloses nothing; the rest of the text is
  // not taken for the section.
  EXPECT_EQ(ExtractSection("*15zs*", "*end*", "*15zs*end*1/2/3*end*"), "");
  EXPECT_EQ(ExtractSection("*a*", "*end*", "*a**end*"), "");
}

}  // namespace
}  // namespace lumora
