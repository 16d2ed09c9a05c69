// Samples a recorder should never write: NaN, infinities, values near the
// largest float. Each costs the windows that hold it (and, through the
// band-pass, its ringing), never the rest of the record; and a background
// of nearly nothing gives a largest ratio that is still a number.

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "detection/event_detector.h"
#include "detection/event_message.h"
#include "platform/memory_file_system.h"

namespace zentrova {
namespace {

constexpr double kRateHz = 1000.0;

// Three traces of `seconds` at 1 kHz: noise of RMS `noise`, and a 20 Hz
// quake of `amplitude` lasting 2 s from `quakeS` on.
void MakeQuake(SeismicRecord& r, double seconds, double quakeS, double noise, double amplitude) {
  constexpr int kTraces = 3;
  const int ns = static_cast<int>(kRateHz * seconds);
  r.AllocateTraces(kTraces);
  r.nTraces = kTraces;
  r.bAllocated = 1;
  r.strFileName = "7001.sg2";
  uint32_t seed = 99;
  for (int i = 0; i < kTraces; ++i) {
    r.pHeader[i].nSamples = ns;
    r.pHeader[i].fSampleInterval = static_cast<float>(1e6 / kRateHz);
    r.ppData[i].resize(static_cast<size_t>(ns));
    for (int j = 0; j < ns; ++j) {
      seed = seed * 1664525u + 1013904223u;
      double v = noise * (static_cast<double>(seed >> 8) / 16777216.0 - 0.5) * std::sqrt(12.0);
      const double t = j / kRateHz - quakeS;
      if (t >= 0.0 && t < 2.0) v += amplitude * std::sin(2.0 * M_PI * 20.0 * t);
      r.ppData[i][j] = static_cast<float>(v);
    }
  }
}

EventDetectionParameters QuakeParameters(bool bandPass) {
  EventDetectionParameters p;
  p.nMethod = 0;
  p.SetChannels("0-2", 512);
  p.fTimeWindow1 = 1000.0f;
  p.fTimeWindow2 = 200.0f;
  p.fRmsRatio = 4.0f;
  p.bWholeEvents = 1;
  p.fEventGap = 5.0f;
  p.bBandPass = bandPass ? 1 : 0;
  p.fBandPassLow = 5.0f;
  p.fBandPassHigh = 40.0f;
  return p;
}

// The event times from `fromS` on.
std::vector<float> EventsFrom(const EventDetectionParameters& p, float fromS) {
  std::vector<float> times;
  for (float t : p.fEventTime) {
    if (t >= fromS) times.push_back(t);
  }
  return times;
}

TEST(BadSamples, OneCostsOnlyTheWindowsThatHoldIt) {
  const float kInf = std::numeric_limits<float>::infinity();
  const float bad[] = {std::numeric_limits<float>::quiet_NaN(), kInf, -kInf, 3e38f, -3.4e38f};
  for (const bool bandPass : {false, true}) {
    SCOPED_TRACE(bandPass ? "band-passed" : "as recorded");
    MemoryFileSystem fs;
    SeismicRecord clean;
    MakeQuake(clean, 30.0, 20.0, 1.0, 30.0);
    EventDetectionParameters reference = QuakeParameters(bandPass);
    DetectEvents(reference, clean, fs, "", 0);
    // The windows holding the sample at 1.2 s end by 2.2 s; the ringing of
    // a huge one through the 5 Hz high-pass has died down well before 10 s.
    const float kAfter = bandPass ? 10.0f : 2.2f;
    const std::vector<float> expected = EventsFrom(reference, kAfter);
    ASSERT_EQ(expected.size(), 1u);
    EXPECT_NEAR(expected[0], 20.0f, 0.2f);
    for (const float value : bad) {
      SCOPED_TRACE(value);
      for (int trace : {0, 1, 2}) {
        SeismicRecord r;
        MakeQuake(r, 30.0, 20.0, 1.0, 30.0);
        r.ppData[trace][1200] = value;
        EventDetectionParameters p = QuakeParameters(bandPass);
        DetectEvents(p, r, fs, "", 0);
        EXPECT_EQ(EventsFrom(p, kAfter), expected) << "trace " << trace;
      }
    }
  }
}

// The ratio of a burst over a background some 1e-30 strong exceeds any
// float: it is given as the largest ratio told, in the event file's column
// and in the mail.
TEST(BadSamples, ALargestRatioBeyondAnyFloatIsGivenAsTheLargestTold) {
  SeismicRecord r;
  MakeQuake(r, 6.0, 3.0, 1e-30, 1e10);
  EventDetectionParameters p = QuakeParameters(false);
  MemoryFileSystem fs;
  ASSERT_EQ(DetectEvents(p, r, fs, "/events.txt", 0), 1);
  EXPECT_EQ(p.fEventMaxRatio[0], EventDetectionParameters::kLargestRatio);
  const std::string file = fs.Contents("/events.txt");
  const size_t line = file.find("Event: 7001.sg2 ");
  ASSERT_NE(line, std::string::npos) << file;
  const std::string event = file.substr(line, file.find("\r\n", line) - line);
  EXPECT_NE(event.find(" 10000000000.000000 "), std::string::npos) << event;
  EXPECT_NE(EventMessage(p, 7001).find("largest RMS ratio 10000000000.00 on channel"), std::string::npos)
      << EventMessage(p, 7001);
}

}  // namespace
}  // namespace zentrova
