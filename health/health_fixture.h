#pragma once
// The station of the monitor's tests with the health channels around it:
// the controller's stores in memory, the survey folder on a real temporary
// folder, and doubles for the power switch, the processes, the windows,
// program starts, the logon entry and the volumes.

#include <filesystem>

#include "health/health_channels.h"
#include "monitor/station_fixture.h"

namespace zentrova::testing {

struct HealthFixture {
  HealthFixture() {
    std::filesystem::create_directory(surveyFolder);
    std::filesystem::create_directory(st.destination);  // the log file lies there
  }
  // Writes the survey file the controller's store names.
  std::string WriteSurvey(const std::string& text, const std::string& name = "S.svy") {
    recentSurveys.values["Survey1"] = name;
    const std::string path = surveyFolder + "/" + name;
    WriteWholeFile(st.real, path, text);
    return path;
  }

  // The same channels with another process list.
  HealthChannels WithProcesses(ProcessTable& other) {
    return {st.fs, recentSurveys, controllerProgram, surveyFolder, power, other, windows, launcher, logon, volumes};
  }

  StationFixture st;
  MemoryStore recentSurveys;
  MemoryStore controllerProgram;
  std::string surveyFolder = st.root.Path("surveys");
  RecordingPower power;
  FixedProcessTable processes;
  FakeWindowTree windows;
  RecordingLauncher launcher;
  RecordingLogonStart logon;
  FakeVolumeTable volumes;
  HealthChannels ch{st.fs, recentSurveys, controllerProgram, surveyFolder, power, processes,
                    windows, launcher, logon, volumes};
};

}  // namespace zentrova::testing
