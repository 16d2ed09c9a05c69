// zentrova-station: the station without a window. Prints every line of the
// activity log as it is added.

#include <signal.h>

#include <atomic>
#include <cstdlib>
#include <iostream>
#include <string>

#include "station/headless_station.h"

namespace {

const char* kUsage =
    "usage: zentrova-station [--config-dir DIR] [--start] [--run-for SECONDS] [--controller PATH]\n"
    "                        [--allow-power-off]\n"
    "  --config-dir DIR   settings folder (default $ZENTROVA_CONFIG_DIR, else\n"
    "                     $XDG_CONFIG_HOME/Kalvane Applications); Zentrova.ini holds the\n"
    "                     station's settings in its [General] section\n"
    "  --start            start monitoring at once, as bAutoStart=1 does\n"
    "  --run-for SECONDS  stop cleanly after that long (default: until SIGINT or SIGTERM)\n"
    "  --controller PATH  the acquisition controller to start when bAutoStartTC=1\n"
    "                     (default /opt/Halvorne/Tarnlink Controller/TC.exe)\n"
    "  --allow-power-off  really power the computer off below the battery's shutdown\n"
    "                     threshold; without it the station only says it would\n";

std::atomic<zentrova::HeadlessStation*> g_station{nullptr};
std::atomic<bool> g_quit{false};  // a signal that came before the station was built

void OnSignal(int) {
  g_quit = true;
  if (zentrova::HeadlessStation* station = g_station) station->Quit();
}

}  // namespace

int main(int argc, char** argv) {
  zentrova::StationOptions options;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--config-dir" && i + 1 < argc) {
      options.configDir = argv[++i];
    } else if (a == "--start") {
      options.start = true;
    } else if (a == "--run-for" && i + 1 < argc) {
      options.runForSeconds = std::atof(argv[++i]);
    } else if (a == "--controller" && i + 1 < argc) {
      options.controllerPath = argv[++i];
    } else if (a == "--allow-power-off") {
      options.allowPowerOff = true;
    } else if (a == "--help" || a == "-h") {
      std::cout << kUsage;
      return 0;
    } else {
      std::cerr << "zentrova-station: unknown option " << a << "\n" << kUsage;
      return 2;
    }
  }
  struct sigaction sa = {};
  sa.sa_handler = OnSignal;
  sigaction(SIGINT, &sa, nullptr);
  sigaction(SIGTERM, &sa, nullptr);
  zentrova::HeadlessStation station(options, std::cout);
  g_station = &station;
  if (g_quit) station.Quit();
  const int status = station.Run();
  g_station = nullptr;
  std::cout << "zentrova-station: stopped" << std::endl;
  return status;
}
