#pragma once
// Reading one SEG-2 file into the station's record.

#include <string>

#include "platform/file_system.h"
#include "records/seismic_record.h"

namespace zentrova {

enum Seg2ReadStatus {
  kSeg2AllRead = 0,        // all traces read, or the header-only read done
  kSeg2NoDirectory = 1,    // the file descriptor or the trace pointers could not be read
  kSeg2ShortRead = 2,      // fewer traces read than the file announces
  kSeg2TooManyTraces = 3,  // more than 1024 traces announced; nothing read
};

// Reads `path` into `record`. Returns -1 when the file cannot be opened,
// otherwise the number of traces read (the file's trace count when
// bReadData is 0; 0 after any failure, with `status` telling which).
// bAllocate 1 gives the record fresh arrays; bAllocate 0 reuses its arrays,
// growing them where the file needs more. After a failure in the trace loop
// the record holds the traces read before it. `why`, when given, receives
// the reason of a failure in one line.
int ReadSeg2File(FileSystem& fs, SeismicRecord& record, const std::string& path, int bAllocate, int bReadData,
                 int& status, std::string* why = nullptr);

// The sample count of the file's first trace (0 when it has none or it
// cannot be read): one descriptor read, for reports after a header-only read.
int ReadSeg2FirstTraceSamples(FileSystem& fs, const std::string& path);

}  // namespace zentrova
