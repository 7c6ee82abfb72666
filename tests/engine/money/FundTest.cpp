#include <gtest/gtest.h>

#include "core/Text.h"
#include "core/controls/Fmain.h"
#include "engine/support/EngineFixture.h"
#include "money/BetLog.h"
#include "money/Fund.h"

namespace lumora {
namespace {

struct FundFixture : ::testing::Test, testing::RecordedContext {
  MoneyState money;
  FixedClock clock;

  void SetUp() override {
    cx.ports.clock = &clock;
    const char* design[5] = {"130", "130", "19.4", "5", "300"};
    for (int i = 0; i < 5; ++i) cx.form.setText(fmain::T_zijin[i], design[i]);
    cx.form.setText(fmain::T_zd_touzhu_beitou[0], "1-1-1-1-2-2-3-4-5-6");
    // Newest draw 12345: sub-number 345 (后三); bets are placed after 023.
    cx.draws.history[2] = {"023", "99999"};
    cx.draws.history[1] = {"024", "12345"};
  }
  void placeBet(const std::string& pool, int count, const std::string& multiple) {
    RecordPlacedBet(money, pool, count, multiple, cx.draws.history[2]);
  }
};

TEST_F(FundFixture, WorkedExampleMissAndHit) {
  ReadFundSettings(cx, money);
  EXPECT_EQ(money.fund.prize, 19.4f);
  // Ten combinations at multiple 2, none of them the draw: the stake 0.4 is lost.
  placeBet("100 101 102 103 104 105 106 107 108 109", 10, "2");
  SettleBet(cx, money);
  EXPECT_EQ(cx.form.text(fmain::T_zijin[1]), "129.6");
  EXPECT_EQ(money.betPlacedFlag, 2);
  // Same bet holding the draw: 19.4 x 2 - 0.4 = 38.4 won.
  placeBet("100 101 102 103 104 105 106 107 108 345", 10, "2");
  SettleBet(cx, money);
  EXPECT_EQ(cx.form.text(fmain::T_zijin[1]), "168");
  EXPECT_FLOAT_EQ(money.fund.current, 129.6f + 38.4f);
  EXPECT_TRUE(prompter.notices.empty());
  // The other four values are shown again as read.
  EXPECT_EQ(cx.form.text(fmain::T_zijin[0]), "130");
  EXPECT_EQ(cx.form.text(fmain::T_zijin[2]), "19.4");
  EXPECT_EQ(cx.form.text(fmain::T_zijin[4]), "300");
}

TEST_F(FundFixture, HitFromFreshCapital) {
  ReadFundSettings(cx, money);
  placeBet("345 346 347 348 349 350 351 352 353 354", 10, "2");
  SettleBet(cx, money);
  EXPECT_EQ(cx.form.text(fmain::T_zijin[1]), "168.4");
}

TEST_F(FundFixture, OnlyAPlacedBetIsSettledAndOnlyOnce) {
  ReadFundSettings(cx, money);
  SettleBet(cx, money);  // flag 0
  EXPECT_EQ(money.fund.current, 130.0f);
  EXPECT_EQ(money.betPlacedFlag, 0);
  placeBet("345", 1, "1");
  SettleBet(cx, money);
  float after = money.fund.current;
  cx.form.setText(fmain::T_zijin[1], "x");
  SettleBet(cx, money);  // flag 2: nothing moves, nothing is shown
  EXPECT_EQ(money.fund.current, after);
  EXPECT_EQ(cx.form.text(fmain::T_zijin[1]), "x");
  // Re-reading the settings forgets a bet placed before.
  cx.form.setText(fmain::T_zijin[1], "130");
  placeBet("345", 1, "1");
  ReadFundSettings(cx, money);
  SettleBet(cx, money);
  EXPECT_EQ(money.fund.current, 130.0f);
  EXPECT_TRUE(prompter.notices.empty());
}

TEST_F(FundFixture, HitIsDecidedByTheBetPoolAndTheSubGame) {
  ReadFundSettings(cx, money);
  cx.draws.subStart = 1;  // 前三: 123
  placeBet("345", 1, "1");
  SettleBet(cx, money);
  EXPECT_FLOAT_EQ(money.fund.current, 130.0f - 0.02f);
  placeBet("123", 1, "1");
  SettleBet(cx, money);
  EXPECT_FLOAT_EQ(money.fund.current, 130.0f - 0.02f + 19.4f - 0.02f);
}

TEST_F(FundFixture, UnitStakeTableEdges) {
  struct Case {
    const char* prize;
    double unit;
    bool warns;
  } cases[] = {{"0", 0.02, false},  {"20", 0.02, false},  {"20.5", 0.02, true}, {"50", 0.02, true},
               {"100", 0.2, false}, {"200", 0.2, false},  {"500", 0.02, true},  {"1000", 2, false},
               {"2000", 2, false},  {"2001", 0.02, true}, {"-1", 0.02, true}};
  for (const Case& c : cases) {
    prompter.notices.clear();
    cx.form.setItems(kBetLogList, {});
    cx.form.setText(fmain::T_zijin[1], "1000");
    cx.form.setText(fmain::T_zijin[2], c.prize);
    ReadFundSettings(cx, money);
    placeBet("100", 10, "1");  // a miss: the capital falls by exactly the stake
    SettleBet(cx, money);
    EXPECT_FLOAT_EQ(money.fund.current, static_cast<float>(1000 - c.unit * 10)) << c.prize;
    if (c.warns) {
      ASSERT_EQ(prompter.notices.size(), 1u) << c.prize;
      EXPECT_EQ(prompter.notices[0].text, "赔率设置错误，请检查");
      EXPECT_EQ(prompter.notices[0].title, "温馨提示");
      ASSERT_EQ(cx.form.items(kBetLogList).size(), 1u);
      EXPECT_EQ(cx.form.items(kBetLogList)[0].substr(0, 20), "赔率设置错误::");
    } else {
      EXPECT_TRUE(prompter.notices.empty()) << c.prize;
      EXPECT_TRUE(cx.form.items(kBetLogList).empty()) << c.prize;
    }
  }
}

TEST_F(FundFixture, LimitsAreStrict) {
  auto check = [&](const char* current, const char* lower, const char* upper) {
    cx.form.setText(fmain::T_zijin[1], current);
    cx.form.setText(fmain::T_zijin[3], lower);
    cx.form.setText(fmain::T_zijin[4], upper);
    ReadFundSettings(cx, money);
    return CheckFundLimits(money);
  };
  EXPECT_EQ(check("130", "5", "300"), 1);
  EXPECT_EQ(check("5", "5", "300"), 2);
  EXPECT_EQ(check("300", "5", "300"), 2);
  EXPECT_EQ(check("5.01", "5", "300"), 1);
  EXPECT_EQ(check("130", "300", "5"), 2);     // lower above upper stops all betting
  EXPECT_EQ(check("abc", "5", "300"), 2);     // reads as 0
  EXPECT_EQ(check("1e400", "5", "1e39"), 2);  // beyond single precision: infinities, no crash
}

TEST_F(FundFixture, MultipleSequenceIsCleaned) {
  cx.form.setText(fmain::T_zd_touzhu_beitou[0], "  1，2，4 ");
  money.multiplePosition = 5;
  ReadFundSettings(cx, money);
  EXPECT_EQ(cx.form.text(fmain::T_zd_touzhu_beitou[0]), "124");
  EXPECT_EQ(money.multipleSequence, "124");
  EXPECT_EQ(money.sequenceValid, 1);
  EXPECT_EQ(money.multiplePosition, 0);
  EXPECT_EQ(cx.form.text(fmain::T_zd_touzhu_beitou[1]), "未开始");

  cx.form.setText(fmain::T_zd_touzhu_beitou[0], "1-2.5-x3");
  ValidateMultipleSequence(cx, money);
  EXPECT_EQ(money.multipleSequence, "1-2.5-3");

  cx.form.setText(fmain::T_zd_touzhu_beitou[1], "running");
  cx.form.setText(fmain::T_zd_touzhu_beitou[0], "倍数 abc");
  ValidateMultipleSequence(cx, money);
  EXPECT_EQ(money.sequenceValid, 0);
  EXPECT_EQ(cx.form.text(fmain::T_zd_touzhu_beitou[0]), "");
  EXPECT_EQ(money.multipleSequence, "1-2.5-3");  // the last good sequence stays
  EXPECT_EQ(cx.form.text(fmain::T_zd_touzhu_beitou[1]), "running");
  ASSERT_EQ(prompter.notices.size(), 1u);
  EXPECT_EQ(prompter.notices[0].text, "倍数有误，请检查");
  EXPECT_EQ(prompter.notices[0].title, "提示");
}

TEST(SingleText, ShortestSinglePrecisionDecimal) {
  EXPECT_EQ(SingleText(129.6f), "129.6");
  EXPECT_EQ(SingleText(static_cast<float>(129.6f + 38.4)), "168");
  EXPECT_EQ(SingleText(19.4f), "19.4");
  EXPECT_EQ(SingleText(-0.0f), "0");
  EXPECT_EQ(SingleText(-3.25f), "-3.25");
  EXPECT_EQ(SingleText(0.0001f), "0.0001");
  EXPECT_EQ(SingleText(1e10f), "10000000000");
}

TEST(BetLog, TwoHundredFirstLineAppendsTwoHundredSecondEmpties) {
  Context cx;
  FixedClock clock;
  cx.ports.clock = &clock;
  for (int i = 1; i <= 201; ++i) LogBetMessage(cx, "  line " + std::to_string(i) + " ");
  const auto& items = cx.form.items(kBetLogList);
  ASSERT_EQ(items.size(), 201u);
  EXPECT_EQ(items[200].substr(0, 10), "line 201::");
  EXPECT_EQ(cx.form.selectedIndex(kBetLogList), 200);
  LogBetMessage(cx, "line 202");
  ASSERT_EQ(cx.form.items(kBetLogList).size(), 1u);
  EXPECT_EQ(cx.form.items(kBetLogList)[0], "line 202::" + DateTimeText(clock.time));
  EXPECT_EQ(cx.form.selectedIndex(kBetLogList), -1);
}

TEST(BetLog, SelectsTheNewLineFromTheFourthOn) {
  Context cx;
  for (int i = 0; i < 3; ++i) LogBetMessage(cx, "x");
  EXPECT_EQ(cx.form.selectedIndex(kBetLogList), -1);
  LogBetMessage(cx, "x");
  EXPECT_EQ(cx.form.selectedIndex(kBetLogList), 3);
}

}  // namespace
}  // namespace lumora
