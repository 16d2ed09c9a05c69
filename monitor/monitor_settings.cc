#include "monitor/monitor_settings.h"

#include <algorithm>

namespace zentrova {

MonitorSettings::MonitorSettings(Platform& platform, Settings& settings) {
  FileSystem& fs = platform.fs;
  sMyName = platform.system.ComputerName();
  settings.LoadText("sMyName", sMyName);

  const std::string program = platform.system.ProgramPath();
  const size_t slash = program.find_last_of(fs.Separator());
  strProgramFolder = slash == std::string::npos ? fs.CurrentFolder() : program.substr(0, slash);
  if (strProgramFolder.size() > 2048) strProgramFolder.resize(2048);

  // The downloader's folder when it is installed, else a folder in the home.
  strWatchedFolder = JoinPath(fs, platform.system.DataHome(), kOrbelDownloaderFolder);
  if (!fs.IsDirectory(strWatchedFolder)) strWatchedFolder = JoinPath(fs, platform.system.HomeFolder(), "Data");
  strDestinationFolder = JoinPath(fs, platform.system.HomeFolder(), "ZentrovaData");
  settings.LoadText("ZENTROVA_CURRENT_FOLDER_PATH", strWatchedFolder);
  settings.LoadText("ZENTROVA_CURRENT_DESTINATION_FOLDER_PATH", strDestinationFolder);

  settings.LoadInt("nMinNoFile", nMinNoFile);
  settings.LoadFloat("fBatteryWarning", fBatteryWarning);
  settings.LoadFloat("fBatteryShutdown", fBatteryShutdown);

  // The drive table is filled, and iCurrentDrive brought into it, by the
  // drive manager's start-up placement; until then it is the one drive C.
  nDrives = 1;
  drives[0].sDriveLetter = "C";

  settings.LoadInt("bReportEMail", bReportEMail);
  settings.LoadInt("bReportWebServer", bReportWebServer);
  sServerURL = kDefaultServerUrl;
  settings.LoadText("sServerURL", sServerURL);
  settings.LoadInt("bVariableFileSize", bVariableFileSize);
}

RecordMoment MonitorSettings::NamingMoment(int64_t now) const {
  if (bRecordTimeValid == 1) return {tRecordTime, nRecordTimeMs};
  return {now, 0};
}

}  // namespace zentrova
