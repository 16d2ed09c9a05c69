#include "quality/channel_hours.h"

#include <gtest/gtest.h>

#include <cmath>

#include "platform/linux_file_system.h"
#include "quality/channel_hour_line.h"
#include "records/seg2_reader.h"
#include "records/test_seg2_builder.h"
#include "testing/temp_folder.h"
#include "testing/time_zone.h"
#include "tools/tc_simulator/acquisition_simulator.h"

namespace zentrova {
namespace {

constexpr int64_t kHour8 = 1584259200;  // 2020-03-15 08:00:00 UTC
constexpr int kSamples = 1000;          // 1 s at 1 ms

// The simulator's noise (amplitude 1) scaled to counts of a 16-bit recorder.
std::vector<int16_t> Noise(int record, int trace) {
  SimulatorOptions o;
  o.traces = 3;
  o.samples = kSamples;
  const auto traces = SimulatedTraces(o, record, false);
  std::vector<int16_t> counts(kSamples);
  for (int j = 0; j < kSamples; ++j) counts[j] = static_cast<int16_t>(std::lround(traces[trace][j] * 1000.0f));
  return counts;
}

struct PlannedRecord {
  const char* clock;   // ACQUISITION_TIME of 2020-03-15
  double arrivesAfterEnd;  // s
  bool spikes;         // two single-sample spikes on channel 1
  bool clipped;        // five samples at full scale on channel 3
};

// Four 1 s records on three channels: channel 1 noise, channel 2 dead (all
// 7), channel 3 noise. B follows A without a space, C leaves a gap of 3 s
// after B, D laps C by 0.5 s and arrives late.
const PlannedRecord kRecords[] = {
    {"08:10:00.000", 1.0, true, true},
    {"08:10:01.000", 1.0, false, true},
    {"08:10:05.000", 1.0, false, false},
    {"08:10:05.500", 293.0, false, false},
};

std::vector<std::vector<int16_t>> Traces(int index) {
  const PlannedRecord& p = kRecords[index];
  std::vector<std::vector<int16_t>> t = {Noise(index, 0), std::vector<int16_t>(kSamples, 7), Noise(index, 2)};
  if (p.spikes) t[0][100] = t[0][700] = 30000;
  if (p.clipped) {
    for (int j = 400; j < 405; ++j) t[2][j] = 32767;
  }
  return t;
}

std::string RecordBytes(int index) {
  testing::TestSeg2 file;
  file.fileStrings = {"ACQUISITION_DATE 15/Mar/2020", std::string("ACQUISITION_TIME ") + kRecords[index].clock};
  for (const auto& samples : Traces(index)) {
    testing::TestTrace t;
    t.strings = {"SAMPLE_INTERVAL 0.001"};
    t.formatCode = 1;
    t.data = testing::Int16Data(samples);
    t.sampleCount = kSamples;
    file.traces.push_back(t);
  }
  return file.Build();
}

// The plain sums of a channel over the records, as a person would take them.
struct Sums {
  double sum = 0, squares = 0;
  int n = 0;
};
Sums ChannelSums(int trace) {
  Sums s;
  for (int r = 0; r < 4; ++r) {
    const auto traces = Traces(r);
    for (int16_t v : traces[trace]) {
      s.sum += v;
      s.squares += static_cast<double>(v) * v;
      ++s.n;
    }
  }
  return s;
}

class ChannelHoursTest : public ::testing::Test {
 protected:
  void SetUp() override {
    LinuxFileSystem fs;
    for (int r = 0; r < 4; ++r) {
      const std::string path = dir.Path("r" + std::to_string(r) + ".sg2");
      dir.Write("r" + std::to_string(r) + ".sg2", RecordBytes(r));
      SeismicRecord record;
      int status = 0;
      ASSERT_EQ(ReadSeg2File(fs, record, path, 1, 1, status), 3);
      const double end = DataStart(record.time) + 1.0;
      hours.Add(record, {static_cast<int64_t>(std::floor(end + kRecords[r].arrivesAfterEnd)), true});
    }
  }
  testing::ScopedTimeZone tz{"UTC"};
  testing::TempFolder dir;
  ChannelHours hours;
};

TEST_F(ChannelHoursTest, TheFiguresOfEachChannelAreExact) {
  const int64_t later = kHour8 + 2 * 3600;  // the hour is over
  // Covered: 08:10:00 to 08:10:02 and 08:10:05 to 08:10:06.5.
  const double availability = 100.0 * 3.5 / 3600.0;
  const Sums one = ChannelSums(0), three = ChannelSums(2);
  struct Case {
    int channel;
    double offset, rms;
    float peak;
    int64_t spikes;
    bool dead;
    int64_t clipped, clippedRecords;
  } cases[] = {
      {1, one.sum / one.n, std::sqrt(one.squares / one.n), 30000.0f, 2, false, 0, 0},
      {2, 7.0, 7.0, 7.0f, 0, true, 0, 0},
      {3, three.sum / three.n, std::sqrt(three.squares / three.n), 32767.0f, 0, false, 10, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.channel);
    const HourFigures f = hours.Figures(c.channel, kHour8, later);
    EXPECT_EQ(f.records, 4);
    EXPECT_EQ(f.samples, 4000);
    EXPECT_NEAR(f.availability, availability, 1e-9);
    EXPECT_EQ(f.gaps, 1);
    EXPECT_NEAR(f.gapSeconds, 3.0, 1e-6);
    EXPECT_EQ(f.overlaps, 1);
    EXPECT_NEAR(f.overlapSeconds, 0.5, 1e-6);
    // Arrivals in whole seconds: A, B and C 1 s after their ends, D (ending
    // at 08:10:06.500) at 08:15:59, 292.5 s after.
    EXPECT_NEAR(f.latencyMax, 292.5, 1e-6);
    EXPECT_NEAR(f.latencyMean, (3 * 1.0 + 292.5) / 4, 1e-6);
    EXPECT_EQ(f.amplitudeSamples, 4000);
    EXPECT_NEAR(f.offset, c.offset, 1e-9);
    EXPECT_NEAR(f.rms, c.rms, 1e-9);
    EXPECT_EQ(f.peak, c.peak);
    EXPECT_EQ(f.spikes, c.spikes);
    EXPECT_EQ(f.dead, c.dead);
    EXPECT_EQ(f.clipped, c.clipped);
    EXPECT_EQ(f.clippedRecords, c.clippedRecords);
    // The channel file's line gives the same figures back.
    const auto back = ParseChannelHourLine(ChannelHourLine(f));
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(back->records, f.records);
    EXPECT_EQ(back->gaps, f.gaps);
    EXPECT_EQ(back->spikes, f.spikes);
    EXPECT_EQ(back->dead, f.dead);
    EXPECT_EQ(back->clipped, f.clipped);
    EXPECT_NEAR(back->availability, f.availability, 1e-3);
  }
}

// The hour under way counts only what has passed of it since the channel's
// first record; it is handed out once, after it ended.
TEST_F(ChannelHoursTest, TheHourUnderWayAndItsHandingOut) {
  const int64_t soon = kHour8 + 10 * 60 + 7;  // 08:10:07, 7 s after the first record began
  EXPECT_NEAR(hours.Figures(1, kHour8, soon).availability, 100.0 * 3.5 / 7.0, 1e-9);
  EXPECT_TRUE(hours.TakeFinished(soon, soon).empty());
  const int64_t after = kHour8 + 3600 + 300;
  EXPECT_EQ(hours.TakeFinished(after, after).size(), 3u);
  EXPECT_TRUE(hours.TakeFinished(after, after).empty());  // once
}

// Spikes are single samples: a quake of many samples is none, and neither
// is a constant or too short a trace.
TEST(TraceFigures, TheSpikeRule) {
  SimulatorOptions o;
  o.traces = 1;
  o.samples = 3000;
  const auto quake = SimulatedTraces(o, 0, true)[0];
  std::vector<float> glitch = SimulatedTraces(o, 1, false)[0];
  glitch[10] = 50.0f;
  glitch[11] = 50.0f;  // two in a row: no spike
  glitch[2000] = -60.0f;
  const std::vector<float> flat(100, 3.0f), shortOne = {0.0f, 100.0f};
  struct Case {
    const char* what;
    const std::vector<float>& x;
    int64_t spikes;
  } cases[] = {{"quake", quake, 0}, {"glitches", glitch, 1}, {"flat", flat, 0}, {"two samples", shortOne, 0}};
  for (const Case& c : cases) EXPECT_EQ(MeasureTrace(c.x.data(), c.x.size(), 4).spikes, c.spikes) << c.what;
  EXPECT_TRUE(MeasureTrace(flat.data(), flat.size(), 4).dead());
  // Full scale by format: 16-bit, 32-bit, 20-bit; floats have none.
  const std::vector<float> loud = {32767.0f, -32768.0f, 524287.0f, -524288.0f, 2147483648.0f, 1.0e9f};
  const int64_t clipped[] = {0, 6, 1, 4, 0, 0};  // by code 0..5: each counts what lies at or beyond its scale
  for (int code = 0; code <= 5; ++code) {
    EXPECT_EQ(MeasureTrace(loud.data(), loud.size(), code).clipped, clipped[code]) << code;
  }
}

}  // namespace
}  // namespace zentrova
