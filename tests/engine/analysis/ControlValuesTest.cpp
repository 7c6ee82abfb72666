// Which controls a backtest can vary and what values they take: every catalogued control is
// settable or refused with a reason, bad values are refused naming value and control, and a
// refusal of the statistics says what they refused.
#include <gtest/gtest.h>

#include "analysis/Backtest.h"
#include "analysis/ControlValues.h"
#include "core/ControlNames.h"
#include "core/Files.h"
#include "core/Text.h"

namespace lumora {
namespace {

class Quiet final : public AnsweringPrompter {
 public:
  void inform(const std::string&, const std::string&) override {}
};

BacktestSettings Bare() {
  BacktestSettings s;
  s.data = DataFolder::Locate(RunningExecutable()).root();
  return s;
}

// Every name a window's catalogue holds: single controls, array elements and arrays' bare names.
std::vector<std::string> EveryCataloguedName() {
  std::vector<std::string> names;
  for (const WindowCatalogue& w : ControlCatalogues())
    for (const ControlEntry& e : w.controls) {
      names.push_back(std::string(w.prefix) + e.name);
      for (int i = e.first; e.first >= 0 && i <= e.last; ++i) names.push_back(std::string(w.prefix) + Indexed(e.name, i));
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
    Quiet quiet;
    EXPECT_EQ(RunBacktestOn(settings, {}, quiet).error, "") << name << "=" << value;
  }
  EXPECT_GT(settable, 60);
  // Named before: a box the bare form had not created yet, refused as unknown.
  EXPECT_EQ(WhyNotSettable("Check_duoqi"), "");
}

TEST(ControlValuesTest, BadValuesAreRefusedNamingTheValueAndTheControl) {
  const std::vector<std::pair<std::string, std::string>> bad = {
      {"T_jh_dadi_chongfu_cs", "abc"},   {"T_jh_dadi_chongfu_cs", "-5"},   {"T_jh_dadi_chongfu_cs", "九"},
      {"T_jh_dadi_chongfu_cs", "1000"},  {"T_jh_dadi_chongfu_cs", "9.5"},  {"T_quxian_zhushu_0", "981"},
      {"T_szzx_canshu_0", "1700"},       {"T_szzx_canshu_0", "2000.5"},    {"T_szzx_canshu_0", "19x0"},
      {"T_szzx_canshu_2", "8"},          {"T_szzx_canshu_2", "1--2"},      {"T_szzx_canshu_2", "0-1"},
      {"T_szzx_canshu_3", "1"},          {"T_szzx_canshu_4", "0.004"},     {"T_jiankong_rc", "1.2"},
      {"T_jiankong_rc", "0809"},         {"T_jihua_danma_rc", "0-1"},      {"Option_touzhu_sz", "3"},
      {"Option_touzhu_sz", "x"},         {"Check_duoqi", "yes"},           {"T_xl_muduan_0", "12345678901"},
      {"T_paixu_qishu", "0"},            {"T_jh_qi_baoliu", "201"},        {"T_paixu_fenjiemoshi", "1-x"},
      {"T_paixu_fenjiemoshi", "123"},
  };
  for (const auto& [name, value] : bad) {
    const std::string why = CheckControlValue(name, value);
    EXPECT_NE(why.find("\"" + value + "\""), std::string::npos) << name << "=" << value << ": " << why;
    EXPECT_NE(why.find(name), std::string::npos) << why;
  }
  for (const char* empty : {"", " "}) {
    const std::string why = CheckControlValue("T_jh_dadi_chongfu_cs", empty);
    EXPECT_NE(why.find("empty value for T_jh_dadi_chongfu_cs"), std::string::npos) << why;
  }
  const std::vector<std::pair<std::string, std::string>> good = {
      {"T_jh_dadi_chongfu_cs", "9"}, {"T_jh_dadi_chongfu_cs", " 18 "}, {"T_jh_dadi_chongfu_cs", "0"},
      {"T_szzx_canshu_0", "2000"},   {"T_szzx_canshu_0", "1700.5"},   {"T_szzx_canshu_2", "1-2-4"},
      {"Option_touzhu_sz", "2"},     {"Option_touzhu_sz_1", "on"},    {"T_jiankong_rc", "01.02.03"}, {"T_jh_dadi_chongfu_rc", "容对08.09"},
      {"T_quxian_zhushu_14", "980"}, {"Check_duoqi", "1"},            {"T_xl_muduan_3", "一二三四五六七八九十"},
  };
  for (const auto& [name, value] : good) EXPECT_EQ(CheckControlValue(name, value), "") << name << "=" << value;
}

TEST(ControlValuesTest, RefusalsSayWhyTheControlCannotBeSet) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"C_jihua_ks", "a button"},
      {"Tdadi", "the run writes it"},
      {"T_zijin_0", "automatic betting"},
      {"Check_jihua_sx", "ticks it itself"},
      {"Op_3x_moshi", "--start"},
      {"T_quxian_zhushu", "a row of 15 controls"},
      {"Ch_jiankong_jj", "a row of 15 controls"},
      {"Ftool.Check_danma_jc", "Ftool (the shrink tool"},
      {"Check_danma_jc", "Ftool.Check_danma_jc"},
      {"T_no_such_box", "no control named T_no_such_box"},
      {"T_quxian_zhushu_15", "no control named"},
      {"T_quxian_zhushu_01", "no control named"},
  };
  for (const auto& [name, part] : cases) {
    const std::string why = CheckControlValue(name, "1");
    EXPECT_NE(why.find(part), std::string::npos) << name << ": " << why;
  }
}

TEST(ControlValuesTest, TheStatisticsSayWhatTheyRefused) {
  BacktestSettings settings = Bare();
  settings.stats = "multiplier:8";
  Quiet quiet;
  const std::string error = RunBacktestOn(settings, {}, quiet).error;
  EXPECT_NE(error.find("倍投输入格式不正确"), std::string::npos) << error;
  settings.stats = "flat";
  settings.odds = 1700;
  EXPECT_NE(RunBacktestOn(settings, {}, quiet).error.find("1700~2000"), std::string::npos);
}

}  // namespace
}  // namespace lumora
