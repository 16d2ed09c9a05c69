#pragma once
// One day file of one stream: whole 512-byte records in time order, each
// sample held once.
//
// New samples that continue the file (they begin no earlier than half a
// sample before its end) are appended as whole records, their start put
// exactly on the file's end when they begin within half a sample of it, so
// no reader sees a gap. An append that fails (a full disk) is cut back to
// the last whole record; a file that a power cut left with a part record
// at its end is cut back before the next append. Samples the file already
// holds are left out (a record that arrives twice, a record converted
// again). Samples older than the file's end that it does not hold (a
// record that arrives late) are put in their place: the file is written
// anew through a temporary file that replaces it whole, so it stays in
// time order for every reader; that costs a copy of the day file and
// happens only for late records.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "archive/mseed_records.h"
#include "platform/file_system.h"

namespace zentrova {

struct DayFileOutcome {
  size_t written = 0;     // samples written
  size_t held = 0;        // samples the file held already
  bool inOrder = false;   // the file was written anew to take late samples
  std::string repaired;   // what was cut back, for the log; empty when nothing
};

class DayFiles {
 public:
  explicit DayFiles(FileSystem& fs) : fs_(fs) {}
  // Writes the samples of `piece` the file at `path` does not hold yet.
  StatusOr<DayFileOutcome> Write(const std::string& path, const StreamId& id, const SamplePiece& piece);
  // Forgets what is known of the file (it was removed).
  void Forget(const std::string& path) { tails_.erase(path); }
  // Forgets every file (another process may have written to them).
  void ForgetAll() { tails_.clear(); }

 private:
  struct Tail {
    uint64_t size = 0;
    int64_t endUs = 0;  // just after the last sample of the last record
  };
  StatusOr<Tail> TailOf(const std::string& path, std::string& repaired);
  Status Append(const std::string& path, Tail& tail, const std::string& records, int64_t endUs);
  StatusOr<DayFileOutcome> WriteInOrder(const std::string& path, const StreamId& id, const SamplePiece& piece);

  FileSystem& fs_;
  std::map<std::string, Tail> tails_;
};

}  // namespace zentrova
