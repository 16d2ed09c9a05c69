#pragma once
// Everything a running station is made of: the stores, the platform, the
// outboxes, the document and its control form, the services wired into
// the document, the station's health, the joins, the surface waves and the
// uploads. A shell around it gives the form's timers (they run on the
// thread that runs the commands) and the message boxes, and drives the
// start and the end: the headless station from its event loop, the desktop
// program from its window.

#include <functional>
#include <memory>
#include <ostream>
#include <string>

#include "archive/station_archive.h"
#include "concat/concatenation.h"
#include "health/health_channels.h"
#include "monitor/control_form.h"
#include "monitor/ranged_store.h"
#include "notify/send_report.h"
#include "notify/station_outboxes.h"
#include "platform/http_client.h"
#include "platform/process_launcher.h"
#include "platform/event_loop.h"
#include "platform/linux_file_system.h"
#include "quality/station_watch.h"
#include "surfacewave/station_uploads.h"
#include "surfacewave/surface_wave_follow_up.h"

namespace zentrova {

struct StationOptions {
  std::string configDir;  // empty: $ZENTROVA_CONFIG_DIR or the XDG default
  bool start = false;     // run "Start" at once
  double runForSeconds = -1;
  std::string controllerPath;  // empty: the default installation
  bool allowPowerOff = false;  // otherwise a dry-run power switch
  bool status = false;         // --status: print the running station's status and end
  bool json = false;           // with --status: as JSON
  // Without a display and a menu: the stored "bPhaseVelocityView" stands
  // for the drawn phase-velocity view, and the stored upload switches are
  // switched on at start. A desktop shell has the real ones.
  bool standIns = true;
};

class StationAssembly {
 public:
  // Builds the station and runs the document's start-up; `out` receives
  // every line of the activity log and what a dry-run power switch would do.
  StationAssembly(const StationOptions& options, TimerHost& timers, Prompt& prompt, std::ostream& out);
  // Closes the outboxes at once (what is left waits in the spool), stops
  // the monitor, waits for the joins.
  ~StationAssembly();
  StationAssembly(const StationAssembly&) = delete;
  StationAssembly& operator=(const StationAssembly&) = delete;

  // The control form's start-up sequence, then the hours whose join was
  // cut off in an earlier run are joined again.
  void OnInitialUpdate();
  // The end of a run, after the form's Shutdown: "Zentrova was closed." to
  // the log file and, with reports on, sent; the outboxes get their last
  // chance; a join under way is finished.
  void Close();

  CZentrovaDoc& doc() { return *doc_; }
  CZentrovaControlForm& form() { return *form_; }
  const std::string& configFolder() const { return configFolder_; }
  ReportChannels& reports() { return reports_; }
  HealthChannels& health() { return health_; }
  SurfaceWaveFollowUp& surfaceWaves() { return *surfaceWaves_; }
  StationUploads& uploads() { return *uploads_; }
  HttpClient& http() { return http_; }
  StationWatch& watch() { return *watch_; }
  Clock& clock() { return clock_; }
  FileSystem& fs() { return fs_; }

 private:
  void SayStartupNotes();
  void ConnectWatch();
  std::function<void(const std::string&)> OutboxLog();
  void RejoinInterruptedJoins();

  std::ostream& out_;
  LinuxFileSystem fs_;
  SystemClock clock_;
  LinuxSystemInfo system_;
  Prompt& prompt_;
  TimerHost& timers_;
  std::string configFolder_;
  IniFileStore profile_;
  IniFileStore product_;
  IniFileStore runState_;  // the newest record taken, from run to run
  RangedStore rangedProfile_{profile_, ProfileSettingRanges(), "Zentrova.ini"};
  RangedStore rangedProduct_{product_, ProductSettingRanges(), "product.ini"};
  Platform platform_;
  PosixLauncher launcher_;
  CurlHttpClient http_;
  // The outboxes before the document: they outlive it. Their spool is in
  // the configuration folder.
  FormOutbox outbox_{http_, 500, StationOutboxOptions(profile_, fs_, configFolder_, OutboxLog(), false), &fs_, &clock_};
  MailOutbox mailbox_{product_, launcher_, 330000, 500,
                      StationOutboxOptions(profile_, fs_, configFolder_, OutboxLog(), true), &fs_, &clock_};
  ReportChannels reports_;
  IniFileStore recentSurveys_;
  IniFileStore controllerProgram_;
  std::unique_ptr<PowerControl> power_;
  LinuxProcessTable processes_;
  X11WindowTree windows_;
  XdgAutostart logon_;
  LinuxVolumeTable volumes_;
  HealthChannels health_;
  ConcatenationWorkers joins_;  // before the document: joined last
  std::unique_ptr<CZentrovaDoc> doc_;
  std::unique_ptr<StationArchive> archive_;  // the miniSEED day files beside the hour tree
  std::unique_ptr<CZentrovaControlForm> form_;
  // After the document: it writes its settings back through it when it goes.
  std::unique_ptr<SurfaceWaveFollowUp> surfaceWaves_;
  // Its own client: closing the queue cuts off only its own requests.
  CurlHttpClient uploadHttp_;
  // Last: its thread logs to the document and is closed first.
  std::unique_ptr<StationUploads> uploads_;
  // The health figures, the alarms, the status file (fed by the cycles).
  std::unique_ptr<StationWatch> watch_;
};

}  // namespace zentrova
