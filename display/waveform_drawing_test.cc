// The waveform picture as drawn: caption, baselines, amplitudes, colours,
// the detector's markers, and records that are empty or hostile.

#include "display/waveform_drawing.h"

#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "detection/event_detection_parameters.h"
#include "display/plot_frame.h"
#include "display/recording_surface.h"
#include "monitor/station_fixture.h"

namespace zentrova {
namespace {

using Kind = RecordingSurface::Kind;
constexpr PageSize kArea{1333, 666};  // the event image's area

class WaveformDrawing : public ::testing::Test {
 protected:
  // A record of `traces` traces of `samples` samples at `dt` microseconds,
  // trace i a single spike of height amplitude(i) at sample `spikeAt`.
  void MakeRecord(int traces, int samples, float dt, float (*amplitude)(int), int spikeAt = 5) {
    SeismicRecord& r = doc.record;
    r.strFileName = "1234.sg2";
    r.AllocateTraces(traces);
    r.nTraces = traces;
    r.bAllocated = 1;
    r.pHeader.resize(traces);
    r.ppData.resize(traces);
    for (int i = 0; i < traces; ++i) {
      CHeader& h = r.pHeader[i];
      h.nSamples = samples;
      h.fSampleInterval = dt;
      h.nReceiverLoc = 200 * (i + 1);  // receivers 2 m apart, from 2 m
      h.nComponent = 1 + i % 3;
      r.ppData[i].assign(samples, 0.0f);
      if (spikeAt < samples) r.ppData[i][spikeAt] = amplitude(i);
    }
    r.ComputeSummary();
  }

  RecordingSurface Draw(float gain = 1.0f, int normalize = 0) {
    RecordingSurface s(kArea);
    PlotAxes axes;
    axes.bYDown = 1;
    result = DrawWaveforms(s, axes, doc, kArea, gain, normalize);
    lastAxes = axes;
    return s;
  }

  std::vector<RecordingSurface::Primitive> Traces(const RecordingSurface& s) const { return s.Of(Kind::kPolyline); }

  EventDetectionParameters& Detection() {
    doc.pDetectionParameters = std::make_shared<EventDetectionParameters>();
    EventDetectionParameters& p = *doc.pDetectionParameters;
    p.nTraceTriggers.assign(p.nMaxChannels, 0);
    p.fTraceTriggerTime.assign(p.nMaxChannels, {});
    return p;
  }

