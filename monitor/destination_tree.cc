// Filing accepted records into the dated hour tree below the destination
// folder, and rejected ones into the error folder.

#include "monitor/file_name_text.h"
#include "monitor/finished_hours.h"
#include "monitor/free_name_move.h"
#include "monitor/zentrova_doc.h"
#include "platform/local_time.h"
#include "platform/printf.h"
#include "records/record_file_name.h"

namespace zentrova {

std::string CZentrovaDoc::DestinationFolders(int64_t moment, std::string* dayFolder, std::string* concatDayFolder) {
  MonitorSettings& s = settingsBlock;
  FileSystem& fs = platform.fs;
  int r = 0;
  if (s.bAutomaticDriveChange == 1 && services.checkDestinationDrive) {
    r = services.checkDestinationDrive();
    if (r == 1) {
      const std::string text = "Destination folder was changed to " + s.strDestinationFolder;
      activityLog.Add(text);
      if (bSnedReport == 1) SendReport(text, 0);
    } else if (r == 2) {
      const std::string text = "Warnig! No drive is available.";
      activityLog.Add(text);
      const std::string reason = services.noDriveReason ? services.noDriveReason() : "";
      if (!reason.empty()) activityLog.Add(reason);
      if (s.nNoDriveWarnings < 10) {
        if (bSnedReport == 1) {
          SendReport(reason.empty() ? text : text + "\n" + reason, 1);
          ++s.nNoDriveWarnings;
        }
        ++s.nNoDriveWarnings;
      }
    }
  }
  if (!fs.IsDirectory(s.strDestinationFolder)) fs.CreateFolder(s.strDestinationFolder);
  std::string a = Path(s.strDestinationFolder, "WaveformFiles");
  std::string c = Path(s.strDestinationFolder, "WaveformFiles_concatenated");
  auto make = [&](const std::string& folder, bool wanted) {
    if (wanted && !fs.IsDirectory(folder)) fs.CreateFolder(folder);
  };
  make(a, true);
  make(c, bConcatenate == 1);
  const CivilTime t = SecondsToLocal(moment).value_or(CivilTime{});
  const std::string levels[] = {Printf("%d", t.year), Printf("%d%02d", t.year, t.month),
                                Printf("%d%02d%02d", t.year, t.month, t.day)};
  for (const std::string& level : levels) {
    a = Path(a, level);
    c = Path(c, level);
    make(a, true);
    make(c, bConcatenate == 1);
  }
  if (dayFolder) *dayFolder = a;
  if (concatDayFolder) *concatDayFolder = c;
  a = Path(a, Printf("%d%02d%02d%02d", t.year, t.month, t.day, t.hour));
  make(a, true);
  if (s.bAutomaticDriveChange == 1 && r == 1) activityLog.SetLogFileNames(platform.clock.Now(), s.strDestinationFolder);
  return a;
}

std::string CZentrovaDoc::FileRecord(const std::string& path, int fileNumber) {
  MonitorSettings& s = settingsBlock;
  const RecordMoment moment = s.NamingMoment(platform.clock.Now());
  std::string day, concatDay;
  const std::string hour = DestinationFolders(moment.time, &day, &concatDay);
  if (s.nFiledFiles > 0 && hour != s.strLastHourFolder) {
    activityLog.Add("Sub folder was changed");
    if (RequestHourJoin(s.strLastHourFolder, s.strLastConcatFolder) == 1) activityLog.Add("Data will be concatenated");
  }
  s.strLastHourFolder = hour;
  s.strLastConcatFolder = concatDay;

  const std::string name = RecordFileName(moment.time, moment.ms, FileNameText(s.sMyName), fileNumber);
  Placement p = MoveUnderFreeName(platform.fs, path, hour, name);
  tLastFiledAt_ = platform.clock.Now();
  if (p.status.ok()) {
    ++s.nFiledFiles;
  } else {
    platform.clock.Sleep(500);
    p = MoveUnderFreeName(platform.fs, path, hour, name);
  }
  if (!p.status.ok()) {
    // The record still lies where it was.
    const std::string line = "Unable to file " + record.strFileName + ": " + p.status.message();
    activityLog.Add(line);
    activityLog.AppendToLogFile(line);
    return path;
  }
  if (p.renamed) {
    const std::string line = record.strFileName + " was filed as " + p.target + ": " + name + " was taken";
    activityLog.Add(line);
    activityLog.AppendToLogFile(line);
  }
  const std::string copied = record.strFileName + " was copied to " + p.target +
                             (p.sourceRemains ? ", the source remains (read-only)" : "");
  if (p.sourceRemains) activityLog.Add(copied);  // said in the pane only when it is news
  activityLog.AppendToLogFile(copied);
  return p.target;
}

int CZentrovaDoc::RequestHourJoin(const std::string& hourFolder, const std::string& concatFolder, bool onlyOnce) {
  if (bConcatenate != 1 || !services.concatenateRecords) return 0;
  if (!joinsRequested_.insert(hourFolder).second && onlyOnce) return 0;
  CreateFolders(platform.fs, concatFolder);  // joining may have been off when the hour was filed
  ConcatenationRequest request;
  request.sourceFolder = hourFolder;
  request.targetFolder = concatFolder;
  request.presetLength = nDataConcatenate;
  request.nameText = FileNameText(settingsBlock.sMyName);  // a part of the joined file's name
  request.bInteractive = 0;
  request.bThreaded = 1;
  return services.concatenateRecords(request);
}

void CZentrovaDoc::JoinDueHours() {
  constexpr int64_t kLookEverySeconds = 60;
  const int64_t now = platform.clock.Now();
  if (bConcatenate != 1 || !takenUp_.empty()) return;  // the hours of records still waiting are not finished
  if (tLastJoinLook_ != 0 && now - tLastJoinLook_ < kLookEverySeconds && now >= tLastJoinLook_) return;
  tLastJoinLook_ = now;
  for (const DueHour& hour : HoursDueForJoin(platform.fs, settingsBlock.strDestinationFolder, now, nJoinAfterMinutes,
                                             nJoinLookBackDays)) {
    if (hour.hourFolder == settingsBlock.strLastHourFolder && now < tLastFiledAt_ + int64_t{nJoinAfterMinutes} * 60) {
      continue;
    }
    if (RequestHourJoin(hour.hourFolder, hour.concatFolder, true) != 1) continue;
    const std::string line = "The hour " + hour.hourFolder + " was never joined; its records are joined now";
    activityLog.Add(line);
    activityLog.AppendToLogFile(line);
  }
}

int CZentrovaDoc::MoveToErrorFolder(const std::string& path, const std::string& name, const std::string& reason) {
  const std::string& dest = settingsBlock.strDestinationFolder;
  if (!platform.fs.IsDirectory(dest)) platform.fs.CreateFolder(dest);
  const std::string folder = Path(dest, "WaveformFiles_error");
  if (!platform.fs.IsDirectory(folder)) platform.fs.CreateFolder(folder);
  auto before = platform.fs.Inspect(path);
  const Placement p = MoveUnderFreeName(platform.fs, path, folder, name);
  if (p.status.ok() && p.sourceRemains && before.ok()) {
    // The record is in the error folder; the copy left behind is not read,
    // logged or copied again.
    rejectedRecords.RememberCopied(path, *before);
    const std::string line = name + " was copied to the error folder as " + p.target + " (" + reason +
                             "), the source remains (read-only)";
    activityLog.Add(line);
    activityLog.AppendToLogFile(line);
    return 1;
  }
  if (p.status.ok()) {
    rejectedRecords.Forget(path);
    // Once per record, in both logs: where it went and why.
    const std::string line = name + " was moved to the error folder" + (p.renamed ? " as " + p.target : "") + " (" +
                             reason + ")";
    activityLog.Add(line);
    activityLog.AppendToLogFile(line);
    return 1;
  }
  // Said once; the file is then only tried again quietly (ProcessNewFile).
  if (before.ok() && !rejectedRecords.Holds(path, *before)) {
    rejectedRecords.Remember(path, *before, reason);
    const std::string line = "Unable to move " + name + " to the error folder: " + p.status.message();
    activityLog.Add(line);
    activityLog.AppendToLogFile(line);
  }
  return 0;
}

}  // namespace zentrova
