// Which controls a backtest can vary and what values they take: every catalogued control is
// settable or refused with a reason, bad values are refused naming value and control, and a
// refusal of the statistics says what they refused.
#include <gtest/gtest.h>

#include "analysis/Backtest.h"
#include "analysis/ControlValues.h"
#include "core/ControlNames.h"
#include "core/Files.h"
#include "core/Text.h"
#include "core/controls/Fmain.h"
#include "core/controls/Ftool.h"

namespace lumora {
namespace {

BacktestSettings Bare() {
  BacktestSettings s;
  s.data = DataFolder::Locate(RunningExecutable()).root();
  return s;
}

// A control as the command line names it: "T_quxian_zhushu_3", an array by its bare name.
std::string Name(ControlRef control) { return control.name(); }
template <ControlKind K>
std::string Name(const ControlArray<K>& array) {
  return std::string(array.key);
}

// Every name a window's catalogue holds: single controls, array elements and arrays' bare names.
std::vector<std::string> EveryCataloguedName() {
  std::vector<std::string> names;
  for (const WindowCatalogue& w : ControlCatalogues())
    for (const ControlEntry& e : w.controls) {
      names.push_back(e.key);
      for (int i = e.first; e.first >= 0 && i <= e.last; ++i) names.push_back(ControlRef{e.key, i}.name());
    }
  return names;
}

TEST(ControlValuesTest, EveryCataloguedControlIsSettableInABacktestOrRefusedWithItsReason) {
  // One value of each kind; a settable control takes at least one of them.
  const std::vector<std::string> samples = {"1", "0", "10", "08.09", "012", "1-2-4", "1800", "0.01", "1-2-3", "text"};
  int settable = 0;
  for (const std::string& name : EveryCataloguedName()) {
    const std::string why = WhyNotSettable(name);
    if (!why.empty()) {
      // A reason, not a shrug: the catch-all and "no such control" never answer a catalogued name.
      EXPECT_EQ(why.find("not among"), std::string::npos) << why;
      EXPECT_EQ(why.find("no control named"), std::string::npos) << why;
      EXPECT_EQ(why.find(name), 0u) << why;
      continue;
    }
    ++settable;
    std::string value;
    for (const std::string& s : samples)
      if (CheckControlValue(name, s).empty()) {
        value = s;
        break;
      }
    ASSERT_FALSE(value.empty()) << name << " takes none of the sample values";
    // Set on a bare session, as a sweep does before its runs.
    BacktestSettings settings = Bare();
    settings.controls = {{name, value}};
    AnsweringPrompter quiet;
    EXPECT_EQ(RunBacktestOn(settings, {}, quiet).error, "") << name << "=" << value;
  }
  EXPECT_GT(settable, 60);
  // Named before: a box the bare form had not created yet, refused as unknown.
  EXPECT_EQ(WhyNotSettable(Name(fmain::Check_duoqi)), "");
}

TEST(ControlValuesTest, BadValuesAreRefusedNamingTheValueAndTheControl) {
  const std::vector<std::pair<std::string, std::string>> bad = {
      {Name(fmain::T_jh_dadi_chongfu_cs), "abc"},   {Name(fmain::T_jh_dadi_chongfu_cs), "-5"},
      {Name(fmain::T_jh_dadi_chongfu_cs), "九"},    {Name(fmain::T_jh_dadi_chongfu_cs), "1000"},
      {Name(fmain::T_jh_dadi_chongfu_cs), "9.5"},   {Name(fmain::T_quxian_zhushu[0]), "981"},
      {Name(fmain::T_szzx_canshu[0]), "1700"},      {Name(fmain::T_szzx_canshu[0]), "2000.5"},
      {Name(fmain::T_szzx_canshu[0]), "19x0"},      {Name(fmain::T_szzx_canshu[2]), "8"},
      {Name(fmain::T_szzx_canshu[2]), "1--2"},      {Name(fmain::T_szzx_canshu[2]), "0-1"},
      {Name(fmain::T_szzx_canshu[3]), "1"},         {Name(fmain::T_szzx_canshu[4]), "0.004"},
      {Name(fmain::T_jiankong_rc), "1.2"},          {Name(fmain::T_jiankong_rc), "0809"},
      {Name(fmain::T_jihua_danma_rc), "0-1"},       {Name(fmain::Option_touzhu_sz), "3"},
      {Name(fmain::Option_touzhu_sz), "x"},         {Name(fmain::Check_duoqi), "yes"},
      {Name(fmain::T_xl_muduan[0]), "12345678901"}, {Name(fmain::T_paixu_qishu), "0"},
      {Name(fmain::T_jh_qi_baoliu), "201"},         {Name(fmain::T_paixu_fenjiemoshi), "1-x"},
      {Name(fmain::T_paixu_fenjiemoshi), "123"},
  };
  for (const auto& [name, value] : bad) {
    const std::string why = CheckControlValue(name, value);
    EXPECT_NE(why.find("\"" + value + "\""), std::string::npos) << name << "=" << value << ": " << why;
    EXPECT_NE(why.find(name), std::string::npos) << why;
  }
  for (const char* empty : {"", " "}) {
    const std::string why = CheckControlValue(Name(fmain::T_jh_dadi_chongfu_cs), empty);
    EXPECT_NE(why.find("empty value for " + Name(fmain::T_jh_dadi_chongfu_cs)), std::string::npos) << why;
  }
  const std::vector<std::pair<std::string, std::string>> good = {
      {Name(fmain::T_jh_dadi_chongfu_cs), "9"},
      {Name(fmain::T_jh_dadi_chongfu_cs), " 18 "},
      {Name(fmain::T_jh_dadi_chongfu_cs), "0"},
      {Name(fmain::T_szzx_canshu[0]), "2000"},
      {Name(fmain::T_szzx_canshu[0]), "1700.5"},
      {Name(fmain::T_szzx_canshu[2]), "1-2-4"},
      {Name(fmain::Option_touzhu_sz), "2"},
      {Name(fmain::Option_touzhu_sz[1]), "on"},
      {Name(fmain::T_jiankong_rc), "01.02.03"},
      {Name(fmain::T_jh_dadi_chongfu_rc), "容对08.09"},
      {Name(fmain::T_quxian_zhushu[14]), "980"},
      {Name(fmain::Check_duoqi), "1"},
      {Name(fmain::T_xl_muduan[3]), "一二三四五六七八九十"},
  };
  for (const auto& [name, value] : good) EXPECT_EQ(CheckControlValue(name, value), "") << name << "=" << value;
}

TEST(ControlValuesTest, RefusalsSayWhyTheControlCannotBeSet) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {Name(fmain::C_jihua_ks), "a button"},
      {Name(fmain::Tdadi), "the run writes it"},
      {Name(fmain::T_zijin[0]), "automatic betting"},
      {Name(fmain::Check_jihua_sx), "ticks it itself"},
      {Name(fmain::Op_3x_moshi), "--start"},
      {Name(fmain::T_quxian_zhushu), "a row of 15 controls"},
      {Name(fmain::Ch_jiankong_jj), "a row of 15 controls"},
      {Name(ftool::Check_danma_jc), "Ftool (the shrink tool"},
      {ftool::Check_danma_jc.widgetName(), Name(ftool::Check_danma_jc)},
      {"T_no_such_box", "no control named T_no_such_box"},
      {Name(fmain::T_quxian_zhushu) + "_15", "no control named"},
      {Name(fmain::T_quxian_zhushu) + "_01", "no control named"},
  };
  for (const auto& [name, part] : cases) {
    const std::string why = CheckControlValue(name, "1");
    EXPECT_NE(why.find(part), std::string::npos) << name << ": " << why;
  }
}

TEST(ControlValuesTest, TheStatisticsSayWhatTheyRefused) {
  BacktestSettings settings = Bare();
  settings.stats = "multiplier:8";
  AnsweringPrompter quiet;
  const std::string error = RunBacktestOn(settings, {}, quiet).error;
  EXPECT_NE(error.find("倍投输入格式不正确"), std::string::npos) << error;
  settings.stats = "flat";
  settings.odds = 1700;
  EXPECT_NE(RunBacktestOn(settings, {}, quiet).error.find("1700~2000"), std::string::npos);
}

}  // namespace
}  // namespace lumora
