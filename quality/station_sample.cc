#include "quality/station_sample.h"

#include <cstdio>

#include "quality/csv_fields.h"
#include "platform/printf.h"

namespace zentrova {

const char* const kStationSampleHeader =
    "time,seconds,records,events,free_percent,battery_volts,battery_stale,mail_waiting,mail_oldest_s,"
    "mail_last_delivered,mail_last_failed,form_waiting,form_oldest_s,form_last_delivered,form_last_failed,"
    "controller_running,cycle_ms,memory_kb\n";

std::string StationSampleLine(const StationSample& s) {
  auto whole = [](int64_t v) { return std::to_string(v); };
  std::vector<std::string> f = {whole(s.time),
                                whole(s.seconds),
                                whole(s.records),
                                whole(s.events),
                                s.freePercent < 0 ? "" : Printf("%.3f", s.freePercent),
                                s.batteryVolts <= 0 ? "" : Printf("%.2f", s.batteryVolts),
                                s.batteryStale ? "1" : "0",
                                whole(s.mail.waiting),
                                whole(s.mail.oldestSeconds),
                                whole(s.mail.lastDelivered),
                                whole(s.mail.lastFailed),
                                whole(s.form.waiting),
                                whole(s.form.oldestSeconds),
                                whole(s.form.lastDelivered),
                                whole(s.form.lastFailed),
                                s.controllerRunning < 0 ? "" : whole(s.controllerRunning),
                                whole(s.cycleMs),
                                whole(s.memoryKB)};
  return JoinCsv(f);
}

std::optional<StationSample> ParseStationSampleLine(const std::string& line) {
  const std::vector<std::string> f = SplitCsv(line);
  if (f.size() != 18) return std::nullopt;
  StationSample s;
  int64_t stale = 0;
  if (!CsvWhole(f[0], s.time) || !CsvWhole(f[1], s.seconds) || !CsvWhole(f[2], s.records) ||
      !CsvWhole(f[3], s.events) || !CsvWhole(f[6], stale) || !CsvWhole(f[7], s.mail.waiting) ||
      !CsvWhole(f[8], s.mail.oldestSeconds) || !CsvWhole(f[9], s.mail.lastDelivered) ||
      !CsvWhole(f[10], s.mail.lastFailed) || !CsvWhole(f[11], s.form.waiting) ||
      !CsvWhole(f[12], s.form.oldestSeconds) || !CsvWhole(f[13], s.form.lastDelivered) ||
      !CsvWhole(f[14], s.form.lastFailed) || !CsvWhole(f[16], s.cycleMs) || !CsvWhole(f[17], s.memoryKB)) {
    return std::nullopt;
  }
  s.batteryStale = stale == 1;
  if (!f[4].empty() && !CsvNumber(f[4], s.freePercent)) return std::nullopt;
  if (!f[5].empty() && !CsvNumber(f[5], s.batteryVolts)) return std::nullopt;
  int64_t running = -1;
  if (!f[15].empty() && !CsvWhole(f[15], running)) return std::nullopt;
  s.controllerRunning = static_cast<int>(running);
  return s;
}

}  // namespace zentrova
