#pragma once
// The station without a window: the document and the control form's
// start-up and commands, driven by a single-threaded event loop.

#include <memory>
#include <ostream>
#include <string>

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
#include "platform/service_notifier.h"
#include "station/service_watchdog.h"
#include "surfacewave/station_uploads.h"
#include "surfacewave/surface_wave_follow_up.h"

namespace zentrova {

struct StationOptions {
  std::string configDir;  // empty: $ZENTROVA_CONFIG_DIR or the XDG default
  bool start = false;     // run "Start" at once
  double runForSeconds = -1;
  std::string controllerPath;  // empty: the default installation
  bool allowPowerOff = false;  // otherwise a dry-run power switch
};

// Message boxes of a station nobody watches: printed, and the run goes on.
class ConsolePrompt : public Prompt {
 public:
  explicit ConsolePrompt(std::ostream& out) : out_(out) {}
  void Show(const std::string& text) override { out_ << "[message] " << text << std::endl; }

 private:
  std::ostream& out_;
};

class HeadlessStation {
 public:
  HeadlessStation(const StationOptions& options, std::ostream& out);
  ~HeadlessStation();
  // Runs until the time is up or Quit(); returns the exit status.
  int Run();
  void Quit() { loop_.Quit(); }
  CZentrovaDoc& doc() { return *doc_; }
  const std::string& configFolder() const { return configFolder_; }

 private:
  void SayStartupNotes();
  std::function<void(const std::string&)> OutboxLog();
  // Sets up the watchdog pings when the service manager asks for them.
  void StartWatchdog();
  void RejoinInterruptedJoins();

  StationOptions options_;
  std::ostream& out_;
  LinuxServiceNotifier notifier_;  // first: takes its variables before any program is started
  LinuxFileSystem fs_;
  SystemClock clock_;
  LinuxSystemInfo system_;
  ConsolePrompt prompt_;
  std::string configFolder_;
  IniFileStore profile_;
  IniFileStore product_;
  RangedStore rangedProfile_{profile_, ProfileSettingRanges(), "Zentrova.ini"};
  RangedStore rangedProduct_{product_, ProductSettingRanges(), "product.ini"};
  Platform platform_;
  EventLoop loop_;
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
  std::unique_ptr<ServiceWatchdog> watchdog_;  // outlives the form that reports to it
  std::unique_ptr<CZentrovaDoc> doc_;
  std::unique_ptr<CZentrovaControlForm> form_;
  // After the document: it writes its settings back through it when it goes.
  std::unique_ptr<SurfaceWaveFollowUp> surfaceWaves_;
  // Its own client: closing the queue cuts off only its own requests.
  CurlHttpClient uploadHttp_;
  // Last: its thread logs to the document and is closed first.
  std::unique_ptr<StationUploads> uploads_;
};

}  // namespace zentrova
