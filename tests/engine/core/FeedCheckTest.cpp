// Feed answers held against the draws applied: which lines are draws, and which answers agree,
// are newer, older, contradict or cannot be tied, across the end of a day.
#include <gtest/gtest.h>

#include "core/FeedCheck.h"
#include "core/Text.h"

namespace lumora {
namespace {

// A game of 120 draws a day; draw n (0 = the first of day 0) has period n % 120 + 1.
DrawRecord Draw(int n) { return {Pad(n % 120 + 1, 3), Pad((n * 7919 + 4242) % 100000, 5)}; }

// The 150 draws ending with draw `newest`, oldest first.
std::vector<DrawRecord> Answer(int newest) {
  std::vector<DrawRecord> a;
  for (int n = newest - 149; n <= newest; ++n) a.push_back(Draw(n));
  return a;
}

// The history an answer ending with `newest` leaves: rows 1..120, row 1 newest.
DrawStore Applied(int newest) {
  DrawStore d;
  for (int i = 1; i <= kHistoryRows; ++i) d.history[static_cast<size_t>(i)] = Draw(newest - i + 1);
  return d;
}

TEST(FeedCheck, DrawLinesAndAnswerForms) {
  DrawRecord r;
  EXPECT_TRUE(ReadDrawLine("023-12345", r));
  EXPECT_EQ(r, (DrawRecord{"023", "12345"}));
  EXPECT_TRUE(ReadDrawLine("02312345", r));
  for (const char* bad : {"x01-12345", "abc-12345", "../-12345", "   -12345", "023-1234x", "0231234", "023-9-12345",
                          "", "023-12 45", "２３４-12345"})
    EXPECT_FALSE(ReadDrawLine(bad, r)) << bad;

  std::string block;
  for (int n = 0; n < 150; ++n) block += (n ? "\r\n" : "") + Draw(n).period + "-" + Draw(n).digits;
  FeedAnswer a = ReadFeedAnswer("**ok***-*" + block + "\r\n*-*");
  ASSERT_EQ(a.fault, AnswerFault::None);
  EXPECT_EQ(a.draws.front(), Draw(0));
  EXPECT_EQ(a.draws.back(), Draw(149));
  EXPECT_EQ(ReadFeedAnswer("*-*" + block + "*-*").fault, AnswerFault::NoMarker);
  EXPECT_EQ(ReadFeedAnswer("**ok***-*" + block).fault, AnswerFault::NoBlock);
  EXPECT_EQ(ReadFeedAnswer("**ok***-*" + block.substr(0, block.size() / 2) + "*-*").fault, AnswerFault::TooFewLines);
  FeedAnswer bad = ReadFeedAnswer("**ok***-*" + block + "\r\n1a1-22222*-*");
  EXPECT_EQ(bad.fault, AnswerFault::BadLine);
  EXPECT_EQ(bad.badLine, 150);
  EXPECT_TRUE(bad.draws.empty());
}

TEST(FeedCheck, AnswersAgreeingWithTheHistoryAreNewerSameOrOlder) {
  const DrawStore d = Applied(500);
  EXPECT_EQ(CheckAnswer(Answer(500), DrawStore{}, 0).verdict, AnswerVerdict::First);
  EXPECT_EQ(CheckAnswer(Answer(500), d, 0).verdict, AnswerVerdict::NotNew);
  AnswerCheck next = CheckAnswer(Answer(503), d, 0);
  EXPECT_EQ(next.verdict, AnswerVerdict::New);
  EXPECT_EQ(next.newDraws, 3);
  // Older answers: a lagging mirror, a period going backwards, an answer replayed.
  EXPECT_EQ(CheckAnswer(Answer(499), d, 0).verdict, AnswerVerdict::Older);
  EXPECT_EQ(CheckAnswer(Answer(400), d, 0).verdict, AnswerVerdict::Older);
  // As far back as the answer reaches it still ties; one further it cannot.
  EXPECT_EQ(CheckAnswer(Answer(649), d, 0).newDraws, 149);
  EXPECT_EQ(CheckAnswer(Answer(650), d, 0).verdict, AnswerVerdict::Untied);
  // Far ahead, the same periods a day later carry other digits: not a contradiction.
  EXPECT_EQ(CheckAnswer(Answer(500 + 240), d, 0).verdict, AnswerVerdict::Untied);
}

TEST(FeedCheck, DayEndsAreFollowedByTheFirstPeriods) {
  // Draw 359 is period 120, the day's last; 360 is period 001 of the next day.
  const DrawStore d = Applied(358);
  AnswerCheck across = CheckAnswer(Answer(362), d, 0);
  EXPECT_EQ(across.verdict, AnswerVerdict::New);
  EXPECT_EQ(across.newDraws, 4);
  EXPECT_EQ(CheckAnswer(Answer(357), Applied(361), 0).verdict, AnswerVerdict::Older);
  EXPECT_TRUE(ComesAfter("001", "120"));
  EXPECT_TRUE(ComesAfter("002", "119"));  // the day's last draw skipped
  EXPECT_TRUE(ComesAfter("051", "050"));
  EXPECT_FALSE(ComesAfter("049", "050"));
  EXPECT_FALSE(ComesAfter("050", "050"));
  EXPECT_FALSE(ComesAfter("001", "001"));
  // A whole day of draws since: the new newest has the applied newest's period.
  AnswerCheck day = CheckAnswer(Answer(500 + 120), Applied(500), 0);
  EXPECT_EQ(day.verdict, AnswerVerdict::New);
  EXPECT_EQ(day.newDraws, 120);
}

TEST(FeedCheck, RewrittenReplayedAndReorderedDrawsAreCaught) {
  const DrawStore d = Applied(500);
  // The newest draw's digits rewritten.
  std::vector<DrawRecord> a = Answer(500);
  a.back().digits = "00000";
  AnswerCheck c = CheckAnswer(a, d, 0);
  EXPECT_EQ(c.verdict, AnswerVerdict::Contradicts);
  EXPECT_EQ(c.applied, Draw(500));
  EXPECT_EQ(c.answered, (DrawRecord{Draw(500).period, "00000"}));
  // The 149 older draws rewritten under a true newest, and under a new one.
  for (int newest : {500, 501}) {
    a = Answer(newest);
    for (size_t i = 0; i + 1 < a.size(); ++i) a[i].digits = Pad((std::stoi(a[i].digits) + 1) % 100000, 5);
    if (newest == 501) a[a.size() - 2] = Draw(500);
    EXPECT_EQ(CheckAnswer(a, d, 0).verdict, AnswerVerdict::Contradicts) << newest;
  }
  // One draw dropped from the middle: the order no longer agrees.
  a = Answer(501);
  a.erase(a.begin() + 100);
  a.insert(a.begin(), Draw(351));
  EXPECT_EQ(CheckAnswer(a, d, 0).verdict, AnswerVerdict::Contradicts);
  // An older answer whose newest was rewritten.
  a = Answer(498);
  a.back().digits = "99999";
  EXPECT_EQ(CheckAnswer(a, d, 0).verdict, AnswerVerdict::Contradicts);
  // After the applied newest, the same period again, or a period going back.
  for (const char* period : {"021", "020", "005"}) {  // draw 500 is period 021
    a = Answer(500);
    a.erase(a.begin());
    a.push_back({period, "13579"});
    AnswerCheck o = CheckAnswer(a, d, 0);
    EXPECT_EQ(o.verdict, AnswerVerdict::Disordered) << period;
    EXPECT_EQ(o.answered, (DrawRecord{period, "13579"}));
  }
}

TEST(FeedCheck, DrawsEnteredByHandAreNotHeldAgainstAnswers) {
  DrawStore d = Applied(500);
  for (int i = kHistoryRows; i >= 2; --i) d.history[static_cast<size_t>(i)] = d.history[static_cast<size_t>(i - 1)];
  d.history[1] = {Draw(501).period, "77777"};  // the player's guess of draw 501
  EXPECT_EQ(CheckAnswer(Answer(501), d, 0).verdict, AnswerVerdict::Contradicts);
  AnswerCheck c = CheckAnswer(Answer(501), d, 1);
  EXPECT_EQ(c.verdict, AnswerVerdict::New);
  EXPECT_EQ(c.newDraws, 1);
  EXPECT_EQ(CheckAnswer(Answer(500), d, 1).verdict, AnswerVerdict::NotNew);
  // Only hand-entered rows: nothing to hold an answer against.
  EXPECT_EQ(CheckAnswer(Answer(500), d, kHistoryRows).verdict, AnswerVerdict::First);
}

}  // namespace
}  // namespace lumora
