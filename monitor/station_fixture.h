#pragma once
// A station on real temporary folders for the monitor's tests: the real
// file system (or a fault-injecting one over it), settings in memory, a
// fake clock, and a document built on them.

#include <memory>
#include <string>
#include <vector>

#include "monitor/zentrova_doc.h"
#include "platform/fault_file_system.h"
#include "platform/linux_file_system.h"
#include "testing/temp_folder.h"
#include "testing/time_zone.h"

namespace zentrova::testing {

class StationFixture {
 public:
  StationFixture();

  // Builds the document (after the settings are in place).
  CZentrovaDoc& Doc();
  // Writes a SEG-2 record with the given time into the watched folder (or a subfolder).
  std::string WriteRecord(const std::string& name, int traces = 3, int64_t time = 1584259445, int ms = 0,
                          const std::string& subfolder = "");
  std::vector<std::string> Files(const std::string& folder) const;  // names, without "." and ".."
  std::string LogFileText() const;

  ScopedTimeZone tz{"UTC"};
  TempFolder root;
  std::string watched;
  std::string destination;
  LinuxFileSystem real;
  FaultFileSystem fs{real};
  MemoryStore profile;
  MemoryStore product;
  FakeClock clock{1584259445};  // 2020-03-15 08:04:05
  FixedSystemInfo system;
  RecordingPrompt prompt;
  Platform platform{fs, profile, product, clock, system, prompt};
  StationServices services;
  std::vector<std::string> reports;
  std::vector<ConcatenationRequest> joins;

 private:
  std::unique_ptr<CZentrovaDoc> doc_;
};

}  // namespace zentrova::testing
