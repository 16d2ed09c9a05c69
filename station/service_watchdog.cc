#include "station/service_watchdog.h"

#include <algorithm>

namespace zentrova {

ServiceWatchdog::ServiceWatchdog(ServiceNotifier& notifier, Clock& clock, int64_t periodMs)
    : notifier_(notifier),
      clock_(clock),
      periodMs_(std::max<int64_t>(periodMs, 4)),
      pingEveryMs_(periodMs_ / 4),
      lastPing_(clock.SteadyMs()),
      lastProgress_(lastPing_) {}

void ServiceWatchdog::PingIfDue(int64_t now) {
  if (now - lastPing_ < pingEveryMs_) return;
  lastPing_ = now;
  ++pings_;
  notifier_.Notify("WATCHDOG=1");
}

void ServiceWatchdog::Progress() {
  std::lock_guard<std::mutex> lock(mutex_);
  const int64_t now = clock_.SteadyMs();
  lastProgress_ = now;
  PingIfDue(now);
}

void ServiceWatchdog::Tick(bool monitoring, int64_t quietMs) {
  std::lock_guard<std::mutex> lock(mutex_);
  const int64_t now = clock_.SteadyMs();
  if (!monitoring) {
    lastProgress_ = now;  // the quiet time counts from the start of monitoring
  } else if (now - lastProgress_ > std::max<int64_t>(quietMs, 0) + periodMs_) {
    return;
  }
  PingIfDue(now);
}

int ServiceWatchdog::pings() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return pings_;
}

}  // namespace zentrova
