// TC.exe: a stand-in for the acquisition controller. Writes SEG-2 records
// into a folder one after another, holding each open while it writes it,
// keeps a survey file with the battery voltage and the saved files, and
// can show the controller's window. Started without arguments (as the
// station starts it) it shows the window and runs until it is closed.

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <string>

#include "platform/clock.h"
#include "platform/linux_file_system.h"
#include "platform/local_time.h"
#include "tools/tc_simulator/acquisition_simulator.h"
#include "tools/tc_simulator/controller_window.h"
#include "tools/tc_simulator/survey_log.h"

namespace {

const char* kUsage =
    "usage: TC.exe [--out DIR] [options]\n"
    "  --count N               records to write (default 10)\n"
    "  --interval-ms MS        pause between records (default 1000)\n"
    "  --traces N              traces per record (default 24)\n"
    "  --samples N             samples per trace (default 1000)\n"
    "  --sample-interval-us US sample interval (default 1000)\n"
    "  --first-number N        number of the first file, N.sg2 (default 1000)\n"
    "  --start-time \"YYYY-MM-DD HH:MM:SS\"  local record time of the first file (default now);\n"
    "                          the next ones follow at the record length\n"
    "  --events K              a clear seismic event in every K-th record\n"
    "  --gps                   write a $GPZDA sentence as well\n"
    "  --chunks N              writes per file (default 4), --chunk-pause-ms MS (default 20)\n"
    "  --extension EXT         file extension (default sg2)\n"
    "  --survey NAME           keep the survey file NAME in the controller folder\n"
    "  --controller-dir DIR    the controller folder (default $ZENTROVA_CONTROLLER_DIR,\n"
    "                          else /var/opt/Halvorne)\n"
    "  --battery V             battery voltage with the first record (default 12.6)\n"
    "  --battery-drop V        volts less with each further record (default 0)\n"
    "  --window                show the window \"Tarnlink Controller\"; a close request ends the run\n"
    "  --stay                  after the records, run on until the window is closed or a signal comes\n"
    "Without arguments: --window --stay --survey Survey.svy, no records.\n";

bool ParseTime(const std::string& text, int64_t& out) {
  zentrova::CivilTime c;
  if (std::sscanf(text.c_str(), "%d-%d-%d %d:%d:%d", &c.year, &c.month, &c.day, &c.hour, &c.minute, &c.second) != 6) {
    return false;
  }
  auto s = zentrova::LocalToSeconds(c);
  if (!s) return false;
  out = *s;
  return true;
}

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

}  // namespace

int main(int argc, char** argv) {
  zentrova::SimulatorOptions o;
  bool haveOut = false;
  bool window = argc == 1;
  bool stay = argc == 1;
  std::string survey = argc == 1 ? "Survey.svy" : "";
  std::string controllerFolder = DefaultControllerFolder();
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    auto next = [&]() -> std::string {
      if (i + 1 >= argc) {
        std::cerr << "TC.exe: " << a << " needs a value\n" << kUsage;
        std::exit(2);
      }
      return argv[++i];
    };
    if (a == "--out") {
      o.outFolder = next();
      haveOut = true;
    } else if (a == "--count") {
      o.count = std::atoi(next().c_str());
    } else if (a == "--interval-ms") {
      o.intervalMs = std::atoi(next().c_str());
    } else if (a == "--traces") {
      o.traces = std::atoi(next().c_str());
    } else if (a == "--samples") {
      o.samples = std::atoi(next().c_str());
    } else if (a == "--sample-interval-us") {
      o.sampleIntervalUs = std::atof(next().c_str());
    } else if (a == "--first-number") {
      o.firstNumber = std::atoi(next().c_str());
    } else if (a == "--start-time") {
      if (!ParseTime(next(), o.startTime)) {
        std::cerr << "TC.exe: --start-time wants \"YYYY-MM-DD HH:MM:SS\"\n";
        return 2;
      }
    } else if (a == "--events") {
      o.eventEvery = std::atoi(next().c_str());
    } else if (a == "--gps") {
      o.gps = true;
    } else if (a == "--chunks") {
      o.chunks = std::atoi(next().c_str());
    } else if (a == "--chunk-pause-ms") {
      o.chunkPauseMs = std::atoi(next().c_str());
    } else if (a == "--extension") {
      o.extension = next();
    } else if (a == "--survey") {
      survey = next();
    } else if (a == "--controller-dir") {
      controllerFolder = next();
    } else if (a == "--battery") {
      o.batteryVolts = std::atof(next().c_str());
    } else if (a == "--battery-drop") {
      o.batteryDrop = std::atof(next().c_str());
    } else if (a == "--window") {
      window = true;
    } else if (a == "--stay") {
      stay = true;
    } else if (a == "--help" || a == "-h") {
      std::cout << kUsage;
      return 0;
    } else {
      std::cerr << "TC.exe: unknown option " << a << "\n" << kUsage;
      return 2;
    }
  }
  if (!haveOut) o.count = 0;
  if (o.traces < 1 || o.traces > 1024 || o.samples < 1 || o.samples > 100000 || o.count < 0) {
    std::cerr << kUsage;
    return 2;
  }
  zentrova::LinuxFileSystem fs;
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
  while (stay && !clock.Closed()) clock.Sleep(100);
  if (clock.Closed()) std::cout << "TC.exe: window closed" << std::endl;
  return written == o.count || clock.Closed() ? 0 : 1;
}
