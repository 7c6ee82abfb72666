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

TEST_F(SchemeFileTest, RoundTripRestoresEveryControl) {
  cx.form.setText(fmain::T_quxian_zhushu[4], "333");
  cx.form.setText(fmain::T_xl_muduan[2], "10");
  cx.form.setChecked(fmain::Check_xl_md[7], true);
  cx.form.setChecked(fmain::Ch_jiankong_jj[3], false);
  cx.form.setText(fmain::T_jh_dadi_chongfu_rc, "05.06");
  std::string text = BuildSchemeText(cx.form).text;

  Context other;
  other.ports.prompter = &prompter;
  ApplyPlanDesignValues(other.form);
  ASSERT_TRUE(ApplySchemeText(other, text));
  for (int i = 0; i < 15; ++i) {
    EXPECT_EQ(other.form.text(fmain::T_quxian_zhushu[i]), cx.form.text(fmain::T_quxian_zhushu[i]));
    EXPECT_EQ(other.form.text(fmain::T_xl_muduan[i]), cx.form.text(fmain::T_xl_muduan[i]));
    EXPECT_EQ(other.form.checked(fmain::Check_xl_md[i]), i == 7);
    EXPECT_EQ(other.form.checked(fmain::Ch_jiankong_jj[i]), i != 3);
  }
  EXPECT_EQ(other.form.text(fmain::T_moshier_input), cx.form.text(fmain::T_moshier_input));
  EXPECT_EQ(other.form.text(fmain::T_jh_dadi_chongfu_rc), "05.06");
  EXPECT_TRUE(other.form.checked(fmain::Check_jh_dadi_chongfu));
  EXPECT_FALSE(other.form.checked(fmain::Check_jh_dadi_fenzu));
  EXPECT_EQ(other.form.text(fmain::T_jiankong_15di_geshu), "14");  // the selection's own reaction ran
  EXPECT_EQ(other.form.text(fmain::L_xl_zhushu[4]), "333");
  EXPECT_TRUE(prompter.notices.empty());
}

TEST_F(SchemeFileTest, ValuesThatWouldBreakTheFileAreRefusedNamingTheBox) {
  cx.form.setText(fmain::T_xl_muduan[3], "10/1");
  SchemeText out = BuildSchemeText(cx.form);
  EXPECT_EQ(out.text, "");
  EXPECT_NE(out.error.find(fmain::T_xl_muduan[3].messageName()), std::string::npos);
  cx.form.setText(fmain::T_xl_muduan[3], "1");
  cx.form.setText(fmain::T_moshier_input, "1.2=1\r\n*end*");
  out = BuildSchemeText(cx.form);
  EXPECT_NE(out.error.find(fmain::T_moshier_input.messageName()), std::string::npos);
  EXPECT_NE(out.error.find("*end*"), std::string::npos);
}

TEST_F(SchemeFileTest, ValuesThatFormAMarkerWithTheirNeighboursAreRefused) {
  // Right before "*end*": "*ms1" + "*end*" would start a second mode-one section.
  cx.form.setText(fmain::T_jiankong_rc, "01.02*ms1");
  SchemeText out = BuildSchemeText(cx.form);
  EXPECT_EQ(out.text, "");
  EXPECT_NE(out.error.find(fmain::T_jiankong_rc.messageName()), std::string::npos);
  EXPECT_NE(out.error.find("*ms1*"), std::string::npos);
  // Right after "*15zs*": "end*" would close the section at once.
  cx.form.setText(fmain::T_jiankong_rc, "01.02.03");
  cx.form.setText(fmain::T_quxian_zhushu[0], "end*1");
  out = BuildSchemeText(cx.form);
  EXPECT_EQ(out.text, "");
  EXPECT_NE(out.error.find(fmain::T_quxian_zhushu[0].messageName()), std::string::npos);
  // The same texts further inside a section are harmless and saved.
  cx.form.setText(fmain::T_quxian_zhushu[0], "110");
  cx.form.setText(fmain::T_quxian_zhushu[1], "end*1");
  EXPECT_EQ(BuildSchemeText(cx.form).error, "");
}

TEST_F(SchemeFileTest, DamagedSectionStopsTheLoadAfterTheEarlierOnes) {
  cx.form.setText(fmain::T_quxian_zhushu[0], "500");
  cx.form.setText(fmain::T_jh_dadi_chongfu_cs, "7");
  std::string text = BuildSchemeText(cx.form).text;
  size_t at = text.find("*ms2*");
  text = text.substr(0, at) + "*ms2**end*\r\n" + text.substr(text.find("*15xl*"));
  Context other;
  ApplyPlanDesignValues(other.form);
  EXPECT_FALSE(ApplySchemeText(other, text));
  EXPECT_EQ(other.form.text(fmain::T_quxian_zhushu[0]), "500");
  EXPECT_EQ(other.form.text(fmain::T_jh_dadi_chongfu_cs), "7");
  // A check value that is not an integer damages its section.
  EXPECT_FALSE(ApplySchemeText(other, ReplaceAll(BuildSchemeText(cx.form).text, "*15xl*1/", "*15xl*x/")));
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

TEST_F(SchemeFileTest, AFileWhoseSectionEndsInsideItsMarkerIsDamaged) {
  cx.form.setText(fmain::T_quxian_zhushu[0], "500");
  std::string text = BuildSchemeText(cx.form).text;
  // "*15zs*" followed by "end*" and the counts: the section is damaged, its values are not taken
  // from the rest of the file.
  text = ReplaceAll(text, "*15zs*500/", "*15zs*end*500/");
  Context other;
  ApplyPlanDesignValues(other.form);
  EXPECT_FALSE(ApplySchemeText(other, text));
  EXPECT_EQ(other.form.text(fmain::T_quxian_zhushu[0]), "110");
}

}  // namespace
}  // namespace lumora