  testing::StationFixture st;
  CZentrovaDoc& doc = st.Doc();
  int result = -1;
  PlotAxes lastAxes;
};

float Ones(int) { return 1.0f; }
float Rising(int i) { return static_cast<float>(i + 1); }  // trace 23 the loudest

TEST_F(WaveformDrawing, AnEmptyRecordGivesOnlyTheCaption) {
  doc.record.strFileName = "empty.sg2";
  doc.record.nTraces = 0;
  const RecordingSurface s = Draw();
  EXPECT_EQ(result, 0);
  ASSERT_EQ(s.drawn.size(), 1u);
  EXPECT_EQ(s.drawn[0].text, "empty.sg2 (Number of traces = 0 : Number of samples = 0)");
  EXPECT_EQ(s.drawn[0].points[0], (PagePoint{10, -10}));
  EXPECT_EQ(s.drawn[0].font, CaptionFont());
}

TEST_F(WaveformDrawing, CaptionThenFrameThenOneLinePerTrace) {
  MakeRecord(24, 100, 1000.0f, Ones);
  const RecordingSurface s = Draw();
  EXPECT_EQ(result, 1);
  EXPECT_EQ(s.drawn[0].text, "1234.sg2 (Number of traces = 24 : Number of samples = 100)");
  const auto traces = Traces(s);
  ASSERT_EQ(traces.size(), 24u);
  for (int i = 0; i < 24; ++i) {
    EXPECT_EQ(traces[i].pen, (Pen{TraceColour(1 + i % 3), 2}));
    EXPECT_EQ(traces[i].points.size(), 100u);  // fewer samples than columns: every sample
  }
  // Time across in milliseconds, the channels from -0.5 down to 23.5.
  EXPECT_FLOAT_EQ(lastAxes.fXMax, doc.record.fMaxLength);
  EXPECT_FLOAT_EQ(lastAxes.fYMin, -0.5f);
  EXPECT_FLOAT_EQ(lastAxes.fYMax, 23.5f);
  // Channel ticks every 10 from the range's first value -0.5, labelled by "%.0f".
  const auto texts = s.Texts();
  ASSERT_GE(texts.size(), 4u);
  EXPECT_EQ(std::vector<std::string>(texts.end() - 3, texts.end()), (std::vector<std::string>{"-0", "10", "20"}));
}

TEST_F(WaveformDrawing, TraceIOnBaselineIWhereverItsReceiverStands) {
  MakeRecord(24, 100, 1000.0f, Ones);
  const RecordingSurface s = Draw();
  const auto traces = Traces(s);
  const float scale = 416.0f / 24.0f;
  for (int i = 0; i < 24; ++i) {
    const int d0 = static_cast<int>((i + 0.5) * scale + 150);
    // Sample 0 is silent: the line starts on its baseline at the frame's left edge.
    EXPECT_EQ(traces[i].points[0], (PagePoint{150, -d0})) << "trace " << i;
    EXPECT_GT(-d0, -566) << "inside the frame";
    EXPECT_LT(-d0, -150);
  }
  // Trace 0 half a channel below the top edge, trace 23 half above the bottom.
  EXPECT_EQ(traces[0].points[0].y, -static_cast<int>(0.5 * scale + 150));
  EXPECT_EQ(traces[23].points[0].y, -static_cast<int>(23.5 * scale + 150));
}

TEST_F(WaveformDrawing, TheLoudestSampleReachesOneTraceSpacingTimesTheGain) {
  MakeRecord(24, 100, 1000.0f, Rising);
  for (float gain : {1.0f, 0.8f, 1.6f}) {
    for (int normalize : {0, 1}) {
      const RecordingSurface s = Draw(gain, normalize);
      const auto traces = Traces(s);
      const float spacing = 416.0f / 24.0f * gain;
      for (int i = 0; i < 24; ++i) {
        const int baseline = traces[i].points[0].y;
        const int peak = traces[i].points[5].y - baseline;
        // Normalised, every trace reaches the spacing; else each by its share of the loudest.
        const float expected = normalize == 1 ? spacing : static_cast<float>(i + 1) * spacing / 24.0f;
        EXPECT_NEAR(peak, expected, 1.0) << "trace " << i << " gain " << gain << " normalize " << normalize;
      }
      EXPECT_EQ(traces[23].points[5].y - traces[23].points[0].y, static_cast<int>(spacing));
    }
  }
}

TEST_F(WaveformDrawing, TimeRunsAcrossInMilliseconds) {
  MakeRecord(2, 50, 2000.0f, Ones);  // 2 ms a sample, 98 ms long
  const RecordingSurface s = Draw();
  const auto traces = Traces(s);
  EXPECT_FLOAT_EQ(lastAxes.fXScale, 1083.0f / 100.0f);  // 50 samples of 2 ms
  for (int j : {0, 1, 10, 49}) {
    EXPECT_EQ(traces[0].points[j].x,
              static_cast<int>(static_cast<double>(2.0f * static_cast<float>(j)) * lastAxes.fXScale + 150))
        << j;
  }
}

TEST_F(WaveformDrawing, MarkersOnlyWhileDetectionIsOn) {
  MakeRecord(4, 1000, 1000.0f, Ones);  // one second
  EventDetectionParameters& p = Detection();
  p.nTraceTriggers[1] = 2;
  p.fTraceTriggerTime[1] = {0.25f, 0.5f};
  p.nEvents = 1;
  p.fEventTime = {0.25f};
  doc.bEventDetection = 1;
  {
    const RecordingSurface s = Draw();
    const double xScale = lastAxes.fXScale;
    const auto discs = s.Of(Kind::kEllipse);
    ASSERT_EQ(discs.size(), 2u);
    const int d0 = static_cast<int>(1.5f * 104.0f + 150);  // 416 / 4 = 104 a channel
    const int x = 150 + static_cast<int>(0.25 * 1000 * xScale);
    EXPECT_EQ(discs[0].box, (PageRect{{x - 10, -d0 - 10}, {x + 10, -d0 + 10}}));
    EXPECT_EQ(discs[0].pen, kMarkerPen);
    EXPECT_EQ(discs[0].fill, kRed);
    std::vector<RecordingSurface::Primitive> events;
    for (const auto& l : s.Of(Kind::kLine)) {
      if (l.pen == kMarkerPen) events.push_back(l);
    }
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].points, (std::vector<PagePoint>{{x, -150}, {x, -566}}));
    // The markers lie over the traces.
    EXPECT_EQ(s.drawn.back().kind, Kind::kLine);
    EXPECT_EQ(s.drawn.back().pen, kMarkerPen);
  }
  doc.bEventDetection = 0;  // the results stay, the markers go
  const RecordingSurface off = Draw();
  EXPECT_TRUE(off.Of(Kind::kEllipse).empty());
  for (const auto& l : off.Of(Kind::kLine)) EXPECT_NE(l.pen, kMarkerPen);
}

