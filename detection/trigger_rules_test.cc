// The trigger rules on records with known features: a short burst against
// a long one (minimum duration), a spike on every channel at once against a
// wave that reaches the channels one after another (glitch rule), one long
// trigger as one event (whole events), and a slow swell outside the band
// against a burst inside it (band-pass). Each rule is off by default, and
// then the detector finds what it always found.

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "detection/event_detector.h"
#include "platform/memory_file_system.h"

namespace zentrova {
namespace {

// A stretch of a sine (hz 0: a constant) added to the noise.
struct Feature {
  int trace;  // -1: every trace
  double from, seconds, hz, amplitude;
  double laterPerTrace = 0.0;  // s: trace i has it i times this much later
  bool smooth = false;         // rising and falling as sin^2 over its time
};

// Noise of RMS 1 on every trace, and the features.
void MakeRecord(SeismicRecord& r, int traces, double rateHz, double seconds, const std::vector<Feature>& features) {
  const int ns = static_cast<int>(rateHz * seconds);
  r.AllocateTraces(traces);
  r.nTraces = traces;
  r.bAllocated = 1;
  r.strFileName = "5001.sg2";
  uint32_t seed = 2024;
  for (int i = 0; i < traces; ++i) {
    r.pHeader[i].nSamples = ns;
    r.pHeader[i].fSampleInterval = static_cast<float>(1e6 / rateHz);
    r.ppData[i].resize(static_cast<size_t>(ns));
    for (int j = 0; j < ns; ++j) {
      seed = seed * 1664525u + 1013904223u;
      double v = (static_cast<double>(seed >> 8) / 16777216.0 - 0.5) * std::sqrt(12.0);
      const double t = j / rateHz;
      for (const Feature& f : features) {
        const double from = f.from + f.laterPerTrace * i;
        if ((f.trace >= 0 && f.trace != i) || t < from || t >= from + f.seconds) continue;
        const double envelope = f.smooth ? std::pow(std::sin(M_PI * (t - from) / f.seconds), 2) : 1.0;
        v += envelope * f.amplitude * (f.hz > 0 ? std::sin(2.0 * M_PI * f.hz * (t - from)) : 1.0);
      }
      r.ppData[i][j] = static_cast<float>(v);
    }
  }
}

EventDetectionParameters OrOver(const std::string& list, float w1, float w2, float ratio) {
  EventDetectionParameters p;
  p.nMethod = 0;
  p.SetChannels(list, 512);
  p.fTimeWindow1 = w1;
  p.fTimeWindow2 = w2;
  p.fRmsRatio = ratio;
  return p;
}

class TriggerRules : public ::testing::Test {
 protected:
  int Run(EventDetectionParameters& p) { return DetectEvents(p, record, fs, "", 0); }
  MemoryFileSystem fs;
  SeismicRecord record;
};

TEST_F(TriggerRules, AMinimumDurationDropsTheTriggersThatEndSooner) {
  // 0.1 s of 20 Hz at 1.5 s, 1.5 s of it at 4 s: both trigger once W2
  // holds a few samples of them; the short burst's trigger ends once a third
  // of it lies in W1 (after about 0.23 s), the long one's after about 0.3 s.
  MakeRecord(record, 3, 1000.0, 6.0, {{-1, 1.5, 0.1, 20.0, 30.0}, {-1, 4.0, 1.5, 20.0, 30.0}});
  auto plain = OrOver("0-2", 1000, 200, 3);
  ASSERT_EQ(Run(plain), 2);
  EXPECT_LT(plain.fEventDuration[0], 0.25f);
  EXPECT_GT(plain.fEventDuration[1], 0.29f);
  auto lasting = plain;
  lasting.fMinimumDuration = 0.27f;
  ASSERT_EQ(Run(lasting), 1);
  // The event that lasted: same time, channels and onset as without the rule.
  EXPECT_EQ(lasting.fEventTime[0], plain.fEventTime[1]);
  EXPECT_EQ(lasting.nEventChannels[0], plain.nEventChannels[1]);
  EXPECT_EQ(lasting.fEventOnset[0], plain.fEventOnset[1]);
  EXPECT_NEAR(lasting.fEventOnset[0], 4.0, 0.01);
}

TEST_F(TriggerRules, ASpikeOnManyChannelsAtOnceIsNoEventAWaveIs) {
  // A spike on one sample (2.000 s) of the listed traces, which triggers
  // them all at the sample it enters W2 and for the 200 samples it stays
  // there; a 10 Hz wave at 4 s reaching each trace 5 ms after the one before.
  struct Case {
    const char* name;
    int spikedTraces;  // traces 0 .. n-1 carry the spike
    int percent, samples;
    int events;
  };
  const Case cases[] = {
      {"no glitch rule", 3, 0, 0, 2},
      {"all three channels at once, shorter than 250 samples", 3, 100, 250, 1},
      {"two thirds of them suffice at 60 %", 2, 60, 250, 1},
      {"two thirds are fewer than 100 %", 2, 100, 250, 2},
      {"a trigger of 200 samples is not shorter than 150", 3, 100, 150, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<Feature> features = {{-1, 4.0, 1.0, 10.0, 20.0, 0.005}};
    for (int t = 0; t < c.spikedTraces; ++t) features.push_back({t, 2.0, 0.001, 0.0, 1000.0});
    MakeRecord(record, 3, 1000.0, 6.0, features);
    auto p = OrOver("0-2", 1000, 200, 3);
    p.nGlitchPercent = c.percent;
    p.nGlitchSamples = c.samples;
    ASSERT_EQ(Run(p), c.events);
    EXPECT_NEAR(p.fEventOnset.back(), 4.0, 0.01);  // the wave is always the last event
  }
}

TEST_F(TriggerRules, WholeEventsLastToTheEndOfTheirTriggersAndNeverOverlap) {
  MakeRecord(record, 2, 1000.0, 3.0, {});
  EventDetectionParameters always;  // AND with no channel needed: every tested sample is a candidate
  always.SetChannels("0-1", 512);
  always.nMinimumChannels = 0;
  always.bWholeEvents = 1;
  ASSERT_EQ(Run(always), 1);
  EXPECT_FLOAT_EQ(always.fEventTime[0], 0.1f);
  EXPECT_FLOAT_EQ(always.fEventDuration[0], 2.4f);  // samples 100 to 2499
  always.bWholeEvents = 0;
  EXPECT_EQ(Run(always), 5);  // merged: a new event every 0.5 s and a sample

  // Two bursts of 0.5 s, 1.5 s apart, louder on trace 1.
  MakeRecord(record, 2, 1000.0, 6.0,
             {{0, 1.0, 0.5, 20.0, 15.0}, {1, 1.0, 0.5, 20.0, 30.0}, {-1, 3.0, 0.5, 20.0, 15.0}});
  for (const float gap : {0.5f, 2.0f}) {
    SCOPED_TRACE(gap);
    auto p = OrOver("0-1", 500, 200, 4);
    p.bWholeEvents = 1;
    p.fEventGap = gap;
    ASSERT_EQ(Run(p), gap < 1.0f ? 2 : 1);
    EXPECT_EQ(p.nEventMaxRatioChannel[0], 1);
    EXPECT_GT(p.fEventMaxRatio[0], 20.0f);
    for (int e = 1; e < p.nEvents; ++e) {
      EXPECT_GE(p.fEventTime[e], p.fEventTime[e - 1] + p.fEventDuration[e - 1] + gap);
    }
    if (p.nEvents == 1) {
      EXPECT_GT(p.fEventTime[0] + p.fEventDuration[0], 3.0f);  // both bursts in one
    }
  }
}

TEST_F(TriggerRules, TheBandPassKeepsASlowSwellOutAndABurstIn) {
  // 100 Hz for 90 s: a 0.2 Hz swell growing to 100 over 10 s from 30 s and
  // fading again, a 5 Hz burst of amplitude 50 at 70 s.
  MakeRecord(record, 1, 100.0, 90.0, {{0, 30.0, 20.0, 0.2, 100.0, 0.0, true}, {0, 70.0, 2.0, 5.0, 50.0}});
  auto p = OrOver("0", 5000, 500, 4);
  ASSERT_EQ(Run(p), 2);
  EXPECT_NEAR(p.fEventOnset[0], 31.0, 1.5);
  const std::vector<float> before = record.ppData[0];
  p.bBandPass = 1;
  p.fBandPassLow = 2.0f;
  p.fBandPassHigh = 10.0f;
  ASSERT_EQ(Run(p), 1) << p.fEventOnset[0] << " " << p.fEventMaxRatio[0] << " " << p.fEventTime[0];
  EXPECT_NEAR(p.fEventOnset[0], 70.0, 0.05);  // the causal filter's delay is a few samples
  EXPECT_EQ(record.ppData[0], before);         // the record's own samples are left as they are
}

}  // namespace
}  // namespace zentrova
