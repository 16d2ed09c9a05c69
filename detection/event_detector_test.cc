#include "detection/event_detector.h"

#include <algorithm>
#include <cmath>

#include <gtest/gtest.h>

#include "detection/butterworth.h"
#include "detection/event_onset.h"
#include "platform/memory_file_system.h"
#include "testing/time_zone.h"

namespace zentrova {
namespace {

// A record of `traces` traces of `ns` samples at dt microseconds, every
// sample `quiet`; `loud` from sample `step` on, on the traces in `stepped`.
void MakeRecord(SeismicRecord& r, int traces, int ns, float dt, float quiet, float loud, int step,
                const std::vector<int>& stepped) {
  r.AllocateTraces(traces);
  r.nTraces = traces;
  r.bAllocated = 1;
  r.strFileName = "1234.sg2";
  for (int i = 0; i < traces; ++i) {
    r.pHeader[i].nSamples = ns;
    r.pHeader[i].fSampleInterval = dt;
    r.ppData[i].assign(static_cast<size_t>(ns), quiet);
  }
  for (int i : stepped) {
    for (int j = step; j < ns; ++j) r.ppData[i][j] = loud;
  }
}

EventDetectionParameters Params(int method, const std::string& list, int minimum = 1) {
  EventDetectionParameters p;
  p.nMethod = method;
  p.SetChannels(list, 512);
  p.nMinimumChannels = minimum;
  return p;
}

class Detector : public ::testing::Test {
 protected:
  int Run(EventDetectionParameters& p) { return DetectEvents(p, record, fs, "/events.txt", 1584259445); }
  testing::ScopedTimeZone tz{"UTC"};
  MemoryFileSystem fs;
  SeismicRecord record;
};

TEST_F(Detector, AStepInAmplitudeIsAnEventAtTheKnownTimeOnTheKnownChannels) {
  // Amplitude 1, then 20 from sample 1500 on traces 1 and 2. RMS2/RMS1 > 10
  // needs n loud samples in W2 with (400 n + 500 - n) / 500 > 100, n >= 125:
  // the first trigger is at k = 1500 - 500 + 125 = 1125, the last at 1500
  // (one loud sample in W1 already brings the ratio below 10).
  MakeRecord(record, 4, 3000, 1000.0f, 1.0f, 20.0f, 1500, {1, 2});
  auto p = Params(0, "0-3");
  ASSERT_EQ(Run(p), 1);
  EXPECT_FLOAT_EQ(p.fEventTime[0], 1.125f);
  EXPECT_EQ(p.nEventChannels[0], 2);
  EXPECT_EQ(p.nTraceTriggers[0], 0);
  EXPECT_EQ(p.nTraceTriggers[1], 376);
  EXPECT_EQ(p.nTraceTriggers[2], 376);
  EXPECT_FLOAT_EQ(p.fTraceTriggerTime[1].front(), 1.125f);
  EXPECT_FLOAT_EQ(p.fTraceTriggerTime[1].back(), 1.5f);
  EXPECT_EQ(fs.Contents("/events.txt"),
            "4 3000 : 100 2500\r\n0 0 1.000000\r\n1 1 20.000000\r\n2 2 20.000000\r\n3 3 1.000000\r\n"
            "Event: 1234.sg2 2020/03/15  08:04:05 2 1.125000 20.000000 1\r\n");
  // The largest ratio: W1 all quiet, W2 all loud, 20 / 1, first on trace 1.
  EXPECT_FLOAT_EQ(p.fEventMaxRatio[0], 20.0f);
  EXPECT_EQ(p.nEventMaxRatioChannel[0], 1);
  EXPECT_FLOAT_EQ(p.fEventDuration[0], 0.376f);  // the candidates 1125 to 1500

  auto needThree = Params(1, "0-3", 3);
  EXPECT_EQ(Run(needThree), 0);
  auto needTwo = Params(1, "0-3", 2);
  EXPECT_EQ(Run(needTwo), 1);
  auto end = Params(0, "1");
  end.bDetectEnd = 1;
  ASSERT_EQ(Run(end), 1);
  EXPECT_FLOAT_EQ(end.fEventTime[0], 1.225f);
}

TEST_F(Detector, WindowsAndTestedSamples) {
  MakeRecord(record, 24, 2000, 1000.0f, 1.0f, 1.0f, 0, {});
  auto p = Params(0, "0-23");
  Run(p);
  EXPECT_EQ(fs.Contents("/events.txt").substr(0, 19), "24 2000 : 100 1500\r");
  auto w = ComputeWindows(p, record);
  EXPECT_EQ(w.L1, 100);
  EXPECT_EQ(w.L2, 500);

  MakeRecord(record, 1, 100, 250.0f, 1.0f, 1.0f, 0, {});
  p.fTimeWindow1 = 0.3f;
  EXPECT_EQ(ComputeWindows(p, record).L1, 1);  // 1.2 truncated

  MakeRecord(record, 2, 600, 1000.0f, 1.0f, 50.0f, 300, {0, 1});  // L1 + L2 = ns: nothing is tested
  auto q = Params(0, "0-1");
  EXPECT_EQ(Run(q), 0);
  EXPECT_EQ(fs.Contents("/events.txt"), "2 600 : 100 100\r\n0 0 50.000000\r\n1 1 50.000000\r\n");
  q.fTimeWindow2 = 1e30f;  // absurd windows test nothing either
  EXPECT_EQ(Run(q), 0);
}

TEST_F(Detector, SilenceBeforeAndAnExactRatioDoNotTrigger) {
  MakeRecord(record, 1, 3000, 1000.0f, 0.0f, 100.0f, 1500, {0});
  auto p = Params(0, "0");
  EXPECT_EQ(Run(p), 0);  // RMS1 = 0 however loud W2 is
  MakeRecord(record, 1, 3000, 1000.0f, 1.0f, 10.0f, 1500, {0});
  EXPECT_EQ(Run(p), 0);  // at k = 1500 the ratio is exactly 10
  p.fRmsRatio = 9.99f;
  EXPECT_EQ(Run(p), 1);
}

TEST_F(Detector, CandidatesAreMergedWithinTheLongerWindow) {
  MakeRecord(record, 2, 3000, 1000.0f, 1.0f, 1.0f, 0, {});
  auto p = Params(1, "0-1", 0);  // AND with no channel needed: every tested sample is a candidate
  const int n = Run(p);
  ASSERT_GT(n, 3);
  EXPECT_FLOAT_EQ(p.fEventTime[0], 0.1f);
  for (int e = 1; e < n; ++e) {
    const float gap = p.fEventTime[e] - p.fEventTime[e - 1];
    EXPECT_GT(gap, 0.5f);
    EXPECT_LE(gap, 0.5025f);
  }
}

TEST_F(Detector, AtMostTenThousandEvents) {
  MakeRecord(record, 1, 20005, 1000.0f, 1.0f, 1.0f, 0, {});
  auto p = Params(1, "0", 0);
  p.fTimeWindow1 = p.fTimeWindow2 = 0.5f;  // windows of no sample: the merge interval is 0.5 ms
  EXPECT_EQ(Run(p), 10000);
  EXPECT_FLOAT_EQ(p.fEventTime.back(), 9.999f);
}

TEST_F(Detector, OnlyWholeTracesOfTheRecordAreEvaluated) {
  MakeRecord(record, 3, 3000, 1000.0f, 1.0f, 20.0f, 1500, {0, 1, 2});
  record.ppData[2].resize(100);  // shorter than the first trace
  record.pHeader[2].nSamples = 100;
  auto p = Params(0, "2, 7, 1, 1");
  ASSERT_EQ(Run(p), 1);
  EXPECT_EQ(p.nEventChannels[0], 1);  // trace 1 only, counted once
  EXPECT_EQ(p.nTraceTriggers[2], 0);
  const std::string text = fs.Contents("/events.txt");
  EXPECT_NE(text.find("1 7 0.000000\r\n"), std::string::npos) << text;  // not a trace of the record

  SeismicRecord empty;
  EXPECT_EQ(DetectEvents(p, empty, fs, "", 0), 0);
}

TEST_F(Detector, TracesBeyondTheResultArraysStillCount) {
  MakeRecord(record, 600, 700, 1000.0f, 1.0f, 20.0f, 350, {0, 599});
  auto p = Params(1, "0, 599", 2);
  p.fTimeWindow2 = 100.0f;
  ASSERT_EQ(Run(p), 1);
  EXPECT_EQ(p.nEventChannels[0], 2);
  EXPECT_GT(p.nTraceTriggers[0], 0);
}

}  // namespace
}  // namespace zentrova

