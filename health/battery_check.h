#pragma once
// The battery guard and the shutdown: the voltage from the controller's
// survey file against the warning and shutdown thresholds.

#include <string>

#include "health/health_channels.h"
#include "monitor/zentrova_doc.h"

namespace zentrova {

class BatteryShutdown;

// One spell of low battery, from the first check below the warning
// threshold to the first check at or above it again. Within it each
// warning is mailed once, when its level is first reached, and
// "System shutdown." is said once; a dry-run or refused power-off that
// leaves the station running does not repeat them at every check.
struct LowBatteryEpisode {
  int mailedLevel = 0;  // 0 none, 1 the warning, 2 the shutdown warning
  bool shutdownAnnounced = false;
};

// The periodic check; returns the text for the activity log. Below the
// shutdown threshold it warns and starts `shutdown`, which goes on after
// this returns (the pause of 1 s, "System shutdown.", 10 s, the power-off).
std::string CheckBattery(CZentrovaDoc& doc, HealthChannels& channels, BatteryShutdown& shutdown);

// ask 1: the operator's "Shutdown" (confirmation, then the controller is
// closed and waited for); ask 0: the same without them. Waits its 10 s.
void ShutdownStation(CZentrovaDoc& doc, HealthChannels& channels, int ask);

// "System shutdown." to the log file and, with reports on, sent.
void AnnounceShutdown(CZentrovaDoc& doc);

}  // namespace zentrova
