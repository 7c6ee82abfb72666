#pragma once
// Re-entry guard. Modal message boxes run a nested event loop, so a timer tick or a draw
// response can arrive while an operation is still running. Work that arrives then is queued and
// run after the operation ends, never on top of it. Keyed work (a timer's tick) is queued at most
// once.
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
