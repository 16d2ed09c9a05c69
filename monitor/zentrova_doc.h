#pragma once
// The one document of the station: every setting and every piece of state,
// the record, the activity log, and the operations of the monitor cycle, the
// per-file pipeline and the destination tree (each in its own source file).
//
// Threads: whoever runs a command holds `mutex` for the whole of it, but
// never while a dialog or message box of the command is open (it reads what
// the dialog shows under the lock and applies the answer under it again); a
// monitor cycle holds it for each of its steps (one file at a time) and
// lets it go during its pauses, so a command never waits for a whole cycle
// and the monitor thread and the commands never touch the document at the
// same time. Only one cycle runs at a time.

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "display/drawing_parameter.h"
#include "monitor/activity_log.h"
#include "monitor/cycle_control.h"
#include "monitor/known_file_set.h"
#include "monitor/entry_screen.h"
#include "monitor/monitor_settings.h"
#include "monitor/rejected_records.h"
#include "monitor/run_state.h"
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

// The moves of "Start" under way: the watched folder's listing, the next
// entry, the files moved so far.
struct ExistingFileMoves {
  std::vector<std::string> names;
  size_t next = 0;
  int moved = 0;
  std::optional<int64_t> last;                           // the newest record taken before
  std::vector<std::pair<int64_t, std::string>> takenUp;  // records newer than that, with their times
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

  // Monitor cycle and start-up (monitor_cycle.cc). CheckNewFiles runs one
  // whole cycle; a stop of `control` ends it between two files (the files
  // not reached wait for the next cycle). Returns the new files accepted;
  // 0 at once when another cycle is under way.
  int CheckNewFiles();
  int CheckNewFiles(const CycleControl& control);
  // The same cycle in slices, for a caller that must not be held up for a
  // whole cycle (a window's thread): BeginCycle gives the cycle's number
  // (0 while another cycle is under way: nothing is begun); then StepCycle
  // with that number until it says finished, waiting each pause it asks
  // for; then EndCycle (completed: the scan reached its end; otherwise the
  // follow-up runs for the files taken so far and the warnings wait for a
  // complete scan). Each call takes the lock itself.
  // The document alone keeps which cycle is under way: a number that is not
  // the cycle under way (one ended already) finishes and ends nothing, so a
  // cycle ends once. An EndCycle that comes from inside one of the cycle's
  // own steps (a nested call on the stepping thread) ends nothing either: it
  // stops the cycle, the step then says finished, and the owner's EndCycle
  // after it ends the cycle, as not completed. EndCycle returns the new
  // files accepted, or nothing when this call did not end the cycle.
  CycleId BeginCycle(int bReadData);
  CycleStep StepCycle(CycleId cycle);
  std::optional<int> EndCycle(CycleId cycle, bool completed);
  bool CycleUnderWay(CycleId cycle) const { return cycle != 0 && cycleUnderWay_ == cycle; }
  // Whether a step of the cycle under way is running (on the caller's
  // thread, when the caller is inside it).
  bool InCycleStep() {
    std::lock_guard<std::recursive_mutex> lock(mutex);
    return inStep_;
  }
  int MoveExistingFiles(const CycleControl& control = {});
  // The same moves one file at a time (existing_files.cc), for a caller
  // that must answer between two files: BeginExistingMoves lists the
  // watched folder; MoveNextExisting moves its next entry when it is an old
  // record (false when the listing is done); EndExistingMoves registers the
  // records left and returns the files moved. The caller holds the lock.
  ExistingFileMoves BeginExistingMoves();
  bool MoveNextExisting(ExistingFileMoves& moves);
  int EndExistingMoves(const ExistingFileMoves& moves);
  int RegisterExistingFiles();
  int RegisterFolderFiles(const std::string& folder);
  // The scan of the watched folder and its numbered folders, without the
  // follow-up: BeginCycle, the steps with their pauses, and the warnings.
  int ScanWatchedFolder(int bReadData, const CycleControl& control = {});

  // Per-file pipeline (file_pipeline.cc).
  PipelineResult ProcessNewFile(const NewFileInput& in);

