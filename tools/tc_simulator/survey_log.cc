#include "tools/tc_simulator/survey_log.h"

#include <algorithm>

#include "health/health_channels.h"
#include "platform/local_time.h"
#include "platform/printf.h"

namespace zentrova {

std::string SurveyLines(const std::string& fileName, double volts, int64_t savedAt, int centiseconds) {
  const CivilTime c = SecondsToLocal(savedAt).value_or(CivilTime{});
  const std::string head = Printf("File %-30.30s SAVED    ", fileName.c_str());  // 45 columns
  return Printf("#BV = %.2fV\n", volts) + head +
         Printf("%02d:%02d:%02d.%02d %02d/%02d/%04d\n", c.hour, c.minute, c.second, centiseconds % 100, c.month,
                c.day, c.year);
}

SurveyLog::SurveyLog(FileSystem& fs, const std::string& controllerFolder, const std::string& name) : fs_(fs) {
  // The survey folder, one level after the other.
  std::string folder = controllerFolder;
  if (!fs.IsDirectory(folder)) fs.CreateFolder(folder);
  const std::string levels = kSurveyFolder;
  for (size_t at = 0; at <= levels.size();) {
    const size_t slash = std::min(levels.find('/', at), levels.size());
    folder = JoinPath(fs, folder, levels.substr(at, slash - at));
    if (!fs.IsDirectory(folder)) fs.CreateFolder(folder);
    at = slash + 1;
  }
  path_ = JoinPath(fs, folder, name);
  IniFileStore surveys(fs, JoinPath(fs, controllerFolder, kControllerStoreFile), kRecentSurveysKey);
  ok_ = surveys.Set("Survey1", name) && AppendToFile(fs, path_, "Survey " + name + " started\n").ok();
}

void SurveyLog::RecordSaved(const std::string& fileName, double volts, int64_t savedAt, int centiseconds) {
  if (ok_) AppendToFile(fs_, path_, SurveyLines(fileName, volts, savedAt, centiseconds));
}

}  // namespace zentrova