TEST_F(WaveformDrawing, AtMostTenThousandTriggersATraceAndNoneBeyondTrace511) {
  MakeRecord(600, 10, 1000.0f, Ones);
  EventDetectionParameters& p = Detection();
  p.nTraceTriggers[0] = 20000;  // counted on past the stored times
  p.fTraceTriggerTime[0].assign(10000, 0.001f);
  p.nTraceTriggers[3] = 5;  // more counted than stored
  p.fTraceTriggerTime[3] = {0.001f};
  p.nTraceTriggers.resize(600, 0);  // results of more traces than ever have triggers
  p.fTraceTriggerTime.resize(600);
  p.nTraceTriggers[550] = 1;
  p.fTraceTriggerTime[550] = {0.001f};
  doc.bEventDetection = 1;
  const RecordingSurface s = Draw();
  EXPECT_EQ(s.Of(Kind::kEllipse).size(), 10001u);
}

TEST_F(WaveformDrawing, WithoutADetectionRunNoMarkers) {
  MakeRecord(4, 100, 1000.0f, Ones);
  doc.bEventDetection = 1;
  doc.pDetectionParameters.reset();
  const RecordingSurface s = Draw();
  EXPECT_EQ(result, 1);
  EXPECT_TRUE(s.Of(Kind::kEllipse).empty());
}

TEST_F(WaveformDrawing, SilentTracesLieOnTheirBaselines) {
  MakeRecord(3, 20, 1000.0f, [](int) { return 0.0f; });
  for (int normalize : {0, 1}) {
    const RecordingSurface s = Draw(1.0f, normalize);
    for (const auto& t : Traces(s)) {
      for (const PagePoint& q : t.points) EXPECT_EQ(q.y, t.points[0].y);
    }
  }
}

TEST_F(WaveformDrawing, DenseSamplesKeepEachColumnsSpan) {
  // 60000 samples over 1083 columns: a few points a column, the same span.
  MakeRecord(1, 60000, 250.0f, Ones, 30000);
  doc.record.ppData[0][100] = -1.0f;
  const RecordingSurface s = Draw();
  const auto traces = Traces(s);
  ASSERT_EQ(traces.size(), 1u);
  const auto& pts = traces[0].points;
  EXPECT_LE(pts.size(), 4u * 1084u);
  EXPECT_GE(pts.size(), 1083u);
  int top = pts[0].y, bottom = pts[0].y;
  for (size_t k = 1; k < pts.size(); ++k) {
    EXPECT_GE(pts[k].x, pts[k - 1].x);
    top = std::max(top, pts[k].y);
    bottom = std::min(bottom, pts[k].y);
  }
  const int baseline = pts[0].y;
  EXPECT_EQ(top - baseline, 416);
  EXPECT_EQ(baseline - bottom, 416);
  EXPECT_EQ(pts.back().x, 150 + 1083 - 1);  // the last sample, just before the record's end
}

