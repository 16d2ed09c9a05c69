#include "quality/channel_hour_line.h"

#include <vector>

#include "platform/printf.h"
#include "quality/csv_fields.h"

namespace zentrova {

const char* const kChannelHourHeader =
    "hour,channel,records,samples,availability_percent,gaps,gap_s,overlaps,overlap_s,latency_max_s,"
    "latency_mean_s,offset,rms,peak,spikes,dead,clipped,clipped_records\n";

std::string ChannelHourLine(const HourFigures& f) {
  const bool a = f.amplitudeSamples > 0;
  auto whole = [](int64_t v) { return std::to_string(v); };
  return JoinCsv({whole(f.hour), whole(f.channel), whole(f.records), whole(f.samples),
                  Printf("%.3f", f.availability), whole(f.gaps), Printf("%.3f", f.gapSeconds), whole(f.overlaps),
                  Printf("%.3f", f.overlapSeconds), Printf("%.3f", f.latencyMax), Printf("%.3f", f.latencyMean),
                  a ? Printf("%.6g", f.offset) : "", a ? Printf("%.6g", f.rms) : "",
                  a ? Printf("%.6g", static_cast<double>(f.peak)) : "", a ? whole(f.spikes) : "",
                  a ? (f.dead ? "1" : "0") : "", a ? whole(f.clipped) : "", a ? whole(f.clippedRecords) : ""});
}

std::optional<HourFigures> ParseChannelHourLine(const std::string& line) {
  const std::vector<std::string> v = SplitCsv(line);
  if (v.size() != 18) return std::nullopt;
  HourFigures f;
  int64_t channel = 0, gaps = 0, overlaps = 0;
  if (!CsvWhole(v[0], f.hour) || !CsvWhole(v[1], channel) || !CsvWhole(v[2], f.records) ||
      !CsvWhole(v[3], f.samples) || !CsvNumber(v[4], f.availability) || !CsvWhole(v[5], gaps) ||
      !CsvNumber(v[6], f.gapSeconds) || !CsvWhole(v[7], overlaps) || !CsvNumber(v[8], f.overlapSeconds) ||
      !CsvNumber(v[9], f.latencyMax) || !CsvNumber(v[10], f.latencyMean)) {
    return std::nullopt;
  }
  if (channel < 1 || channel > 100000) return std::nullopt;
  f.channel = static_cast<int>(channel);
  f.gaps = static_cast<int>(gaps);
  f.overlaps = static_cast<int>(overlaps);
  if (v[11].empty()) return f;
  double peak = 0.0;
  int64_t dead = 0;
  if (!CsvNumber(v[11], f.offset) || !CsvNumber(v[12], f.rms) || !CsvNumber(v[13], peak) ||
      !CsvWhole(v[14], f.spikes) || !CsvWhole(v[15], dead) || !CsvWhole(v[16], f.clipped) ||
      !CsvWhole(v[17], f.clippedRecords)) {
    return std::nullopt;
  }
  f.peak = static_cast<float>(peak);
  f.dead = dead == 1;
  f.amplitudeSamples = f.samples;
  return f;
}

}  // namespace zentrova
