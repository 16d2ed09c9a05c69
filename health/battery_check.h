#pragma once
// The battery guard and the shutdown: the voltage from the controller's
// survey file against the warning and shutdown thresholds.

#include <string>

#include "health/health_channels.h"
#include "monitor/zentrova_doc.h"

namespace zentrova {

// The periodic check; returns the text for the activity log. Below the
// shutdown threshold it warns and shuts the station down (ShutdownStation(0)).
std::string CheckBattery(CZentrovaDoc& doc, HealthChannels& channels);

// ask 1: the operator's "Shutdown" (confirmation, then the controller is
// closed and waited for); ask 0: the battery check.
void ShutdownStation(CZentrovaDoc& doc, HealthChannels& channels, int ask);

}  // namespace zentrova
