#pragma once
// The data-quality figures of every channel, hour by hour, gathered from
// the records as they are taken in. A channel is a trace number of the
// record (1 for its first trace); an hour is the hour its data begin in.
//
// Time: a record's data run from its first-sample time for nSamples
// sample intervals (a record without a time of its own is taken to end
// when its file arrived). Between two records of a channel in time order, a
// space of more than 1.5 sample intervals is a gap and a lap of more than
// half an interval an overlap; both belong to the hour of the later
// record. Availability is the share of the hour the records cover (their
// union); for the hour under way, the share of the part of it that has
// passed since the channel's first record.

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "quality/trace_figures.h"

namespace zentrova {

class SeismicRecord;
struct RecordTimeHeader;

// One channel's figures for one hour.
struct HourFigures {
  int channel = 0;
  int64_t hour = 0;  // its start, seconds since 1970
  int64_t records = 0;
  int64_t samples = 0;
  double availability = 0.0;  // percent
  int gaps = 0;
  double gapSeconds = 0.0;
  int overlaps = 0;
  double overlapSeconds = 0.0;
  double latencyMax = 0.0;  // seconds from the end of a record's data to its file's arrival
  double latencyMean = 0.0;
  // From the samples, where they were read (amplitudeSamples > 0).
  int64_t amplitudeSamples = 0;
  double offset = 0.0;  // mean
  double rms = 0.0;     // about zero, offset included
  float peak = 0.0f;
  int64_t spikes = 0;
  bool dead = false;  // every sample of the hour had the same value
  int64_t clipped = 0;
  int64_t clippedRecords = 0;  // records with at least one clipped sample
};

// The arrival of one record: which file, when it arrived, whether its
// samples are in memory.
struct RecordArrival {
  int64_t arrivedAt = 0;  // seconds since 1970
  bool samplesRead = true;
};

class ChannelHours {
 public:
  // Takes in one record: its time span per trace and, when read, the figures of its samples.
  void Add(const SeismicRecord& record, const RecordArrival& arrival);

  // The figures of a channel's hour at `now` (the availability of an hour
  // under way counts the part of it that has passed).
  HourFigures Figures(int channel, int64_t hour, int64_t now) const;
  // The channels and hours held, in order.
  std::vector<std::pair<int, int64_t>> Held() const;
  // Hours that ended before `before`, not yet handed out: each once.
  std::vector<HourFigures> TakeFinished(int64_t before, int64_t now);
  // Channels seen.
  std::vector<int> Channels() const;

 private:
  struct Span {
    double start = 0.0;
    double end = 0.0;
    double interval = 0.0;  // seconds between samples
  };
  struct Bucket {
    std::vector<Span> spans;  // of the records that begin in the hour
    int64_t records = 0;
    int64_t samples = 0;
    double latencySum = 0.0;
    double latencyMax = 0.0;
    int64_t amplitudeSamples = 0;
    double sum = 0.0;
    double sumSquares = 0.0;
    float peak = 0.0f;
    float minimum = 0.0f;
    float maximum = 0.0f;
    int64_t spikes = 0;
    int64_t clipped = 0;
    int64_t clippedRecords = 0;
    bool handedOut = false;
  };
  using Key = std::pair<int, int64_t>;  // channel, hour
  const Bucket* Find(int channel, int64_t hour) const;
  std::map<Key, Bucket> buckets_;
  std::map<int, double> firstStart_;  // per channel, the first record's data start in this run
};

// When a record's first sample was taken, in seconds since 1970: the
// acquisition time with its milliseconds, moved by the delay.
double DataStart(const RecordTimeHeader& t);

// The start of the hour that holds t.
int64_t HourOf(double t);

}  // namespace zentrova
