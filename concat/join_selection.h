#pragma once
// Which records of a job belong into one joined record, and where a joined
// record must end because the next record does not start where the joined
// record has come to: every sample of a joined record lies at the time that
// its place in the record gives (the first record's time plus the place
// times the sample interval).

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace zentrova {

// What the join knows of a record before it reads the samples: what
// AppendSeg2Headers gives for it.
struct RecordFacts {
  int traces = -1;             // -1: cannot be opened; 0: no trace can be read
  float fSampleInterval = 0;   // microseconds, of the first trace
  int nSamples = 0;            // the largest sample count of its traces
  bool dated = false;          // it carries a readable record time
  int64_t timeMs = 0;          // its first sample's time (acquisition plus DELAY), ms since 1970
};

RecordFacts ReadRecordFacts(FileSystem& fs, const std::string& path, int maxSamples);

// Why the record cannot be joined with the job's first record (`first`,
// nullptr while there is none yet): nothing when it can.
std::optional<std::string> WhyNotJoinable(const RecordFacts& record, const RecordFacts* first);

// A record half a record length (L / 2 samples) or more from its place
// (further on: L / 2 plus the overlap n).
struct TimeGap {
  size_t index = 0;      // the record that begins a new joined record
  double seconds = 0.0;  // its time minus the time of its place; negative: early
};

struct JoinRuns {
  std::vector<std::pair<size_t, size_t>> runs;  // [first, last] indices of each joined record
  std::vector<TimeGap> gaps;
};

// Splits records that are all joinable with each other (same interval) into
// runs: record k is placed at offset O (which grows by the largest
// min(nSamples, L) met so far in the run); when its time is L / 2 samples
// or more before, or L / 2 + n samples or more after, the run's first time
// plus O samples, it begins a new run.
JoinRuns SplitAtTimeGaps(const std::vector<RecordFacts>& records, int L, int n);

}  // namespace zentrova
