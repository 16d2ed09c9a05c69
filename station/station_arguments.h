#pragma once
// The command line of zentrova-station, checked whole before anything
// runs: a wrong argument ends the program with exit status 2, a reason and
// the usage text.

#include <string>
#include <vector>

#include "station/headless_station.h"

namespace zentrova {

extern const char* const kStationUsage;

struct StationArguments {
  StationOptions options;
  // -1: run the station. 0 (--help) or 2 (a wrong argument): end at once
  // with this status after printing `message` (to standard output for 0,
  // to standard error for 2).
  int exitCode = -1;
  std::string message;
};

// args: the arguments after the program name.
StationArguments ParseStationArguments(const std::vector<std::string>& args);

// The configuration folder `folder` made ready: one that does not exist
// is created (with its parents) and `note` says so. Returns the reason
// when it cannot serve: it is not a folder, lies in a file system of the
// kernel (/proc, /sys), or cannot be created.
std::string PrepareConfigFolder(const std::string& folder, std::string* note);

// Both of the above for a program's argv, with the configuration folder
// of `system` where none is given. When the station is to run, `message`
// holds the note on a created folder (or is empty) and options.configDir
// the folder.
StationArguments StationArgumentsOf(int argc, char** argv, SystemInfo& system);

}  // namespace zentrova
