#include "platform/local_time.h"

#include <time.h>

#include <limits>

namespace zentrova {

std::optional<int64_t> LocalToSeconds(const CivilTime& t) {
  struct tm tm = {};
  tm.tm_year = t.year - 1900;
  tm.tm_mon = t.month - 1;
  tm.tm_mday = t.day;
  tm.tm_hour = t.hour;
  tm.tm_min = t.minute;
  tm.tm_sec = t.second;
  tm.tm_isdst = -1;
  time_t s = ::mktime(&tm);
  if (s == static_cast<time_t>(-1)) {
    // -1 is also 23:59:59 on 31 Dec 1969 UTC; tell it from a failure.
    struct tm back = {};
    time_t minus_one = -1;
    if (::localtime_r(&minus_one, &back) == nullptr || back.tm_year != tm.tm_year ||
        back.tm_yday != tm.tm_yday || back.tm_hour != tm.tm_hour || back.tm_min != tm.tm_min ||
        back.tm_sec != tm.tm_sec) {
      return std::nullopt;
    }
  }
  return static_cast<int64_t>(s);
}

std::optional<CivilTime> SecondsToLocal(int64_t seconds) {
  if (seconds > std::numeric_limits<time_t>::max() || seconds < std::numeric_limits<time_t>::min()) {
    return std::nullopt;
  }
  time_t s = static_cast<time_t>(seconds);
  struct tm tm = {};
  if (::localtime_r(&s, &tm) == nullptr) return std::nullopt;
  CivilTime t;
  t.year = tm.tm_year + 1900;
  t.month = tm.tm_mon + 1;
  t.day = tm.tm_mday;
  t.hour = tm.tm_hour;
  t.minute = tm.tm_min;
  t.second = tm.tm_sec;
  return t;
}

int64_t NowSeconds() { return static_cast<int64_t>(::time(nullptr)); }

}  // namespace zentrova
