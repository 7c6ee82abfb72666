// The word-level parts under the plan: counting sets on bit planes, several bounded draws from one
// generator output, the picks of a decided fit round after round, and a session no window shows.
#include <gtest/gtest.h>

#include <array>
#include <random>
#include <variant>

#include "core/NumberSet.h"
#include "core/Random.h"
#include "core/controls/Fmain.h"
#include "curves/TrendMatching.h"
#include "engine/plan/PlanFixture.h"
#include "plan/FundChart.h"
#include "plan/PlanStart.h"
#include "plan/PoolBoard.h"
#include "plan/SideCharts.h"

namespace lumora::testing {
namespace {

NumberSet RandomSet(std::mt19937& g, int percent) {
  NumberSet s;
  for (int n = 0; n < 1000; ++n)
    if (static_cast<int>(g() % 100) < percent) s.add(n);
  return s;
}

TEST(NumberCountsTest, CountsAndSelectionsMatchCountingNumberByNumber) {
  std::mt19937 g(4);
  for (int sets : {1, 3, 15, 18, 100}) {
    SCOPED_TRACE(sets);
    NumberCounts counts(sets);
    std::array<int, 1000> naive{};
    for (int k = 0; k < sets; ++k) {
      const NumberSet s = RandomSet(g, 10 + k % 80);
      counts.add(s);
      s.forEach([&](int n) { ++naive[static_cast<size_t>(n)]; });
    }
    for (int c = 0; c <= sets; ++c) {
      const NumberSet exact = counts.where([&](int x) { return x == c; });
      for (int n = 0; n < 1000; ++n) ASSERT_EQ(exact.contains(n), naive[static_cast<size_t>(n)] == c) << n;
    }
    // Several counts at once; nothing above 999 slips in from the unused bits.
    const NumberSet evens = counts.where([](int c) { return c % 2 == 0; });
    int expected = 0;
    for (int n = 0; n < 1000; ++n) expected += naive[static_cast<size_t>(n)] % 2 == 0;
    EXPECT_EQ(evens.count(), expected);
    EXPECT_EQ(counts.where([](int) { return true; }), NumberSet::All());
  }
}

TEST(NumberSetWordsTest, SetOperationsStayWithinTheThousandNumbers) {
  NumberSet::Words ones;
  ones.fill(~uint64_t{0});
  EXPECT_EQ(NumberSet::FromWords(ones), NumberSet::All());
  EXPECT_EQ(NumberSet::All().count(), 1000);
  NumberSet a = NumberSet::FromText("000 063 064 999");
  EXPECT_EQ((NumberSet::All() - a).count(), 996);
  EXPECT_FALSE((NumberSet::All() - a).contains(999));
  std::vector<int> seen;
  a.forEach([&](int n) { seen.push_back(n); });
  EXPECT_EQ(seen, (std::vector<int>{0, 63, 64, 999}));
  a.remove(64);
  EXPECT_EQ(a.text(), "000 063 999");
  EXPECT_TRUE(NumberSet().empty());
}

TEST(RangeDrawsTest, ValuesStayBelowTheirBoundsAndSpreadEvenly) {
  Rng rng(3), again(3);
  RangeDraws a(rng), b(again);
  for (int i = 0; i < 30000; ++i) {
    const uint64_t n = 1 + static_cast<uint64_t>(i % 999);
    const uint64_t v = a.Below(n);
    ASSERT_LT(v, n);
    ASSERT_EQ(v, b.Below(n));  // one seed, one series
  }
  std::array<int, 10> tally{};
  for (int i = 0; i < 30000; ++i) ++tally[a.Below(10)];
  for (int t : tally) EXPECT_NEAR(t, 3000, 300);
  // Three bounds of a thousand share one output; a fourth asks for the next one.
  Rng counted(9), reference(9);
  RangeDraws c(counted);
  for (int i = 0; i < 3; ++i) c.Below(1000);
  reference();
  EXPECT_EQ(counted(), reference());
  EXPECT_EQ(RangeDraws(counted).Below(0), 0u);
}

TEST(FitPicksTest, RoundsKeepTheIndexRuleAndTheCandidatesOrder) {
  // Three candidates, one pick: the one at the upper index is never taken first.
  FitDecision d;
  d.size = 1;
  d.candidates = {4, 7, 9};
  FitPicks one(d);
  Rng rng(11);
  for (int i = 0; i < 200; ++i) {
    const NumberSet p = one.pick(rng);
    ASSERT_EQ(p.count(), 1);
    ASSERT_FALSE(p.contains(9));
  }
  // Rounds from one decision are the rounds of fresh decisions: each round leaves the candidates
  // as it found them.
  FitDecision big;
  big.size = 300;
  big.trendHits = 40;
  big.hits = NumberSet::FromText("001 002");
  for (int v = 10; v < 1000; v += 1) big.candidates.push_back(static_cast<uint16_t>(v));
  FitPicks kept(big);
  Rng r1(5), r2(5);
  for (int round = 0; round < 5; ++round) {
    const NumberSet p = kept.pick(r1);
    EXPECT_EQ(p.count(), 260);
    EXPECT_EQ(p, FitPicks(big).pick(r2));
    EXPECT_EQ(PickFitPool(r1, big) - big.hits, FitPicks(big).pick(r2));
  }
  // Asking for as many as there are, or more, takes them all; nothing for n <= 0.
  big.size = 2000;
  EXPECT_EQ(FitPicks(big).pick(rng).count(), 990);
  big.size = 0;
  EXPECT_TRUE(PickFitPool(rng, big).empty());
}

class HeadlessTest : public PlanFixture {};

TEST_F(HeadlessTest, NoPictureIsBuiltWithoutAWindowAndTheShellStillGetsThem) {
  for (int i = 1; i <= kHistoryRows; ++i)
    s.cx.draws.history[static_cast<size_t>(i)] = DrawRecord{Pad(i, 3), Pad(i * 7919 % 100000, 5)};
  s.cx.draws.rebuildSubSeries();
  form().setText(fmain::T_dd_beiyong[0], "001 002 919");
  UseFixedPool("001 002");
  PlanEnv e = env();
  s.cx.headless = true;
  StartPlan(e);
  PaintFundChart(s.cx, s.plan);
  DrawMonitorBoard(s.cx, s.plan);
  EXPECT_TRUE(form().scene(kBoardPicture).items.empty());
  EXPECT_TRUE(form().scene(kFundPicture).items.empty());
  EXPECT_TRUE(form().scene(fmain::Pic_jiangkong).items.empty());
  EXPECT_TRUE(form().visible(kBoardPicture));
  const std::string pool = form().text(fmain::T_jihua_jj_dadi);
  s.cx.headless = false;
  StartPlan(e);
  PaintFundChart(s.cx, s.plan);
  DrawMonitorBoard(s.cx, s.plan);
  EXPECT_FALSE(form().scene(kBoardPicture).items.empty());
  EXPECT_FALSE(form().scene(kFundPicture).items.empty());
  EXPECT_FALSE(form().scene(fmain::Pic_jiangkong).items.empty());
  EXPECT_EQ(form().text(fmain::T_jihua_jj_dadi), pool);  // the plan itself is the same either way
}

}  // namespace
}  // namespace lumora::testing
