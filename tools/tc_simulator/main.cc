// TC.exe: a stand-in for the acquisition controller. Writes SEG-2 records
// into a folder one after another, holding each open while it writes it,
// keeps a survey file with the battery voltage and the saved files, and
// can show the controller's window. Started without arguments (as the
// station starts it) it shows the window and runs until it is closed.

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/linux_file_system.h"
#include "tools/tc_simulator/acquisition_simulator.h"
#include "tools/tc_simulator/controller_window.h"
#include "tools/tc_simulator/simulator_arguments.h"
#include "tools/tc_simulator/survey_log.h"

namespace {

// The real clock, with the window's events handled while it waits.
class WindowedClock : public zentrova::Clock {
 public:
  explicit WindowedClock(zentrova::ControllerWindow& window) : window_(window) {}
  int64_t Now() override { return clock_.Now(); }
  int64_t SteadyMs() override { return clock_.SteadyMs(); }
  void Sleep(int milliseconds) override {
    for (int waited = 0; waited < milliseconds && !Closed(); waited += 20) clock_.Sleep(20);
  }
  bool Closed() { return window_.CloseRequested(); }

 private:
  zentrova::ControllerWindow& window_;
  zentrova::SystemClock clock_;
};

std::string DefaultControllerFolder() {
  const char* dir = std::getenv("ZENTROVA_CONTROLLER_DIR");
  return dir && *dir ? dir : "/var/opt/Halvorne";
}

// Why records cannot be written into `folder`; empty when they can.
std::string OutFolderProblem(zentrova::FileSystem& fs, const std::string& folder) {
  if (!fs.Exists(folder)) return "--out " + folder + ": no such folder";
  if (!fs.IsDirectory(folder)) return "--out " + folder + ": not a folder";
  if (::access(folder.c_str(), W_OK | X_OK) != 0) return "--out " + folder + ": cannot write into it";
  return "";
}

}  // namespace

int main(int argc, char** argv) {
  zentrova::SimulatorArguments arguments =
      zentrova::ParseSimulatorArguments(std::vector<std::string>(argv + 1, argv + argc), DefaultControllerFolder());
  if (arguments.exitCode >= 0) {
    (arguments.exitCode == 0 ? std::cout : std::cerr) << arguments.message;
    return arguments.exitCode;
  }
  const zentrova::SimulatorOptions& o = arguments.options;
  const bool haveOut = arguments.haveOut;
  const bool window = arguments.window;
  const bool stay = arguments.stay;
  const std::string& survey = arguments.survey;
  const std::string& controllerFolder = arguments.controllerFolder;
  zentrova::LinuxFileSystem fs;
  if (haveOut) {
    const std::string problem = OutFolderProblem(fs, o.outFolder);
    if (!problem.empty()) {
      std::cerr << "TC.exe: " << problem << "\n" << zentrova::kSimulatorUsage;
      return 2;
    }
  }
  zentrova::ControllerWindow controllerWindow;
  if (window && !controllerWindow.Open("Tarnlink Controller")) {
    const char* display = std::getenv("DISPLAY");
    std::cerr << "TC.exe: no display for the window (DISPLAY=" << (display ? display : "") << ")\n";
  }
  WindowedClock clock(controllerWindow);
  std::unique_ptr<zentrova::SurveyLog> log;
  if (!survey.empty()) {
    log = std::make_unique<zentrova::SurveyLog>(fs, controllerFolder, survey);
    if (!log->ok()) std::cerr << "TC.exe: cannot keep the survey file in " << controllerFolder << "\n";
  }
  const int written = zentrova::RunSimulator(fs, clock, o, log.get(), [&] { return clock.Closed(); });
  if (haveOut) std::cout << "TC.exe: wrote " << written << " records to " << o.outFolder << std::endl;
  if (written < o.count && !clock.Closed()) {
    std::cerr << "TC.exe: " << o.count - written << " of " << o.count << " records could not be written into "
              << o.outFolder << "\n";
  }
  while (stay && !clock.Closed()) clock.Sleep(100);
  if (clock.Closed()) std::cout << "TC.exe: window closed" << std::endl;
  return written == o.count || clock.Closed() ? 0 : 1;
}
