#pragma once
// What the station-health operations reach outside the document: the
// controller's machine-wide store and survey folder, the power switch, the
// process list, the windows, program starts, the logon start and the
// volume table.

#include <string>

#include "platform/file_system.h"
#include "platform/key_value_store.h"
#include "platform/logon_start.h"
#include "platform/power.h"
#include "platform/process_launcher.h"
#include "platform/process_table.h"
#include "platform/volume_table.h"
#include "platform/window_tree.h"

namespace zentrova {

// Where the acquisition controller may be installed: the document's
// controller path is tried first, then these two.
struct ControllerFallbacks {
  std::string first = "/opt/Kalvane/TC.exe";
  std::string second = "/usr/local/lib/Kalvane/TC.exe";
};

struct HealthChannels {
  HealthChannels(FileSystem& f, KeyValueStore& surveys, KeyValueStore& program, std::string folder, PowerControl& p,
                 ProcessTable& list, WindowTree& w, ProcessLauncher& l, LogonStart& logonStart, VolumeTable& v)
      : fs(f), recentSurveys(surveys), controllerProgram(program), surveyFolder(std::move(folder)), power(p),
        processes(list), windows(w), launcher(l), logon(logonStart), volumes(v) {}

  FileSystem& fs;
  // The controller's keys "...\1\Recent Surveys" and "...\1\Program".
  KeyValueStore& recentSurveys;
  KeyValueStore& controllerProgram;
  std::string surveyFolder;  // the controller's "Survey Parameters" folder
  PowerControl& power;
  ProcessTable& processes;
  WindowTree& windows;
  ProcessLauncher& launcher;
  LogonStart& logon;
  VolumeTable& volumes;
  std::string controllerProcess = "TC.exe";
  ControllerFallbacks fallbacks;
};

inline constexpr const char* kControllerTitle = "Tarnlink Controller";
inline constexpr const char* kRecentSurveysKey = "SOFTWARE\\Halvorne\\Tarnlink Controller\\1\\Recent Surveys";
inline constexpr const char* kControllerProgramKey = "SOFTWARE\\Halvorne\\Tarnlink Controller\\1\\Program";

// Below the controller's machine-wide folder: its store and its surveys.
inline constexpr const char* kControllerStoreFile = "controller.ini";
inline constexpr const char* kSurveyFolder = "HalvorneSurveysAndSettings/TC/Survey Parameters";

}  // namespace zentrova
