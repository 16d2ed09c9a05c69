#include "tools/tc_simulator/survey_log.h"

#include "platform/local_time.h"
#include "platform/printf.h"

namespace zentrova {
namespace {

constexpr const char* kRecentSurveysKey = "SOFTWARE\\Halvorne\\Tarnlink Controller\\1\\Recent Surveys";
const char* const kSurveyLevels[] = {"HalvorneSurveysAndSettings", "TC", "Survey Parameters"};

}  // namespace

std::string SurveyLines(const std::string& fileName, double volts, int64_t savedAt, int centiseconds) {
  const CivilTime c = SecondsToLocal(savedAt).value_or(CivilTime{});
  const std::string head = Printf("File %-30.30s SAVED    ", fileName.c_str());  // 45 columns
  return Printf("#BV = %.2fV\n", volts) + head +
         Printf("%02d:%02d:%02d.%02d %02d/%02d/%04d\n", c.hour, c.minute, c.second, centiseconds % 100, c.month,
                c.day, c.year);
}

SurveyLog::SurveyLog(FileSystem& fs, const std::string& controllerFolder, const std::string& name) : fs_(fs) {
  std::string folder = controllerFolder;
  if (!fs.IsDirectory(folder)) fs.CreateFolder(folder);
  for (const char* level : kSurveyLevels) {
    folder = JoinPath(fs, folder, level);
    if (!fs.IsDirectory(folder)) fs.CreateFolder(folder);
  }
  path_ = JoinPath(fs, folder, name);
  IniFileStore surveys(fs, JoinPath(fs, controllerFolder, "controller.ini"), kRecentSurveysKey);
  ok_ = surveys.Set("Survey1", name) && AppendToFile(fs, path_, "Survey " + name + " started\n").ok();
}

void SurveyLog::RecordSaved(const std::string& fileName, double volts, int64_t savedAt, int centiseconds) {
  if (ok_) AppendToFile(fs_, path_, SurveyLines(fileName, volts, savedAt, centiseconds));
}

}  // namespace zentrova
