#include "station/station_assembly.h"

#include <stdlib.h>

#include <algorithm>

#include "detection/event_run.h"
#include "display/event_image.h"
#include "display/stored_text_scale.h"
#include "health/controller.h"
#include "health/drive_manager.h"
#include "health/station_health.h"
#include "health/survey_file.h"
#include "platform/process_memory.h"
#include "notify/send_report.h"
#include "station/interrupted_joins.h"

namespace zentrova {
namespace {

// Absolute: the monitor cycle changes the current folder.
std::string ConfigFolder(const StationOptions& o, SystemInfo& system) {
  return o.configDir.empty() ? system.ConfigFolder() : system.AbsolutePath(o.configDir);
}

}  // namespace

namespace {

// The programs the station starts (the e-mail sender) read the same
// configuration folder.
const std::string& Exported(const std::string& folder) {
  ::setenv("ZENTROVA_CONFIG_DIR", folder.c_str(), 1);
  return folder;
}

}  // namespace

StationAssembly::StationAssembly(const StationOptions& options, TimerHost& timers, Prompt& prompt, std::ostream& out)
    : out_(out),
      prompt_(prompt),
      timers_(timers),
      configFolder_(Exported(ConfigFolder(options, system_))),
      profile_(fs_, configFolder_ + "/Zentrova.ini", "General"),
      product_(fs_, configFolder_ + "/product.ini", "Kalvane Applications"),
      runState_(fs_, configFolder_ + "/" + RunState::kFileName, RunState::kSection),
      platform_{fs_, rangedProfile_, rangedProduct_, clock_, system_, prompt_},
      reports_{launcher_, http_, nullptr, nullptr, nullptr, &outbox_, &mailbox_},
      recentSurveys_(fs_, JoinPath(fs_, system_.ControllerFolder(), kControllerStoreFile), kRecentSurveysKey),
      controllerProgram_(fs_, JoinPath(fs_, system_.ControllerFolder(), kControllerStoreFile), kControllerProgramKey),
      power_(options.allowPowerOff ? std::unique_ptr<PowerControl>(std::make_unique<SystemPower>())
                                   : std::make_unique<DryRunPower>([this](const std::string& text) {
                                       out_ << "[power] " << text << std::endl;
                                     })),
      logon_(fs_, system_.UserConfigHome()),
      volumes_(profile_, [this] { return doc_ ? doc_->settingsBlock.strDestinationFolder : std::string(); }),
      health_(fs_, recentSurveys_, controllerProgram_, JoinPath(fs_, system_.ControllerFolder(), kSurveyFolder),
              *power_, processes_, windows_, launcher_, logon_, volumes_) {
  doc_ = std::make_unique<CZentrovaDoc>(platform_);
  doc_->runState.Attach(&runState_);
  if (!options.controllerPath.empty()) doc_->strControllerPath = system_.AbsolutePath(options.controllerPath);
  ConnectEventDetection(*doc_);
  ConnectEventImage(*doc_);
  UseStoredTextScale(doc_->settings);
  // Without a display (the stand-ins): the stored "bPhaseVelocityView"
  // stands for the open, drawn phase-velocity view, and the image steps run
  // while it is 1; the stored "bSeisProfileView" for the drawn profile view,
  // which collects the results while it is 1.
  surfaceWaves_ = std::make_unique<SurfaceWaveFollowUp>(*doc_);
  ConnectSurfaceWaves(*doc_, *surfaceWaves_);
  if (options.standIns) {
    UseStoredPhaseVelocityView(*doc_);
    UseStoredProfileView(*doc_);
  }
  uploads_ = std::make_unique<StationUploads>(*doc_, uploadHttp_);
  ConnectUploads(*doc_, *surfaceWaves_, *uploads_);
  doc_->services.concatenateRecords = [this](const ConcatenationRequest& request) {
    // What a join leaves out, cuts or cannot write goes to the log pane and the log file.
    return ConcatenateRecords(fs_, prompt_, request, &joins_, [this](const std::string& line) {
      doc_->activityLog.Add(line);
      doc_->activityLog.AppendToLogFile(line);
    });
  };
  archive_ = std::make_unique<StationArchive>(*doc_);
  ConnectArchive(*doc_, *archive_);
  ConnectReports(*doc_, reports_);
  ConnectHealth(*doc_, reports_, health_);
  // Before the start-up, so that what it says (a controller that did not
  // start, a settings file that cannot be read) reaches the console too.
  doc_->activityLog.SetListener([this](const std::string& line) { out_ << line << std::endl; });
  if (options.standIns) UseStoredUploadSwitches(*doc_, *uploads_);
  auto tell = [this](const std::string& line) {
    doc_->activityLog.Add(line);
    doc_->activityLog.AppendToLogFile(line);
  };
  profile_.SetNotice(tell);
  product_.SetNotice(tell);
  doc_->StartUp();
  SayStartupNotes();
  form_ = std::make_unique<CZentrovaControlForm>(*doc_, timers_);
  ConnectBatteryCheck(*form_, *doc_, health_, timers_);
  ConnectWatch();
  mailbox_.SetSender(JoinPath(fs_, doc_->settingsBlock.strProgramFolder, kSenderProgram));
  mailbox_.AllowAttachmentsBelow(doc_->settingsBlock.strDestinationFolder);
  mailbox_.Start();  // what the last run left goes first
  outbox_.Start();
}

void StationAssembly::ConnectWatch() {
  WatchChannels w;
  w.battery = [this] { return ReadBatteryVoltage(fs_, recentSurveys_, health_.surveyFolder); };
  w.freePercent = [this] {
    const std::string& destination = doc_->settingsBlock.strDestinationFolder;
    const MonitorSettings& m = doc_->settingsBlock;
    const int drive = std::max(0, std::min(m.iCurrentDrive, 9));
    const std::string letter = m.drives[drive].sDriveLetter.empty() ? "C" : m.drives[drive].sDriveLetter.substr(0, 1);
    return destination.empty() ? -1.0 : 100.0 * QueryFreeSpace(volumes_, letter[0]).fraction;
  };
  auto figures = [](const OutboxState& s) {
    return OutboxFigures{static_cast<int64_t>(s.waiting), s.oldestSeconds, s.lastDelivered, s.lastFailed};
  };
  w.mail = [this, figures] { return figures(mailbox_.State()); };
  w.form = [this, figures] { return figures(outbox_.State()); };
  w.controllerRunning = [this] { return IsProcessRunning(processes_, health_.controllerProcess); };
  w.memoryKB = [] { return ResidentMemoryKB(); };
  w.cycleGapMs = [this] { return static_cast<int64_t>(form_->CycleGapMs()); };
  w.monitoring = [this] { return form_->bRunning == 1; };
  w.statusPath = JoinPath(fs_, configFolder_, kStatusFileName);
  watch_ = std::make_unique<StationWatch>(*doc_, std::move(w));
  ConnectStationWatch(*doc_, *watch_);
}

// Once at the start: settings that are not used as they stand (with the
// value used instead), and a watched folder that is not there.
void StationAssembly::SayStartupNotes() {
  std::vector<std::string> notes = rangedProfile_.notes();
  notes.insert(notes.end(), rangedProduct_.notes().begin(), rangedProduct_.notes().end());
  for (const std::string& line : archive_->StartupNotes()) notes.push_back(line);
  const std::string& watched = doc_->settingsBlock.strWatchedFolder;
  if (!fs_.IsDirectory(watched)) {
    notes.push_back("The watched folder " + watched + " does not exist; records are found once it is created.");
  }
  for (const std::string& note : notes) {
    doc_->activityLog.Add(note);
    doc_->activityLog.AppendToLogFile(note);
  }
}

std::function<void(const std::string&)> StationAssembly::OutboxLog() {
  return [this](const std::string& line) {
    if (!doc_) return;
    doc_->activityLog.Add(line);
    doc_->activityLog.AppendToLogFile(line);
  };
}

// Hours whose join a kill or a power loss cut off are joined again: their
// records are filed, and no later hour change would join them.
void StationAssembly::RejoinInterruptedJoins() {
  std::lock_guard<std::recursive_mutex> lock(doc_->mutex);
  if (doc_->bConcatenate != 1 || !doc_->services.concatenateRecords) return;
  for (const InterruptedJoin& cut : FindInterruptedJoins(fs_, doc_->settingsBlock.strDestinationFolder)) {
    const Status removed = fs_.Remove(cut.partial);
    const std::string line = removed.ok() ? "A join was cut off (" + cut.partial + " was left); the records of " +
                                                cut.hourFolder + " are joined again"
                                          : "A join was cut off and " + cut.partial + " cannot be removed (" +
                                                removed.message() + "); the records of " + cut.hourFolder +
                                                " are not joined again";
    doc_->activityLog.Add(line);
    doc_->activityLog.AppendToLogFile(line);
    if (!removed.ok()) continue;
    doc_->RequestHourJoin(cut.hourFolder, cut.concatFolder);
  }
}

StationAssembly::~StationAssembly() {
  CloseOutboxes(mailbox_, outbox_, 0);  // what is left waits in the spool
  if (form_) form_->Shutdown();
  joins_.JoinAll();
  // The outboxes are closed while the document is there: their writes of
  // the product key may tell of an unreadable file, and that goes to the
  // document's log. Then no store speaks to it any more.
  profile_.SetNotice(nullptr);
  product_.SetNotice(nullptr);
}

void StationAssembly::OnInitialUpdate() {
  form_->OnInitialUpdate();
  RejoinInterruptedJoins();
}

void StationAssembly::Close() {
  {
    // As when the operator closes the main window; the acquisition
    // controller, though, goes on recording.
    std::lock_guard<std::recursive_mutex> lock(doc_->mutex);
    doc_->runState.Ended();
    if (doc_->bSnedReport == 1) doc_->SendReport("Zentrova was closed.", 0);
  }
  // A last chance for what is queued, both outboxes at once; the rest is
  // sent at the next start.
  CloseOutboxes(mailbox_, outbox_, 3000);
  joins_.JoinAll();  // a join under way is finished, not cut off
  // Last in the log file: what the outboxes and the joins said while they
  // ended comes before it, and nothing after it.
  std::lock_guard<std::recursive_mutex> lock(doc_->mutex);
  // A station that ended is not running: --status says unknown at once.
  fs_.Remove(JoinPath(fs_, configFolder_, kStatusFileName));
  doc_->activityLog.EndLogFile("Zentrova was closed.");
}

}  // namespace zentrova
