#pragma once
// The battery's shutdown as later events of the station's timers, so that
// the monitor goes on while it waits: "System shutdown." one second after
// the warning, the power-off ten seconds after that.

#include "health/battery_check.h"
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

  // Starts the shutdown; one under way is not started twice. Within one
  // low-battery episode "System shutdown." is said once: a later start in
  // it only powers off.
  void Start();
  bool UnderWay() const { return timer_ != 0; }
  // The low-battery episode the checks are in.
  LowBatteryEpisode& Episode() { return episode_; }

 private:
  void Next();

  CZentrovaDoc& doc_;
  HealthChannels& channels_;
  TimerHost& timers_;
  unsigned timer_ = 0;
  bool announced_ = false;
  LowBatteryEpisode episode_;
};

}  // namespace zentrova
