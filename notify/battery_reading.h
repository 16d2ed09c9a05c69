#pragma once
// The battery voltage as the station last read it from the acquisition
// controller's survey file, and the line every message carries about it.

#include <cstdint>
#include <string>

namespace zentrova {

struct BatteryReading {
  float voltage = 0.0f;
  std::string savedAt;  // time text of the controller's last saved file
  // Why there is no voltage (voltage <= 0): "no survey file is named",
  // "the survey file S.svy cannot be read", "no battery line in the survey file".
  std::string missing;
  int64_t changedAt = 0;  // when the survey file last changed, seconds since 1970; 0 unknown
};

// The reading is older than this when the survey file has not changed for
// longer: the controller stopped writing, and the voltage is the last one known.
inline constexpr int64_t kBatteryStaleSeconds = 3600;

// Whether the survey file has been still for longer than staleSeconds at `now`.
bool BatteryReadingStale(const BatteryReading& reading, int64_t now, int64_t staleSeconds = kBatteryStaleSeconds);

// "Battery voltage = 12.6 V updated at 10:15:07.25 12/31/2020"; a reading
// without a save time says so ("updated at an unknown time"), a stale one
// adds ", stale: the survey file has not changed for 3 h 12 min", and
// without a voltage "Battery voltage: no reading (no survey file is named)".
std::string BatteryLine(const BatteryReading& reading, int64_t now, int64_t staleSeconds = kBatteryStaleSeconds);

// "3 h 12 min", "45 min", "2 d 4 h" for a length of time in seconds.
std::string SpanText(int64_t seconds);

}  // namespace zentrova
