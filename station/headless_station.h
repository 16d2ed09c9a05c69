#pragma once
// The station without a window: the document and the control form's
// start-up and commands, driven by a single-threaded event loop.

#include <memory>
#include <ostream>
#include <string>

#include "platform/event_loop.h"
#include "platform/service_notifier.h"
#include "station/service_watchdog.h"
#include "station/station_assembly.h"

namespace zentrova {

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
  CZentrovaDoc& doc() { return station_.doc(); }
  const std::string& configFolder() const { return station_.configFolder(); }

 private:
  // Sets up the watchdog pings when the service manager asks for them.
  void StartWatchdog();
  void SayMonitoringOff();

  StationOptions options_;
  LinuxServiceNotifier notifier_;  // first: takes its variables before any program is started
  SystemClock clock_;
  ConsolePrompt prompt_;
  EventLoop loop_;
  std::unique_ptr<ServiceWatchdog> watchdog_;  // outlives the form that reports to it
  StationAssembly station_;
};

}  // namespace zentrova
