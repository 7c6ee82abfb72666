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

TEST(FeedCheck, DrawLines) {
  DrawRecord r;
  EXPECT_TRUE(ReadDrawLine("023-12345", r));
  EXPECT_EQ(r, (DrawRecord{"023", "12345"}));
  EXPECT_TRUE(ReadDrawLine("02331234", r));  // no separator: the first three and the last five
  EXPECT_EQ(r, (DrawRecord{"023", "31234"}));
  for (const char* bad : {"x01-12345", "abc-12345", "../-12345", "   -12345", "023-1234x", "0231234", "023-9-12345", "",
                          "023-12 45", "２３４-12345"})
    EXPECT_FALSE(ReadDrawLine(bad, r)) << bad;
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
  EXPECT_FALSE(ComesAfter("003", "004"));
  // A whole day of draws since: the new newest has the applied newest's period.
  AnswerCheck day = CheckAnswer(Answer(500 + 120), Applied(500), 0);
  EXPECT_EQ(day.verdict, AnswerVerdict::New);
  EXPECT_EQ(day.newDraws, 120);
}

// The rewrites the window test does not serve: a draw dropped from the middle, an older answer
// whose newest was rewritten.
TEST(FeedCheck, DroppedAndRewrittenOlderDrawsContradict) {
  const DrawStore d = Applied(500);
  std::vector<DrawRecord> a = Answer(501);
  a.erase(a.begin() + 100);
  a.insert(a.begin(), Draw(351));
  EXPECT_EQ(CheckAnswer(a, d, 0).verdict, AnswerVerdict::Contradicts);
  a = Answer(498);
  a.back().digits = "99999";
  AnswerCheck c = CheckAnswer(a, d, 0);
  EXPECT_EQ(c.verdict, AnswerVerdict::Contradicts);
  EXPECT_EQ(c.applied, Draw(498));
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
