// zentrova-station: the station without a window. Prints every line of the
// activity log as it is added.

#include <signal.h>

#include <atomic>
#include <iostream>
#include <string>

#include "platform/instance_lock.h"
#include "platform/local_time.h"
#include "station/headless_station.h"
#include "station/status_command.h"
#include "station/station_arguments.h"

namespace {

std::atomic<zentrova::HeadlessStation*> g_station{nullptr};
std::atomic<bool> g_quit{false};  // a signal that came before the station was built

void OnSignal(int) {
  g_quit = true;
  if (zentrova::HeadlessStation* station = g_station) station->Quit();
}

// A reader of the station's output that goes away (a pipe to `head`, a log
// collector restarting) must not end the station: the write then fails
// instead. A handler, not SIG_IGN, so that the programs the station starts
// get the default back.
void OnBrokenPipe(int) {}

}  // namespace

int main(int argc, char** argv) {
  zentrova::LinuxSystemInfo system;
  const zentrova::StationArguments arguments = zentrova::StationArgumentsOf(argc, argv, system);
  if (arguments.exitCode >= 0) {
    (arguments.exitCode == 0 ? std::cout : std::cerr) << arguments.message;
    return arguments.exitCode;
  }
  const zentrova::StationOptions& options = arguments.options;
  if (options.status) return zentrova::PrintStationStatus(options.configDir, options.json, zentrova::NowSeconds(), std::cout);
  if (!arguments.message.empty()) std::cout << arguments.message << std::endl;
  const zentrova::InstanceLock::Attempt lock = zentrova::InstanceLock::Take(options.configDir);
  if (lock.heldByAnother) {
    std::cerr << zentrova::AnotherInstanceLine("zentrova-station", options.configDir, lock.holderPid) << std::endl;
    return 2;
  }
  if (!lock.problem.empty()) std::cerr << "zentrova-station: " << lock.problem << "; a second station on this folder is not kept out" << std::endl;
  struct sigaction sa = {};
  sa.sa_handler = OnSignal;
  sigaction(SIGINT, &sa, nullptr);
  sigaction(SIGTERM, &sa, nullptr);
  // A hang-up (the terminal closed) stops the station cleanly too, unless
  // it was started to ignore hang-ups (nohup).
  struct sigaction hup = {};
  if (sigaction(SIGHUP, nullptr, &hup) == 0 && hup.sa_handler != SIG_IGN) sigaction(SIGHUP, &sa, nullptr);
  struct sigaction pipe = {};
  pipe.sa_handler = OnBrokenPipe;
  sigaction(SIGPIPE, &pipe, nullptr);
  zentrova::HeadlessStation station(options, std::cout);
  g_station = &station;
  if (g_quit) station.Quit();
  const int status = station.Run();
  g_station = nullptr;
  std::cout << "zentrova-station: stopped" << std::endl;
  return status;
}
