#pragma once
// The one document of the station: every setting and every piece of state,
// the record, the activity log, and the operations of the monitor cycle, the
// per-file pipeline and the destination tree (each in its own source file).
//
// Threads: whoever runs a cycle or a command holds `mutex` for the whole of
// it, so the monitor thread and the commands never touch the document at
// the same time.

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "monitor/activity_log.h"
#include "monitor/entry_screen.h"
#include "monitor/monitor_settings.h"
#include "monitor/rejected_records.h"
#include "monitor/settings.h"
#include "monitor/station_services.h"
#include "platform/platform.h"
#include "records/mtneo_import.h"
#include "records/seismic_record.h"

namespace zentrova {

struct EventDetectionParameters;  // detection/, created on first use

// Where the acquisition controller is installed, unless the operator says otherwise.
inline constexpr const char* kDefaultControllerPath = "/opt/Halvorne/Tarnlink Controller/TC.exe";

// One file handed to the pipeline by the scan.
struct NewFileInput {
  std::string path;
  std::string name;
  int kind = 0;
  int fileNumber = 0;
  int bReadData = 0;
  int first = 0;  // KnownFiles was empty
};

struct PipelineResult {
  bool accepted = false;
  std::string filedPath;
};

// Which display views are open (the application object's flags).
struct OpenViews {
  int bWaveformView = 0;
  int bPhaseVelocityView = 0;
  int bSeisProfileView = 0;
};

class CZentrovaDoc {
 public:
  // Loads every setting. The shell then wires the seams it has and calls
  // StartUp().
  CZentrovaDoc(Platform& platform, StationServices services = {});
  // The rest of the start: drive placement, the e-mail values of the product
  // key, the controller start, the start-up message, the log file names.
  void StartUp();
  CZentrovaDoc(const CZentrovaDoc&) = delete;
  CZentrovaDoc& operator=(const CZentrovaDoc&) = delete;

  // Monitor cycle and start-up (monitor_cycle.cc).
  int CheckNewFiles();
  int MoveExistingFiles();
  int RegisterExistingFiles();
  int RegisterFolderFiles(const std::string& folder);
  int ScanWatchedFolder(int bReadData);
  int ScanFolder(const std::string& folder);

  // Per-file pipeline (file_pipeline.cc).
  PipelineResult ProcessNewFile(const NewFileInput& in);

  // Destination tree (destination_tree.cc).
  std::string DestinationFolders(int64_t moment, std::string* dayFolder, std::string* concatDayFolder);
  std::string FileRecord(const std::string& path, int fileNumber);
  int MoveToErrorFolder(const std::string& path, const std::string& name);

  // Sends through the report seam; 0 while none is wired in.
  int SendReport(const std::string& text, int force, const std::vector<std::string>& attachments = {});

  std::string Path(const std::string& folder, const std::string& name) const;

  std::recursive_mutex mutex;
  Platform& platform;
  StationServices services;
  Settings settings;
  MonitorSettings settingsBlock;
  MonitorSettings* pSettings = &settingsBlock;
  ActivityLog activityLog;
  SeismicRecord record;
  SeismicRecord* pRecord = &record;
  OrbelChannels orbelChannels;
  OpenViews views;
  EntryScreen entryScreen;          // links and special entries, logged once
  RejectedRecords rejectedRecords;  // rejected, and their move to the error folder failed

  std::string strControllerPath = kDefaultControllerPath;
  int bProfileViewDrawn = 0;
  int bUseLocalServer = 0;
  int bDatabaseUpload = 0;
  int bDatabaseUploadOrbel = 0;
  std::vector<std::string> NewFiles;
  int bAutoStart = 0;
  int bAutoStartTC = 0;
  int bMoveToFolder = 0;
  int bWarning = 0;
  int bPickMaximumAmplitude = 0;
  int bPhaseViewDrawn = 0;
  int bEventDetection = 0;
  int bSendMail = 0;
  std::shared_ptr<EventDetectionParameters> pDetectionParameters;
  int bConcatenate = 0;
  int nDataConcatenate = 60000;
  int bSnedReport = 0;
  int iReportInterval = 60;
  int bCheckBattery = 0;
  int iBatteryCheckInterval = 15;
  std::string strStartupMessage;

 private:
  // State of the scan in progress.
  struct Scan {
    int64_t now = 0;
    int knownSeen = 0;  // A
    int accepted = 0;   // B
    int fileNumber = 0;
    int bReadData = 0;
  };
  std::vector<int> NumberedFolders(const std::string& folder);
  void ReportRecord(const NewFileInput& in);
  Scan scan_;
};

// The number in a folder name: its digits and '-' signs, at most 29, read
// with "%d"; 0 when there are none.
int ExtractNumber(const std::string& name);

// At most this many new files are taken in one cycle; the rest stay in the
// watched folder for the next one.
inline constexpr int kMaxNewFilesPerCycle = 100;

}  // namespace zentrova
