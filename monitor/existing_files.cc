// The first step of "Start": SEG-2 files left in the watched folder from an
// earlier run go to WaveformFiles_old, under a free name when theirs is
// taken there. Files still being written are new records and stay for the
// monitor cycle; links and special entries stay too (entry_screen.h).
// A stop asked for meanwhile leaves the files not yet moved where they are.

#include "monitor/free_name_move.h"
#include "monitor/zentrova_doc.h"
#include "records/data_file_kind.h"

namespace zentrova {

int CZentrovaDoc::MoveExistingFiles(const CycleControl& control) {
  FileSystem& fs = platform.fs;
  const std::string& dest = settingsBlock.strDestinationFolder;
  if (!fs.IsDirectory(dest)) fs.CreateFolder(dest);
  const std::string old = Path(dest, "WaveformFiles_old");
  int moved = 0;
  if (auto names = fs.ListFolder(settingsBlock.strWatchedFolder); names.ok()) {
    for (const std::string& name : *names) {
      // A stop ends the moves between two files; the rest go at the next start.
      if (control.Stopped()) break;
      const std::string path = Path(settingsBlock.strWatchedFolder, name);
      if (DataFileKind(name) != DataKindSeg2 || !entryScreen.Admit(fs, activityLog, path, name, platform.clock.Now())) continue;
      if (!fs.IsDirectory(old)) fs.CreateFolder(old);
      // Copied at an earlier start whose source could not be removed (a
      // read-only folder): the record is safe there, and is not copied again.
      if (!EarlierCopy(fs, path, old, name).empty()) {
        (void)fs.Remove(path);
        continue;
      }
      const Placement p = MoveUnderFreeName(fs, path, old, name);
      std::string line;
      if (!p.status.ok()) {
        line = "Unable to move " + name + " to the 'WaveformFiles_old' folder: " + p.status.message();
      } else if (p.sourceRemains) {
        line = name + " was copied to the 'WaveformFiles_old' folder" + (p.renamed ? " as " + p.target : "") +
               ", the source remains (read-only)";
      } else {
        ++moved;
        if (p.renamed) line = name + " was moved to the 'WaveformFiles_old' folder as " + p.target + ": the name was taken";
      }
      if (line.empty()) continue;
      activityLog.Add(line);
      activityLog.AppendToLogFile(line);
    }
  }
  const int found = RegisterExistingFiles();
  if (found > 0) activityLog.Add("Found " + std::to_string(found) + " files");
  return moved;
}

}  // namespace zentrova
