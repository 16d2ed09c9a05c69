#include "station/status_command.h"

#include <fstream>
#include <optional>
#include <sstream>

#include "platform/json_text.h"
#include "platform/local_time.h"
#include "platform/printf.h"
#include "quality/station_status.h"

namespace zentrova {
namespace {

// At most this much of a status file is read: it is small.
constexpr std::streamsize kLargestStatus = 1 << 20;

std::optional<std::string> ReadStatusFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::string text(static_cast<size_t>(kLargestStatus), '\0');
  in.read(text.data(), kLargestStatus);
  text.resize(static_cast<size_t>(in.gcount()));
  return text;
}

std::string Moment(int64_t t, int64_t now) {
  if (t <= 0) return "never";
  const auto c = SecondsToLocal(t);
  std::string text = c ? Printf("%d-%.2d-%.2d %.2d:%.2d:%.2d", c->year, c->month, c->day, c->hour, c->minute, c->second)
                       : std::to_string(t);
  const int64_t ago = now - t;
  if (ago >= 0) text += Printf(" (%lld s ago)", static_cast<long long>(ago));
  return text;
}

std::string JsonTime(int64_t t) { return t > 0 ? std::to_string(t) : "null"; }

void PrintJson(const std::optional<StationStatus>& s, StatusVerdict v, const std::string& why, std::ostream& out) {
  out << "{\"state\": " << JsonText(VerdictName(v));
  if (!why.empty()) out << ", \"reason\": " << JsonText(why);
  if (!s) {
    out << ", \"last_cycle\": null, \"last_record\": null, \"records_last_hour\": null, \"events_last_hour\": null, "
           "\"free_percent\": null, \"battery_volts\": null, \"outbox\": {\"mail\": null, \"form\": null}, "
           "\"alarms\": []}\n";
    return;
  }
  out << ", \"written\": " << JsonTime(s->written) << ", \"last_cycle\": " << JsonTime(s->lastCycle)
      << ", \"last_record\": " << JsonTime(s->lastRecord) << ", \"last_record_name\": " << JsonText(s->lastRecordName)
      << ", \"records_last_hour\": " << s->recordsLastHour << ", \"records_last_day\": " << s->recordsLastDay
      << ", \"events_last_hour\": " << s->eventsLastHour << ", \"events_last_day\": " << s->eventsLastDay
      << ", \"free_percent\": " << (s->freePercent >= 0 ? Printf("%.3f", s->freePercent) : "null")
      << ", \"battery_volts\": " << (s->batteryVolts > 0 ? Printf("%.2f", s->batteryVolts) : "null")
      << ", \"battery\": " << JsonText(s->batteryLine) << ", \"outbox\": {\"mail\": " << s->mail.waiting
      << ", \"form\": " << s->form.waiting << ", \"mail_oldest_s\": " << s->mail.oldestSeconds
      << ", \"form_oldest_s\": " << s->form.oldestSeconds << "}, \"availability\": {";
  for (size_t i = 0; i < s->availability.size(); ++i) {
    out << (i ? ", " : "") << JsonText(std::to_string(s->availability[i].first)) << ": "
        << Printf("%.3f", s->availability[i].second);
  }
  out << "}, \"alarms\": [";
  for (size_t i = 0; i < s->alarms.size(); ++i) out << (i ? ", " : "") << JsonText(s->alarms[i].text);
  out << "], \"alarm_levels\": [";
  for (size_t i = 0; i < s->alarms.size(); ++i) {
    out << (i ? ", " : "") << JsonText(s->alarms[i].level == AlarmLevel::kCritical ? "critical" : "warning");
  }
  out << "]}\n";
}

void PrintSummary(const std::optional<StationStatus>& s, StatusVerdict v, const std::string& why, int64_t now,
                  std::ostream& out) {
  std::string state = VerdictName(v);
  for (char& c : state) c = static_cast<char>(c - 'a' + 'A');
  out << "Zentrova station: " << state << (why.empty() ? "" : " - " + why) << "\n";
  if (!s) return;
  out << "Status written:  " << Moment(s->written, now) << "\n";
  out << "Last cycle:      " << Moment(s->lastCycle, now) << "\n";
  out << "Last record:     " << (s->lastRecord > 0 ? s->lastRecordName + " at " + Moment(s->lastRecord, now)
                                                   : std::string("none since the station started"))
      << "\n";
  out << Printf("Records:         %lld in the last hour, %lld in the last day\n",
                static_cast<long long>(s->recordsLastHour), static_cast<long long>(s->recordsLastDay));
  out << Printf("Events:          %lld in the last hour, %lld in the last day\n",
                static_cast<long long>(s->eventsLastHour), static_cast<long long>(s->eventsLastDay));
  out << "Availability:    ";
  if (s->availability.empty()) out << "no channel seen yet";
  for (size_t i = 0; i < s->availability.size(); ++i) {
    out << (i ? ", " : "") << Printf("ch %d %.1f %%", s->availability[i].first, s->availability[i].second);
  }
  out << (s->availability.empty() ? "" : " (the hour under way)") << "\n";
  out << "Free space:      "
      << (s->freePercent >= 0 ? Printf("%.1f %% of the destination drive", s->freePercent) : std::string("unknown"))
      << "\n";
  out << "Battery:         " << s->batteryLine << "\n";
  out << Printf("Outbox:          %lld mail waiting (oldest %lld s), %lld form posts waiting (oldest %lld s)\n",
                static_cast<long long>(s->mail.waiting), static_cast<long long>(s->mail.oldestSeconds),
                static_cast<long long>(s->form.waiting), static_cast<long long>(s->form.oldestSeconds));
  out << "Alarms:          " << (s->alarms.empty() ? "none" : "") << "\n";
  for (const ActiveAlarm& a : s->alarms) {
    out << "  " << (a.level == AlarmLevel::kCritical ? "critical: " : "warning:  ") << a.text << "\n";
  }
}

}  // namespace

int PrintStationStatus(const std::string& folder, bool json, int64_t now, std::ostream& out) {
  const std::string path = folder + "/" + kStatusFileName;
  const std::optional<std::string> text = ReadStatusFile(path);
  std::optional<StationStatus> status = text ? ParseStatusText(*text) : std::nullopt;
  const StatusVerdict verdict = VerdictOf(status, now);
  std::string why;
  if (!text) {
    why = "no status file " + path + ": the station is not running, or has not run a monitor cycle";
  } else if (!status) {
    why = path + " is not a status file";
  } else if (verdict == StatusVerdict::kUnknown) {
    why = Printf("the status is %lld s old, more than three monitor intervals (%lld s): the station is not running, "
                 "or its monitoring is off",
                 static_cast<long long>(now - status->written), static_cast<long long>(StatusLifeSeconds(*status)));
  } else if (!status->alarms.empty()) {
    why = std::to_string(status->alarms.size()) + (status->alarms.size() == 1 ? " alarm" : " alarms");
  }
  if (json) {
    PrintJson(status, verdict, verdict == StatusVerdict::kOk ? "" : why, out);
  } else {
    PrintSummary(status, verdict, why, now, out);
  }
  return static_cast<int>(verdict);
}

}  // namespace zentrova
