#pragma once
// Re-entry guard: nothing runs on top of an operation that is running. No box runs a nested
// event loop (a question's answer arrives later as work of its own), so the event loop only
// delivers between operations; but an operation may itself start work (a box answered by a test
// double, a network reply completed synchronously, a timer started and fired from within), and
// such work is queued and run after the outermost operation ends, in order. Keyed work (a timer's
// tick) is queued at most once.
#include <deque>
#include <functional>
#include <string>

namespace lumora {

class OperationGate {
 public:
  // Runs `work` now when idle, else queues it. Queued work runs, in order, when the outermost
  // operation ends. A non-empty `key` already queued is not queued twice.
  void run(std::function<void()> work, const std::string& key = {});
  bool busy() const { return depth_ > 0; }
  std::size_t queued() const { return queue_.size(); }

 private:
  struct Item {
    std::string key;
    std::function<void()> work;
  };
  int depth_ = 0;
  std::deque<Item> queue_;
};

}  // namespace lumora
