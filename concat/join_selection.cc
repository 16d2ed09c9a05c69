#include "concat/join_selection.h"

#include <algorithm>
#include <cmath>

#include "concat/first_sample_time.h"
#include "platform/printf.h"
#include "platform/prompt.h"
#include "records/seg2_append.h"

namespace zentrova {

RecordFacts ReadRecordFacts(FileSystem& fs, const std::string& path, int maxSamples) {
  SilentPrompt silent;
  std::vector<CHeaderXY> headers;
  RecordTimeHeader time;
  RecordFacts r;
  r.traces = AppendSeg2Headers(fs, silent, path, maxSamples, 0, 1, headers, time);
  if (r.traces > 0) {
    r.fSampleInterval = headers[0].fSampleInterval;
    for (int i = 0; i < r.traces; ++i) r.nSamples = std::max(r.nSamples, headers[i].nSamples);
  }
  r.dated = time.bTimeValid == 1;
  r.timeMs = FirstSampleMs(time, headers);
  return r;
}

std::optional<std::string> WhyNotJoinable(const RecordFacts& r, const RecordFacts* first) {
  if (r.traces < 0) return "cannot be opened";
  if (r.traces == 0) return "no trace can be read";
  if (!r.dated) return "no record time, so it cannot be placed in time";
  if (r.fSampleInterval <= 0.0f) return "no sample interval";
  if (!first) return std::nullopt;
  if (r.traces != first->traces) return Printf("%d traces, the first record has %d", r.traces, first->traces);
  const double a = r.fSampleInterval, b = first->fSampleInterval;
  if (std::fabs(a - b) > 1e-4 * b) return Printf("sample interval %g us, the first record has %g us", a, b);
  return std::nullopt;
}

JoinRuns SplitAtTimeGaps(const std::vector<RecordFacts>& records, int L, int n) {
  JoinRuns out;
  if (records.empty()) return out;
  const double intervalMs = records.front().fSampleInterval / 1000.0;
  // A record half a record length or more from its place is not where the
  // joined record has come to: a lost record puts the next one exactly one
  // record length late, a repeated time one record length early. Clock
  // jitter and millisecond stamps stay far below. Records that hold an
  // overlap of n samples may start up to n samples further on.
  const double early = 0.5 * L * intervalMs;
  const double late = (0.5 * L + n) * intervalMs;
  size_t start = 0;
  int64_t offset = 0;
  int maxH = 0;
  for (size_t k = 0; k < records.size(); ++k) {
    if (k > start) {
      const double placeMs = static_cast<double>(records[start].timeMs) + static_cast<double>(offset) * intervalMs;
      const double off = static_cast<double>(records[k].timeMs) - placeMs;
      if (off <= -early || off >= late) {
        out.runs.emplace_back(start, k - 1);
        out.gaps.push_back({k, off / 1000.0});
        start = k;
        offset = 0;
        maxH = 0;
      }
    }
    maxH = std::max(maxH, std::min(records[k].nSamples, L));
    offset += maxH;
  }
  out.runs.emplace_back(start, records.size() - 1);
  return out;
}

}  // namespace zentrova
