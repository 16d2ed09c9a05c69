#include "app/shell/desktop_station.h"

#include <QTimer>

namespace zentrova {

StationOptions DesktopStation::WithoutStandIns(StationOptions options) {
  options.standIns = false;  // the window has the views and the menu
  return options;
}

DesktopStation::DesktopStation(StationOptions options, DialogProvider dialogs, std::ostream& out)
    : options_(WithoutStandIns(std::move(options))),
      out_(out),
      dialogs_(std::move(dialogs)),
      prompt_(&relay_, dialogs_, [this](const std::string& text) { LogMessage(text); }),
      station_(options_, timers_, prompt_, out),
      cycle_(station_.doc(), station_.form()) {
  CZentrovaDoc& doc = station_.doc();
  // Every line still reaches the console; the log pane is refreshed on the
  // GUI thread, whichever thread added the line.
  doc.activityLog.SetListener([this](const std::string& line) {
    out_ << line << std::endl;
    relay_.PostLogChanged();
  });
  // From the monitor thread too: the views and the panel are updated on
  // the GUI thread.
  station_.form().onNewFiles = [this] { relay_.PostNewFiles(); };
  // "Start" moves the old records between the window's events, and a cycle
  // or those moves end between two files once the program is closing.
  station_.form().startInSlices = true;
  station_.form().quitRequested = [this] { return bExiting_ != 0; };
  frame_ = std::make_unique<MainFrame>(station_, cycle_, dialogs_, bExiting_);
  relay_.onLogChanged = [this] {
    if (ControlPanel* panel = frame_->panel()) panel->RefreshLogPane(station_.doc());
  };
  relay_.onNewFiles = [this] { frame_->OnNewFiles(); };
}

// On the console as the headless station writes its messages; under the
// document's lock, which every other writer of the console holds.
void DesktopStation::LogMessage(const std::string& text) {
  std::lock_guard<std::recursive_mutex> lock(station_.doc().mutex);
  out_ << "[message] " << text << std::endl;
}

DesktopStation::~DesktopStation() {
  relay_.onLogChanged = nullptr;
  relay_.onNewFiles = nullptr;
  cycle_.Abort();
  station_.form().Shutdown();
  station_.form().onNewFiles = nullptr;
  frame_.reset();
}

void DesktopStation::Start() {
  frame_->resize(1280, 720);
  frame_->OpenDocument();
  frame_->show();
  frame_->ReopenViews();
  CZentrovaControlForm& form = station_.form();
  if (options_.start && form.bRunning == 0) frame_->RunCommand(kCmdStart);
  if (options_.runForSeconds >= 0) {
    QTimer::singleShot(static_cast<int>(options_.runForSeconds * 1000.0), frame_.get(),
                       [this] { frame_->ExitConfirmed(); });
  }
}

}  // namespace zentrova
