#pragma once
// The command line of TC.exe, checked whole before anything is written: a
// wrong argument ends the program with exit status 2, a reason and the
// usage text.

#include <string>
#include <vector>

#include "tools/tc_simulator/acquisition_simulator.h"

namespace zentrova {

extern const char* const kSimulatorUsage;

struct SimulatorArguments {
  SimulatorOptions options;
  bool haveOut = false;
  bool window = false;
  bool stay = false;
  std::string survey;
  std::string controllerFolder;
  // -1: run. 0 (--help) or 2 (a wrong argument): end at once with this
  // status after printing `message`.
  int exitCode = -1;
  std::string message;
};

// args: the arguments after the program name. Without any: --window
// --stay --survey Survey.svy and no records, as the station starts it.
SimulatorArguments ParseSimulatorArguments(const std::vector<std::string>& args,
                                           const std::string& defaultControllerFolder);

// "YYYY-MM-DD HH:MM:SS" as a local time that exists; nothing otherwise
// (13th months, 45th days, the hour skipped when clocks go forward).
std::optional<int64_t> ParseLocalTime(const std::string& text);

}  // namespace zentrova
