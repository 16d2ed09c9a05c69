#pragma once
// Wall-clock time and pauses. The logic asks this interface for "now" and
// for its pauses, so tests can run minutes of station time in milliseconds.

#include <atomic>
#include <cstdint>

namespace zentrova {

class Clock {
 public:
  virtual ~Clock() = default;
  // Seconds since 1970.
  virtual int64_t Now() = 0;
  // Milliseconds on a steady scale, for timers.
  virtual int64_t SteadyMs() = 0;
  virtual void Sleep(int milliseconds) = 0;
};

class SystemClock : public Clock {
 public:
  int64_t Now() override;
  int64_t SteadyMs() override;
  void Sleep(int milliseconds) override;
};

// A clock that only moves when told to, or by the pauses it is asked for.
// Safe to use from several threads.
class FakeClock : public Clock {
 public:
  explicit FakeClock(int64_t startSeconds = 1584259445) : ms_(startSeconds * 1000) {}
  int64_t Now() override { return (ms_.load() + wallShiftMs_.load()) / 1000; }
  int64_t SteadyMs() override { return ms_.load(); }
  void Sleep(int milliseconds) override { Advance(milliseconds); }
  // Time passes: both readings move.
  void Advance(int64_t milliseconds) { ms_ += milliseconds; }
  void SetNow(int64_t seconds) { ms_ = seconds * 1000 - wallShiftMs_.load(); }
  // The wall clock is set forward (or back): the steady reading stays.
  void ShiftWall(int64_t seconds) { wallShiftMs_ += seconds * 1000; }

 private:
  std::atomic<int64_t> ms_;
  std::atomic<int64_t> wallShiftMs_{0};
};

}  // namespace zentrova
