#pragma once
// Calendar conversions in the station's local time zone (the process's TZ).
// Record times are seconds since 1970 read from a local calendar time.

#include <cstdint>
#include <optional>

namespace zentrova {

struct CivilTime {
  int year = 0;    // four digits
  int month = 0;   // 1..12
  int day = 0;     // 1..31
  int hour = 0;
  int minute = 0;
  int second = 0;
};

// Seconds since 1970 of a local calendar time, or nothing when the local
// time conversion fails. Fields out of range are normalised as the C
// library does (31 February is 3 March).
std::optional<int64_t> LocalToSeconds(const CivilTime& t);
// The local calendar time of seconds since 1970.
std::optional<CivilTime> SecondsToLocal(int64_t seconds);
// The current time in seconds since 1970.
int64_t NowSeconds();

}  // namespace zentrova
