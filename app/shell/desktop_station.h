#pragma once
// The station in a window: the station's composition with Qt timers on the
// GUI thread and the window's message boxes, the monitor's timer cycle in
// slices, and the main frame.

#include <atomic>
#include <memory>
#include <ostream>

#include "app/shell/dialog_provider.h"
#include "app/shell/gui_prompt.h"
#include "app/shell/gui_relay.h"
#include "app/shell/main_frame.h"
#include "app/shell/qt_timer_host.h"
#include "app/shell/sliced_cycle.h"
#include "station/station_assembly.h"

namespace zentrova {

class DesktopStation {
 public:
  // Builds the station (settings, log names, start-up mail) and the main
  // frame, not yet shown. The dialogs may be replaced later through dialogs().
  DesktopStation(StationOptions options, DialogProvider dialogs, std::ostream& out);
  ~DesktopStation();
  DesktopStation(const DesktopStation&) = delete;
  DesktopStation& operator=(const DesktopStation&) = delete;

  // The document's window with the control panel's start-up sequence, the
  // frame shown, the views of the last run reopened; "Start" with --start;
  // a timed run ends itself as after a confirmed exit.
  void Start();

  MainFrame& frame() { return *frame_; }
  StationAssembly& station() { return station_; }
  CZentrovaDoc& doc() { return station_.doc(); }
  DialogProvider& dialogs() { return dialogs_; }
  const SlicedCycle& cycle() const { return cycle_; }
  const std::atomic<int>& bExiting() const { return bExiting_; }

 private:
  static StationOptions WithoutStandIns(StationOptions options);
  void LogMessage(const std::string& text);

  StationOptions options_;
  std::ostream& out_;
  QtTimerHost timers_;
  GuiRelay relay_;  // before the station: outlives every thread that posts to it
  DialogProvider dialogs_;
  GuiPrompt prompt_;
  std::atomic<int> bExiting_{0};
  StationAssembly station_;
  SlicedCycle cycle_;
  std::unique_ptr<MainFrame> frame_;
};

}  // namespace zentrova