  // Destination tree (destination_tree.cc).
  std::string DestinationFolders(int64_t moment, std::string* dayFolder, std::string* concatDayFolder);
  std::string FileRecord(const std::string& path, int fileNumber);
  // `reason`: why the record is rejected, for the line that says where it went.
  int MoveToErrorFolder(const std::string& path, const std::string& name, const std::string& reason);
  // Hands the join of one hour folder to the join service; 1 when it was
  // taken. The change of hour asks again whenever the hour is left (its
  // records may have grown); the look for hours never joined (`onlyOnce`)
  // does not ask for an hour already asked for in this run.
  int RequestHourJoin(const std::string& hourFolder, const std::string& concatFolder, bool onlyOnce = false);
  // Joins the finished hours of the last days that have no joined record
  // (finished_hours.h); not while records taken up at the start still wait.
  void JoinDueHours();

  // Sends through the report seam; 0 while none is wired in.
  int SendReport(const std::string& text, int force, const std::vector<std::string>& attachments = {},
                 bool announce = false, const std::string& summary = "");

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
  CDrawingParameter drawingParameter;  // the page layout of every plot
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
  // The records the run has seen in the scanned folders (the membership
  // test of the scan; KnownFiles only shows the latest).
  KnownFileSet knownRecords;
  // When monitoring was last started (0: never); the no-file warning counts
  // from it while fewer than two records are known.
  int64_t tMonitorStarted = 0;
  // The newest record taken in, kept from run to run (run_state.h).
  RunState runState;
  // Minutes after an hour's end when an hour never joined is joined, and
  // how many days back such hours are looked for.
  int nJoinAfterMinutes = 10;
  int nJoinLookBackDays = 2;

 private:
  // State of the scan in progress.
  struct Scan {
    int64_t now = 0;
    int64_t beganMs = 0;  // steady clock at the cycle's begin
    int knownSeen = 0;  // A
    int accepted = 0;   // B
    int fileNumber = 0;
    int bReadData = 0;
    std::string date, clock;  // the cycle's time texts
    std::string errorFile;
    // Which folder is being scanned: the watched folder, the latest
    // numbered folder, the one before it; then the scan is done.
    enum Phase { kWatched, kLatest, kSecond, kDone } phase = kWatched;
    std::vector<int> numbered;
    std::string folder;
    std::vector<std::string> names;  // the folder's listing
    size_t next = 0;                 // next entry of the listing
    bool listed = false;
    int latestAccepted = 0;          // r: accepted from the latest numbered folder
    bool pending = false;            // `input` is read at the next step, after its pause
    NewFileInput input;
  };
  std::vector<int> NumberedFolders(const std::string& folder);
  void ReportRecord(const NewFileInput& in);
  bool OpenNextFolder();
  bool NextCandidate();
  void ReadPending();
  int EndScan(bool completed);
  CycleStep Step();
  int EndCycleNow(bool completed);
  // Records of the watched folder newer than the last record taken before
  // the start, in time order: the cycles take them first.
  void TakeUpFirst(std::vector<std::string>& names);
  std::vector<std::string> takenUp_;
  // Moves one record left from an earlier run; 1 when it was moved.
  int MoveToOldFolder(const std::string& path, const std::string& name, const std::string& old);
  std::set<std::string> joinsRequested_;  // hour folders, this run
  int64_t tLastJoinLook_ = 0;
  int64_t tLastFiledAt_ = 0;  // the clock when a record was last filed
  Scan scan_;
  // The number of the cycle under way (0: none), and the last one given.
  std::atomic<CycleId> cycleUnderWay_{0};
  std::atomic<CycleId> lastCycle_{0};
  bool inStep_ = false;      // a step of the cycle under way is running
  bool stopInStep_ = false;  // an EndCycle came during that step
};

// The number in a folder name: its digits and '-' signs, at most 29, read
// with "%d"; 0 when there are none.
int ExtractNumber(const std::string& name);

// At most this many new files are taken in one cycle; the rest stay in the
// watched folder for the next one.
inline constexpr int kMaxNewFilesPerCycle = 100;

// The pause before each file a cycle reads.
inline constexpr int kPauseBeforeReadMs = 100;

}  // namespace zentrova
