#pragma once
// The battery's shutdown as later events of the station's timers, so that
// the monitor goes on while it waits: "System shutdown." one second after
// the warning, the power-off ten seconds after that.

#include "health/health_channels.h"
#include "monitor/zentrova_doc.h"
#include "platform/event_loop.h"

namespace zentrova {

class BatteryShutdown {
 public:
  BatteryShutdown(CZentrovaDoc& doc, HealthChannels& channels, TimerHost& timers);
  ~BatteryShutdown();
  BatteryShutdown(const BatteryShutdown&) = delete;
  BatteryShutdown& operator=(const BatteryShutdown&) = delete;

  // Starts the shutdown; one under way is not started twice.
  void Start();
  bool UnderWay() const { return timer_ != 0; }

 private:
  void Next();

  CZentrovaDoc& doc_;
  HealthChannels& channels_;
  TimerHost& timers_;
  unsigned timer_ = 0;
  bool announced_ = false;
};

}  // namespace zentrova
