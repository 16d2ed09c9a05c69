#include "health/station_health.h"

#include <memory>

#include "health/battery_check.h"
#include "health/battery_shutdown.h"
#include "health/controller.h"
#include "health/drive_manager.h"
#include "health/no_drive_reason.h"
#include "health/survey_file.h"

namespace zentrova {

void ConnectHealth(CZentrovaDoc& doc, ReportChannels& reports, HealthChannels& ch) {
  reports.battery = [&ch] { return ReadBatteryVoltage(ch.fs, ch.recentSurveys, ch.surveyFolder); };
  reports.freeFraction = [&ch](char letter) { return QueryFreeSpace(ch.volumes, letter).fraction; };
  doc.services.placeDestination = [&doc, &ch] { PlaceDestination(doc, ch.volumes); };
  doc.services.checkDestinationDrive = [&doc, &ch] { return CheckDestinationDrive(doc, ch.volumes); };
  doc.services.noDriveReason = [&doc, &ch] { return NoDriveReason(doc.settingsBlock, ch.volumes); };
  doc.services.startController = [&doc, &ch] { return LaunchController(doc, ch); };
}

void ConnectBatteryCheck(CZentrovaControlForm& form, CZentrovaDoc& doc, HealthChannels& ch, TimerHost& timers) {
  auto shutdown = std::make_shared<BatteryShutdown>(doc, ch, timers);
  form.batteryCheck = [&doc, &ch, shutdown] { return CheckBattery(doc, ch, *shutdown); };
}

}  // namespace zentrova
