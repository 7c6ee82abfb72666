#pragma once
// The recorder port: what the program did, told to an observer that keeps it beyond the process
// (journal/ writes it to a database). The engine only tells; it never reads anything back, so
// the stores and every rule behave the same with or without a recorder.
#include <cstdint>
#include <string>

namespace lumora {

// A plan started by StartPlan: the pending period it is for and the pool it bets.
struct PlanStarted {
  std::string name;     // T_zdy_yongyu_2, the plan's name in its lines
  std::string period;   // the period the plan is for
  std::string subGame;  // "前三", "中三" or "后三"
  std::string pool;     // the plan pool's text
  int size = 0;         // its number of combinations
};

// A plan judged against the new draw, with the profit the statistics booked for it.
struct PlanJudged {
  std::string period;  // the draw's period
  std::string digits;  // the draw's five digits
  bool hit = false;
  int64_t profitChange = 0;  // booked for this period
  int64_t profit = 0;        // the statistics' profit after it
  std::string scheme;        // the statistics scheme that booked it
  std::string line;          // the judged line of the plan record
};

// A plan that could not be judged: the draws applied do not hold the draw of the period it was
// made for (a gap longer than the window, a feed that skipped that period, a wind-back). No hit,
// no miss, no money moved.
struct PlanNotJudged {
  std::string period;  // the period the plan was made for
  std::string reason;  // why, in the player's words (the text the status shows)
  std::string line;    // the record line written for it
};

// A placed bet settled against the draw of the period it was placed for (real capital).
struct BetSettled {
  std::string period;
  bool hit = false;
  double stake = 0;
  std::string multiple;
  int count = 0;
  double capital = 0;  // 最新资金 after the settlement
};

// What the draw feed did with an answer it did not simply apply: an answer refused (older than
// the draws applied, contradicting them, out of order), an answer applied that could not be tied
// to the draws applied (automatic betting and group send paused), a broken exchange, a lasting
// outage and its end. `kind` names it ("older", "contradicts", "disordered", "untied", "failure",
// "outage", "recovered"); `period` and `digits` are the answer's newest draw where it had one.
struct FeedEvent {
  std::string kind;
  std::string period;
  std::string digits;
  std::string text;  // what the status line said
};

class Recorder {
 public:
  virtual ~Recorder() = default;
  // One applied history and the after-draw sequence it runs; everything told between the two
  // calls belongs to it. `source` is "feed", "manual" or "deletion".
  virtual void beginSequence(const std::string& period, const std::string& digits, const std::string& source) = 0;
  virtual void endSequence() = 0;
  virtual void planStarted(const PlanStarted& plan) = 0;
  // A draw the applied answer held between the newest draw applied before it and its own newest
  // (a feed outage, a sleeping computer, a feed faster than the requests), told oldest first
  // inside the sequence of the newest draw, so every draw served is kept.
  virtual void drawBetween(const std::string& period, const std::string& digits) = 0;
  virtual void planJudged(const PlanJudged& judgement) = 0;
  virtual void planNotJudged(const PlanNotJudged& plan) = 0;
  virtual void betSettled(const BetSettled& settlement) = 0;
  // A placed bet that could not be settled: its period's draw is not among the draws applied.
  virtual void betNotSettled(const std::string& period, const std::string& reason) = 0;
  virtual void betLogLine(const std::string& line) = 0;
  virtual void feedEvent(const FeedEvent&) {}
};

// Tells nobody: what the engine talks to when no recorder is plugged in.
class NullRecorder final : public Recorder {
 public:
  void beginSequence(const std::string&, const std::string&, const std::string&) override {}
  void endSequence() override {}
  void planStarted(const PlanStarted&) override {}
  void drawBetween(const std::string&, const std::string&) override {}
  void planJudged(const PlanJudged&) override {}
  void planNotJudged(const PlanNotJudged&) override {}
  void betSettled(const BetSettled&) override {}
  void betNotSettled(const std::string&, const std::string&) override {}
  void betLogLine(const std::string&) override {}
};

}  // namespace lumora
