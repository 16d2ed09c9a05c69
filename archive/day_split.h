#pragma once
// A trace cut at 00:00 UTC: the samples before midnight belong to the old
// day's file, the rest (from the first sample at or after midnight) to the
// new day's, each part with the exact time of its first sample.

#include <vector>

#include "archive/mseed_records.h"
#include "archive/sds_path.h"

namespace zentrova {

struct DayPiece {
  UtcDay day;
  SamplePiece piece;
};

std::vector<DayPiece> SplitAtMidnights(const ArchiveTrace& trace, int64_t startUs);

}  // namespace zentrova
