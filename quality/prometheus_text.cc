#include "quality/prometheus_text.h"

#include "platform/printf.h"

namespace zentrova {
namespace {

class Exposition {
 public:
  explicit Exposition(std::string site) : site_("site=\"" + PrometheusLabel(site) + "\"") {}
  void Metric(const char* name, const char* type, const char* help) {
    text_ += Printf("# HELP zentrova_%s %s\n# TYPE zentrova_%s %s\n", name, help, name, type);
  }
  void Value(const char* name, double value, const std::string& labels = "") {
    text_ +=
        Printf("zentrova_%s{%s%s%s} %.17g\n", name, site_.c_str(), labels.empty() ? "" : ",", labels.c_str(), value);
  }
  // A metric and its first value.
  void Single(const char* name, const char* type, const char* help, double value, const std::string& labels = "") {
    Metric(name, type, help);
    Value(name, value, labels);
  }
  const std::string& text() const { return text_; }

 private:
  std::string site_;
  std::string text_;
};

std::string Label(const char* key, const std::string& value) {
  return std::string(key) + "=\"" + PrometheusLabel(value) + "\"";
}

}  // namespace

std::string PrometheusLabel(const std::string& value) {
  std::string out;
  for (char c : value) {
    if (c == '\\')
      out += "\\\\";
    else if (c == '"')
      out += "\\\"";
    else if (c == '\n')
      out += "\\n";
    else
      out += c;
  }
  return out;
}

std::string PrometheusText(const PrometheusFigures& f) {
  const StationStatus& s = f.status;
  Exposition e(f.site);
  e.Single("status_timestamp_seconds", "gauge", "When the station last wrote its figures.",
           static_cast<double>(s.written));
  e.Single("last_cycle_timestamp_seconds", "gauge", "When the last monitor cycle ended.",
           static_cast<double>(s.lastCycle));
  e.Single("last_record_timestamp_seconds", "gauge", "When the last record was taken in (0: none in this run).",
           static_cast<double>(s.lastRecord));
  e.Single("records_last_hour", "gauge", "Records taken in during the last hour.",
           static_cast<double>(s.recordsLastHour));
  e.Single("events_last_hour", "gauge", "Events detected during the last hour.", static_cast<double>(s.eventsLastHour));
  e.Single("records_total", "counter", "Records taken in since the station started.",
           static_cast<double>(f.recordsTotal));
  e.Single("events_total", "counter", "Events detected since the station started.", static_cast<double>(f.eventsTotal));
  if (s.freePercent >= 0) {
    e.Single("destination_free_ratio", "gauge", "Free share of the destination drive.", s.freePercent / 100.0);
  }
  if (s.batteryVolts > 0) {
    e.Single("battery_volts", "gauge", "Battery voltage from the controller's survey file.", s.batteryVolts);
    e.Single("battery_reading_stale", "gauge", "1 when the survey file has not changed for over an hour.",
             f.sample.batteryStale ? 1.0 : 0.0);
  }
  e.Single("outbox_messages", "gauge", "Messages waiting in an outbox.", static_cast<double>(s.mail.waiting),
           Label("kind", "mail"));
  e.Value("outbox_messages", static_cast<double>(s.form.waiting), Label("kind", "form"));
  e.Single("outbox_oldest_age_seconds", "gauge", "Age of the oldest message waiting in an outbox.",
           static_cast<double>(s.mail.oldestSeconds), Label("kind", "mail"));
  e.Value("outbox_oldest_age_seconds", static_cast<double>(s.form.oldestSeconds), Label("kind", "form"));
  e.Single("outbox_last_delivery_timestamp_seconds", "gauge", "When an outbox last delivered (0: not in this run).",
           static_cast<double>(s.mail.lastDelivered), Label("kind", "mail"));
  e.Value("outbox_last_delivery_timestamp_seconds", static_cast<double>(s.form.lastDelivered), Label("kind", "form"));
  e.Single("outbox_last_failure_timestamp_seconds", "gauge", "When an outbox last failed (0: not in this run).",
           static_cast<double>(s.mail.lastFailed), Label("kind", "mail"));
  e.Value("outbox_last_failure_timestamp_seconds", static_cast<double>(s.form.lastFailed), Label("kind", "form"));
  if (f.sample.controllerRunning >= 0) {
    e.Single("controller_running", "gauge", "1 while the acquisition controller runs.", f.sample.controllerRunning);
  }
  e.Single("cycle_duration_seconds", "gauge", "The longest monitor cycle of the last minute.",
           static_cast<double>(f.sample.cycleMs) / 1000.0);
  e.Single("resident_memory_bytes", "gauge", "Resident memory of the station.",
           static_cast<double>(f.sample.memoryKB) * 1024.0);
  int warnings = 0, critical = 0;
  for (const ActiveAlarm& a : s.alarms) (a.level == AlarmLevel::kCritical ? critical : warnings)++;
  e.Single("alarms_active", "gauge", "Alarms standing, by level.", warnings, Label("level", "warning"));
  e.Value("alarms_active", critical, Label("level", "critical"));
  if (!f.channels.empty()) {
    e.Metric("channel_availability_ratio", "gauge", "Share of the hour under way that the channel's records cover.");
    for (const HourFigures& c : f.channels) {
      e.Value("channel_availability_ratio", c.availability / 100.0, Label("channel", std::to_string(c.channel)));
    }
    e.Metric("channel_records", "gauge", "Records of the channel in the hour under way.");
    for (const HourFigures& c : f.channels) {
      e.Value("channel_records", static_cast<double>(c.records), Label("channel", std::to_string(c.channel)));
    }
    e.Metric("channel_gaps", "gauge", "Gaps between the channel's records in the hour under way.");
    for (const HourFigures& c : f.channels) {
      e.Value("channel_gaps", c.gaps, Label("channel", std::to_string(c.channel)));
    }
    e.Metric("channel_latency_max_seconds", "gauge",
             "Longest time from a record's end to its file's arrival, this hour.");
    for (const HourFigures& c : f.channels) {
      e.Value("channel_latency_max_seconds", c.latencyMax, Label("channel", std::to_string(c.channel)));
    }
    e.Metric("channel_rms", "gauge", "RMS of the channel's samples in the hour under way (where read).");
    for (const HourFigures& c : f.channels) {
      if (c.amplitudeSamples > 0) e.Value("channel_rms", c.rms, Label("channel", std::to_string(c.channel)));
    }
    e.Metric("channel_spikes", "gauge", "Single-sample spikes of the channel in the hour under way.");
    for (const HourFigures& c : f.channels) {
      if (c.amplitudeSamples > 0)
        e.Value("channel_spikes", static_cast<double>(c.spikes), Label("channel", std::to_string(c.channel)));
    }
    e.Metric("channel_clipped_samples", "gauge", "Samples at the format's full scale in the hour under way.");
    for (const HourFigures& c : f.channels) {
      if (c.amplitudeSamples > 0) {
        e.Value("channel_clipped_samples", static_cast<double>(c.clipped), Label("channel", std::to_string(c.channel)));
      }
    }
  }
  return e.text();
}

}  // namespace zentrova
