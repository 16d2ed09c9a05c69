#include "quality/channel_hours.h"

#include <algorithm>
#include <cmath>

#include "records/seismic_record.h"

namespace zentrova {
namespace {

constexpr int64_t kHour = 3600;
// Hours kept in memory behind the newest one handed out: a late record
// still finds its hour, and every hour its predecessor's last record.
constexpr int64_t kKeptHours = 3;

}  // namespace

double DataStart(const RecordTimeHeader& t) {
  return static_cast<double>(t.tFirstSample) + t.nAcquisitionMs / 1000.0 + t.nFirstSampleMs / 1000.0;
}

int64_t HourOf(double t) { return static_cast<int64_t>(std::floor(t / kHour)) * kHour; }

void ChannelHours::Add(const SeismicRecord& record, const RecordArrival& arrival) {
  const RecordTimeHeader& t = record.time;
  const int traces = std::min<int>(record.nTraces, static_cast<int>(record.pHeader.size()));
  for (int i = 0; i < traces; ++i) {
    const CHeader& h = record.pHeader[i];
    const double interval = h.fSampleInterval > 0.0f ? h.fSampleInterval / 1e6 : 0.0;
    const double length = interval * h.nSamples;
    const double start = t.bTimeValid == 1
                             ? DataStart(t)
                             : static_cast<double>(arrival.arrivedAt) - length;
    const double end = start + length;
    const int channel = i + 1;
    Bucket& b = buckets_[{channel, HourOf(start)}];
    b.handedOut = false;  // a late record opens its hour again: its line is written anew
    b.spans.push_back({start, end, interval});
    ++b.records;
    b.samples += h.nSamples;
    const double latency = std::max(0.0, static_cast<double>(arrival.arrivedAt) - end);
    b.latencySum += latency;
    b.latencyMax = std::max(b.latencyMax, latency);
    if (!firstStart_.count(channel)) firstStart_[channel] = start;
    firstStart_[channel] = std::min(firstStart_[channel], start);
    if (!arrival.samplesRead || i >= static_cast<int>(record.ppData.size())) continue;
    const std::vector<float>& x = record.ppData[i];
    const TraceFigures f = MeasureTrace(x.data(), std::min<size_t>(x.size(), static_cast<size_t>(std::max(0, h.nSamples))),
                                        h.nFormatCode);
    if (f.samples == 0) continue;
    if (b.amplitudeSamples == 0) {
      b.minimum = f.minimum;
      b.maximum = f.maximum;
    }
    b.amplitudeSamples += f.samples;
    b.sum += f.sum;
    b.sumSquares += f.sumSquares;
    b.peak = std::max(b.peak, f.peak);
    b.minimum = std::min(b.minimum, f.minimum);
    b.maximum = std::max(b.maximum, f.maximum);
    b.spikes += f.spikes;
    b.clipped += f.clipped;
    if (f.clipped > 0) ++b.clippedRecords;
  }
}

const ChannelHours::Bucket* ChannelHours::Find(int channel, int64_t hour) const {
  auto it = buckets_.find({channel, hour});
  return it == buckets_.end() ? nullptr : &it->second;
}

HourFigures ChannelHours::Figures(int channel, int64_t hour, int64_t now) const {
  HourFigures f;
  f.channel = channel;
  f.hour = hour;
  const Bucket* b = Find(channel, hour);
  if (!b) return f;
  f.records = b->records;
  f.samples = b->samples;
  f.latencyMax = b->latencyMax;
  f.latencyMean = b->records > 0 ? b->latencySum / static_cast<double>(b->records) : 0.0;
  f.amplitudeSamples = b->amplitudeSamples;
  if (b->amplitudeSamples > 0) {
    const double n = static_cast<double>(b->amplitudeSamples);
    f.offset = b->sum / n;
    f.rms = std::sqrt(std::max(0.0, b->sumSquares / n));
    f.peak = b->peak;
    f.spikes = b->spikes;
    f.dead = b->minimum == b->maximum;
    f.clipped = b->clipped;
    f.clippedRecords = b->clippedRecords;
  }
  // The records in time order, led by the last one of the hour before.
  std::vector<Span> spans = b->spans;
  std::sort(spans.begin(), spans.end(), [](const Span& a, const Span& c) { return a.start < c.start; });
  std::optional<Span> before;
  if (const Bucket* p = Find(channel, hour - kHour); p && !p->spans.empty()) {
    before = *std::max_element(p->spans.begin(), p->spans.end(),
                               [](const Span& a, const Span& c) { return a.start < c.start; });
  }
  double previousEnd = before ? before->end : NAN;
  for (const Span& s : spans) {
    if (!std::isnan(previousEnd)) {
      const double space = s.start - previousEnd;
      if (space > 1.5 * s.interval && space > 0.0) {
        ++f.gaps;
        f.gapSeconds += space;
      } else if (-space > 0.5 * s.interval && space < 0.0) {
        ++f.overlaps;
        f.overlapSeconds += std::min(previousEnd, s.end) - s.start;
      }
    }
    previousEnd = std::isnan(previousEnd) ? s.end : std::max(previousEnd, s.end);
  }
  // Covered: the union of the hour's records and of what the one before
  // reaches into it, within the hour.
  if (before) spans.insert(spans.begin(), *before);
  const double from = static_cast<double>(hour), to = static_cast<double>(hour + kHour);
  double covered = 0.0, reach = from;
  for (const Span& s : spans) {
    const double a = std::max({s.start, reach, from}), e = std::min(s.end, to);
    if (e > a) covered += e - a;
    reach = std::max(reach, std::min(s.end, to));
  }
  double expectedFrom = from;
  if (auto it = firstStart_.find(channel); it != firstStart_.end()) expectedFrom = std::max(from, it->second);
  const double expectedTo = std::min(to, std::max(static_cast<double>(now), expectedFrom));
  const bool under = static_cast<double>(now) < to;
  const double expected = under ? expectedTo - expectedFrom : to - from;
  f.availability = expected > 0.0 ? std::min(100.0, 100.0 * covered / expected) : (covered > 0.0 ? 100.0 : 0.0);
  return f;
}

std::vector<std::pair<int, int64_t>> ChannelHours::Held() const {
  std::vector<Key> keys;
  for (const auto& [key, bucket] : buckets_) keys.push_back(key);
  return keys;
}

std::vector<int> ChannelHours::Channels() const {
  std::vector<int> channels;
  for (const auto& [channel, start] : firstStart_) channels.push_back(channel);
  return channels;
}

std::vector<HourFigures> ChannelHours::TakeFinished(int64_t before, int64_t now) {
  std::vector<HourFigures> finished;
  for (auto& [key, bucket] : buckets_) {
    if (bucket.handedOut || key.second + kHour > before) continue;
    finished.push_back(Figures(key.first, key.second, now));
    bucket.handedOut = true;
  }
  // Old hours go once handed out; the newest kept hours stay for their successors.
  int64_t newest = 0;
  for (const auto& [key, bucket] : buckets_) newest = std::max(newest, key.second);
  for (auto it = buckets_.begin(); it != buckets_.end();) {
    if (it->second.handedOut && it->first.second < newest - kKeptHours * kHour) {
      it = buckets_.erase(it);
    } else {
      ++it;
    }
  }
  return finished;
}

}  // namespace zentrova
