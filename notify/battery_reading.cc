#include "notify/battery_reading.h"

#include "platform/printf.h"

namespace zentrova {

bool BatteryReadingStale(const BatteryReading& reading, int64_t now, int64_t staleSeconds) {
  return reading.voltage > 0.0f && reading.changedAt > 0 && now - reading.changedAt > staleSeconds;
}

std::string SpanText(int64_t seconds) {
  if (seconds < 0) seconds = 0;
  const int64_t minutes = seconds / 60, hours = minutes / 60, days = hours / 24;
  if (days > 0) return Printf("%lld d %lld h", static_cast<long long>(days), static_cast<long long>(hours % 24));
  if (hours > 0) return Printf("%lld h %lld min", static_cast<long long>(hours), static_cast<long long>(minutes % 60));
  return Printf("%lld min", static_cast<long long>(minutes));
}

std::string BatteryLine(const BatteryReading& reading, int64_t now, int64_t staleSeconds) {
  if (reading.voltage <= 0.0f) {
    return "Battery voltage: no reading (" + (reading.missing.empty() ? std::string("unknown why") : reading.missing) +
           ")";
  }
  std::string line = Printf("Battery voltage = %.1f V updated at ", static_cast<double>(reading.voltage));
  line += reading.savedAt.empty() ? "an unknown time (no save line after the battery line)" : reading.savedAt;
  if (BatteryReadingStale(reading, now, staleSeconds)) {
    line += ", stale: the survey file has not changed for " + SpanText(now - reading.changedAt);
  }
  return line;
}

}  // namespace zentrova
