#include "core/FeedCheck.h"

#include <algorithm>

#include "core/DrawTexts.h"
#include "core/Text.h"

namespace lumora {

namespace {

bool AllDigits(std::string_view s) { return !s.empty() && IsDigits(s); }

// The last periods of one day are followed by these first periods of the next.
constexpr int kNewDayFirstPeriods = 3;
// A day has at least this many periods: "003" after "004" is a step back, not a new day.
constexpr int kShortestDay = 10;

}  // namespace

bool ReadDrawLine(std::string_view line, DrawRecord& out) {
  if (line.size() < 8) return false;
  const std::string_view period = line.substr(0, 3), digits = line.substr(line.size() - 5);
  const std::string_view between = line.substr(3, line.size() - 8);
  if (!AllDigits(period) || !AllDigits(digits)) return false;
  if (std::any_of(between.begin(), between.end(), [](char c) { return c >= '0' && c <= '9'; })) return false;
  out = {std::string(period), std::string(digits)};
  return true;
}

FeedAnswer ReadFeedAnswer(std::string_view body) {
  FeedAnswer a;
  if (!Contains(body, draw_text::kFeedOk)) {
    a.fault = AnswerFault::NoMarker;
    return a;
  }
  std::vector<std::string> pieces = Split(body, draw_text::kFeedBlock);
  if (pieces.size() < 3) {
    a.fault = AnswerFault::NoBlock;
    return a;
  }
  std::vector<std::string> lines = SplitCrLf(pieces[1]);
  if (!lines.empty() && lines.back().empty()) lines.pop_back();
  if (lines.size() < static_cast<size_t>(kDeepRows)) {
    a.fault = AnswerFault::TooFewLines;
    return a;
  }
  const size_t first = lines.size() - static_cast<size_t>(kDeepRows);
  a.draws.reserve(static_cast<size_t>(kDeepRows));
  for (size_t i = first; i < lines.size(); ++i) {
    DrawRecord r;
    if (!ReadDrawLine(lines[i], r)) {
      a.fault = AnswerFault::BadLine;
      a.badLine = static_cast<int>(i);
      a.draws.clear();
      return a;
    }
    a.draws.push_back(std::move(r));
  }
  return a;
}

bool ComesAfter(std::string_view later, std::string_view earlier) {
  const int l = ReadInt(later), e = ReadInt(earlier);
  return l > e || (l <= kNewDayFirstPeriods && e >= kShortestDay);
}

AnswerCheck CheckAnswer(const std::vector<DrawRecord>& answer, const DrawStore& history, int handEntered) {
  AnswerCheck c;
  // The applied draws that came from answers, oldest first.
  std::vector<DrawRecord> h;
  for (int row = kHistoryRows; row > std::max(handEntered, 0); --row)
    if (!history.history[static_cast<size_t>(row)].empty()) h.push_back(history.history[static_cast<size_t>(row)]);
  if (h.empty() || answer.empty()) return c;
  const int n = static_cast<int>(answer.size()), m = static_cast<int>(h.size());
  c.applied = h.back();

  // Two windows of one sequence of draws overlap only at an end: the newer one holds the older
  // one's newest draw. So an alignment is tried wherever the answer holds the applied newest
  // period, or the applied draws hold the answer's newest period; answer[i] then stands for
  // h[i + shift]. Periods repeat from day to day, so every such place is tried.
  struct Alignment {
    int shift = 0;
    int matches = 0;
    int mismatches = 0;
    int firstMismatch = -1;  // the newest answer index that disagrees
  };
  auto measure = [&](int shift) {
    Alignment a{shift};
    for (int i = std::max(0, -shift); i < n && i + shift < m; ++i) {
      if (answer[static_cast<size_t>(i)] == h[static_cast<size_t>(i + shift)]) {
        ++a.matches;
      } else {
        ++a.mismatches;
        a.firstMismatch = i;
      }
    }
    return a;
  };
  std::vector<Alignment> tried;
  for (int j = 0; j < n; ++j)
    if (answer[static_cast<size_t>(j)].period == h.back().period) tried.push_back(measure(m - 1 - j));
  for (int k = 0; k < m; ++k)
    if (h[static_cast<size_t>(k)].period == answer.back().period) tried.push_back(measure(k - (n - 1)));

  const Alignment* clean = nullptr;
  const Alignment* closest = nullptr;
  for (const Alignment& a : tried) {
    if (a.matches == 0) continue;
    if (a.mismatches == 0 && (!clean || a.matches > clean->matches)) clean = &a;
    if (!closest || a.matches > closest->matches) closest = &a;
  }
  if (!clean) {
    if (!closest) {
      c.verdict = AnswerVerdict::Untied;
      return c;
    }
    c.verdict = AnswerVerdict::Contradicts;
    c.answered = answer[static_cast<size_t>(closest->firstMismatch)];
    c.applied = h[static_cast<size_t>(closest->firstMismatch + closest->shift)];
    return c;
  }
  // Where the answer's newest draw falls among the applied ones.
  const int newestAt = n - 1 + clean->shift;
  if (newestAt < m - 1) {
    c.verdict = AnswerVerdict::Older;
    return c;
  }
  if (newestAt == m - 1) {
    c.verdict = AnswerVerdict::NotNew;
    return c;
  }
  // The draws beyond the applied newest must each come after the one before, in the answer's order.
  const int firstNew = m - clean->shift;
  for (int i = firstNew; i < n; ++i) {
    const std::string& before = answer[static_cast<size_t>(i - 1)].period;
    if (!ComesAfter(answer[static_cast<size_t>(i)].period, before)) {
      c.verdict = AnswerVerdict::Disordered;
      c.answered = answer[static_cast<size_t>(i)];
      return c;
    }
  }
  c.verdict = AnswerVerdict::New;
  c.newDraws = n - firstNew;
  return c;
}

}  // namespace lumora
