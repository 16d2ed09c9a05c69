#include "health/battery_shutdown.h"

#include "health/battery_check.h"

namespace zentrova {

BatteryShutdown::BatteryShutdown(CZentrovaDoc& doc, HealthChannels& channels, TimerHost& timers)
    : doc_(doc), channels_(channels), timers_(timers) {}

BatteryShutdown::~BatteryShutdown() {
  if (timer_ != 0) timers_.KillTimer(timer_);
}

void BatteryShutdown::Start() {
  if (timer_ != 0) return;
  announced_ = false;
  timer_ = timers_.SetTimer(1000, [this] { Next(); });
}

void BatteryShutdown::Next() {
  timers_.KillTimer(timer_);
  timer_ = 0;
  if (!announced_) {
    announced_ = true;
    if (!episode_.shutdownAnnounced) AnnounceShutdown(doc_);
    episode_.shutdownAnnounced = true;
    timer_ = timers_.SetTimer(10000, [this] { Next(); });
    return;
  }
  // A dry run or a refused power-off leaves the station running; the next
  // check below the threshold starts over.
  channels_.power.PowerOff();
}

}  // namespace zentrova
