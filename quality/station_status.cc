#include "quality/station_status.h"

#include <algorithm>

#include "platform/printf.h"
#include "quality/csv_fields.h"

namespace zentrova {
namespace {

constexpr const char* kFirstLine = "zentrova-status=1";

// Values are one line: a line end in a text would begin a new key.
std::string OneLine(std::string text) {
  for (char& c : text) {
    if (c == '\n' || c == '\r') c = ' ';
  }
  return text;
}

void Put(std::string& out, const char* key, const std::string& value) { out += std::string(key) + "=" + OneLine(value) + "\n"; }
void Put(std::string& out, const char* key, int64_t value) { Put(out, key, std::to_string(value)); }

}  // namespace

std::string StatusText(const StationStatus& s) {
  std::string out = std::string(kFirstLine) + "\n";
  Put(out, "written", s.written);
  Put(out, "cycle_gap_ms", s.cycleGapMs);
  Put(out, "last_cycle", s.lastCycle);
  Put(out, "last_record", s.lastRecord);
  Put(out, "last_record_name", s.lastRecordName);
  Put(out, "records_last_hour", s.recordsLastHour);
  Put(out, "records_last_day", s.recordsLastDay);
  Put(out, "events_last_hour", s.eventsLastHour);
  Put(out, "events_last_day", s.eventsLastDay);
  Put(out, "free_percent", Printf("%.3f", s.freePercent));
  Put(out, "battery_volts", Printf("%.2f", s.batteryVolts));
  Put(out, "battery_line", s.batteryLine);
  Put(out, "mail_waiting", s.mail.waiting);
  Put(out, "mail_oldest_s", s.mail.oldestSeconds);
  Put(out, "mail_last_delivered", s.mail.lastDelivered);
  Put(out, "mail_last_failed", s.mail.lastFailed);
  Put(out, "form_waiting", s.form.waiting);
  Put(out, "form_oldest_s", s.form.oldestSeconds);
  Put(out, "form_last_delivered", s.form.lastDelivered);
  Put(out, "form_last_failed", s.form.lastFailed);
  for (const auto& [channel, percent] : s.availability) Put(out, "channel", Printf("%d %.3f", channel, percent));
  for (const ActiveAlarm& a : s.alarms) {
    Put(out, "alarm", std::string(a.level == AlarmLevel::kCritical ? "critical " : "warning ") + a.text);
  }
  return out;
}

std::optional<StationStatus> ParseStatusText(const std::string& text) {
  if (text.rfind(std::string(kFirstLine) + "\n", 0) != 0) return std::nullopt;
  StationStatus s;
  size_t at = 0;
  while (at < text.size()) {
    size_t end = text.find('\n', at);
    if (end == std::string::npos) end = text.size();
    const std::string line = text.substr(at, end - at);
    at = end + 1;
    const size_t eq = line.find('=');
    if (eq == std::string::npos) continue;
    const std::string key = line.substr(0, eq), value = line.substr(eq + 1);
    int64_t whole = 0;
    double number = 0.0;
    const std::pair<const char*, int64_t*> wholes[] = {
        {"written", &s.written},           {"cycle_gap_ms", &s.cycleGapMs},
        {"last_cycle", &s.lastCycle},      {"last_record", &s.lastRecord},
        {"records_last_hour", &s.recordsLastHour}, {"records_last_day", &s.recordsLastDay},
        {"events_last_hour", &s.eventsLastHour},   {"events_last_day", &s.eventsLastDay},
        {"mail_waiting", &s.mail.waiting}, {"mail_oldest_s", &s.mail.oldestSeconds},
        {"mail_last_delivered", &s.mail.lastDelivered}, {"mail_last_failed", &s.mail.lastFailed},
        {"form_waiting", &s.form.waiting}, {"form_oldest_s", &s.form.oldestSeconds},
        {"form_last_delivered", &s.form.lastDelivered}, {"form_last_failed", &s.form.lastFailed}};
    bool taken = false;
    for (const auto& [name, field] : wholes) {
      if (key == name) {
        if (CsvWhole(value, whole)) *field = whole;
        taken = true;
      }
    }
    if (taken) continue;
    if (key == "last_record_name") {
      s.lastRecordName = value;
    } else if (key == "free_percent" && CsvNumber(value, number)) {
      s.freePercent = number;
    } else if (key == "battery_volts" && CsvNumber(value, number)) {
      s.batteryVolts = number;
    } else if (key == "battery_line") {
      s.batteryLine = value;
    } else if (key == "channel") {
      const size_t blank = value.find(' ');
      if (blank != std::string::npos && CsvWhole(value.substr(0, blank), whole) &&
          CsvNumber(value.substr(blank + 1), number) && whole > 0 && whole < 100000) {
        s.availability.push_back({static_cast<int>(whole), number});
      }
    } else if (key == "alarm") {
      const size_t blank = value.find(' ');
      const std::string level = value.substr(0, blank);
      if (blank != std::string::npos && (level == "critical" || level == "warning")) {
        s.alarms.push_back({level == "critical" ? AlarmLevel::kCritical : AlarmLevel::kWarning, value.substr(blank + 1)});
      }
    }
  }
  return s;
}

const char* VerdictName(StatusVerdict v) {
  switch (v) {
    case StatusVerdict::kOk: return "ok";
    case StatusVerdict::kWarning: return "warning";
    case StatusVerdict::kCritical: return "critical";
    default: return "unknown";
  }
}

int64_t StatusLifeSeconds(const StationStatus& s) { return std::max<int64_t>(3, (3 * s.cycleGapMs + 999) / 1000); }

StatusVerdict VerdictOf(const std::optional<StationStatus>& status, int64_t now) {
  if (!status || status->written <= 0) return StatusVerdict::kUnknown;
  if (now - status->written > StatusLifeSeconds(*status)) return StatusVerdict::kUnknown;
  StatusVerdict v = StatusVerdict::kOk;
  for (const ActiveAlarm& a : status->alarms) {
    v = std::max(v, a.level == AlarmLevel::kCritical ? StatusVerdict::kCritical : StatusVerdict::kWarning);
  }
  return v;
}

}  // namespace zentrova
