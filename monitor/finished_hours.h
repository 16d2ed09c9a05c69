#pragma once
// Hours of the destination tree whose join is due and was never made: an
// hour filed before a stop, or the last hour of a survey, after which no
// record of a later hour came to trigger its join. An hour is due once its
// end lies `afterMinutes` in the past; only the last `lookBackDays` days
// (and today) are looked at. An hour counts as joined when the joined tree
// holds a joined record of it, or one being written (".partial").

#include <cstdint>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace zentrova {

struct DueHour {
  std::string hourFolder;    // WaveformFiles/YYYY/YYYYMM/YYYYMMDD/YYYYMMDDHH
  std::string concatFolder;  // WaveformFiles_concatenated/YYYY/YYYYMM/YYYYMMDD
};

// Oldest first. `now` in seconds since 1970.
std::vector<DueHour> HoursDueForJoin(FileSystem& fs, const std::string& destination, int64_t now, int afterMinutes,
                                     int lookBackDays);

}  // namespace zentrova
