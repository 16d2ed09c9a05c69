#pragma once
// The alarm rules of the station's health: each looks at the figures and
// says which of its alarms stand now. The book (alarm_book.h) raises an
// alarm once when it first stands and clears it once when it no longer does.
//
// Rules and their stored settings (profile, section "General"):
//   no record for nMinNoFile minutes while monitoring           critical
//   availability of a finished hour below nAlarmAvailabilityPercent (90)   warning
//   a channel dead (all samples equal) for a finished hour      critical
//   a channel clipped in every record of a finished hour        warning
//   the last record's latency above nAlarmLatencySeconds (600)   warning
//   the battery falling faster than fAlarmBatteryVoltsPerHour (0.5 V/h)
//     over the last hour's readings (at least 20 minutes of them)  warning
//   a message waiting in an outbox for more than nAlarmOutboxMinutes (60)  warning
//   free space of the destination drive at or below the drive manager's
//     switch level (1 - dDiskSpaceRatio): critical; reaching it within
//     nAlarmFreeSpaceHours (24) by the trend of the last day's samples
//     (at least two hours of them): warning
// A setting of 0 switches its rule off (nMinNoFile excepted: 0 is at once).

#include <cstdint>
#include <deque>
#include <map>
#include <string>
#include <vector>

#include "quality/channel_hours.h"
#include "quality/station_sample.h"
#include "quality/station_status.h"

namespace zentrova {

struct AlarmSettings {
  int minutesWithoutRecord = 5;
  int availabilityPercent = 90;
  int latencySeconds = 600;
  double batteryVoltsPerHour = 0.5;
  int outboxMinutes = 60;
  double switchFreePercent = 10.0;  // 100 x (1 - dDiskSpaceRatio)
  int freeSpaceHours = 24;
};

// What the rules look at.
struct AlarmInputs {
  int64_t now = 0;
  bool monitoring = false;
  int64_t quietSince = 0;           // the last record, or the start of monitoring when later
  std::map<int, HourFigures> lastFinishedHour;  // per channel
  double lastLatency = -1.0;        // seconds; -1 no record yet
  const std::deque<StationSample>* samples = nullptr;  // oldest first, the last day
};

// One alarm that stands: its key (what it is about, stable from check to
// check), its level and its text.
struct StandingAlarm {
  std::string key;
  AlarmLevel level = AlarmLevel::kWarning;
  std::string text;
};

std::vector<StandingAlarm> StandingAlarms(const AlarmSettings& settings, const AlarmInputs& inputs);

// The least-squares slope of values over time, per hour; false with fewer
// than two points or no spread in time.
bool SlopePerHour(const std::vector<std::pair<int64_t, double>>& points, double& slope);

}  // namespace zentrova
