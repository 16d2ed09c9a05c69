// zentrova-station: the station without a window. Prints every line of the
// activity log as it is added.

#include <signal.h>

#include <atomic>
#include <iostream>
#include <string>

#include "station/headless_station.h"
#include "station/station_arguments.h"

namespace {

std::atomic<zentrova::HeadlessStation*> g_station{nullptr};
std::atomic<bool> g_quit{false};  // a signal that came before the station was built

void OnSignal(int) {
  g_quit = true;
  if (zentrova::HeadlessStation* station = g_station) station->Quit();
}

}  // namespace

int main(int argc, char** argv) {
  zentrova::LinuxSystemInfo system;
  const zentrova::StationArguments arguments = zentrova::StationArgumentsOf(argc, argv, system);
  if (arguments.exitCode >= 0) {
    (arguments.exitCode == 0 ? std::cout : std::cerr) << arguments.message;
    return arguments.exitCode;
  }
  if (!arguments.message.empty()) std::cout << arguments.message << std::endl;
  const zentrova::StationOptions& options = arguments.options;
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
