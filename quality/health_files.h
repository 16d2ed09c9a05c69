#pragma once
// Where the station keeps its health figures: the folder "StationHealth"
// in the destination folder, with one file a day for each series,
// "channels_YYYYMMDD.csv" (a line per channel and hour) and
// "station_YYYYMMDD.csv" (a line per minute), the day in local time.
// Lines are only ever appended, whole, in one write each; a file begins
// with its header line. Files of days older than the days kept are removed.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "platform/status.h"

namespace zentrova {

inline constexpr const char* kHealthFolder = "StationHealth";

std::string HealthFolder(const FileSystem& fs, const std::string& destination);
// "<folder>/<series>_YYYYMMDD.csv" for the local day of `t`.
std::string DayFile(const FileSystem& fs, const std::string& folder, const std::string& series, int64_t t);

// Appends `lines` (whole lines) to the day file, creating the folder and
// writing `header` first when the file is new.
Status AppendDayLines(FileSystem& fs, const std::string& path, const std::string& header, const std::string& lines);

// Removes the series' day files of days before `today` minus `days` days;
// returns how many went.
int RemoveOldDays(FileSystem& fs, const std::string& folder, int64_t now, int days);

// The lines (without the header) of every day file of `series` from the
// local day of `from` to that of `to`, in day order.
std::vector<std::string> ReadDayLines(FileSystem& fs, const std::string& folder, const std::string& series,
                                      int64_t from, int64_t to);

}  // namespace zentrova
