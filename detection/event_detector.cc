#include "detection/event_detector.h"

#include <algorithm>
#include <cmath>
#include <deque>
#include <limits>
#include <vector>

#include "detection/butterworth.h"
#include "detection/event_onset.h"
#include "detection/finite_samples.h"
#include "detection/event_rules.h"
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

// Whole samples that last at least `seconds` (0 for none), at most ns + 1.
int64_t SamplesLasting(float seconds, double dtUs, int64_t ns) {
  if (!(seconds > 0.0f) || !(dtUs > 0.0)) return 0;
  const double v = std::ceil(static_cast<double>(seconds) * 1e6 / dtUs - 1e-9);
  return v >= static_cast<double>(ns) + 1.0 ? ns + 1 : std::max<int64_t>(0, static_cast<int64_t>(v));
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

// Two doubles side by side, W1's and W2's: one instruction of the
// processor works on both.
using Pair = double __attribute__((vector_size(16)));

struct Channel {
  int trace;
  const float* x;
  Pair sums = {0.0, 0.0};  // S1, S2
  // The sums' values added up since each was last summed afresh (at most):
  // the rounding of a running sum is a few units in the last place of that
  // much, however small the sum itself has become.
  Pair spent = {0.0, 0.0};
  // The least and the largest sums of the block being scanned.
  Pair least = {0.0, 0.0};
  Pair largest = {0.0, 0.0};
  uint8_t was = 0;  // triggered at the sample before
};

// Exact: a float's square fits a double.
double Square(float v) { return static_cast<double>(v) * static_cast<double>(v); }


double SumOfSquares(const float* x, int64_t n) {
  double s = 0.0;
  for (int64_t j = 0; j < n; ++j) s += Square(x[j]);
  return s;
}

// A running sum is summed afresh from its window once it is below this
// share of what it has spent: its rounding is then still below 2^-21 of it,
// a few units in the last place of a float sample, as the plain running
// sums of a long record with loud quakes in it have always had. A huge
// sample leaving the window (or a loud stretch leaving it bit by bit) would
// otherwise leave a remainder of rounding that swamps the quiet samples
// after it, for as long as the record lasts. Steady noise reaches the share
// only after 10^9 samples; a sum of zeros never does.
constexpr double kLostShare = 1.0 / (1 << 30);

void KeepPrecision(Channel& c, int64_t k, int64_t L1, int64_t L2) {
  if (c.sums[0] < c.spent[0] * kLostShare) {
    c.sums[0] = SumOfSquares(c.x + (k - L1), L1);
    c.spent[0] = c.sums[0];
  }
  if (c.sums[1] < c.spent[1] * kLostShare) {
    c.sums[1] = SumOfSquares(c.x + k, L2);
    c.spent[1] = c.sums[1];
  }
}

// Finite copies of traces; they stay where they are while the scan and
// the onsets read them.
using FiniteCopies = std::deque<std::vector<float>>;

// The channel reads its finite copy of the ns samples from now on, when
// one of the samples [from, to) is no number (the samples already in its
// sums are the same in the copy).
void KeepFinite(Channel& c, int64_t from, int64_t to, int64_t ns, FiniteCopies& copies) {
  constexpr float kLargest = std::numeric_limits<float>::max();
  if (to > from && AnyBeyond(c.x + from, static_cast<size_t>(to - from), kLargest)) {
    c.x = copies.emplace_back(FiniteCopy(c.x, static_cast<size_t>(ns))).data();
  }
}

// Which channels trigger, one bit each, at the tested samples where any does.
class TriggerRows {
 public:
  TriggerRows(size_t channels, size_t samples) : words_((channels + 63) / 64), at_(samples, -1) {}
  void Add(size_t i, const uint8_t* flags, size_t channels) {
    at_[i] = static_cast<int32_t>(bits_.size() / words_);
    bits_.resize(bits_.size() + words_, 0);
    uint64_t* row = bits_.data() + bits_.size() - words_;
    for (size_t c = 0; c < channels; ++c) row[c / 64] |= static_cast<uint64_t>(flags[c]) << (c % 64);
  }
  bool Has(size_t i, size_t c) const {
    const int32_t r = at_[i];
    return r >= 0 && (bits_[static_cast<size_t>(r) * words_ + c / 64] >> (c % 64)) & 1u;
  }
  bool Any(size_t i) const { return at_[i] >= 0; }

 private:
  size_t words_;
  std::vector<int32_t> at_;
  std::vector<uint64_t> bits_;
};

// What the scan saw at every tested sample.
struct Scan {
  Scan(size_t channels, size_t samples) : rows(channels, samples), peak(samples, 0.0f), peakChannel(samples, -1) {}
  SampleTriggers counts;
  TriggerRows rows;
  std::vector<float> peak;       // the largest (RMS2 / RMS1)^2 among the channels triggering there
  std::vector<int> peakChannel;  // its index among the channels, -1 for none
};

constexpr int64_t kBlock = 256;

// The scan's findings over one block as they were before a group ran
// through it, to go back to when the group runs through it again.
struct BlockFindings {
  int triggered[kBlock];
  int began[kBlock];
  float peak[kBlock];
  int peakChannel[kBlock];
  void Keep(const Scan& scan, size_t at, size_t n) {
    std::copy_n(scan.counts.triggered.data() + at, n, triggered);
    std::copy_n(scan.counts.began.data() + at, n, began);
    std::copy_n(scan.peak.data() + at, n, peak);
    std::copy_n(scan.peakChannel.data() + at, n, peakChannel);
  }
  void Restore(Scan& scan, size_t at, size_t n) const {
    std::copy_n(triggered, n, scan.counts.triggered.data() + at);
    std::copy_n(began, n, scan.counts.began.data() + at);
    std::copy_n(peak, n, scan.peak.data() + at);
    std::copy_n(peakChannel, n, scan.peakChannel.data() + at);
  }
};

struct ScanSettings {
  int64_t L1 = 0, L2 = 0, ns = 0;
  TriggerRule triggers{0.0, 0.0, 0.0};
  bool windows = false;  // without both windows nothing triggers
  double meanSquares = 0.0;
};

// One group of channels (from `first` on, `count` of them) through the
// block [k0, k1), each trigger marked in `flags` (a row of nch per sample);
// what it finds is added to the scan's. Careful: a sample that is no number
// is taken from the channel's finite copy, and every sum that lost its
// precision is summed afresh at once. Otherwise the sums only note their
// least and largest values, from which the caller tells whether any of them
// can have lost it (or taken in a sample that is no number).
template <bool kCareful>
void ScanGroup(Channel* group, size_t first, size_t count, int64_t k0, int64_t k1, const ScanSettings& z,
               uint8_t* flags, size_t nch, Scan& scan, FiniteCopies& copies) {
  constexpr double kLargestSquare =
      static_cast<double>(EventDetectionParameters::kLargestRatio) * EventDetectionParameters::kLargestRatio;
  const int64_t L1 = z.L1, L2 = z.L2;
  int* triggered = scan.counts.triggered.data();
  int* began = scan.counts.began.data();
  for (int64_t k = k0; k < k1; ++k) {
    const size_t at = static_cast<size_t>(k - L1);
    uint8_t* row = flags + static_cast<size_t>(k - k0) * nch + first;
    const bool slide = k > L1;
    int hits = 0, beginning = 0;
    for (size_t i = 0; i < count; ++i) {
      Channel& c = group[i];
      if (slide) {  // each window loses its oldest sample and gains a new one
        // W1 loses x[k - L1 - 1] and gains x[k - 1], which W2 loses as it gains x[k + L2 - 1].
        if constexpr (kCareful) {
          if (!std::isfinite(c.x[k + L2 - 1])) KeepFinite(c, k + L2 - 1, k + L2, z.ns, copies);
        }
        const double leaving = Square(c.x[k - L1 - 1]), crossing = Square(c.x[k - 1]),
                     arriving = Square(c.x[k + L2 - 1]);
        c.sums = c.sums - Pair{leaving, crossing} + Pair{crossing, arriving};
        if constexpr (kCareful) {
          c.spent += c.sums;
          const auto lost = c.sums < c.spent * kLostShare;
          if (lost[0] | lost[1]) KeepPrecision(c, k, L1, L2);
        } else {
          c.least = c.sums < c.least ? c.sums : c.least;
          c.largest = c.sums > c.largest ? c.sums : c.largest;
        }
      }
      const double s1 = c.sums[0], s2 = c.sums[1];
      const uint8_t hit = z.windows && z.triggers(s1, s2) ? 1 : 0;
      row[i] = hit;
      hits += hit;
      beginning += hit & (c.was ^ 1u);
      c.was = hit;
      if (hit) {
        const float q = static_cast<float>(std::min(s2 / s1 * z.meanSquares, kLargestSquare));
        if (q > scan.peak[at]) {
          scan.peak[at] = q;
          scan.peakChannel[at] = static_cast<int>(first + i);
        }
      }
    }
    triggered[at] += hits;
    began[at] += beginning;
  }
}

// After a block scanned without the care: whether each channel's sums kept
// their precision all through it, with `spent` then moved on by at most
// what the block added (`steps` slides, none above the largest sum). The
// rounding that a sum can have gathered is far below what it takes to be
// under this share of that, so a sum whose precision was lost shows it. A
// sample that is no number leaves its sums infinite or NaN for good.
bool KeptPrecision(Channel* group, size_t count, int64_t steps) {
  const double n = static_cast<double>(steps);
  for (size_t i = 0; i < count; ++i) {
    const Pair spent = group[i].spent + group[i].largest * n;
    const auto lost = group[i].least < spent * kLostShare;
    if (lost[0] | lost[1] | !std::isfinite(group[i].sums[0] + group[i].sums[1] + spent[0] + spent[1])) return false;
  }
  for (size_t i = 0; i < count; ++i) group[i].spent += group[i].largest * n;
  return true;
}

// Slides both windows along every channel from L1 to `end` (exclusive).
// Samples are taken in blocks: each group of eight channels runs through a
// block (eight independent pairs of sums, read front to back), marking its
// triggers; then the block is gathered sample by sample. A group runs
// through a block first without watching the precision of its sums sample
// by sample; in the rare block where one of them can have lost it (a large
// value leaving a window) or taken in a sample that is no number, the group
// runs through it again with that care.
void RunScan(std::vector<Channel>& channels, int64_t L1, int64_t L2, int64_t end, double ratio, Scan& scan,
             FiniteCopies& copies) {
  const int64_t ns = end + L2;
  const size_t tested = static_cast<size_t>(std::max<int64_t>(end - L1, 0));
  scan.counts.first = L1;
  scan.counts.triggered.assign(tested, 0);
  scan.counts.began.assign(tested, 0);
  if (tested == 0) return;
  for (Channel& c : channels) {  // the sums at the first tested sample, from scratch
    KeepFinite(c, 0, L1 + L2, ns, copies);
    c.sums = Pair{SumOfSquares(c.x, L1), SumOfSquares(c.x + L1, L2)};
    c.spent = c.sums;
  }
  ScanSettings z;
  z.L1 = L1;
  z.L2 = L2;
  z.ns = ns;
  z.triggers = TriggerRule(ratio, static_cast<double>(L1), static_cast<double>(L2));
  z.windows = L1 > 0 && L2 > 0;
  z.meanSquares = z.windows ? static_cast<double>(L1) / static_cast<double>(L2) : 0.0;
  constexpr size_t kGroup = 8;
  const size_t nch = channels.size();
  std::vector<uint8_t> flags(static_cast<size_t>(kBlock) * std::max<size_t>(nch, 1));
  BlockFindings kept;
  Channel before[kGroup];
  for (int64_t k0 = L1; k0 < end; k0 += kBlock) {
    const int64_t k1 = std::min(end, k0 + kBlock);
    const int64_t steps = k1 - std::max(k0, L1 + 1);  // the slides of the block
    for (size_t g = 0; g < nch; g += kGroup) {
      const size_t count = std::min(nch, g + kGroup) - g;
      Channel* group = channels.data() + g;
      for (size_t i = 0; i < count; ++i) {
        before[i] = group[i];
        group[i].least = group[i].sums;
        group[i].largest = group[i].sums;
      }
      const size_t at = static_cast<size_t>(k0 - L1), n = static_cast<size_t>(k1 - k0);
      kept.Keep(scan, at, n);
      ScanGroup<false>(group, g, count, k0, k1, z, flags.data(), nch, scan, copies);
      if (!KeptPrecision(group, count, steps)) [[unlikely]] {
        std::copy(before, before + count, group);
        kept.Restore(scan, at, n);
        ScanGroup<true>(group, g, count, k0, k1, z, flags.data(), nch, scan, copies);
      }
    }
    for (int64_t k = k0; k < k1; ++k) {
      const size_t at = static_cast<size_t>(k - L1);
      if (scan.counts.triggered[at] > 0) scan.rows.Add(at, flags.data() + static_cast<size_t>(k - k0) * nch, nch);
    }
  }
}

// The trigger times of every channel before the scan's end, in the order found.
void RecordTriggers(EventDetectionParameters& p, const std::vector<Channel>& channels, const Scan& scan, int64_t end,
                    double dt) {
  const int64_t L1 = scan.counts.first;
  for (int64_t k = L1; k < end; ++k) {
    const size_t at = static_cast<size_t>(k - L1);
    if (!scan.rows.Any(at)) continue;
    const float t = SampleTime(dt, k);
    for (size_t i = 0; i < channels.size(); ++i) {
      if (!scan.rows.Has(at, i) || channels[i].trace >= p.nMaxChannels) continue;
      int& count = p.nTraceTriggers[channels[i].trace];
      if (count < EventDetectionParameters::kMaxTriggerTimes) p.fTraceTriggerTime[channels[i].trace].push_back(t);
      ++count;
    }
  }
}

// The event's onset: the earliest among the channels that triggered at its
// first sample; that sample itself when none did (AND with no channel needed).
int64_t EarliestOnset(const std::vector<Channel>& channels, const Scan& scan, int64_t k, int64_t L1, int64_t L2,
                      double ratio) {
  int64_t onset = -1;
  const size_t at = static_cast<size_t>(k - L1);
  for (size_t i = 0; i < channels.size(); ++i) {
    if (!scan.rows.Has(at, i)) continue;
    const int64_t o = ChannelOnset(channels[i].x, k, L1, L2, ratio);
    if (onset < 0 || o < onset) onset = o;
  }
  return onset < 0 ? k : onset;
}

void AddEvent(EventDetectionParameters& p, const std::vector<Channel>& channels, const Scan& scan, const EventSpan& e,
              int64_t L2, double dt) {
  const int64_t L1 = scan.counts.first;
  p.fEventTime.push_back(SampleTime(dt, e.first));
  p.nEventChannels.push_back(e.channels);
  // Sought for the events only: the scan itself does not change.
  const int64_t onset = e.channels > 0 ? EarliestOnset(channels, scan, e.first, L1, L2, p.fRmsRatio) : e.first;
  p.fEventOnset.push_back(SampleTime(dt, onset));
  float peak = 0.0f;
  int channel = -1;
  for (int64_t k = e.first; k <= e.last; ++k) {
    const size_t at = static_cast<size_t>(k - L1);
    if (scan.peakChannel[at] >= 0 && (channel < 0 || scan.peak[at] > peak)) {
      peak = scan.peak[at];
      channel = channels[static_cast<size_t>(scan.peakChannel[at])].trace;
    }
  }
  p.fEventMaxRatio.push_back(std::min(std::sqrt(peak), EventDetectionParameters::kLargestRatio));
  p.nEventMaxRatioChannel.push_back(channel);
  p.fEventDuration.push_back(static_cast<float>(dt * static_cast<double>(e.last + 1 - e.first) / 1e6));
  ++p.nEvents;
}

// A corner left open (0) or taken out of the band for the record.
std::string BandText(const BandPassCorners& c) {
  if (c.lowHz > 0.0 && c.highHz > 0.0) return Printf("%g to %g Hz", c.lowHz, c.highHz);
  return c.lowHz > 0.0 ? Printf("from %g Hz", c.lowHz) : Printf("up to %g Hz", c.highHz);
}

// The band-pass for a record sampled every dt microseconds; p.sBandPassNote
// says what its sampling took out.
std::vector<Biquad> BandPassOf(EventDetectionParameters& p, double dt) {
  const double rate = 1e6 / dt;
  const BandPassCorners given{std::max(0.0, static_cast<double>(p.fBandPassLow)),
                              std::max(0.0, static_cast<double>(p.fBandPassHigh))};
  const BandPassCorners used = CornersInForce(given.lowHz, given.highHz, rate);
  if (!(used == given) && (given.lowHz > 0.0 || given.highHz > 0.0)) {
    const std::string rest = used.lowHz > 0.0   ? Printf("only its high-pass at %g Hz is used", used.lowHz)
                             : used.highHz > 0.0 ? Printf("only its low-pass at %g Hz is used", used.highHz)
                                                 : std::string("the traces are not filtered");
    p.sBandPassNote = "The band-pass " + BandText(given) +
                      Printf(" does not fit below the Nyquist frequency of %g Hz; ", rate / 2.0) + rest + ".";
  }
  return DesignBandPass(used.lowHz, used.highHz, rate);
}

EventRules RulesOf(const EventDetectionParameters& p, size_t channels, double dt, int64_t ns) {
  EventRules r;
  r.method = p.nMethod;
  r.minimumChannels = p.nMinimumChannels;
  r.minimumSamples = SamplesLasting(p.fMinimumDuration, dt, ns);
  if (p.nGlitchPercent > 0 && p.nGlitchSamples > 0) {
    const int64_t percent = std::min(p.nGlitchPercent, 100);
    r.glitchChannels = static_cast<int>(std::max<int64_t>(1, (percent * static_cast<int64_t>(channels) + 99) / 100));
    r.glitchSamples = p.nGlitchSamples;
  }
  r.whole = p.bWholeEvents == 1;
  r.gapSamples = SamplesLasting(p.fEventGap, dt, ns);
  r.mergeSeconds = std::max(p.fTimeWindow1, p.fTimeWindow2) / 1000.0f;
  r.dtUs = dt;
  r.maxEvents = EventDetectionParameters::kMaxEvents;
  return r;
}

void ClearResults(EventDetectionParameters& p) {
  p.nEvents = 0;
  p.fEventTime.clear();
  p.nEventChannels.clear();
  p.fEventOnset.clear();
  p.fEventMaxRatio.clear();
  p.nEventMaxRatioChannel.clear();
  p.fEventDuration.clear();
  p.sBandPassNote.clear();
  std::fill(p.nTraceTriggers.begin(), p.nTraceTriggers.end(), 0);
  for (auto& times : p.fTraceTriggerTime) times.clear();
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
  ClearResults(p);

  // The channels evaluated: each trace of the record named by the list,
  // once, in trace order, that holds the first trace's samples.
  std::vector<char> listed(static_cast<size_t>(std::max(traces, 0)), 0);
  for (int i = 0; i < p.nChannels; ++i) {
    const int c = p.nChannelList[i];
    if (c >= 0 && c < traces) listed[c] = 1;
  }
  const double dt = record.pHeader.empty() ? 0.0 : record.pHeader[0].fSampleInterval;
  const std::vector<Biquad> filter = p.bBandPass == 1 && dt > 0.0 ? BandPassOf(p, dt) : std::vector<Biquad>();
  std::vector<Channel> channels;
  for (int t = 0; t < traces; ++t) {
    if (listed[t] && static_cast<int64_t>(record.ppData[t].size()) >= ns) channels.push_back({t, record.ppData[t].data()});
  }
  std::vector<std::vector<float>> filtered;  // the band-passed traces, when they are wanted
  if (!filter.empty()) {
    std::vector<const float*> raw;
    for (const Channel& c : channels) raw.push_back(c.x);
    filtered = FilterTraces(filter, raw, static_cast<size_t>(ns));
    for (size_t i = 0; i < channels.size(); ++i) channels[i].x = filtered[i].data();
  }

  // A sample that is no number counts as 0 in the scan (as in the
  // band-pass), so that it costs only the windows that hold it.
  const int64_t end = ns - L2;
  Scan scan(channels.size(), static_cast<size_t>(std::max<int64_t>(end - L1, 0)));
  FiniteCopies copies;  // read by the onsets too
  RunScan(channels, L1, L2, end, p.fRmsRatio, scan, copies);
  const FoundEvents found = FindEvents(scan.counts, RulesOf(p, channels.size(), dt, ns));
  RecordTriggers(p, channels, scan, found.end, dt);
  for (const EventSpan& e : found.events) AddEvent(p, channels, scan, e, L2, dt);
  if (p.bDetectEnd == 1) {
    for (float& t : p.fEventTime) t += p.fTimeWindow1 / 1000.0f;
  }

  if (eventFile.empty()) return p.nEvents;
  const CivilTime c = SecondsToLocal(now).value_or(CivilTime{});
  const std::string date = Printf("%d/%.2d/%.2d", c.year, c.month, c.day);
  const std::string clock = Printf(" %.2d:%.2d:%.2d", c.hour, c.minute, c.second);
  // The largest ratio and its channel come last, so that the columns before
  // them read as they always did.
  for (int e = 0; e < p.nEvents; ++e) {
    text += Printf("Event: %s %s %s %d %f %f %d\r\n", record.strFileName.c_str(), date.c_str(), clock.c_str(),
                   p.nEventChannels[e], static_cast<double>(p.fEventTime[e]),
                   static_cast<double>(p.fEventMaxRatio[e]), p.nEventMaxRatioChannel[e]);
  }
  WriteWholeFile(fs, eventFile, text);  // a file that cannot be written loses its lines only
  return p.nEvents;
}

}  // namespace zentrova
