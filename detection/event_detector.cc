#include "detection/event_detector.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "detection/event_onset.h"
#include "platform/local_time.h"
#include "platform/printf.h"

namespace zentrova {
namespace {

// Window length in samples: ms x 1000 / dt, truncated; 0 for a sample
// interval or window that gives no usable length.
int64_t WindowSamples(float ms, float dtUs, int64_t ns) {
  const double v = static_cast<double>(ms) * 1000.0 / static_cast<double>(dtUs);
  if (!(v > 0.0)) return 0;
  return v >= static_cast<double>(ns) + 1.0 ? ns + 1 : static_cast<int64_t>(v);
}

// The trigger rule, RMS2 / RMS1 > ratio with RMS1 > 0, decided without
// square roots and division where it can be: S2 against A S1, with
// A = ratio^2 L2 / L1, settles every case away from the threshold; within a
// relative 1e-9 of it the rule itself is evaluated, so the result is the
// rule's own.
class TriggerRule {
 public:
  TriggerRule(double ratio, double l1, double l2) : ratio_(ratio), l1_(l1), l2_(l2) {
    usable_ = ratio >= 0.0 && l1 > 0.0 && l2 > 0.0;
    const double a = usable_ ? ratio * ratio * l2 / l1 : 0.0;
    hi_ = a * (1.0 + 1e-9);
    lo_ = usable_ ? a * (1.0 - 1e-9) : -std::numeric_limits<double>::infinity();
  }
  bool operator()(double s1, double s2) const {
    // Well below the threshold: the usual case, one comparison. (For s1 <= 0
    // or s2 < 0 the rule gives no trigger either.)
    if (s2 < lo_ * s1) return false;
    if (!(s1 > 0.0)) return false;  // RMS1 = 0, or a sum that rounding took below 0
    if (usable_ && s2 > hi_ * s1) return true;
    const double rms1 = std::sqrt(s1 / l1_);
    const double rms2 = std::sqrt(s2 / l2_);
    return rms1 > 0.0 && rms2 / rms1 > ratio_;
  }

