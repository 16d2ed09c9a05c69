#pragma once
// Window timers for a shell without windows: a single-threaded loop that
// calls each timer's callback when it falls due. With a FakeClock the loop
// runs station time as fast as the callbacks allow.

#include <atomic>
#include <cstdint>
#include <functional>
#include <map>

#include "platform/clock.h"

namespace zentrova {

class TimerHost {
 public:
  virtual ~TimerHost() = default;
  // Calls callback every `ms` milliseconds until killed; returns the timer's
  // identifier (never 0).
  virtual unsigned SetTimer(int ms, std::function<void()> callback) = 0;
  virtual void KillTimer(unsigned timerId) = 0;
};

class EventLoop : public TimerHost {
 public:
  explicit EventLoop(Clock& clock) : clock_(clock) {}

  unsigned SetTimer(int ms, std::function<void()> callback) override;
  void KillTimer(unsigned timerId) override;

  // Runs the timers until Quit() or until `ms` milliseconds have passed
  // (forever when ms is negative). After Quit() every later Run ends at once.
  void Run(int64_t ms = -1);
  // May be called from any thread or a signal handler, also before Run.
  void Quit() { quit_ = true; }
  bool QuitRequested() const { return quit_; }
  size_t TimerCount() const { return timers_.size(); }

 private:
  struct Timer {
    int periodMs;
    int64_t dueMs;
    std::function<void()> callback;
  };
  Clock& clock_;
  std::map<unsigned, Timer> timers_;
  unsigned next_ = 1;
  std::atomic<bool> quit_{false};
};

}  // namespace zentrova
