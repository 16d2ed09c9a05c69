#pragma once
// The battery guard and the shutdown: the voltage from the controller's
// survey file against the warning and shutdown thresholds.

#include <string>

#include "health/health_channels.h"
#include "monitor/zentrova_doc.h"

namespace zentrova {

class BatteryShutdown;

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
