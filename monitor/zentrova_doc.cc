#include "monitor/zentrova_doc.h"

namespace zentrova {

CZentrovaDoc::CZentrovaDoc(Platform& p, StationServices s)
    : platform(p),
      services(std::move(s)),
      settings(p.profile, p.product),
      settingsBlock(p, settings),
      activityLog(p.fs),
      record(p.fs.CurrentFolder()) {
  // The cycle changes the current folder: relative folders would then point
  // elsewhere.
  settingsBlock.strWatchedFolder = platform.system.AbsolutePath(settingsBlock.strWatchedFolder);
  settingsBlock.strDestinationFolder = platform.system.AbsolutePath(settingsBlock.strDestinationFolder);
  settings.LoadInt("bPickMaximumAmplitude", bPickMaximumAmplitude);
  record.AllocateAnalysisBuffers();
  settings.LoadInt("bMoveToFolder", bMoveToFolder);
  settings.LoadInt("bSendMail", bSendMail);
  settings.LoadInt("bWarning", bWarning);
  settings.LoadInt("bConcatenate", bConcatenate);
  settings.LoadInt("nDataConcatenate", nDataConcatenate);
  settings.LoadInt("nJoinAfterMinutes", nJoinAfterMinutes);
  settings.LoadInt("nJoinLookBackDays", nJoinLookBackDays);
  settings.LoadInt("bSnedReport", bSnedReport);
  settings.LoadInt("iReportInterval", iReportInterval);
  if (bSnedReport == 1) strStartupMessage = "Zentrova started.";
  settings.LoadInt("bCheckBattery", bCheckBattery);
  settings.LoadInt("iBatteryCheckInterval", iBatteryCheckInterval);
  settings.LoadInt("bAutoStartTC", bAutoStartTC);
  settings.LoadInt("bAutoStart", bAutoStart);
  activityLog.SetLogFileNames(platform.clock.Now(), settingsBlock.strDestinationFolder);
  settings.LoadInt("bUseLocalServer", bUseLocalServer);
  NewFiles.assign(kMaxNewFilesPerCycle, std::string());
}

void CZentrovaDoc::StartUp() {
  std::lock_guard<std::recursive_mutex> lock(mutex);
  if (services.placeDestination) services.placeDestination();
  if (services.writeEmailSettings) services.writeEmailSettings();
  if (bAutoStartTC == 1 && services.startController) {
    const int started = services.startController();
    static const char* kResults[] = {"\nTarnlink Controller started.", "\nTarnlink Controller did not start.",
                                     "\nTarnlink Controller already existed."};
    if (bSnedReport == 1 && started >= 0 && started <= 2) strStartupMessage += kResults[started];
  }
  if (bSnedReport == 1) SendReport(strStartupMessage, 0);
  activityLog.SetLogFileNames(platform.clock.Now(), settingsBlock.strDestinationFolder);
}

int CZentrovaDoc::SendReport(const std::string& text, int force, const std::vector<std::string>& attachments,
                             bool announce, const std::string& summary) {
  return services.sendReport ? services.sendReport(text, force, attachments, announce, summary) : 0;
}

std::string CZentrovaDoc::Path(const std::string& folder, const std::string& name) const {
  return JoinPath(platform.fs, folder, name);
}

}  // namespace zentrova
