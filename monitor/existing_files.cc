// The first step of "Start". Records in the watched folder newer than the
// last record the station took in (kept from run to run) arrived while it
// was down (with "Move to folder" on, also those of the same time): they
// stay, and the cycles take them first, oldest first, as new records.
// SEG-2 files older than that, left from an earlier run, go to
// WaveformFiles_old, under a free name when theirs is taken there; at the
// very first start (nothing kept) every SEG-2 file goes there. Files still
// being written are new records and stay for the monitor cycle; links and
// special entries stay too (entry_screen.h). A stop asked for meanwhile
// leaves the files not yet looked at where they are.

#include <algorithm>

#include "monitor/free_name_move.h"
#include "monitor/record_moment.h"
#include "monitor/zentrova_doc.h"
#include "platform/printf.h"
#include "records/data_file_kind.h"
#include "records/seismic_record.h"

namespace zentrova {

int CZentrovaDoc::MoveToOldFolder(const std::string& path, const std::string& name, const std::string& old) {
  FileSystem& fs = platform.fs;
  if (!fs.IsDirectory(old)) fs.CreateFolder(old);
  // Copied at an earlier start whose source could not be removed (a
  // read-only folder): the record is safe there, and is not copied again.
  if (!EarlierCopy(fs, path, old, name).empty()) {
    (void)fs.Remove(path);
    return 0;
  }
  const Placement p = MoveUnderFreeName(fs, path, old, name);
  std::string line;
  int moved = 0;
  if (!p.status.ok()) {
    line = "Unable to move " + name + " to the 'WaveformFiles_old' folder: " + p.status.message();
  } else if (p.sourceRemains) {
    line = name + " was copied to the 'WaveformFiles_old' folder" + (p.renamed ? " as " + p.target : "") +
           ", the source remains (read-only)";
  } else {
    moved = 1;
    if (p.renamed) line = name + " was moved to the 'WaveformFiles_old' folder as " + p.target + ": the name was taken";
  }
  if (!line.empty()) {
    activityLog.Add(line);
    activityLog.AppendToLogFile(line);
  }
  return moved;
}

ExistingFileMoves CZentrovaDoc::BeginExistingMoves() {
  FileSystem& fs = platform.fs;
  const std::string& dest = settingsBlock.strDestinationFolder;
  if (!fs.IsDirectory(dest)) fs.CreateFolder(dest);
  ExistingFileMoves moves;
  if (auto names = fs.ListFolder(settingsBlock.strWatchedFolder); names.ok()) moves.names = std::move(*names);
  moves.last = runState.LastRecordMs();
  return moves;
}

bool CZentrovaDoc::MoveNextExisting(ExistingFileMoves& moves) {
  if (moves.next >= moves.names.size()) return false;
  FileSystem& fs = platform.fs;
  const std::string& name = moves.names[moves.next++];
  const std::string path = Path(settingsBlock.strWatchedFolder, name);
  const int kind = DataFileKind(name);
  if ((kind != DataKindSeg2 && kind != DataKindMtNeo) ||
      !entryScreen.Admit(fs, activityLog, path, name, platform.clock.Now())) {
    return true;
  }
  if (moves.last) {
    // Records of one burst share a time. With "Move to folder" on, a record
    // still here at the time of the last one filed was not filed.
    const std::optional<int64_t> moment = RecordMomentMs(fs, path, kind);
    if (moment && (*moment > *moves.last || (bMoveToFolder == 1 && *moment == *moves.last))) {
      moves.takenUp.emplace_back(*moment, name);
      return true;
    }
  }
  if (kind == DataKindSeg2) moves.moved += MoveToOldFolder(path, name, Path(settingsBlock.strDestinationFolder, "WaveformFiles_old"));
  return true;
}

int CZentrovaDoc::EndExistingMoves(const ExistingFileMoves& moves) {
  std::vector<std::pair<int64_t, std::string>> takenUp = moves.takenUp;
  std::sort(takenUp.begin(), takenUp.end());
  takenUp_.clear();
  for (const auto& [moment, name] : takenUp) takenUp_.push_back(name);
  const int found = RegisterExistingFiles();
  if (found > 0) activityLog.Add("Found " + std::to_string(found) + " files");
  if (moves.last) {
    const std::string line = Printf("%d records that came after the last record taken (%s) are taken up as new records",
                                    static_cast<int>(takenUp_.size()),
                                    FormatFirstSampleText(*moves.last / 1000, static_cast<int>(*moves.last % 1000)).c_str());
    activityLog.Add(line);
    activityLog.AppendToLogFile(line);
  }
  if (runState.attached() && !runState.EndedCleanlyBefore()) {
    const std::string line = "The last run did not end cleanly (a kill, a crash or a power loss)";
    activityLog.Add(line);
    activityLog.AppendToLogFile(line);
  }
  if (runState.Damaged()) {
    const std::string line = std::string(RunState::kFileName) +
                             " holds no readable time of the last record taken; the records in the watched folder were "
                             "taken as left from earlier runs";
    activityLog.Add(line);
    activityLog.AppendToLogFile(line);
  }
  runState.Began(platform.clock.Now() * 1000);
  return moves.moved;
}

int CZentrovaDoc::MoveExistingFiles(const CycleControl& control) {
  ExistingFileMoves moves = BeginExistingMoves();
  // A stop ends the moves between two files; the rest go at the next start.
  while (!control.Stopped() && MoveNextExisting(moves)) {
  }
  return EndExistingMoves(moves);
}

// The records taken up at the start come first in the watched folder's
// listing, in time order; those no longer there, or taken, are dropped.
void CZentrovaDoc::TakeUpFirst(std::vector<std::string>& names) {
  if (takenUp_.empty()) return;
  const std::string& folder = settingsBlock.strWatchedFolder;
  std::vector<std::string> first;
  for (const std::string& name : takenUp_) {
    if (!knownRecords.Contains(folder, name) && std::binary_search(names.begin(), names.end(), name)) {
      first.push_back(name);
    }
  }
  takenUp_ = first;
  std::sort(first.begin(), first.end());
  std::vector<std::string> rest;
  for (const std::string& name : names) {
    if (!std::binary_search(first.begin(), first.end(), name)) rest.push_back(name);
  }
  names = takenUp_;
  names.insert(names.end(), rest.begin(), rest.end());
}

}  // namespace zentrova
