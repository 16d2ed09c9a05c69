#pragma once
// Where a day of one stream lies in an SDS archive:
// SDS/YEAR/NET/STA/CHAN.D/NET.STA.LOC.CHAN.D.YEAR.DOY (UTC days, the day of
// the year in three digits).

#include <cstdint>
#include <optional>
#include <string>

#include "archive/mseed_records.h"
#include "platform/file_system.h"

namespace zentrova {

struct UtcDay {
  int year = 0;
  int dayOfYear = 0;  // 1..366
  int64_t startUs = 0;  // 00:00:00 UTC of the day
  int64_t EndUs() const { return startUs + int64_t{86400} * 1000000; }
};

UtcDay UtcDayOf(int64_t us);

// The day file's path below `sdsRoot` (the folder named SDS), and its
// folder.
std::string SdsDayFolder(const FileSystem& fs, const std::string& sdsRoot, const StreamId& id, int year);
std::string SdsDayPath(const FileSystem& fs, const std::string& sdsRoot, const StreamId& id, const UtcDay& day);
std::string SdsDayName(const StreamId& id, const UtcDay& day);

// The day of a name NET.STA.LOC.CHAN.D.YEAR.DOY; nothing for other names.
std::optional<UtcDay> DayOfSdsName(const std::string& name);

}  // namespace zentrova
