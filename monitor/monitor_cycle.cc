// One monitor cycle: list the watched folder and its newest numbered day
// folder, hand every new data file to the pipeline, then the follow-up
// steps. Also the start-up steps of the "Start" command.

#include <cstdio>
#include <cstdlib>
#include <set>

#include "monitor/zentrova_doc.h"
#include "platform/local_time.h"
#include "records/data_file_kind.h"
#include "records/seg2_text.h"

namespace zentrova {
namespace {

bool IsRecordKind(int kind) { return kind == DataKindSeg2 || kind == DataKindMtNeo; }

}  // namespace

int ExtractNumber(const std::string& name) {
  std::string kept;
  for (char c : name) {
    if ((c >= '0' && c <= '9') || c == '-') kept.push_back(c);
    if (kept.size() == 29) break;
  }
  return ScanInt(kept, 0).value_or(0);
}

std::vector<int> CZentrovaDoc::NumberedFolders(const std::string& folder) {
  // Only the largest two numbers are ever used, so only they are kept.
  std::set<int> numbers;
  auto names = platform.fs.ListFolder(folder);
  if (!names.ok()) return {};
  for (const std::string& name : *names) {
    const int number = ExtractNumber(name);
    if (number <= 10000000) continue;
    auto entry = platform.fs.Inspect(Path(folder, name));  // a link to a folder is not followed
    if (!entry.ok() || entry->type != EntryType::kFolder) continue;
    numbers.insert(number);
    if (numbers.size() > 2) numbers.erase(numbers.begin());
  }
  return std::vector<int>(numbers.rbegin(), numbers.rend());
}

int CZentrovaDoc::RegisterFolderFiles(const std::string& folder) {
  auto names = platform.fs.ListFolder(folder);
  if (!names.ok()) return 0;
  int n = 0;
  for (const std::string& name : *names) {
    const std::string path = Path(folder, name);
    // Files still being written are new records: the cycle takes them.
    if (!IsRecordKind(DataFileKind(name)) || !entryScreen.Admit(platform.fs, activityLog, path, name)) continue;
    settingsBlock.KnownFiles.Append(path);
    ++n;
  }
  return n;
}

int CZentrovaDoc::RegisterExistingFiles() {
  const std::string& watched = settingsBlock.strWatchedFolder;
  int n = RegisterFolderFiles(watched);
  for (int number : NumberedFolders(watched)) n += RegisterFolderFiles(Path(watched, std::to_string(number)));
  return n;
}

int CZentrovaDoc::ScanFolder(const std::string& folder) {
  FileSystem& fs = platform.fs;
  auto names = fs.ListFolder(folder);
  if (!names.ok()) return 0;
  int count = 0;
  for (const std::string& name : *names) {
    const std::string path = Path(folder, name);
    // The lock test: folders, and files a writer still holds, wait; links
    // and special entries are never opened (entry_screen.h).
    if (name == "." || name == ".." || !entryScreen.Admit(fs, activityLog, path, name)) continue;
    const size_t dot = name.find_last_of('.');
    if (auto number = ScanInt(name.substr(0, dot), 0)) scan_.fileNumber = *number;
    const int kind = DataFileKind(name);
    if (!IsRecordKind(kind)) continue;
    platform.clock.Sleep(100);
    if (settingsBlock.KnownFiles.Contains(path)) continue;
    if (scan_.accepted >= kMaxNewFilesPerCycle) continue;  // the next cycle takes it
    NewFileInput in;
    in.path = path;
    in.name = name;
    in.kind = kind;
    in.fileNumber = scan_.fileNumber;
    in.bReadData = bEventDetection == 1 ? 1 : scan_.bReadData;
    in.first = settingsBlock.KnownFiles.Count() == 0 ? 1 : 0;
    const PipelineResult result = ProcessNewFile(in);
    if (!result.accepted) continue;
    NewFiles[static_cast<size_t>(scan_.accepted)] = result.filedPath;
    ++scan_.accepted;
    ++count;
    settingsBlock.tLastNewFile = scan_.now;
  }
  return count;
}

int CZentrovaDoc::ScanWatchedFolder(int bReadData) {
  MonitorSettings& s = settingsBlock;
  scan_ = Scan();
  scan_.now = platform.clock.Now();
  scan_.bReadData = bReadData;
  const CivilTime t = SecondsToLocal(scan_.now).value_or(CivilTime{});
  char date[32], clock[32];
  std::snprintf(date, sizeof date, "%d/%.2d/%.2d", t.year, t.month, t.day);
  std::snprintf(clock, sizeof clock, " %.2d:%.2d:%.2d", t.hour, t.minute, t.second);
  platform.fs.SetCurrentFolder(s.strWatchedFolder);
  const std::string errorFile = Path(s.strDestinationFolder, "EventDetection_error.txt");

  ScanFolder(s.strWatchedFolder);
  const std::vector<int> numbered = NumberedFolders(s.strWatchedFolder);
  if (!numbered.empty()) {
    const int r = ScanFolder(Path(s.strWatchedFolder, std::to_string(numbered[0])));
    if (r == 0 && numbered.size() > 1) ScanFolder(Path(s.strWatchedFolder, std::to_string(numbered[1])));
  }

  // The known files of the run open the gate, whether or not they still lie
  // in the scanned folders (with "Move to folder" on they do not).
  scan_.knownSeen = s.KnownFiles.Count();
  if (scan_.knownSeen > 1) {
    if (scan_.accepted > 1) {
      char line[160];
      std::snprintf(line, sizeof line, "Caution: %d files were detected at once. %s %s\r\n", scan_.accepted, date,
                    clock);
      AppendToFile(platform.fs, errorFile, line);
    } else if (scan_.now - s.tLastNewFile > static_cast<int64_t>(s.nMinNoFile) * 60) {
      const std::string warning =
          "Warnig ! There was no new file more than " + std::to_string(s.nMinNoFile) + " minutes.";
      activityLog.Add(warning);
      if (bSnedReport == 1) SendReport(warning, 1);
      ++s.nNoFileWarnings;
      s.tLastNewFile = scan_.now;
    }
  }
  return scan_.accepted;
}

int CZentrovaDoc::CheckNewFiles() {
  std::lock_guard<std::recursive_mutex> lock(mutex);
  const int bReadData = (views.bWaveformView || views.bPhaseVelocityView || views.bSeisProfileView) ? 1 : 0;
  const int count = ScanWatchedFolder(bReadData);
  if (bPhaseViewDrawn == 1) {
    bPickMaximumAmplitude = 1;
    settings.SaveInt("bPickMaximumAmplitude", 1);
  }
  if (count > 0) {
    const std::string found = "Found " + std::to_string(count) + " new files.";
    activityLog.Add(found);
    activityLog.AppendToLogFile(found);
    if (bDatabaseUploadOrbel == 1) {
      for (int i = 0; i < count; ++i) {
        const int ok = services.uploadWaveformFile ? services.uploadWaveformFile(NewFiles[i], bUseLocalServer == 1)
                                                   : 0;
        const std::string line = (ok == 1 ? "Successfully uploaded : " : "Unable to upload : ") + NewFiles[i];
        activityLog.Add(line);
        activityLog.AppendToLogFile(line);
      }
    }
    if (bReadData == 1 && bPickMaximumAmplitude == 1 && services.surfaceWaveFollowUp) services.surfaceWaveFollowUp();
  }
  return count;
}

}  // namespace zentrova
