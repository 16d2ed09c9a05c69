#pragma once
// The monitor's settings and the run's bookkeeping, owned by the document.

#include <cstdint>
#include <string>

#include "monitor/line_list.h"
#include "monitor/settings.h"
#include "platform/platform.h"

namespace zentrova {

// One drive of the drive table.
struct DriveEntry {
  std::string sDriveLetter;  // "C" to "L"
  int bActive = 1;           // may be used as the destination
  double dFreeFraction = 0.0;
  double dTotalKB = 0.0;     // total bytes / 1000
  std::string sRoot;         // the folder the letter stands for
};

// A time to the millisecond.
struct RecordMoment {
  int64_t time = 0;  // seconds since the epoch
  int ms = 0;
};

class MonitorSettings {
 public:
  // Loads every value with its built-in default (see the constructor).
  MonitorSettings(Platform& platform, Settings& settings);

  std::string strWatchedFolder;
  std::string strDestinationFolder;
  std::string strLastConcatFolder;
  LineList KnownFiles{1024};
  std::string strLastFileName;
  int bVariableFileSize = 0;
  int nMinNoFile = 5;
  float fBatteryWarning = 11.0f;
  float fBatteryShutdown = 10.5f;
  int nNoFileWarnings = 0;
  int nFiledFiles = 0;
  int nReferenceTraces = 0;
  int nFileId = -1;
  std::string strProgramFolder;
  std::string strLastHourFolder;
  std::string sMyName;
  int nDrives = 1;
  int iCurrentDrive = 1;
  int bAutomaticDriveChange = 1;
  double dDiskSpaceRatio = 0.9;
  DriveEntry drives[10];
  int nNoDriveWarnings = 0;
  int bReportEMail = 1;
  int bReportWebServer = 0;
  std::string sServerURL;
  int64_t tLastNewFile = 0;
  int bRecordTimeValid = 0;
  int64_t tRecordTime = 0;
  int nRecordTimeMs = 0;

  // The time the current record is filed and named by: its first sample's
  // when the record gave one, otherwise `now`.
  RecordMoment NamingMoment(int64_t now) const;
};

// The default report page of the maker's web server.
inline constexpr const char* kDefaultServerUrl = "https://www.kalvane.example/zentrova/report_registration.php";
// Below the data home: the folder the Orbel downloader writes into.
inline constexpr const char* kOrbelDownloaderFolder =
    "Packages/Halvorne.OrbelDownloader_k7w2mz9rdq4ta/LocalState/OrbelRealTimeData";

}  // namespace zentrova
