#include "detection/event_detector.h"

#include <cmath>

#include <gtest/gtest.h>

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
            "Event: 1234.sg2 2020/03/15  08:04:05 2 1.125000\r\n");

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
