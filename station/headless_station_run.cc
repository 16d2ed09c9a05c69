#include "station/headless_station.h"

namespace zentrova {

HeadlessStation::HeadlessStation(const StationOptions& options, std::ostream& out)
    : options_(options), prompt_(out), loop_(clock_), station_(options, loop_, prompt_, out) {
  station_.form().quitRequested = [this] { return loop_.QuitRequested(); };
}

HeadlessStation::~HeadlessStation() = default;

void HeadlessStation::StartWatchdog() {
  const int64_t periodMs = notifier_.WatchdogUsec() / 1000;
  if (periodMs <= 0) return;
  watchdog_ = std::make_unique<ServiceWatchdog>(notifier_, clock_, periodMs);
  CZentrovaControlForm& form = station_.form();
  form.onProgress = [this] { watchdog_->Progress(); };
  loop_.SetTimer(watchdog_->TickMs(), [this, &form] { watchdog_->Tick(form.bRunning == 1, form.CycleGapMs()); });
}

// A station started without --start and without bAutoStart only waits:
// say so once, and how to start it.
void HeadlessStation::SayMonitoringOff() {
  CZentrovaDoc& d = station_.doc();
  std::lock_guard<std::recursive_mutex> lock(d.mutex);
  d.activityLog.Add("Monitoring is off: no record is taken until it is started. Start it with zentrova-station "
                    "--start, or set bAutoStart=1 in " + station_.configFolder() + "/Zentrova.ini");
}

int HeadlessStation::Run() {
  StartWatchdog();  // before a monitor thread can start
  CZentrovaControlForm& form = station_.form();
  station_.OnInitialUpdate();
  if (options_.start && form.bRunning == 0 && !loop_.QuitRequested()) form.OnStart();
  if (form.bRunning == 0 && !form.Starting() && !loop_.QuitRequested()) SayMonitoringOff();
  notifier_.Notify("READY=1");
  if (watchdog_) notifier_.Notify("WATCHDOG=1");
  loop_.Run(options_.runForSeconds < 0 ? -1 : static_cast<int64_t>(options_.runForSeconds * 1000.0));
  notifier_.Notify("STOPPING=1");
  form.Shutdown();
  station_.Close();
  return 0;
}

}  // namespace zentrova
