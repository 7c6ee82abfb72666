#include "session/OperationGate.h"

#include <algorithm>
#include <cstdio>
#include <exception>

namespace lumora {

namespace {
// A run-time failure ends the operation at its edge; the program goes on.
void Guarded(const std::function<void()>& work) {
  try {
    work();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "lumora: operation failed: %s\n", e.what());
  } catch (...) {
    std::fprintf(stderr, "lumora: operation failed\n");
  }
}
}  // namespace

void OperationGate::run(std::function<void()> work, const std::string& key) {
  if (depth_ > 0) {
    if (!key.empty() && std::any_of(queue_.begin(), queue_.end(), [&](const Item& i) { return i.key == key; })) return;
    queue_.push_back({key, std::move(work)});
    return;
  }
  struct Depth {
    int& d;
    explicit Depth(int& x) : d(x) { ++d; }
    ~Depth() { --d; }
  };
  {
    Depth guard(depth_);
    Guarded(work);
  }
  while (!queue_.empty()) {
    Item next = std::move(queue_.front());
    queue_.pop_front();
    Depth guard(depth_);
    Guarded(next.work);
  }
}

}  // namespace lumora
