#pragma once
// Watching the station's health while it runs: the data-quality figures of
// every channel hour by hour, the station's own figures once a minute, the
// alarms, the status file for zentrova-station --status and the textfile
// for Prometheus. Fed by the document's seams (recordTaken, cycleEnded),
// on the thread of the cycle and under the document's lock.
//
// Stored settings (profile, section "General"): bQualityFigures (1, the
// default: every record is read with its samples, for the figures), nQualityDays
// (30: the days of files kept), sPrometheusTextfileDir (empty: no textfile),
// and the alarms' settings (alarm_rules.h).

#include <cstdint>
#include <deque>
#include <functional>
#include <string>

#include "monitor/zentrova_doc.h"
#include "notify/battery_reading.h"
#include "quality/alarm_book.h"
#include "quality/channel_hours.h"
#include "quality/station_sample.h"
#include "quality/station_status.h"

namespace zentrova {

// What the watch reads outside the document; each may be missing.
struct WatchChannels {
  std::function<BatteryReading()> battery;
  std::function<double()> freePercent;  // of the destination drive; -1 unknown
  std::function<OutboxFigures()> mail;
  std::function<OutboxFigures()> form;
  std::function<int()> controllerRunning;  // 1, 0, -1 unknown
  std::function<int64_t()> memoryKB;
  std::function<int64_t()> cycleGapMs;     // the monitor's interval
  std::function<bool()> monitoring;
  std::string statusPath;                  // the status file; empty: none
};

inline constexpr int64_t kSampleSeconds = 60;
// An hour is finished this long after its end: a record late by less still counts in it.
inline constexpr int64_t kHourGraceSeconds = 300;

class StationWatch {
 public:
  StationWatch(CZentrovaDoc& doc, WatchChannels channels);

  void OnRecord(const TakenRecord& taken);
  void OnCycle(int found, int64_t cycleMs);

  bool WantsSamples() const { return wantSamples_; }
  const ChannelHours& channels() const { return hours_; }
  const std::deque<StationSample>& samples() const { return samples_; }
  std::vector<ActiveAlarm> ActiveAlarms() const { return alarms_.Active(); }
  StationStatus Status(int64_t now) const;

 private:
  void Sample(int64_t now);
  void WriteFinishedHours(int64_t now);
  void CheckAlarms(int64_t now);
  void WriteStatus(int64_t now);
  void Log(const std::string& line);

  CZentrovaDoc& doc_;
  WatchChannels ch_;
  bool wantSamples_ = true;
  int days_ = 30;
  std::string prometheusFolder_;
  AlarmSettings alarmSettings_;
  ChannelHours hours_;
  AlarmBook alarms_;
  std::map<int, HourFigures> lastFinished_;
  std::deque<StationSample> samples_;        // the last day, oldest first
  std::deque<std::pair<int64_t, int>> taken_;  // when records were taken in the last day, with their events
  int64_t lastSample_ = 0;
  int64_t recordsSinceSample_ = 0;
  int64_t eventsSinceSample_ = 0;
  int64_t longestCycleMs_ = 0;
  int64_t recordsTotal_ = 0;
  int64_t eventsTotal_ = 0;
  int64_t lastCycle_ = 0;
  int64_t lastRecord_ = 0;
  std::string lastRecordName_;
  double lastLatency_ = -1.0;
  int lastCleanupDay_ = 0;
  BatteryReading battery_;
};

// Wires a watch into the document's seams.
void ConnectStationWatch(CZentrovaDoc& doc, StationWatch& watch);

}  // namespace zentrova
