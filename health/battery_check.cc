#include "health/battery_check.h"

#include "health/battery_shutdown.h"
#include "health/controller.h"
#include "health/survey_file.h"
#include "notify/battery_reading.h"
#include "platform/printf.h"

namespace zentrova {

std::string CheckBattery(CZentrovaDoc& doc, HealthChannels& ch, BatteryShutdown& shutdown) {
  const BatteryReading reading = ReadBatteryVoltage(ch.fs, ch.recentSurveys, ch.surveyFolder);
  if (reading.voltage <= 0.0f) return "No battery voltage information (" + reading.missing + ")";
  std::string result;
  bool below = false;
  {
    std::lock_guard<std::recursive_mutex> lock(doc.mutex);
    const MonitorSettings& m = doc.settingsBlock;
    result = BatteryLine(reading, doc.platform.clock.Now());
    std::string warning;
    int level = 0;
    if (reading.voltage < m.fBatteryShutdown) {
      warning = Printf("Warning ! Battery voltage is less than %.1f V. PC will be shoutdown.",
                       static_cast<double>(m.fBatteryShutdown));
      below = true;
      level = 2;
    } else if (reading.voltage < m.fBatteryWarning) {
      warning = Printf("Warning ! Battery voltage is less than %.1f V", static_cast<double>(m.fBatteryWarning));
      level = 1;
    }
    LowBatteryEpisode& episode = shutdown.Episode();
    if (level == 0) episode = LowBatteryEpisode();  // the spell is over
    if (!warning.empty()) {
      if (level > episode.mailedLevel) {
        if (doc.bSnedReport == 1) doc.SendReport(warning, 1);
        episode.mailedLevel = level;
      }
      result += "\n" + warning;
    }
  }
  if (below) shutdown.Start();
  return result;
}

void ShutdownStation(CZentrovaDoc& doc, HealthChannels& ch, int ask) {
  if (ask == 1 && !doc.platform.prompt.AskOkCancel("Are you sure to shutdown?")) return;
  if (ask == 1 && IsProcessRunning(ch.processes, ch.controllerProcess) == 1) {
    // The controller saves its survey when it closes; the station waits for it.
    CloseWindowByTitle(ch.windows, kControllerTitle);
    while (IsProcessRunning(ch.processes, ch.controllerProcess) == 1) doc.platform.clock.Sleep(1000);
  }
  AnnounceShutdown(doc);
  doc.platform.clock.Sleep(10000);
  ch.power.PowerOff();
}

void AnnounceShutdown(CZentrovaDoc& doc) {
  // ShutdownStation's own announcement; the battery's goes through its episode.
  std::lock_guard<std::recursive_mutex> lock(doc.mutex);
  doc.activityLog.AppendToLogFile("System shutdown.");
  if (doc.bSnedReport == 1) doc.SendReport("System shutdown.", 1);
}

}  // namespace zentrova
