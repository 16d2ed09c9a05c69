#pragma once
// The station's own figures at one moment, sampled once a minute: what it
// took in since the sample before, the destination's free space, the
// battery, the outboxes, the controller, the cycle and the memory.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zentrova {

struct OutboxFigures {
  int64_t waiting = 0;
  int64_t oldestSeconds = 0;   // age of the oldest message waiting; 0 when none
  int64_t lastDelivered = 0;   // seconds since 1970; 0 never in this run
  int64_t lastFailed = 0;
};

struct StationSample {
  int64_t time = 0;          // seconds since 1970
  int64_t seconds = 0;       // the interval it covers
  int64_t records = 0;       // filed in the interval
  int64_t events = 0;        // detected in the interval
  double freePercent = -1.0; // of the destination drive; -1 unknown
  double batteryVolts = 0.0; // 0: no reading
  bool batteryStale = false;
  OutboxFigures mail;
  OutboxFigures form;
  int controllerRunning = -1;  // 1, 0, or -1 unknown
  int64_t cycleMs = 0;         // the longest cycle of the interval
  int64_t memoryKB = 0;        // resident memory of the station
};

// The CSV header and one line (with its line end) of the station series.
extern const char* const kStationSampleHeader;
std::string StationSampleLine(const StationSample& s);
// A line read back; nothing for the header or a damaged line.
std::optional<StationSample> ParseStationSampleLine(const std::string& line);

}  // namespace zentrova
