#pragma once
// The time of a record's first sample. The join reads records with their
// acquisition time alone; the samples begin the first trace's DELAY after
// it (before it when the delay is negative).

#include <cstdint>
#include <vector>

#include "records/seismic_record.h"

namespace zentrova {

// The acquisition time with its milliseconds plus the delay of headers[0]
// to the nearest millisecond (none without headers), in ms since 1970.
int64_t FirstSampleMs(const RecordTimeHeader& time, const std::vector<CHeaderXY>& headers);

// A time in ms since 1970 as whole seconds and milliseconds (0 to 999).
struct SecondsAndMs {
  int64_t seconds = 0;
  int ms = 0;
};
SecondsAndMs SplitMs(int64_t ms);

}  // namespace zentrova
