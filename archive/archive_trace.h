#pragma once
// The traces of a record file as the archive needs them: every sample
// exactly as the file holds it (integers as integers, floats and doubles
// bit for bit, never through the 32-bit floats of the station's record),
// and the time of the first sample in UTC to the microsecond.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace zentrova {

enum class SampleKind { kInt32, kFloat32, kFloat64 };

// Z, N or E: where the record says which way a sensor points, else Z.
struct ArchiveTrace {
  int index = 0;                // position in the file, 0 first
  char orientation = 'Z';
  double receiverLocation = 0;  // along the line, in the file's length unit
  double intervalUs = 0;        // sample interval, microseconds
  SampleKind kind = SampleKind::kInt32;
  std::vector<int32_t> ints;
  std::vector<float> floats;
  std::vector<double> doubles;

  size_t Count() const;
};

struct ArchiveRecord {
  int64_t startUs = 0;  // first sample, microseconds since 1970 (UTC)
  std::vector<ArchiveTrace> traces;
};

// A SEG-2 file: the time is the acquisition time (read as local time) with
// its milliseconds plus the first trace's DELAY. Fails for a file without
// a time of its own or a trace that cannot be read whole.
StatusOr<ArchiveRecord> ReadSeg2ForArchive(FileSystem& fs, const std::string& path);
// A three-component file: its signed 32-bit counts, uncalibrated; the
// components 1, 2, 3 point north, east and up.
StatusOr<ArchiveRecord> ReadMtNeoForArchive(FileSystem& fs, const std::string& path);

}  // namespace zentrova
