#include "quality/alarm_rules.h"

#include <cmath>

#include "notify/battery_reading.h"
#include "platform/printf.h"

namespace zentrova {
namespace {

std::vector<std::pair<int64_t, double>> Series(const std::deque<StationSample>& samples, int64_t from,
                                               double StationSample::*field, double lowest) {
  std::vector<std::pair<int64_t, double>> points;
  for (const StationSample& s : samples) {
    if (s.time >= from && s.*field > lowest) points.push_back({s.time, s.*field});
  }
  return points;
}

void RecordRules(const AlarmSettings& a, const AlarmInputs& in, std::vector<StandingAlarm>& out) {
  if (in.monitoring && a.minutesWithoutRecord >= 0 && in.quietSince > 0 &&
      in.now - in.quietSince > static_cast<int64_t>(a.minutesWithoutRecord) * 60) {
    out.push_back({"no-record", AlarmLevel::kCritical, "no new record for " + SpanText(in.now - in.quietSince)});
  }
  if (a.latencySeconds > 0 && in.lastLatency > a.latencySeconds) {
    out.push_back({"latency", AlarmLevel::kWarning,
                   Printf("the last record arrived %.0f s after its data ended (more than %d s)", in.lastLatency,
                          a.latencySeconds)});
  }
}

void ChannelRules(const AlarmSettings& a, const AlarmInputs& in, std::vector<StandingAlarm>& out) {
  for (const auto& [channel, f] : in.lastFinishedHour) {
    const std::string c = std::to_string(channel);
    if (a.availabilityPercent > 0 && f.availability < a.availabilityPercent) {
      out.push_back({"availability:" + c, AlarmLevel::kWarning,
                     Printf("channel %d: availability %.1f %% in the last finished hour (below %d %%)", channel,
                            f.availability, a.availabilityPercent)});
    }
    if (f.amplitudeSamples > 0 && f.dead) {
      out.push_back({"dead:" + c, AlarmLevel::kCritical,
                     Printf("channel %d is dead: every sample of the last finished hour was %g", channel, f.offset)});
    }
    if (f.amplitudeSamples > 0 && f.records > 0 && f.clippedRecords == f.records) {
      out.push_back({"clipped:" + c, AlarmLevel::kWarning,
                     Printf("channel %d clipped in every record of the last finished hour", channel)});
    }
  }
}

void SampleRules(const AlarmSettings& a, const AlarmInputs& in, std::vector<StandingAlarm>& out) {
  if (!in.samples || in.samples->empty()) return;
  const StationSample& last = in.samples->back();
  double slope = 0.0;
  const auto volts = Series(*in.samples, in.now - 3600, &StationSample::batteryVolts, 0.0);
  if (a.batteryVoltsPerHour > 0 && volts.size() >= 2 && volts.back().first - volts.front().first >= 1200 &&
      SlopePerHour(volts, slope) && -slope > a.batteryVoltsPerHour) {
    out.push_back({"battery-falling", AlarmLevel::kWarning,
                   Printf("the battery is falling by %.2f V an hour (more than %.2f V), now %.1f V", -slope,
                          a.batteryVoltsPerHour, volts.back().second)});
  }
  const int64_t outboxLimit = static_cast<int64_t>(a.outboxMinutes) * 60;
  for (const auto& [kind, figures] : {std::pair<const char*, OutboxFigures>{"mail", last.mail}, {"form", last.form}}) {
    if (a.outboxMinutes > 0 && figures.waiting > 0 && figures.oldestSeconds > outboxLimit) {
      out.push_back({std::string("outbox:") + kind, AlarmLevel::kWarning,
                     Printf("%lld %s message%s waiting, the oldest for %s", static_cast<long long>(figures.waiting),
                            kind, figures.waiting == 1 ? "" : "s", SpanText(figures.oldestSeconds).c_str())});
    }
  }
  if (last.freePercent < 0) return;
  if (last.freePercent <= a.switchFreePercent) {
    out.push_back({"free-space", AlarmLevel::kCritical,
                   Printf("the destination drive has %.1f %% free, at or below the switch level of %.1f %%",
                          last.freePercent, a.switchFreePercent)});
    return;
  }
  const auto free = Series(*in.samples, in.now - 86400, &StationSample::freePercent, -1.0);
  if (a.freeSpaceHours > 0 && free.size() >= 2 && free.back().first - free.front().first >= 7200 &&
      SlopePerHour(free, slope) && slope < 0) {
    const double hours = (last.freePercent - a.switchFreePercent) / -slope;
    if (hours < a.freeSpaceHours) {
      out.push_back({"free-space", AlarmLevel::kWarning,
                     Printf("the destination drive reaches its switch level of %.1f %% free in about %.0f hours "
                            "(%.1f %% free, falling %.2f %% an hour)",
                            a.switchFreePercent, hours, last.freePercent, -slope)});
    }
  }
}

}  // namespace

bool SlopePerHour(const std::vector<std::pair<int64_t, double>>& points, double& slope) {
  if (points.size() < 2) return false;
  const double t0 = static_cast<double>(points.front().first);
  double st = 0, sv = 0, stt = 0, stv = 0;
  for (const auto& [t, v] : points) {
    const double h = (static_cast<double>(t) - t0) / 3600.0;
    st += h;
    sv += v;
    stt += h * h;
    stv += h * v;
  }
  const double n = static_cast<double>(points.size());
  const double spread = n * stt - st * st;
  if (!(spread > 1e-12)) return false;
  slope = (n * stv - st * sv) / spread;
  return std::isfinite(slope);
}

std::vector<StandingAlarm> StandingAlarms(const AlarmSettings& settings, const AlarmInputs& inputs) {
  std::vector<StandingAlarm> out;
  RecordRules(settings, inputs, out);
  ChannelRules(settings, inputs, out);
  SampleRules(settings, inputs, out);
  return out;
}

}  // namespace zentrova
