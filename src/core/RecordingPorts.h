#pragma once
// Port doubles for tests and lumora-cli: they record what the engine asked for and answer from
// a script. Plain C++, so the engine's tests need no window.
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/Ports.h"
#include "core/Recorder.h"

namespace lumora {

struct Notice {
  std::string text;
  std::string title;
};

class RecordingPrompter final : public Prompter {
 public:
  std::vector<Notice> notices;                         // every inform, in order
  std::vector<Notice> questions;                       // every Yes/No or input prompt, in order
  std::deque<bool> yesNoAnswers;                       // answers to come; empty -> `defaultYes`
  std::deque<std::optional<std::string>> textAnswers;  // replies to come; empty -> cancelled
  bool defaultYes = true;
  // How an answer comes back, as the shell's prompter does it: a session test passes its gate's
  // run (the answer then runs after the asking operation), a window test the shell's run. Unset:
  // answers wait in `pending` until answerPending().
  std::function<void(std::function<void()>)> dispatch;
  std::deque<std::function<void()>> pending;

  void inform(const std::string& text, const std::string& title) override { notices.push_back({text, title}); }
  void askYesNo(const std::string& text, const std::string& title, std::function<void(bool)> answer) override {
    questions.push_back({text, title});
    bool a = defaultYes;
    if (!yesNoAnswers.empty()) {
      a = yesNoAnswers.front();
      yesNoAnswers.pop_front();
    }
    deliver([answer = std::move(answer), a] { answer(a); });
  }
  void askText(const std::string& prompt, const std::string& title, const std::string&,
               std::function<void(std::optional<std::string>)> reply) override {
    questions.push_back({prompt, title});
    std::optional<std::string> a;
    if (!textAnswers.empty()) {
      a = textAnswers.front();
      textAnswers.pop_front();
    }
    deliver([reply = std::move(reply), a] { reply(a); });
  }
  // Runs the waiting answers, oldest first, and those the answers raise in turn (a chain of
  // questions); at most `limit` of them. Returns how many ran.
  int answerPending(int limit = 100) {
    int n = 0;
    while (!pending.empty() && n < limit) {
      auto next = std::move(pending.front());
      pending.pop_front();
      next();
      ++n;
    }
    return n;
  }
  std::string lastText() const { return notices.empty() ? std::string() : notices.back().text; }

 private:
  void deliver(std::function<void()> f) {
    if (dispatch) dispatch(std::move(f));
    else pending.push_back(std::move(f));
  }
};

class RecordingClipboard final : public Clipboard {
 public:
  std::string content;
  int clears = 0;
  void clear() override {
    content.clear();
    ++clears;
  }
  void setText(const std::string& utf8) override { content = utf8; }
  std::string text() override { return content; }
};

class RecordingSound final : public Sound {
 public:
  std::vector<std::string> played;
  int stops = 0;
  void play(const std::string& wavPath) override { played.push_back(wavPath); }
  void stop() override { ++stops; }
};

class FixedClock final : public Clock {
 public:
  std::chrono::system_clock::time_point time{};
  std::chrono::system_clock::time_point now() override { return time; }
  void advance(std::chrono::milliseconds d) { time += d; }
};

// Keeps what the engine told, one line an event: "draw 151 12345 feed", "between 150 54321",
// "plan 152", "judged 151 12345 hit", "not judged 152", "settled 151 miss", "not settled 152",
// "log <line>", "feed <kind> <period>", "end".
class RecordingRecorder final : public Recorder {
 public:
  std::vector<std::string> events;
  void beginSequence(const std::string& period, const std::string& digits, const std::string& source) override {
    events.push_back("draw " + period + " " + digits + " " + source);
  }
  void endSequence() override { events.push_back("end"); }
  void drawBetween(const std::string& period, const std::string& digits) override {
    events.push_back("between " + period + " " + digits);
  }
  void planStarted(const PlanStarted& p) override { events.push_back("plan " + p.period); }
  void planJudged(const PlanJudged& j) override {
    events.push_back("judged " + j.period + " " + j.digits + (j.hit ? " hit" : " miss"));
  }
  void planNotJudged(const PlanNotJudged& p) override { events.push_back("not judged " + p.period); }
  void betSettled(const BetSettled& b) override {
    events.push_back("settled " + b.period + (b.hit ? " hit" : " miss"));
  }
  void betNotSettled(const std::string& period, const std::string&) override {
    events.push_back("not settled " + period);
  }
  void betLogLine(const std::string& line) override { events.push_back("log " + line); }
  void feedEvent(const FeedEvent& e) override { events.push_back("feed " + e.kind + " " + e.period); }
};

// Answers every GET from a script (or with no response) and records the URLs asked for.
class ScriptedHttp final : public Http {
 public:
  struct Request {
    int channel;
    std::string url;
    std::function<void(const HttpResult&)> done;
  };
  std::vector<std::string> urls;
  std::vector<Request> pending;  // requests not yet answered, oldest first

  void get(int channel, const std::string& url, int, std::size_t,
           std::function<void(const HttpResult&)> done) override {
    abort(channel);
    urls.push_back(url);
    pending.push_back({channel, url, std::move(done)});
  }
  void abort(int channel) override {
    std::erase_if(pending, [channel](const Request& r) { return r.channel == channel; });
  }
  // Completes the oldest pending request with `body` (status 200).
  bool answer(const std::string& body) {
    HttpResult res;
    res.ok = true;
    res.status = 200;
    res.body = body;
    return complete(res);
  }
  // Completes the oldest pending request with `result`.
  bool complete(const HttpResult& result) {
    if (pending.empty()) return false;
    Request r = std::move(pending.front());
    pending.erase(pending.begin());
    r.done(result);
    return true;
  }
};

}  // namespace lumora
