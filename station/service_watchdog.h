#pragma once
// The service manager's watchdog: "WATCHDOG=1" at least four times per
// period, but only while the monitor shows life. A cycle shows life by
// every file it handles and by its end; the event loop's tick pings for a
// station that is idle between cycles or not monitoring at all. A cycle
// stuck on one file stops the pings, so the manager restarts the station.

#include <algorithm>
#include <climits>
#include <cstdint>
#include <mutex>

#include "platform/clock.h"
#include "platform/service_notifier.h"

namespace zentrova {

class ServiceWatchdog {
 public:
  // periodMs: the manager's watchdog period (WATCHDOG_USEC / 1000), > 0.
  ServiceWatchdog(ServiceNotifier& notifier, Clock& clock, int64_t periodMs);

  // How often the event loop should call Tick, in ms: a quarter period, at
  // most a timer's reach (a period of months must not wrap into a timer of
  // 1 ms).
  int TickMs() const { return static_cast<int>(std::clamp<int64_t>(pingEveryMs_, 1, INT_MAX)); }
  // A file handled or a cycle ended; from any thread.
  void Progress();
  // From the event loop. monitoring: a monitor runs; quietMs: the longest
  // time between two cycles. Pings when not monitoring, or when the monitor
  // showed life within quietMs and one period (a monitor thread whose cycle
  // hangs while the loop goes on falls silent after that).
  void Tick(bool monitoring, int64_t quietMs);
  int pings() const;

 private:
  void PingIfDue(int64_t now);
  ServiceNotifier& notifier_;
  Clock& clock_;
  const int64_t periodMs_;
  const int64_t pingEveryMs_;
  mutable std::mutex mutex_;
  int64_t lastPing_;
  int64_t lastProgress_;
  int pings_ = 0;
};

}  // namespace zentrova
