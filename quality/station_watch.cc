#include "quality/station_watch.h"

#include <algorithm>
#include <cmath>

#include "platform/printf.h"
#include "platform/replace_contents.h"
#include "quality/channel_hour_line.h"
#include "quality/health_files.h"
#include "quality/prometheus_text.h"
#include "records/seismic_record.h"

namespace zentrova {
namespace {

constexpr int64_t kDay = 86400;

int Bounded(int value, int low, int high) { return std::max(low, std::min(value, high)); }

}  // namespace

StationWatch::StationWatch(CZentrovaDoc& doc, WatchChannels channels) : doc_(doc), ch_(std::move(channels)) {
  Settings& s = doc_.settings;
  int want = 1;
  s.LoadInt("bQualityFigures", want);
  wantSamples_ = want == 1;
  s.LoadInt("nQualityDays", days_);
  days_ = Bounded(days_, 1, 3660);
  s.LoadText("sPrometheusTextfileDir", prometheusFolder_);
  AlarmSettings& a = alarmSettings_;
  s.LoadInt("nAlarmAvailabilityPercent", a.availabilityPercent);
  s.LoadInt("nAlarmLatencySeconds", a.latencySeconds);
  s.LoadFloat("fAlarmBatteryVoltsPerHour", a.batteryVoltsPerHour);
  s.LoadInt("nAlarmOutboxMinutes", a.outboxMinutes);
  s.LoadInt("nAlarmFreeSpaceHours", a.freeSpaceHours);
  a.availabilityPercent = Bounded(a.availabilityPercent, 0, 100);
  a.latencySeconds = Bounded(a.latencySeconds, 0, 7 * 86400);
  a.outboxMinutes = Bounded(a.outboxMinutes, 0, 7 * 1440);
  a.freeSpaceHours = Bounded(a.freeSpaceHours, 0, 24 * 365);
  if (!(a.batteryVoltsPerHour >= 0.0 && a.batteryVoltsPerHour < 1000.0)) a.batteryVoltsPerHour = 0.5;
}

void StationWatch::Log(const std::string& line) {
  doc_.activityLog.Add(line);
  doc_.activityLog.AppendToLogFile(line);
}

void StationWatch::OnRecord(const TakenRecord& t) {
  if (!t.record) return;
  const int64_t now = doc_.platform.clock.Now();
  const int64_t arrived = t.arrivedAt > 0 ? t.arrivedAt : now;
  hours_.Add(*t.record, {arrived, t.samplesRead && wantSamples_});
  const int events = std::max(0, t.events);
  ++recordsSinceSample_;
  ++recordsTotal_;
  eventsSinceSample_ += events;
  eventsTotal_ += events;
  taken_.push_back({now, events});
  lastRecord_ = now;
  lastRecordName_ = t.name;
  // The latency of the record as a whole: from the end of its longest trace.
  const SeismicRecord& r = *t.record;
  double longest = 0.0;
  for (int i = 0; i < r.nTraces && i < static_cast<int>(r.pHeader.size()); ++i) {
    longest = std::max(longest, r.pHeader[i].nSamples * (r.pHeader[i].fSampleInterval / 1e6));
  }
  if (r.time.bTimeValid == 1) {
    const double end = DataStart(r.time) + longest;
    lastLatency_ = std::max(0.0, static_cast<double>(arrived) - end);
  } else {
    lastLatency_ = 0.0;
  }
}

void StationWatch::OnCycle(int, int64_t cycleMs) {
  const int64_t now = doc_.platform.clock.Now();
  lastCycle_ = now;
  longestCycleMs_ = std::max(longestCycleMs_, cycleMs);
  while (!taken_.empty() && taken_.front().first <= now - kDay) taken_.pop_front();
  if (lastSample_ == 0 || now - lastSample_ >= kSampleSeconds || now < lastSample_) {
    Sample(now);
    WriteFinishedHours(now);
  }
  CheckAlarms(now);
  WriteStatus(now);
}

void StationWatch::Sample(int64_t now) {
  StationSample s;
  s.time = now;
  s.seconds = lastSample_ == 0 || now < lastSample_ ? 0 : now - lastSample_;
  s.records = recordsSinceSample_;
  s.events = eventsSinceSample_;
  s.freePercent = ch_.freePercent ? ch_.freePercent() : -1.0;
  battery_ = ch_.battery ? ch_.battery() : BatteryReading{};
  s.batteryVolts = battery_.voltage > 0.0f ? static_cast<double>(battery_.voltage) : 0.0;
  s.batteryStale = BatteryReadingStale(battery_, now);
  if (ch_.mail) s.mail = ch_.mail();
  if (ch_.form) s.form = ch_.form();
  s.controllerRunning = ch_.controllerRunning ? ch_.controllerRunning() : -1;
  s.cycleMs = longestCycleMs_;
  s.memoryKB = ch_.memoryKB ? ch_.memoryKB() : 0;
  lastSample_ = now;
  recordsSinceSample_ = eventsSinceSample_ = longestCycleMs_ = 0;
  samples_.push_back(s);
  while (!samples_.empty() && samples_.front().time <= now - kDay) samples_.pop_front();
  FileSystem& fs = doc_.platform.fs;
  const std::string folder = HealthFolder(fs, doc_.settingsBlock.strDestinationFolder);
  AppendDayLines(fs, DayFile(fs, folder, "station", now), kStationSampleHeader, StationSampleLine(s));
  const int day = static_cast<int>(now / kDay);
  if (day != lastCleanupDay_) {
    lastCleanupDay_ = day;
    RemoveOldDays(fs, folder, now, days_);
  }
}

void StationWatch::WriteFinishedHours(int64_t now) {
  std::vector<HourFigures> finished = hours_.TakeFinished(now - kHourGraceSeconds, now);
  if (finished.empty()) return;
  FileSystem& fs = doc_.platform.fs;
  const std::string folder = HealthFolder(fs, doc_.settingsBlock.strDestinationFolder);
  // One write for each day file: the lines of an hour go together.
  std::map<std::string, std::string> byFile;
  for (const HourFigures& f : finished) {
    byFile[DayFile(fs, folder, "channels", f.hour)] += ChannelHourLine(f);
    auto& last = lastFinished_[f.channel];
    if (f.hour >= last.hour) last = f;
  }
  for (const auto& [path, lines] : byFile) AppendDayLines(fs, path, kChannelHourHeader, lines);
}

void StationWatch::CheckAlarms(int64_t now) {
  AlarmInputs in;
  in.now = now;
  in.monitoring = ch_.monitoring ? ch_.monitoring() : true;
  in.quietSince = std::max(lastRecord_, doc_.tMonitorStarted);  // the no-file warning moves tLastNewFile on
  in.lastFinishedHour = lastFinished_;
  in.lastLatency = lastLatency_;
  in.samples = &samples_;
  alarmSettings_.minutesWithoutRecord = doc_.settingsBlock.nMinNoFile;
  alarmSettings_.switchFreePercent = 100.0 * (1.0 - doc_.settingsBlock.dDiskSpaceRatio);
  for (const AlarmBook::Change& c : alarms_.Update(StandingAlarms(alarmSettings_, in))) {
    const std::string level = c.alarm.level == AlarmLevel::kCritical ? "critical" : "warning";
    const std::string line = c.raised ? "Alarm (" + level + "): " + c.alarm.text : "Alarm cleared: " + c.alarm.text;
    Log(line);
    // The no-record alarm is mailed by the no-file warning already.
    if (doc_.bSnedReport == 1 && c.alarm.key != "no-record") {
      doc_.SendReport(line, 0, {}, false, (c.raised ? "alarm, " : "cleared, ") + c.alarm.text);
    }
  }
}

StationStatus StationWatch::Status(int64_t now) const {
  StationStatus s;
  s.written = now;
  s.cycleGapMs = ch_.cycleGapMs ? ch_.cycleGapMs() : 8000;
  s.lastCycle = lastCycle_;
  s.lastRecord = lastRecord_;
  s.lastRecordName = lastRecordName_;
  for (const auto& [at, events] : taken_) {
    ++s.recordsLastDay;
    s.eventsLastDay += events;
    if (at > now - 3600) {
      ++s.recordsLastHour;
      s.eventsLastHour += events;
    }
  }
  if (!samples_.empty()) {
    const StationSample& last = samples_.back();
    s.freePercent = last.freePercent;
    s.batteryVolts = last.batteryVolts;
    s.mail = last.mail;
    s.form = last.form;
  }
  if (ch_.mail) s.mail = ch_.mail();
  if (ch_.form) s.form = ch_.form();
  s.batteryLine = BatteryLine(battery_, now);
  const int64_t hour = HourOf(static_cast<double>(now));
  for (int channel : hours_.Channels()) s.availability.push_back({channel, hours_.Figures(channel, hour, now).availability});
  s.alarms = alarms_.Active();
  return s;
}

void StationWatch::WriteStatus(int64_t now) {
  FileSystem& fs = doc_.platform.fs;
  const StationStatus status = Status(now);
  if (!ch_.statusPath.empty()) ReplaceContents(fs, ch_.statusPath, StatusText(status), 0600, false);
  if (prometheusFolder_.empty()) return;
  PrometheusFigures p;
  p.status = status;
  if (!samples_.empty()) p.sample = samples_.back();
  const int64_t hour = HourOf(static_cast<double>(now));
  for (int channel : hours_.Channels()) p.channels.push_back(hours_.Figures(channel, hour, now));
  p.recordsTotal = recordsTotal_;
  p.eventsTotal = eventsTotal_;
  p.site = doc_.settingsBlock.sMyName;
  // Readable by the exporter, which runs as a user of its own.
  ReplaceContents(fs, JoinPath(fs, prometheusFolder_, kPrometheusFileName), PrometheusText(p), 0644, false);
}

void ConnectStationWatch(CZentrovaDoc& doc, StationWatch& watch) {
  doc.services.wantSamples = [&watch] { return watch.WantsSamples(); };
  doc.services.recordTaken = [&watch](const TakenRecord& t) { watch.OnRecord(t); };
  doc.services.cycleEnded = [&watch](int found, int64_t ms) { watch.OnCycle(found, ms); };
}

}  // namespace zentrova
