#pragma once
// The battery voltage as the acquisition controller records it in its
// survey file: battery lines with "#BV = 12.6V", and "File ... SAVED"
// lines with a time stamp in fixed columns.

#include <string>

#include "notify/send_report.h"
#include "platform/file_system.h"
#include "platform/key_value_store.h"

namespace zentrova {

// The last battery line of the file's last 10000 bytes, and the time of the
// last save line that followed a battery line. 0 V and no time when there
// is no survey file; -1 V when it holds no usable battery line.
BatteryReading ReadBatteryVoltage(FileSystem& fs, KeyValueStore& recentSurveys, const std::string& surveyFolder);

// One line's contribution; exposed for the tests of the fixed columns.
struct SurveyLineScan {
  bool battery = false;   // a "#BV" line
  bool hasVoltage = false;
  float voltage = 0.0f;
  bool saved = false;     // a save line with its time stamp
  std::string savedAt;
};
// `line` as the controller wrote it, with its line feed when it has one.
SurveyLineScan ScanSurveyLine(const std::string& line);

}  // namespace zentrova
