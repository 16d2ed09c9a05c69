#include "platform/event_loop.h"

#include <algorithm>

namespace zentrova {

unsigned EventLoop::SetTimer(int ms, std::function<void()> callback) {
  const unsigned id = next_++;
  const int period = std::max(ms, 1);
  timers_[id] = Timer{period, clock_.SteadyMs() + period, std::move(callback)};
  return id;
}

void EventLoop::KillTimer(unsigned timerId) { timers_.erase(timerId); }

void EventLoop::Run(int64_t ms) {
  // A quit asked for before the run (a signal during the start-up steps)
  // holds: the loop then ends at once.
  const int64_t end = ms < 0 ? INT64_MAX : clock_.SteadyMs() + ms;
  while (!quit_) {
    const int64_t now = clock_.SteadyMs();
    if (now >= end) break;
    auto due = std::min_element(timers_.begin(), timers_.end(),
                                [](const auto& a, const auto& b) { return a.second.dueMs < b.second.dueMs; });
    const int64_t next = due == timers_.end() ? end : std::min(end, due->second.dueMs);
    if (next > now) {
      // Short steps, so that Quit() is seen soon.
      clock_.Sleep(static_cast<int>(std::min<int64_t>(next - now, 50)));
      continue;
    }
    Timer& timer = due->second;
    timer.dueMs = now + timer.periodMs;
    auto callback = timer.callback;  // the callback may kill its own timer
    callback();
  }
}

}  // namespace zentrova