 private:
  double ratio_, l1_, l2_, hi_ = 0.0, lo_ = 0.0;
  bool usable_ = false;
};

struct Channel {
  int trace;
  const float* x;
  double s1 = 0.0;
  double s2 = 0.0;
};

// Seconds from the first sample, as the event file gives them.
float SampleTime(double dtUs, int64_t k) { return static_cast<float>(dtUs * static_cast<double>(k) / 1000000.0); }

double Square(float v) { return static_cast<double>(v) * static_cast<double>(v); }

// The event's onset: the earliest among the channels that triggered at k
// (`row` marks them); k itself when none did (AND with no channel needed).
int64_t EarliestOnset(const std::vector<Channel>& channels, const uint8_t* row, int64_t k, int64_t L1, int64_t L2,
                      double ratio) {
  int64_t onset = -1;
  for (size_t i = 0; i < channels.size(); ++i) {
    if (!row[i]) continue;
    const int64_t o = ChannelOnset(channels[i].x, k, L1, L2, ratio);
    if (onset < 0 || o < onset) onset = o;
  }
  return onset < 0 ? k : onset;
}

}  // namespace

DetectorWindows ComputeWindows(const EventDetectionParameters& p, const SeismicRecord& record) {
  DetectorWindows w;
  if (record.nTraces <= 0 || record.pHeader.empty()) return w;
  const CHeader& h = record.pHeader[0];
  w.ns = std::min<int64_t>(std::max(h.nSamples, 0), static_cast<int64_t>(record.ppData[0].size()));
  if (!(h.fSampleInterval > 0.0f) || !std::isfinite(h.fSampleInterval)) return w;
  w.L1 = WindowSamples(p.fTimeWindow1, h.fSampleInterval, w.ns);
  w.L2 = WindowSamples(p.fTimeWindow2, h.fSampleInterval, w.ns);
  return w;
}

int DetectEvents(EventDetectionParameters& p, const SeismicRecord& record, FileSystem& fs,
                 const std::string& eventFile, int64_t now) {
  const DetectorWindows w = ComputeWindows(p, record);
  const int64_t L1 = w.L1, L2 = w.L2, ns = w.ns;
  const int traces = std::min<int>(record.nTraces, static_cast<int>(record.ppData.size()));

  std::string text = Printf("%d %lld : %lld %lld\r\n", record.nTraces, static_cast<long long>(ns),
                            static_cast<long long>(L1), static_cast<long long>(ns - L2));
  for (int i = 0; i < p.nChannels; ++i) {
    const int c = p.nChannelList[i];
    double mid = 0.0;
    if (c >= 0 && c < traces && static_cast<int64_t>(record.ppData[c].size()) > ns / 2) mid = record.ppData[c][ns / 2];
    text += Printf("%d %d %f\r\n", i, c, mid);
  }

  p.nEvents = 0;
  p.fEventTime.clear();
  p.nEventChannels.clear();
  p.fEventOnset.clear();
  std::fill(p.nTraceTriggers.begin(), p.nTraceTriggers.end(), 0);
  for (auto& times : p.fTraceTriggerTime) times.clear();

  // The channels evaluated: each trace of the record named by the list,
  // once, in trace order, that holds the first trace's samples.
  std::vector<char> listed(static_cast<size_t>(std::max(traces, 0)), 0);
  for (int i = 0; i < p.nChannels; ++i) {
    const int c = p.nChannelList[i];
    if (c >= 0 && c < traces) listed[c] = 1;
  }
  std::vector<Channel> channels;
  for (int t = 0; t < traces; ++t) {
    if (listed[t] && static_cast<int64_t>(record.ppData[t].size()) >= ns) channels.push_back({t, record.ppData[t].data()});
  }

  const double dt = record.pHeader.empty() ? 0.0 : record.pHeader[0].fSampleInterval;
  const float merge = std::max(p.fTimeWindow1, p.fTimeWindow2) / 1000.0f;
  const TriggerRule triggers(p.fRmsRatio, static_cast<double>(L1), static_cast<double>(L2));
  const bool windows = L1 > 0 && L2 > 0;
  const int64_t end = ns - L2;
  if (L1 < end) {
    // The sums at the first tested sample, from scratch.
    for (Channel& c : channels) {
      for (int64_t j = 0; j < L1; ++j) c.s1 += Square(c.x[j]);
      for (int64_t j = L1; j < L1 + L2; ++j) c.s2 += Square(c.x[j]);
    }
  }
  // Samples are taken in blocks: each group of eight channels runs through a
  // block (eight independent pairs of sums, read front to back), marking its
  // triggers; then the block is combined sample by sample in time order, as
  // if every sample had been tested across all channels before the next.
  constexpr int64_t kBlock = 256;
  constexpr size_t kGroup = 8;
  const size_t nch = channels.size();
  std::vector<uint8_t> flags(static_cast<size_t>(kBlock) * std::max<size_t>(nch, 1));
  std::vector<int> triggered(static_cast<size_t>(kBlock));
  float tLast = 0.0f;
  bool full = false;
  for (int64_t k0 = L1; k0 < end && !full; k0 += kBlock) {
    const int64_t k1 = std::min(end, k0 + kBlock);
    std::fill(triggered.begin(), triggered.end(), 0);
    for (size_t g = 0; g < nch; g += kGroup) {
      const size_t gEnd = std::min(nch, g + kGroup);
      for (int64_t k = k0; k < k1; ++k) {
        uint8_t* row = flags.data() + static_cast<size_t>(k - k0) * nch;
        const bool slide = k > L1;
        int hits = 0;
        for (size_t i = g; i < gEnd; ++i) {
          Channel& c = channels[i];
          if (slide) {  // each window loses its oldest sample and gains a new one
            const double leaving = Square(c.x[k - L1 - 1]);
            const double crossing = Square(c.x[k - 1]);
            const double arriving = Square(c.x[k + L2 - 1]);
            c.s1 = c.s1 - leaving + crossing;
            c.s2 = c.s2 - crossing + arriving;
          }
          const uint8_t hit = windows && triggers(c.s1, c.s2) ? 1 : 0;  // without both windows nothing triggers
          row[i] = hit;
          hits += hit;
        }
        triggered[static_cast<size_t>(k - k0)] += hits;
      }
    }
    for (int64_t k = k0; k < k1; ++k) {
      const int m = triggered[static_cast<size_t>(k - k0)];
      const float t = SampleTime(dt, k);
      const uint8_t* row = flags.data() + static_cast<size_t>(k - k0) * nch;
      if (m > 0) {
        for (size_t i = 0; i < nch; ++i) {
          if (!row[i] || channels[i].trace >= p.nMaxChannels) continue;
          int& count = p.nTraceTriggers[channels[i].trace];
          if (count < EventDetectionParameters::kMaxTriggerTimes) p.fTraceTriggerTime[channels[i].trace].push_back(t);
          ++count;
        }
      }
      const bool candidate = p.nMethod == 1 ? m >= p.nMinimumChannels : m > 0;
      if (!candidate) continue;
      if (p.nEvents == 0 || t - tLast > merge) {
        p.fEventTime.push_back(t);
        p.nEventChannels.push_back(m);
        // Sought for the events only: the scan itself does not change.
        const int64_t onset = m > 0 ? EarliestOnset(channels, row, k, L1, L2, p.fRmsRatio) : k;
        p.fEventOnset.push_back(SampleTime(dt, onset));
        ++p.nEvents;
        tLast = t;
        if (p.nEvents >= EventDetectionParameters::kMaxEvents) {
          full = true;  // the scan ends here
          break;
        }
      }
    }
  }
  if (p.bDetectEnd == 1) {
    for (float& t : p.fEventTime) t += p.fTimeWindow1 / 1000.0f;
  }

  if (eventFile.empty()) return p.nEvents;
  const CivilTime c = SecondsToLocal(now).value_or(CivilTime{});
  const std::string date = Printf("%d/%.2d/%.2d", c.year, c.month, c.day);
  const std::string clock = Printf(" %.2d:%.2d:%.2d", c.hour, c.minute, c.second);
  for (int e = 0; e < p.nEvents; ++e) {
    text += Printf("Event: %s %s %s %d %f\r\n", record.strFileName.c_str(), date.c_str(), clock.c_str(),
                   p.nEventChannels[e], static_cast<double>(p.fEventTime[e]));
  }
  WriteWholeFile(fs, eventFile, text);  // a file that cannot be written loses its lines only
  return p.nEvents;
}

}  // namespace zentrova
