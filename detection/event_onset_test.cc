// Where events begin: bursts at known times, for several pairs of windows.
// The detector's event time (the first test sample whose W2 holds enough of
// the burst) lies up to W2 before the burst; the onset must lie on it. The
// event file, which peers read, keeps its lines byte for byte up to the two
// columns added at their ends.

#include "detection/event_onset.h"

#include <cctype>
#include <cmath>
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "detection/event_detector.h"
#include "platform/memory_file_system.h"
#include "testing/time_zone.h"
#include "tools/tc_simulator/acquisition_simulator.h"

namespace zentrova {
namespace {

// The simulator's records: noise of amplitude 1 and, on every trace, a
// burst of amplitude 200 from the middle sample on.
void SimulatorRecord(SeismicRecord& r, int traces, int samples, double dtUs) {
  SimulatorOptions o;
  o.traces = traces;
  o.samples = samples;
  o.sampleIntervalUs = dtUs;
  const auto data = SimulatedTraces(o, 0, true);
  r.AllocateTraces(traces);
  r.nTraces = traces;
  r.bAllocated = 1;
  r.strFileName = "1001.sg2";
  for (int i = 0; i < traces; ++i) {
    r.pHeader[i].nSamples = samples;
    r.pHeader[i].fSampleInterval = static_cast<float>(dtUs);
    r.ppData[i] = data[static_cast<size_t>(i)];
  }
}

// An emergent arrival: noise of RMS 1 and from `onset` seconds on a 12 Hz
// wave whose amplitude grows to `peak` with the time constant `riseS`,
// reaching trace i `moveoutS` x i later.
void EmergentRecord(SeismicRecord& r, int traces, int samples, double dtUs, double onset, double peak, double riseS,
                    double moveoutS) {
  r.AllocateTraces(traces);
  r.nTraces = traces;
  r.bAllocated = 1;
  r.strFileName = "2002.sg2";
  uint32_t seed = 99;
  for (int i = 0; i < traces; ++i) {
    r.pHeader[i].nSamples = samples;
    r.pHeader[i].fSampleInterval = static_cast<float>(dtUs);
    r.ppData[i].resize(static_cast<size_t>(samples));
    const double arrival = onset + moveoutS * i;
    for (int j = 0; j < samples; ++j) {
      seed = seed * 1664525u + 1013904223u;
      double v = (static_cast<double>(seed >> 8) / 16777216.0 - 0.5) * std::sqrt(12.0);
      const double t = j * dtUs / 1e6 - arrival;
      if (t >= 0.0) v += peak * (1.0 - std::exp(-t / riseS)) * std::sin(2.0 * M_PI * 12.0 * t);
      r.ppData[i][j] = static_cast<float>(v);
    }
  }
}

struct Burst {
  const char* name;
  float w1, w2;  // ms
  double dtUs;
  int samples;
  bool emergent;
  double onset;  // s, where the burst begins on its first trace
  double toleranceS;
  // The event file as the detector wrote it before it sought onsets.
  const char* eventFile;
};

// With the shorter merge intervals one burst gives a second event, inside
// the burst: its onset is its own test sample, just after the burst began.
constexpr Burst kBursts[] = {
    {"simulator, W1 100 W2 500", 100, 500, 1000, 2000, false, 1.000, 0.005,
     "4 2000 : 100 1500\r\n"
     "0 0 -0.470000\r\n"
     "1 1 0.097000\r\n"
     "2 2 -0.697000\r\n"
     "3 3 0.157000\r\n"
     "Event: 1001.sg2 2020/03/15  08:04:05 2 0.503000\r\n"},
    {"simulator, W1 100 W2 200", 100, 200, 1000, 2000, false, 1.000, 0.005,
     "4 2000 : 100 1800\r\n"
     "0 0 -0.470000\r\n"
     "1 1 0.097000\r\n"
     "2 2 -0.697000\r\n"
     "3 3 0.157000\r\n"
     "Event: 1001.sg2 2020/03/15  08:04:05 4 0.803000\r\n"
     "Event: 1001.sg2 2020/03/15  08:04:05 4 1.003000\r\n"},
    {"simulator, W1 50 W2 100 at 0.5 ms", 50, 100, 500, 3000, false, 0.750, 0.005,
     "4 3000 : 100 2800\r\n"
     "0 0 -0.442000\r\n"
     "1 1 -0.001000\r\n"
     "2 2 0.810000\r\n"
     "3 3 -0.628000\r\n"
     "Event: 1001.sg2 2020/03/15  08:04:05 4 0.651500\r\n"
     "Event: 1001.sg2 2020/03/15  08:04:05 4 0.751500\r\n"},
    {"simulator, W1 200 W2 1000", 200, 1000, 1000, 4000, false, 2.000, 0.005,
     "4 4000 : 200 3000\r\n"
     "0 0 0.096000\r\n"
     "1 1 -0.810000\r\n"
     "2 2 -0.067000\r\n"
     "3 3 -0.038000\r\n"
     "Event: 1001.sg2 2020/03/15  08:04:05 4 1.004000\r\n"},
    {"simulator, W1 20 W2 40 at 0.25 ms", 20, 40, 250, 2000, false, 0.250, 0.005,
     "4 2000 : 80 1840\r\n"
     "0 0 -0.470000\r\n"
     "1 1 0.097000\r\n"
     "2 2 -0.697000\r\n"
     "3 3 0.157000\r\n"
     "Event: 1001.sg2 2020/03/15  08:04:05 4 0.210750\r\n"
     "Event: 1001.sg2 2020/03/15  08:04:05 1 0.250750\r\n"},
    {"emergent, W1 100 W2 500", 100, 500, 1000, 3000, true, 1.234, 0.03,
     "4 3000 : 100 2500\r\n"
     "0 0 55.494049\r\n"
     "1 1 46.185421\r\n"
     "2 2 33.153919\r\n"
     "3 3 17.833895\r\n"
     "Event: 2002.sg2 2020/03/15  08:04:05 1 0.793000\r\n"},
    {"emergent, W1 100 W2 200", 100, 200, 1000, 3000, true, 1.234, 0.03,
     "4 3000 : 100 2800\r\n"
     "0 0 55.494049\r\n"
     "1 1 46.185421\r\n"
     "2 2 33.153919\r\n"
     "3 3 17.833895\r\n"
     "Event: 2002.sg2 2020/03/15  08:04:05 1 1.060000\r\n"},
    {"emergent, W1 300 W2 1000 at 2 ms", 300, 1000, 2000, 2000, true, 1.618, 0.03,
     "4 2000 : 150 1500\r\n"
     "0 0 -29.835129\r\n"
     "1 1 -15.125587\r\n"
     "2 2 3.640668\r\n"
     "3 3 23.581705\r\n"
     "Event: 2002.sg2 2020/03/15  08:04:05 1 0.694000\r\n"},
    {"emergent, W1 50 W2 100 at 0.5 ms", 50, 100, 500, 4000, true, 0.9001, 0.03,
     "4 4000 : 100 3800\r\n"
     "0 0 56.595230\r\n"
     "1 1 47.606316\r\n"
     "2 2 35.518478\r\n"
     "3 3 18.832047\r\n"
     "Event: 2002.sg2 2020/03/15  08:04:05 1 0.821000\r\n"
     "Event: 2002.sg2 2020/03/15  08:04:05 1 0.921000\r\n"},
};

void PrintTo(const Burst& b, std::ostream* os) { *os << b.name; }

// The event file as a reader of the older lines takes it: each event line
// without its last two columns (the largest ratio and its channel).
std::string WithoutTheLastTwoColumns(const std::string& text) {
  std::string out;
  size_t from = 0;
  while (from < text.size()) {
    size_t end = text.find("\r\n", from);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(from, end - from);
    if (line.rfind("Event: ", 0) == 0) {
      for (int column = 0; column < 2; ++column) line.erase(line.find_last_of(' '));
    }
    out += line + "\r\n";
    from = end + 2;
  }
  return out;
}

class Onset : public ::testing::TestWithParam<Burst> {
 protected:
  void SetUp() override {
    const Burst& b = GetParam();
    if (b.emergent) {
      EmergentRecord(record, 4, b.samples, b.dtUs, b.onset, 60.0, 0.02, 0.004);
    } else {
      SimulatorRecord(record, 4, b.samples, b.dtUs);
    }
    p.nMethod = 0;
    p.SetChannels("0-3", 512);
    p.fTimeWindow1 = b.w1;
    p.fTimeWindow2 = b.w2;
  }
  testing::ScopedTimeZone tz{"UTC"};
  MemoryFileSystem fs;
  SeismicRecord record;
  EventDetectionParameters p;
};

TEST_P(Onset, EveryEventBeginsWhereTheBurstDoes) {
  const Burst& b = GetParam();
  const int n = DetectEvents(p, record, fs, "/events.txt", 1584259445);
  ASSERT_GE(n, 1);
  ASSERT_EQ(p.fEventOnset.size(), static_cast<size_t>(n));
  for (int e = 0; e < n; ++e) {
    EXPECT_NEAR(p.fEventOnset[e], b.onset, b.toleranceS) << "event " << e + 1 << " at " << p.fEventTime[e];
  }
  // The event time stays the test sample, up to W2 before the burst.
  EXPECT_LT(p.fEventTime[0], b.onset - b.toleranceS);
  EXPECT_EQ(WithoutTheLastTwoColumns(fs.Contents("/events.txt")), b.eventFile);
}

INSTANTIATE_TEST_SUITE_P(Bursts, Onset, ::testing::ValuesIn(kBursts),
                         [](const ::testing::TestParamInfo<Burst>& param) {
                           std::string name = param.param.name;
                           for (char& c : name) c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                           return name;
                         });

// On one channel: samples of `quiet`, one of 3 at `spikeAt`, and from
// `loudFrom` on samples of `loud`; a trigger at 100 with W1 of 100 and W2
// of 50 samples.
TEST(ChannelOnset, TheFirstSampleAboveTheBackgroundWithinW2) {
  struct Case {
    float quiet, loud;
    int64_t loudFrom, spikeAt;
    double ratio;
    int64_t onset;
  } cases[] = {
      {1, 20, 149, -1, 10, 149},    // the last sample of W2: the arrival that makes the ratio exceed
      {1, 20, 120, -1, 10, 120},
      {1, 20, 100, -1, 10, 100},    // loud from the test sample on
      {1, 20, 130, 110, 10, 130},   // a lone spike before it does not draw the onset forward
      {1, 1.6f, 110, -1, 1.5, 110}, // a low threshold: the level halfway to it
      {0, 20, 120, -1, 10, 100},    // a silent W1 gives no background to leave
  };
  for (const Case& c : cases) {
    std::vector<float> x(200, c.quiet);
    for (size_t j = static_cast<size_t>(c.loudFrom); j < x.size(); ++j) x[j] = c.loud;
    if (c.spikeAt >= 0) x[static_cast<size_t>(c.spikeAt)] = 3.0f;
    EXPECT_EQ(ChannelOnset(x.data(), 100, 100, 50, c.ratio), c.onset) << c.loudFrom << " " << c.ratio;
  }
}

}  // namespace
}  // namespace zentrova
