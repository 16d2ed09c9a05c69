#pragma once
// Wires the station-health operations into the document, the reports and
// the control form.

#include "health/health_channels.h"
#include "monitor/control_form.h"
#include "notify/send_report.h"

namespace zentrova {

// The drive placement and check, the controller start, and the battery
// and free-space readings of the reports. Before StartUp().
void ConnectHealth(CZentrovaDoc& doc, ReportChannels& reports, HealthChannels& channels);

// The battery check of the form's battery timer; a shutdown it starts runs
// on `timers` (those of the form), so that monitoring goes on meanwhile.
void ConnectBatteryCheck(CZentrovaControlForm& form, CZentrovaDoc& doc, HealthChannels& channels, TimerHost& timers);

}  // namespace zentrova