TEST_F(WaveformDrawing, HostileValuesDrawWithoutOverflow) {
  MakeRecord(3, 10, 0.0f, Ones);  // no sample interval: no length
  doc.record.ppData[0][1] = std::numeric_limits<float>::quiet_NaN();
  doc.record.ppData[0][2] = std::numeric_limits<float>::infinity();
  doc.record.ppData[1][3] = 3.0e38f;
  doc.record.ppData[2][4] = -std::numeric_limits<float>::infinity();
  doc.record.fMaxAmplitude = 1.0e-30f;
  doc.record.fMaxLength = 0.0f;
  const RecordingSurface s = Draw(1.0e30f, 0);
  EXPECT_EQ(result, 1);
  for (const auto& t : Traces(s)) {
    for (const PagePoint& q : t.points) {
      EXPECT_EQ(q.x, 150);
      EXPECT_LE(std::abs(q.y), 200000000);
    }
  }
  // A normaliser that is not a number: the traces lie flat.
  doc.record.fMaxAmplitude = std::numeric_limits<float>::quiet_NaN();
  const RecordingSurface flat = Draw();
  for (const auto& t : Traces(flat)) {
    for (const PagePoint& q : t.points) EXPECT_EQ(q.y, t.points[0].y);
  }
}

// One infinite or NaN sample (a damaged record) takes no part in the
// scaling: the other traces keep their shapes, normalised or not, and the
// bad sample lies on its baseline.
TEST_F(WaveformDrawing, ASampleThatIsNotFiniteDoesNotFlattenThePicture) {
  for (float bad : {std::numeric_limits<float>::infinity(), -std::numeric_limits<float>::infinity(),
                    std::numeric_limits<float>::quiet_NaN()}) {
    MakeRecord(24, 100, 1000.0f, Rising);
    doc.record.ppData[3][50] = bad;
    doc.record.ComputeSummary();
    EXPECT_EQ(doc.record.fMaxAmplitude, 24.0f) << bad;
    EXPECT_EQ(doc.record.pHeader[3].fMaxAmplitude, 4.0f) << bad;
    for (int normalize : {0, 1}) {
      const auto traces = Traces(Draw(1.0f, normalize));
      const float spacing = 416.0f / 24.0f;
      for (int i : {3, 23}) {
        const float expected = normalize == 1 ? spacing : static_cast<float>(i + 1) * spacing / 24.0f;
        EXPECT_NEAR(traces[i].points[5].y - traces[i].points[0].y, expected, 1.0) << bad << " trace " << i;
      }
      EXPECT_EQ(traces[3].points[50].y, traces[3].points[0].y) << bad;
    }
  }
}

TEST_F(WaveformDrawing, MoreTracesCountedThanHeld) {
  MakeRecord(3, 10, 1000.0f, Ones);
  doc.record.nTraces = 5;  // a record whose arrays fell short
  const RecordingSurface s = Draw();
  EXPECT_EQ(Traces(s).size(), 3u);
}

TEST(TraceColour, ByComponent) {
  const std::pair<int, Rgb> cases[] = {
      {1, {0, 0, 0}},     {2, {0, 0, 255}},   {3, {0, 150, 100}}, {4, {200, 0, 150}},
      {5, {100, 200, 0}}, {6, {150, 150, 0}}, {7, {150, 0, 150}}, {8, {200, 100, 0}},
      {9, {0, 200, 200}}, {0, {0, 0, 0}},     {10, {0, 0, 0}},    {-3, {0, 0, 0}},
  };
  for (const auto& [component, colour] : cases) EXPECT_EQ(TraceColour(component), colour) << component;
}

}  // namespace
}  // namespace zentrova