namespace zentrova {
namespace {

// The scan exactly as the rule reads: sample after sample, every channel,
// square roots and division at every test. The detector must agree with it
// in every result. An event's largest ratio is the largest RMS2 / RMS1 of a
// triggering channel from the event's sample to its last candidate (the
// last before the next event).
void ReferenceScan(EventDetectionParameters& p, const SeismicRecord& r) {
  const DetectorWindows w = ComputeWindows(p, r);
  p.nEvents = 0;
  p.fEventTime.clear();
  p.nEventChannels.clear();
  p.fEventOnset.clear();
  std::fill(p.nTraceTriggers.begin(), p.nTraceTriggers.end(), 0);
  for (auto& t : p.fTraceTriggerTime) t.clear();
  std::vector<int> evaluated;
  for (int t = 0; t < r.nTraces; ++t) {
    if (std::find(p.nChannelList.begin(), p.nChannelList.end(), t) != p.nChannelList.end()) evaluated.push_back(t);
  }
  std::vector<double> s1(evaluated.size()), s2(evaluated.size());
  const float merge = std::max(p.fTimeWindow1, p.fTimeWindow2) / 1000.0f;
  float tLast = 0;
  p.fEventMaxRatio.clear();
  p.nEventMaxRatioChannel.clear();
  p.fEventDuration.clear();
  int64_t eventSample = 0;
  auto sq = [](float v) { return static_cast<double>(v) * v; };
  for (int64_t k = w.L1; k < w.ns - w.L2; ++k) {
    const float t = static_cast<float>(r.pHeader[0].fSampleInterval * static_cast<double>(k) / 1000000.0);
    int m = 0;
    int64_t onset = k;  // the earliest onset of the channels triggering at k
    double peak = 0;
    int peakTrace = -1;
    for (size_t e = 0; e < evaluated.size(); ++e) {
      const float* x = r.ppData[evaluated[e]].data();
      if (k == w.L1) {
        s1[e] = s2[e] = 0;
        for (int64_t j = 0; j < w.L1; ++j) s1[e] += sq(x[j]);
        for (int64_t j = w.L1; j < w.L1 + w.L2; ++j) s2[e] += sq(x[j]);
      } else {
        s1[e] = s1[e] - sq(x[k - w.L1 - 1]) + sq(x[k - 1]);
        s2[e] = s2[e] - sq(x[k - 1]) + sq(x[k + w.L2 - 1]);
      }
      const double rms1 = std::sqrt(s1[e] / static_cast<double>(w.L1));
      const double rms2 = std::sqrt(s2[e] / static_cast<double>(w.L2));
      if (w.L1 > 0 && w.L2 > 0 && rms1 > 0 && rms2 / rms1 > p.fRmsRatio) {
        const int64_t o = ChannelOnset(x, k, w.L1, w.L2, p.fRmsRatio);
        onset = m == 0 ? o : std::min(onset, o);
        ++m;
        if (p.nTraceTriggers[evaluated[e]]++ < 10000) p.fTraceTriggerTime[evaluated[e]].push_back(t);
        if (rms2 / rms1 > peak) {
          peak = rms2 / rms1;
          peakTrace = evaluated[e];
        }
      }
    }
    const bool candidate = p.nMethod == 1 ? m >= p.nMinimumChannels : m > 0;
    if (candidate && p.nEvents > 0 && !(t - tLast > merge)) {  // one more sample of the last event
      if (peakTrace >= 0 && (p.nEventMaxRatioChannel.back() < 0 || peak > p.fEventMaxRatio.back())) {
        p.fEventMaxRatio.back() = static_cast<float>(peak);
        p.nEventMaxRatioChannel.back() = peakTrace;
      }
      p.fEventDuration.back() = static_cast<float>(double(r.pHeader[0].fSampleInterval) * double(k + 1 - eventSample) / 1e6);
    }
    if (candidate && (p.nEvents == 0 || t - tLast > merge)) {
      p.fEventMaxRatio.push_back(static_cast<float>(peak));
      p.nEventMaxRatioChannel.push_back(peakTrace);
      p.fEventDuration.push_back(static_cast<float>(double(r.pHeader[0].fSampleInterval) / 1e6));
      eventSample = k;
      p.fEventTime.push_back(t);
      p.nEventChannels.push_back(m);
      p.fEventOnset.push_back(static_cast<float>(r.pHeader[0].fSampleInterval * static_cast<double>(onset) / 1000000.0));
      tLast = t;
      if (++p.nEvents >= 10000) break;
    }
  }
}

TEST(DetectorTwin, AgreesWithTheRuleAsWrittenOnRandomRecords) {
  MemoryFileSystem fs;
  uint32_t seed = 7;
  auto next = [&] {
    seed = seed * 1664525u + 1013904223u;
    return static_cast<float>(seed >> 8) / 16777216.0f;
  };
  int events = 0, triggers = 0;
  for (int round = 0; round < 12; ++round) {
    SeismicRecord r;
    const int traces = 1 + round % 5;
    const int ns = 400 + 137 * round;
    r.AllocateTraces(traces);
    r.nTraces = traces;
    r.bAllocated = 1;
    for (int i = 0; i < traces; ++i) {
      r.pHeader[i].nSamples = ns;
      r.pHeader[i].fSampleInterval = round % 2 ? 250.0f : 1000.0f;
      r.ppData[i].resize(static_cast<size_t>(ns));
      for (int j = 0; j < ns; ++j) {
        float v = next() - 0.5f;
        if (round % 3 == 0 && j % 97 < 9) v *= 30.0f;  // bursts
        if (round == 5) v = (j / 50) % 2 ? 0.0f : v;     // silent stretches
        r.ppData[i][j] = v;
      }
    }
    EventDetectionParameters fast, twin;
    // Every fourth round on band-passed traces: the twin scans a record of
    // the filtered samples.
    const bool bandPass = round % 4 == 1;
    SeismicRecord filtered;
    filtered.AllocateTraces(traces);
    filtered.nTraces = traces;
    const double rate = 1e6 / r.pHeader[0].fSampleInterval;
    for (int i = 0; i < traces; ++i) {
      filtered.pHeader[i] = r.pHeader[i];
      filtered.ppData[i] = bandPass ? FilterSamples(DesignBandPass(rate / 50, rate / 5, rate), r.ppData[i].data(), ns)
                                    : r.ppData[i];
    }
    fast.bBandPass = bandPass ? 1 : 0;
    fast.fBandPassLow = static_cast<float>(rate / 50);
    fast.fBandPassHigh = static_cast<float>(rate / 5);
    for (auto* p : {&fast, &twin}) {
      p->nMethod = round % 2;
      p->SetChannels(round % 4 == 0 ? "0-9" : "4, 0-2, 2", 512);
      p->nMinimumChannels = round % 3;
      p->fTimeWindow1 = 10.0f + static_cast<float>(round);
      p->fTimeWindow2 = 40.0f + 3.0f * static_cast<float>(round);
      p->fRmsRatio = round == 7 ? 1.0f : 1.5f + 0.25f * static_cast<float>(round);
    }
    DetectEvents(fast, r, fs, "", 0);
    ReferenceScan(twin, filtered);
    SCOPED_TRACE("round " + std::to_string(round));
    EXPECT_EQ(fast.nEvents, twin.nEvents);
    EXPECT_EQ(fast.fEventTime, twin.fEventTime);
    EXPECT_EQ(fast.nEventChannels, twin.nEventChannels);
    EXPECT_EQ(fast.nTraceTriggers, twin.nTraceTriggers);
    EXPECT_EQ(fast.fTraceTriggerTime, twin.fTraceTriggerTime);
    EXPECT_EQ(fast.fEventOnset, twin.fEventOnset);
    EXPECT_EQ(fast.nEventMaxRatioChannel, twin.nEventMaxRatioChannel);
    EXPECT_EQ(fast.fEventDuration, twin.fEventDuration);
    ASSERT_EQ(fast.fEventMaxRatio.size(), twin.fEventMaxRatio.size());
    for (size_t e = 0; e < fast.fEventMaxRatio.size(); ++e) {
      EXPECT_NEAR(fast.fEventMaxRatio[e], twin.fEventMaxRatio[e], 1e-5 * twin.fEventMaxRatio[e]) << e;
    }
    events += fast.nEvents;
    for (int n : fast.nTraceTriggers) triggers += n;
  }
  EXPECT_GT(events, 12);  // the cases do trigger
  EXPECT_GT(triggers, 1000);
}

TEST(DetectorTwin, StopsAtTheSameSampleWhenTheEventsAreFull) {
  SeismicRecord r;
  r.AllocateTraces(2);
  r.nTraces = 2;
  r.bAllocated = 1;
  for (int i = 0; i < 2; ++i) {
    r.pHeader[i].nSamples = 30000;
    r.pHeader[i].fSampleInterval = 1000.0f;
    r.ppData[i].assign(30000, 1.0f);
    for (int j = 0; j < 30000; j += 2) r.ppData[i][j] = 9.0f;  // triggers everywhere at a low ratio
  }
  EventDetectionParameters fast, twin;
  for (auto* p : {&fast, &twin}) {
    p->nMethod = 1;
    p->SetChannels("0-1", 512);
    p->nMinimumChannels = 0;
    p->fTimeWindow1 = p->fTimeWindow2 = 1.0f;
    p->fRmsRatio = 0.5f;
  }
  MemoryFileSystem fs;
  EXPECT_EQ(DetectEvents(fast, r, fs, "", 0), 10000);
  ReferenceScan(twin, r);
  EXPECT_EQ(fast.nTraceTriggers, twin.nTraceTriggers);
  EXPECT_EQ(fast.fEventTime, twin.fEventTime);
}

}  // namespace
}  // namespace zentrova
