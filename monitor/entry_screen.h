#pragma once
// The first look of the scan (and of "Start") at an entry of a watched
// folder, before anything opens it. Only regular files that no writer
// holds go on. Symbolic links are never followed (not even to a folder or a
// record) and, like FIFOs, sockets and device nodes, are never opened: they
// stay where they are, and the logs say so once per entry, not at every
// cycle. Folders, entries that vanished and files still being written are
// passed over silently, as before. Where the writers of a file cannot be
// seen (another user's acquisition program), a short quiet time is no proof
// that the writer is done: it may pause longer between two writes. A SEG-2
// record that does not yet hold all the traces it announces then waits
// until it has not changed for kUnwholeQuietSeconds; a record cut short
// for good is still taken in the end, and judged as any damaged record.

#include <cstdint>
#include <string>
#include <unordered_set>

#include "monitor/activity_log.h"
#include "platform/file_system.h"

namespace zentrova {

class EntryScreen {
 public:
  // Whether the entry `path` (named `name`) is a regular file that no
  // writer holds. The first refusal of a link or special entry goes to the
  // activity log and the log file.
  // `now` is the time in seconds since 1970.
  bool Admit(FileSystem& fs, ActivityLog& log, const std::string& path, const std::string& name, int64_t now);

  static constexpr int64_t kUnwholeQuietSeconds = 600;

 private:
  // The entries already logged. A folder may hold thousands of them: all are
  // remembered, up to kMaxReported; beyond that one line says that further
  // ones go unsaid, rather than saying the oldest again at every cycle.
  static constexpr size_t kMaxReported = 100000;
  std::unordered_set<std::string> reported_;
  bool full_ = false;
};

// The line that says why an entry is left alone.
std::string NotARecordLine(const std::string& name, EntryType type);

}  // namespace zentrova
