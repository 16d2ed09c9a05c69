#pragma once
// The controller's survey file: after each saved record a battery line
// ("#BV = 12.60V") and a save line with the time stamp in fixed columns
// (hour at column 45, minute 48, seconds 51-55, month 57, day 60, year 63).

#include <cstdint>
#include <string>

#include "platform/file_system.h"
#include "platform/key_value_store.h"

namespace zentrova {

// The two lines written for one saved record.
std::string SurveyLines(const std::string& fileName, double volts, int64_t savedAt, int centiseconds);

class SurveyLog {
 public:
  // Creates the survey folders below `controllerFolder`, records `name` as
  // the most recent survey in the controller's store, and starts the file.
  SurveyLog(FileSystem& fs, const std::string& controllerFolder, const std::string& name);
  bool ok() const { return ok_; }
  const std::string& path() const { return path_; }
  void RecordSaved(const std::string& fileName, double volts, int64_t savedAt, int centiseconds);

 private:
  FileSystem& fs_;
  std::string path_;
  bool ok_ = false;
};

}  // namespace zentrova
