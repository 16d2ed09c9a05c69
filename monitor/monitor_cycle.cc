// One monitor cycle: list the watched folder and its newest numbered day
// folder, hand every new data file to the pipeline, then the follow-up
// steps. Also the start-up steps of the "Start" command.

#include <algorithm>
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
  // Records taken up at the start are new, not known.
  std::vector<std::string> takenUp = folder == settingsBlock.strWatchedFolder ? takenUp_ : std::vector<std::string>();
  std::sort(takenUp.begin(), takenUp.end());
  for (const std::string& name : *names) {
    if (std::binary_search(takenUp.begin(), takenUp.end(), name)) continue;
    const std::string path = Path(folder, name);
    // Files still being written are new records: the cycle takes them.
    if (!IsRecordKind(DataFileKind(name)) || !entryScreen.Admit(platform.fs, activityLog, path, name, platform.clock.Now())) continue;
    settingsBlock.KnownFiles.Append(path);
    knownRecords.Add(folder, name);
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

// Waits ms on the platform's clock in short steps; false as soon as a stop
// is asked for.
static bool PauseUnlessStopped(Clock& clock, int ms, const CycleControl& control) {
  for (int waited = 0; waited < ms; waited += 20) {
    if (control.Stopped()) return false;
    clock.Sleep(std::min(20, ms - waited));
  }
  return !control.Stopped();
}

// Runs the steps of the cycle begun to its end or to a stop; true when the
// scan came to its end.
static bool RunCycleSteps(CZentrovaDoc& doc, CycleId cycle, const CycleControl& control) {
  for (;;) {
    const CycleStep step = doc.StepCycle(cycle);
    if (step.finished) return true;
    if (step.handledFile && control.progress) control.progress();
    if (control.Stopped()) return false;
    if (step.pauseMs > 0 && !PauseUnlessStopped(doc.platform.clock, step.pauseMs, control)) return false;
  }
}

CycleId CZentrovaDoc::BeginCycle(int bReadData) {
  const CycleId cycle = ++lastCycle_;
  CycleId none = 0;
  if (!cycleUnderWay_.compare_exchange_strong(none, cycle)) return 0;
  std::lock_guard<std::recursive_mutex> lock(mutex);
  stopInStep_ = false;
  MonitorSettings& s = settingsBlock;
  scan_ = Scan();
  scan_.now = platform.clock.Now();
  scan_.beganMs = platform.clock.SteadyMs();
  scan_.bReadData = bReadData;
  const CivilTime t = SecondsToLocal(scan_.now).value_or(CivilTime{});
  char date[32], clock[32];
  std::snprintf(date, sizeof date, "%d/%.2d/%.2d", t.year, t.month, t.day);
  std::snprintf(clock, sizeof clock, " %.2d:%.2d:%.2d", t.hour, t.minute, t.second);
  scan_.date = date;
  scan_.clock = clock;
  platform.fs.SetCurrentFolder(s.strWatchedFolder);
  scan_.errorFile = Path(s.strDestinationFolder, "EventDetection_error.txt");
  return cycle;
}

// Lists the next folder of the scan; false when the scan is done.
bool CZentrovaDoc::OpenNextFolder() {
  const std::string& watched = settingsBlock.strWatchedFolder;
  switch (scan_.phase) {
    case Scan::kWatched:
      scan_.folder = watched;
      break;
    case Scan::kLatest: {
      scan_.numbered = NumberedFolders(watched);
      std::vector<std::string> scanned{watched};
      for (int number : scan_.numbered) scanned.push_back(Path(watched, std::to_string(number)));
      knownRecords.KeepOnly(scanned);
      if (scan_.numbered.empty()) {
        scan_.phase = Scan::kDone;
        return false;
      }
      scan_.folder = scanned[1];
      break;
    }
    case Scan::kSecond:
      if (scan_.latestAccepted != 0 || scan_.numbered.size() < 2) {
        scan_.phase = Scan::kDone;
        return false;
      }
      scan_.folder = Path(watched, std::to_string(scan_.numbered[1]));
      break;
    case Scan::kDone:
      return false;
  }
  auto names = platform.fs.ListFolder(scan_.folder);
  scan_.names = names.ok() ? std::move(*names) : std::vector<std::string>();
  if (names.ok()) knownRecords.Prune(scan_.folder, scan_.names);
  if (scan_.phase == Scan::kWatched) TakeUpFirst(scan_.names);
  scan_.next = 0;
  scan_.listed = true;
  return true;
}

// Walks the listing to the next file this cycle will read and keeps it in
// scan_.input; false when the folder has no more.
bool CZentrovaDoc::NextCandidate() {
  FileSystem& fs = platform.fs;
  const std::string& folder = scan_.folder;
  while (scan_.next < scan_.names.size()) {
    const std::string& name = scan_.names[scan_.next++];
    const size_t dot = name.find_last_of('.');
    // A record already known is never read again: it needs neither the
    // entry tests nor the pause (its number still carries over).
    if (knownRecords.Contains(folder, name)) {
      if (auto number = ScanInt(name.substr(0, dot), 0)) scan_.fileNumber = *number;
      continue;
    }
    const std::string path = Path(folder, name);
    // The lock test: folders, and files a writer still holds, wait; links
    // and special entries are never opened (entry_screen.h).
    if (name == "." || name == ".." || !entryScreen.Admit(fs, activityLog, path, name, platform.clock.Now())) continue;
    if (auto number = ScanInt(name.substr(0, dot), 0)) scan_.fileNumber = *number;
    const int kind = DataFileKind(name);
    if (!IsRecordKind(kind)) continue;
    if (scan_.accepted >= kMaxNewFilesPerCycle) continue;  // the next cycle takes it
    NewFileInput& in = scan_.input;
    in.path = path;
    in.name = name;
    in.kind = kind;
    in.fileNumber = scan_.fileNumber;
    const bool samplesWanted = bEventDetection == 1 || (services.wantSamples && services.wantSamples());
    in.bReadData = samplesWanted ? 1 : scan_.bReadData;
    return true;
  }
  return false;
}

// Hands the file found by NextCandidate, after its pause, to the pipeline.
void CZentrovaDoc::ReadPending() {
  scan_.pending = false;
  NewFileInput& in = scan_.input;
  in.first = settingsBlock.KnownFiles.Count() == 0 ? 1 : 0;
  const PipelineResult result = ProcessNewFile(in);
  if (!result.accepted) return;
  knownRecords.Add(scan_.folder, in.name);
  NewFiles[static_cast<size_t>(scan_.accepted)] = result.filedPath;
  ++scan_.accepted;
  if (scan_.phase == Scan::kLatest) ++scan_.latestAccepted;
  settingsBlock.tLastNewFile = scan_.now;
}

CycleStep CZentrovaDoc::StepCycle(CycleId cycle) {
  std::lock_guard<std::recursive_mutex> lock(mutex);
  // Not the cycle under way, a nested step, or a cycle stopped: nothing more to do.
  if (!CycleUnderWay(cycle) || inStep_ || stopInStep_) return CycleStep{.finished = true};
  inStep_ = true;
  CycleStep step = Step();
  inStep_ = false;
  if (stopInStep_) step.finished = true;
  return step;
}

CycleStep CZentrovaDoc::Step() {
  CycleStep step;
  if (scan_.pending) {
    ReadPending();
    step.handledFile = true;
    return step;
  }
  while (scan_.phase != Scan::kDone) {
    if (!scan_.listed && !OpenNextFolder()) break;
    if (NextCandidate()) {
      scan_.pending = true;
      step.pauseMs = kPauseBeforeReadMs;
      return step;
    }
    scan_.listed = false;
    scan_.phase = static_cast<Scan::Phase>(scan_.phase + 1);
  }
  step.finished = true;
  return step;
}

// The end of the scan: the burst line and the no-file warning, when the
// scan came to its end. Returns the files accepted.
int CZentrovaDoc::EndScan(bool completed) {
  MonitorSettings& s = settingsBlock;
  if (!completed) return scan_.accepted;
  const int64_t limit = static_cast<int64_t>(s.nMinNoFile) * 60;
  // A clock set back (by hand, or by a time source after a wrong start)
  // would keep the quiet time negative for as long as it went back: the
  // quiet time then counts from now.
  if (s.tLastNewFile > scan_.now) s.tLastNewFile = scan_.now;
  if (tMonitorStarted > scan_.now) tMonitorStarted = scan_.now;
  // The known files of the run open the gate, whether or not they still lie
  // in the scanned folders (with "Move to folder" on they do not).
  scan_.knownSeen = s.KnownFiles.Count();
  bool warn = false;
  if (scan_.knownSeen > 1) {
    if (scan_.accepted > 1) {
      char line[160];
      std::snprintf(line, sizeof line, "Caution: %d files were detected at once. %s %s\r\n", scan_.accepted,
                    scan_.date.c_str(), scan_.clock.c_str());
      AppendToFile(platform.fs, scan_.errorFile, line);
    } else {
      // Never from before monitoring began: records registered at the
      // start (three-component files, a read-only folder) are no news.
      warn = scan_.now - std::max(s.tLastNewFile, tMonitorStarted) > limit;
    }
  } else if (tMonitorStarted != 0) {
    // Fewer than two records so far (a station restarted after the
    // acquisition died): the time counts from the last record or from the
    // start of monitoring, whichever is later.
    warn = scan_.now - std::max(s.tLastNewFile, tMonitorStarted) > limit;
  }
  if (warn) {
    const std::string warning = "Warnig ! There was no new file more than " + std::to_string(s.nMinNoFile) + " minutes.";
    activityLog.Add(warning);
    if (bSnedReport == 1) SendReport(warning, 1);
    ++s.nNoFileWarnings;
    s.tLastNewFile = scan_.now;
  }
  return scan_.accepted;
}

int CZentrovaDoc::ScanWatchedFolder(int bReadData, const CycleControl& control) {
  const CycleId cycle = BeginCycle(bReadData);
  if (cycle == 0) return 0;
  const bool completed = RunCycleSteps(*this, cycle, control);
  std::lock_guard<std::recursive_mutex> lock(mutex);
  const int accepted = EndScan(completed && !stopInStep_);
  cycleUnderWay_ = 0;
  return accepted;
}

std::optional<int> CZentrovaDoc::EndCycle(CycleId cycle, bool completed) {
  std::lock_guard<std::recursive_mutex> lock(mutex);
  if (!CycleUnderWay(cycle)) return std::nullopt;
  if (inStep_) {
    stopInStep_ = true;
    return std::nullopt;
  }
  return EndCycleNow(completed && !stopInStep_);
}

int CZentrovaDoc::EndCycleNow(bool completed) {
  const int count = EndScan(completed);
  cycleUnderWay_ = 0;
  const int bReadData = scan_.bReadData;
  if (bPhaseViewDrawn == 1) {
    bPickMaximumAmplitude = 1;
    settings.SaveInt("bPickMaximumAmplitude", 1);
  }
  if (count > 0) runState.Save();
  JoinDueHours();
  if (services.endOfCycle) services.endOfCycle();
  if (count > 0) {
    const std::string found = "Found " + std::to_string(count) + " new files.";
    activityLog.Add(found);
    activityLog.AppendToLogFile(found);
    if (bDatabaseUploadOrbel == 1) {
      for (int i = 0; i < count; ++i) {
        const int ok = services.uploadWaveformFile ? services.uploadWaveformFile(NewFiles[i], bUseLocalServer == 1)
                                                   : 0;
        if (ok == kUploadQueued) continue;
        const std::string line = (ok == 1 ? "Successfully uploaded : " : "Unable to upload : ") + NewFiles[i];
        activityLog.Add(line);
        activityLog.AppendToLogFile(line);
      }
    }
    if (bReadData == 1 && bPickMaximumAmplitude == 1 && services.surfaceWaveFollowUp) services.surfaceWaveFollowUp();
  }
  if (services.cycleEnded) services.cycleEnded(count, platform.clock.SteadyMs() - scan_.beganMs);
  return count;
}

int CZentrovaDoc::CheckNewFiles() { return CheckNewFiles(CycleControl{}); }

int CZentrovaDoc::CheckNewFiles(const CycleControl& control) {
  int bReadData = 0;
  {
    std::lock_guard<std::recursive_mutex> lock(mutex);
    bReadData = (views.bWaveformView || views.bPhaseVelocityView || views.bSeisProfileView) ? 1 : 0;
  }
  const CycleId cycle = BeginCycle(bReadData);
  if (cycle == 0) return 0;
  const bool completed = RunCycleSteps(*this, cycle, control);
  return EndCycle(cycle, completed).value_or(0);
}

}  // namespace zentrova
