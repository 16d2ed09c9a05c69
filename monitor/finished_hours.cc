#include "monitor/finished_hours.h"

#include <algorithm>
#include <set>

#include "platform/local_time.h"
#include "platform/printf.h"
#include "records/data_file_kind.h"
#include "records/record_file_name.h"

namespace zentrova {
namespace {

constexpr const char* kJoinedMark = "_concatenated_";

// "YYYYMMDDHH" of the hours the joined records of a day folder begin in;
// their names begin "YYYYMMDD_HH".
std::set<std::string> JoinedHours(FileSystem& fs, const std::string& concatFolder) {
  std::set<std::string> hours;
  auto names = fs.ListFolder(concatFolder);
  if (!names.ok()) return hours;
  for (const std::string& name : *names) {
    if (name.find(kJoinedMark) == std::string::npos) continue;
    if (auto hour = HourOfName(name)) hours.insert(*hour);
  }
  return hours;
}

bool HoldsRecords(FileSystem& fs, const std::string& folder) {
  auto names = fs.ListFolder(folder);
  if (!names.ok()) return false;
  return std::any_of(names->begin(), names->end(),
                     [](const std::string& n) { return n != "." && n != ".." && DataFileKind(n) == DataKindSeg2; });
}

// The hour "YYYYMMDDHH" as its end in seconds since 1970.
std::optional<int64_t> HourEnd(const std::string& hour) {
  if (hour.size() != 10 || !std::all_of(hour.begin(), hour.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    return std::nullopt;
  }
  CivilTime t;
  t.year = std::stoi(hour.substr(0, 4));
  t.month = std::stoi(hour.substr(4, 2));
  t.day = std::stoi(hour.substr(6, 2));
  t.hour = std::stoi(hour.substr(8, 2)) + 1;  // normalised past midnight by the conversion
  return LocalToSeconds(t);
}

}  // namespace

std::vector<DueHour> HoursDueForJoin(FileSystem& fs, const std::string& destination, int64_t now, int afterMinutes,
                                     int lookBackDays) {
  std::vector<DueHour> due;
  const char sep = fs.Separator();
  std::set<std::string> seen;  // a day met twice (a change of summer time)
  for (int back = std::max(lookBackDays, 0); back >= 0; --back) {
    const auto t = SecondsToLocal(now - int64_t{back} * 86400);
    if (!t) continue;
    const std::string levels = Printf("%d%c%d%02d%c%d%02d%02d", t->year, sep, t->year, t->month, sep, t->year,
                                      t->month, t->day);
    if (!seen.insert(levels).second) continue;
    const std::string day = destination + sep + "WaveformFiles" + sep + levels;
    const std::string concat = destination + sep + "WaveformFiles_concatenated" + sep + levels;
    auto hours = fs.ListFolder(day);
    if (!hours.ok()) continue;
    const std::set<std::string> joined = JoinedHours(fs, concat);
    for (const std::string& hour : *hours) {
      const auto end = HourEnd(hour);
      if (!end || *end + int64_t{afterMinutes} * 60 > now || joined.count(hour) > 0) continue;
      const std::string folder = day + sep + hour;
      if (fs.IsDirectory(folder) && HoldsRecords(fs, folder)) due.push_back({folder, concat});
    }
  }
  return due;
}

}  // namespace zentrova
