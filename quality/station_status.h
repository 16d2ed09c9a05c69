#pragma once
// The state the running station keeps for whoever asks (zentrova-station
// --status, a monitoring plugin): a small text file in the configuration
// folder, "station_status.txt", written whole (by rename, mode 0600) at
// the end of every monitor cycle. One "key=value" a line; channels and
// alarms repeat their key.

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/file_system.h"
#include "quality/station_sample.h"

namespace zentrova {

inline constexpr const char* kStatusFileName = "station_status.txt";

enum class AlarmLevel { kWarning = 1, kCritical = 2 };

struct ActiveAlarm {
  AlarmLevel level = AlarmLevel::kWarning;
  std::string text;
};

struct StationStatus {
  int64_t written = 0;       // seconds since 1970
  int64_t cycleGapMs = 0;    // the monitor's interval between cycles
  int64_t lastCycle = 0;     // when the last cycle ended
  int64_t lastRecord = 0;    // when the last record was taken in; 0 none in this run
  std::string lastRecordName;
  int64_t recordsLastHour = 0;
  int64_t recordsLastDay = 0;
  int64_t eventsLastHour = 0;
  int64_t eventsLastDay = 0;
  double freePercent = -1.0;
  double batteryVolts = 0.0;  // 0 no reading
  std::string batteryLine;    // as the mails say it
  OutboxFigures mail;
  OutboxFigures form;
  std::vector<std::pair<int, double>> availability;  // channel, percent of the last hour
  std::vector<ActiveAlarm> alarms;
};

std::string StatusText(const StationStatus& s);
// Nothing when the text is not a status file at all; unknown keys are skipped.
std::optional<StationStatus> ParseStatusText(const std::string& text);

// What a monitoring plugin says: 0 OK, 1 warning, 2 critical, 3 unknown.
enum class StatusVerdict { kOk = 0, kWarning = 1, kCritical = 2, kUnknown = 3 };
const char* VerdictName(StatusVerdict v);  // "ok", "warning", "critical", "unknown"

// Unknown without a status, or when it is older than three monitor
// intervals at `now` (the station is not running, or its monitoring is
// off); otherwise the worst active alarm.
StatusVerdict VerdictOf(const std::optional<StationStatus>& status, int64_t now);

// The age limit of a status: three intervals, at least 3 s.
int64_t StatusLifeSeconds(const StationStatus& s);

}  // namespace zentrova
