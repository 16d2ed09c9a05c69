// The first step of "Start": SEG-2 files left in the watched folder from an
// earlier run go to WaveformFiles_old, under a free name when theirs is
// taken there. Files still being written are new records and stay for the
// monitor cycle; links and special entries stay too (entry_screen.h).
// A stop asked for meanwhile leaves the files not yet moved where they are.

#include "monitor/free_name_move.h"
#include "monitor/zentrova_doc.h"
#include "records/data_file_kind.h"

namespace zentrova {

ExistingFileMoves CZentrovaDoc::BeginExistingMoves() {
  FileSystem& fs = platform.fs;
  const std::string& dest = settingsBlock.strDestinationFolder;
  if (!fs.IsDirectory(dest)) fs.CreateFolder(dest);
  ExistingFileMoves moves;
  if (auto names = fs.ListFolder(settingsBlock.strWatchedFolder); names.ok()) moves.names = std::move(*names);
  return moves;
}

bool CZentrovaDoc::MoveNextExisting(ExistingFileMoves& moves) {
  if (moves.next >= moves.names.size()) return false;
  FileSystem& fs = platform.fs;
  const std::string& name = moves.names[moves.next++];
  const std::string path = Path(settingsBlock.strWatchedFolder, name);
  if (DataFileKind(name) != DataKindSeg2 || !entryScreen.Admit(fs, activityLog, path, name, platform.clock.Now())) {
    return true;
  }
  const std::string old = Path(settingsBlock.strDestinationFolder, "WaveformFiles_old");
  if (!fs.IsDirectory(old)) fs.CreateFolder(old);
  const Placement p = MoveUnderFreeName(fs, path, old, name);
  std::string line;
  if (!p.status.ok()) {
    line = "Unable to move " + name + " to the 'WaveformFiles_old' folder: " + p.status.message();
  } else {
    ++moves.moved;
    if (p.renamed) line = name + " was moved to the 'WaveformFiles_old' folder as " + p.target + ": the name was taken";
  }
  if (line.empty()) return true;
  activityLog.Add(line);
  activityLog.AppendToLogFile(line);
  return true;
}

int CZentrovaDoc::EndExistingMoves(const ExistingFileMoves& moves) {
  const int found = RegisterExistingFiles();
  if (found > 0) activityLog.Add("Found " + std::to_string(found) + " files");
  return moves.moved;
}

int CZentrovaDoc::MoveExistingFiles(const CycleControl& control) {
  ExistingFileMoves moves = BeginExistingMoves();
  // A stop ends the moves between two files; the rest go at the next start.
  while (!control.Stopped() && MoveNextExisting(moves)) {
  }
  return EndExistingMoves(moves);
}

}  // namespace zentrova
