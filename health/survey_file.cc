#include "health/survey_file.h"

#include <cmath>

#include "monitor/settings.h"
#include "platform/printf.h"

namespace zentrova {
namespace {

constexpr uint64_t kTailBytes = 10000;
constexpr size_t kLineChunk = 1023;  // a longer line is read in pieces of this size
constexpr size_t kSaveLineMinimum = 67;

// Digits of line[from, from + n) read as a decimal number; 0 when none.
int FixedInt(const std::string& line, size_t from, size_t n) {
  int value = 0;
  for (size_t i = from; i < from + n && i < line.size(); ++i) {
    const char c = line[i];
    if (c < '0' || c > '9') break;
    value = value * 10 + (c - '0');
  }
  return value;
}

bool ScanFloat(const std::string& text, float& value) {
  double v = 0.0;
  if (!ParseStoredFloat(text, v) || std::fabs(v) > 3.0e38) return false;
  value = static_cast<float>(v);
  return true;
}

}  // namespace

SurveyLineScan ScanSurveyLine(const std::string& line) {
  SurveyLineScan scan;
  if (line.find("#BV") != std::string::npos) {
    scan.battery = true;
    const std::string head = line.substr(0, 100);
    const size_t equals = head.find('=');
    const size_t volts = equals == std::string::npos ? std::string::npos : head.find('V', equals + 1);
    if (volts != std::string::npos) {
      const std::string text = head.substr(equals + 1, std::min<size_t>(volts - equals - 1, 16));
      scan.hasVoltage = ScanFloat(text, scan.voltage);
    }
    return scan;
  }
  if (line.find("File") == std::string::npos || line.find("SAVED") == std::string::npos ||
      line.size() < kSaveLineMinimum) {
    return scan;
  }
  float seconds = 0.0f;
  if (!ScanFloat(line.substr(51, 5), seconds)) seconds = 0.0f;
  scan.saved = true;
  scan.savedAt = Printf("%02d:%02d:%05.2f %02d/%02d/%d", FixedInt(line, 45, 2), FixedInt(line, 48, 2),
                        static_cast<double>(seconds), FixedInt(line, 57, 2), FixedInt(line, 60, 2),
                        FixedInt(line, 63, 4));
  return scan;
}

BatteryReading ReadBatteryVoltage(FileSystem& fs, KeyValueStore& recentSurveys, const std::string& surveyFolder) {
  BatteryReading reading;
  reading.voltage = -1.0f;
  const std::string name = recentSurveys.Get("Survey1").value_or("");
  if (name.empty()) return {0.0f, "", "no survey file is named", 0};
  const std::string path = JoinPath(fs, surveyFolder, name);
  auto file = fs.OpenForRead(path);
  if (!file.ok()) return {0.0f, "", "the survey file " + name + " cannot be read", 0};
  if (auto entry = fs.Inspect(path); entry.ok()) reading.changedAt = entry->mtimeNs / 1000000000;
  const uint64_t size = (*file)->Size();
  const uint64_t from = size > kTailBytes ? size - kTailBytes : 0;
  std::string tail(static_cast<size_t>(size - from), '\0');
  auto got = (*file)->ReadAt(from, tail.size(), tail.data());
  tail.resize(got.ok() ? *got : 0);

  bool batterySeen = false;
  size_t at = 0;
  while (at < tail.size()) {
    size_t end = tail.find('\n', at);
    end = end == std::string::npos ? tail.size() : end + 1;
    end = std::min(end, at + kLineChunk);
    std::string line = tail.substr(at, end - at);
    at = end;
    // Lines ending in CR LF count as the controller's text lines end in LF.
    if (line.size() >= 2 && line[line.size() - 2] == '\r' && line.back() == '\n') line.erase(line.size() - 2, 1);
    const SurveyLineScan scan = ScanSurveyLine(line);
    if (scan.battery) {
      if (scan.hasVoltage) reading.voltage = scan.voltage;
      batterySeen = true;
    } else if (scan.saved && batterySeen) {
      reading.savedAt = scan.savedAt;
      batterySeen = false;
    }
  }
  if (reading.voltage <= 0.0f) reading.missing = "no battery line in the survey file " + name;
  return reading;
}

}  // namespace zentrova
