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
  // A trace whose spike leaves the frame is cut there into two lines: the
  // traces are the lines that begin at the frame's left edge.
  std::vector<RecordingSurface::Primitive> Starting(const RecordingSurface& s) const {
    std::vector<RecordingSurface::Primitive> lines;
    for (const auto& line : Traces(s)) {
      if (line.points[0].x == 150) lines.push_back(line);
    }
    return lines;
  }

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
  // The caption's letters, made smaller only as far as the width needs.
  ASSERT_TRUE(s.drawn[0].font);
  EXPECT_LE(s.drawn[0].font->height, CaptionFont().height);
  EXPECT_GE(s.drawn[0].font->height, TickLabelFont().height);
  EXPECT_LE(DrawnTextWidth(s.drawn[0].text, *s.drawn[0].font), kArea.width - 20);
}

TEST_F(WaveformDrawing, CaptionThenFrameThenOneLinePerTrace) {
  MakeRecord(24, 100, 1000.0f, Ones);
  const RecordingSurface s = Draw(0.4f);  // every spike inside the frame
  EXPECT_EQ(result, 1);
  EXPECT_EQ(s.drawn[0].text, "1234.sg2 (Number of traces = 24 : Number of samples = 100)");
  const auto traces = Traces(s);
  ASSERT_EQ(traces.size(), 24u);
  for (int i = 0; i < 24; ++i) {
    EXPECT_EQ(traces[i].pen, (Pen{TraceColour(1 + i % 3), 2}));
    EXPECT_EQ(traces[i].points.size(), 100u);  // fewer samples than columns: every sample
  }
  // Time across in milliseconds, the traces from -0.5 down to 23.5.
  EXPECT_FLOAT_EQ(lastAxes.fXMax, doc.record.fMaxLength);
  EXPECT_FLOAT_EQ(lastAxes.fYMin, -0.5f);
  EXPECT_FLOAT_EQ(lastAxes.fYMax, 23.5f);
  EXPECT_EQ(lastAxes.strXTitle, "Time (ms)");
  EXPECT_EQ(lastAxes.strYTitle, "Trace");
}

// A text left of the frame's left edge and below its top, in the tick
// labels' letters (the time labels stand above the frame).
bool IsTraceLabel(const RecordingSurface::Primitive& t) {
  return t.points[0].x < 150 && t.points[0].y < -120 && t.font == TickLabelFont();
}

std::vector<std::string> TraceLabels(const RecordingSurface& s) {
  std::vector<std::string> labels;
  for (const auto& t : s.Of(Kind::kText)) {
    if (IsTraceLabel(t)) labels.push_back(t.text);
  }
  return labels;
}

TEST_F(WaveformDrawing, TracesNumberedFromTheFirstThinnedEvenlyWhereTheyDoNotFit) {
  struct Case {
    int traces;
    PageSize area;
    std::vector<std::string> labels;
  } cases[] = {
      {1, kArea, {"1"}},
      {3, kArea, {"1", "2", "3"}},
      {4, kArea, {"1", "2", "3", "4"}},
      {4, {1333, 400}, {"1", "3"}},  // 37.5 units a trace: every second, from the first
      {12, kArea, {"1", "3", "5", "7", "9", "11"}},
      {13, kArea, {"1", "3", "5", "7", "9", "11", "13"}},
      {24, kArea, {"1", "5", "10", "15", "20"}},
      {24, {2000, 2000}, {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12", "13", "14", "15", "16",
                          "17", "18", "19", "20", "21", "22", "23", "24"}},
      {60, kArea, {"1", "10", "20", "30", "40", "50", "60"}},
  };
  for (const Case& c : cases) {
    MakeRecord(c.traces, 20, 1000.0f, Ones);
    RecordingSurface s(c.area);
    PlotAxes axes;
    axes.bYDown = 1;
    DrawWaveforms(s, axes, doc, c.area, 1.0f, 0);
    EXPECT_EQ(TraceLabels(s), c.labels) << c.traces << " traces in " << c.area.height;
    // Each label ends left of the frame, centred on its trace's baseline.
    const double spacing = (c.area.height - 250.0) / c.traces;
    for (const auto& t : s.Of(Kind::kText)) {
      if (!IsTraceLabel(t)) continue;
      EXPECT_LE(t.points[0].x + DrawnTextWidth(t.text, *t.font), 150 - kTraceLabelGap);
      const int d = static_cast<int>((std::stoi(t.text) - 1 + 0.5) * spacing + 150);
      EXPECT_EQ(t.points[0].y, -d + t.font->height / 2) << t.text;
    }
  }
}

TEST_F(WaveformDrawing, NoTracePointOutsideTheFrame) {
  MakeRecord(3, 400, 1000.0f, Rising, 200);
  for (int j = 0; j < 400; ++j) doc.record.ppData[1][j] = j % 2 == 0 ? 3.0f : -3.0f;  // a loud burst
  doc.record.ComputeSummary();
  for (float gain : {1.0f, 4.0f, 1.0e6f}) {
    const RecordingSurface s = Draw(gain);
    const auto lines = Traces(s);
    ASSERT_GE(lines.size(), 3u);
    for (const auto& line : lines) {
      for (const PagePoint& q : line.points) {
        EXPECT_TRUE(q.x >= 150 && q.x <= 150 + 1083 && q.y <= -150 && q.y >= -566)
            << "gain " << gain << " (" << q.x << ", " << q.y << ")";
      }
    }
  }
}

// The labels above the frame (the time axis), in drawing order.
std::vector<RecordingSurface::Primitive> TimeLabels(const RecordingSurface& s) {
  std::vector<RecordingSurface::Primitive> labels;
  for (const auto& t : s.Of(Kind::kText)) {
    if (t.points[0].y > -150 && t.points[0].y < -60 && t.font == TickLabelFont()) labels.push_back(t);
  }
  return labels;
}

// The axis counts from the shot at any delay, even one of days (or one
// before the shot): round ticks, labels that do not run into each other,
// the traces across the whole frame.
TEST_F(WaveformDrawing, TimeFromTheShotWithTheRecordsDelay) {
  const double kUnaligned = -1.0;  // a first tick only asked to be a multiple of the step
  struct Case {
    float dt;       // microseconds
    int samples;
    float delay;    // microseconds
    const char* title;
    double firstTick;
  } cases[] = {
      {1000.0f, 1500, -500000.0f, "Time (ms)", -400.0},  // every 200 ms
      {1000.0f, 1000, 0.0f, "Time (ms)", 0.0},
      {250.0f, 4000, -10000.0f, "Time (ms)", 0.0},
      {200000.0f, 450, 200000.0f, "Time (s)", 10.0},
      {125.0f, 12000, 1.0e11f, "Time (ms)", kUnaligned},   // 1e5 s
      {125.0f, 12000, 1.0e12f, "Time (ms)", kUnaligned},   // 1e6 s
      {125.0f, 12000, 1.0e13f, "Time (ms)", kUnaligned},   // 1e7 s
      {125.0f, 12000, -1.0e13f, "Time (ms)", kUnaligned},
      {10000.0f, 1000, 1.0e13f, "Time (s)", kUnaligned},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.delay << " us");
    MakeRecord(2, c.samples, c.dt, Ones);
    for (CHeader& h : doc.record.pHeader) h.fDelay = c.delay;
    const RecordingSurface s = Draw();
    const double unit = std::string(c.title) == "Time (s)" ? 1000.0 : 1.0;
    const double first = static_cast<double>(c.delay) / 1000.0 / unit;
    const double last = first + static_cast<double>(c.dt) * c.samples / 1000.0 / unit;
    const double step = lastAxes.fXStep;
    EXPECT_NEAR(lastAxes.dXOrigin + lastAxes.fXMin, first, step * 1e-3);
    EXPECT_NEAR(lastAxes.dXOrigin + lastAxes.fXMax, last, step * 1e-3);
    EXPECT_EQ(lastAxes.strXTitle, c.title);
    // The ticks stand on multiples of their step, one of 1, 2 or 5 times a power of ten.
    const double decade = std::pow(10.0, std::floor(std::log10(step)));
    const double mantissa = step / decade;
    EXPECT_TRUE(std::fabs(mantissa - 1) < 1e-4 || std::fabs(mantissa - 2) < 1e-4 || std::fabs(mantissa - 5) < 1e-4)
        << step;
    const double firstTick = lastAxes.dXOrigin + lastAxes.fXFirst;
    if (c.firstTick != kUnaligned) {
      EXPECT_NEAR(firstTick, c.firstTick, step * 1e-3);
    }
    EXPECT_NEAR(std::remainder(firstTick, step), 0.0, step * 1e-3);
    EXPECT_GE(firstTick, first - step * 1e-3);
    EXPECT_LT(firstTick, first + step);
    // The labels: the tick values, each clear of the next.
    const auto labels = TimeLabels(s);
    ASSERT_GE(labels.size(), 2u);
    for (size_t k = 0; k < labels.size(); ++k) {
      EXPECT_NEAR(std::stod(labels[k].text), firstTick + static_cast<double>(k) * step, step * 1e-3) << labels[k].text;
      if (k > 0) {
        EXPECT_GE(labels[k].points[0].x, labels[k - 1].points[0].x + DrawnTextWidth(labels[k - 1].text, *labels[k - 1].font))
            << labels[k - 1].text << " runs into " << labels[k].text;
      }
    }
    // The first sample at the frame's left edge, the last one sample short of its right.
    const auto traces = Traces(s);
    ASSERT_FALSE(traces.empty());
    EXPECT_EQ(traces[0].points.front().x, 150);
    int right = 0;
    for (const auto& line : traces) right = std::max(right, line.points.back().x);
    EXPECT_GE(right, 150 + 1083 * (c.samples - 1) / c.samples - 1);
  }
}

// Traces a few pixels apart: their quiet stretches are not drawn as lines
// that would fill the frame, only a light baseline for every few traces;
// what swings away from the baseline keeps the trace's colour.
TEST_F(WaveformDrawing, CloseTracesHaveLightBaselinesUnderTheirSwings) {
  struct Case {
    int traces;
    size_t lightLines;  // none (8 units apart and more), every second trace's (4.3 apart), every eighth's
  } cases[] = {{24, 0}, {48, 0}, {96, 48}, {400, 50}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.traces);
    MakeRecord(c.traces, 1000, 1000.0f, Ones, 500);
    const RecordingSurface s = Draw(3.0f);  // every spike a few units high
    size_t light = 0, swings = 0;
    for (const auto& line : Traces(s)) {
      const int from = line.points.front().x, to = line.points.back().x;
      if (line.pen.colour == TraceColour(1) || line.pen.colour == TraceColour(2) || line.pen.colour == TraceColour(3)) {
        ++swings;
        if (c.lightLines > 0) {
          EXPECT_LT(to - from, 10) << "a quiet stretch drawn dark";
        }
      } else {
        ++light;
        EXPECT_EQ(line.points.front().y, line.points.back().y);
        EXPECT_EQ(from, 150);
        EXPECT_GT(to, 1200);
      }
    }
    EXPECT_EQ(light, c.lightLines);
    EXPECT_GE(swings, static_cast<size_t>(c.traces));
  }
}

TEST_F(WaveformDrawing, ByOffsetEachTraceAtItsReceiversDistanceFromTheSource) {
  MakeRecord(24, 100, 1000.0f, Ones);
  for (CHeader& h : doc.record.pHeader) h.nSourceLoc = -500;  // the shot 5 m before the first receiver
  RecordingSurface s(kArea);
  PlotAxes axes;
  axes.bYDown = 1;
  DrawWaveforms(s, axes, doc, kArea, 0.4f, 0, TracePlacement::kByOffset);
  EXPECT_EQ(axes.strYTitle, "Offset (m)");
  // Offsets 7 to 53 m, half a spacing beyond each end.
  EXPECT_FLOAT_EQ(axes.fYMin, 6.0f);
  EXPECT_FLOAT_EQ(axes.fYMax, 54.0f);
  const auto traces = Traces(s);
  ASSERT_EQ(traces.size(), 24u);
  for (int i = 0; i < 24; ++i) {
    const float offset = 7.0f + 2.0f * static_cast<float>(i);
    const int d0 = static_cast<int>((static_cast<double>(offset) - 6.0) * axes.fYScale + 150);
    EXPECT_EQ(traces[i].points[0].y, -d0) << i;
  }
  // Offsets on the labels, on round values.
  const auto labels = TraceLabels(s);
  EXPECT_GT(labels.size(), 2u);
  for (const std::string& label : labels) EXPECT_EQ(std::fmod(std::stof(label), axes.fYStep), 0.0f) << label;
}

// Offset labels of any length end before the frame, with the decimals
// their step needs, none the same as the one before.
TEST_F(WaveformDrawing, OffsetLabelsStandClearOfTheFrameAndReadApart) {
  struct Case {
    int source;         // cm
    int receiverStep;   // cm
    int traces;
  } cases[] = {
      {-100000, 200, 24},  // 1000 to 1046 m
      {100000, 200, 24},   // -1000 to -954 m
      {0, 1, 24},          // 1 cm apart
      {-123456, 1, 3},     // 1234.56 to 1234.58 m
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.source);
    MakeRecord(c.traces, 100, 1000.0f, Ones);
    for (int i = 0; i < c.traces; ++i) {
      doc.record.pHeader[i].nSourceLoc = c.source;
      doc.record.pHeader[i].nReceiverLoc = c.receiverStep * i;
    }
    RecordingSurface s(kArea);
    PlotAxes axes;
    axes.bYDown = 1;
    DrawWaveforms(s, axes, doc, kArea, 0.4f, 0, TracePlacement::kByOffset);
    std::vector<std::string> labels;
    for (const auto& t : s.Of(Kind::kText)) {
      if (!IsTraceLabel(t)) continue;
      labels.push_back(t.text);
      EXPECT_LE(t.points[0].x + DrawnTextWidth(t.text, *t.font), 150 - kTraceLabelGap) << t.text;
    }
    ASSERT_GE(labels.size(), 2u);
    for (size_t k = 1; k < labels.size(); ++k) {
      EXPECT_NE(labels[k], labels[k - 1]);
      EXPECT_NEAR(std::stod(labels[k]) - std::stod(labels[k - 1]), axes.fYStep, axes.fYStep * 1e-3) << labels[k];
    }
  }
}

TEST_F(WaveformDrawing, ALongNameIsShortenedFromItsBeginningToFitTheCaption) {
  MakeRecord(24, 100, 1000.0f, Ones);
  const std::string name = std::string(200, 'x') + "_shot_0006.dat";
  doc.record.strFileName = name;
  for (PageSize area : {kArea, PageSize{3000, 1000}}) {
    const FittedCaption c = WaveformCaption(doc.record, area.width - 20);
    EXPECT_LE(DrawnTextWidth(c.text, c.font), area.width - 20) << area.width;
    EXPECT_EQ(c.text.substr(0, 3), "...");
    EXPECT_NE(c.text.find("_shot_0006.dat (Number of traces = 24 : Number of samples = 100)"), std::string::npos);
  }
  doc.record.strFileName = "1234.sg2";  // a short name stays whole in the caption's letters
  const FittedCaption whole = WaveformCaption(doc.record, kArea.width - 20);
  EXPECT_EQ(whole.text, "1234.sg2 (Number of traces = 24 : Number of samples = 100)");
  ASSERT_TRUE(whole.font.height >= TickLabelFont().height);
}

// In a small picture the caption's other text gives way before the name:
// the name tells the record.
TEST_F(WaveformDrawing, ASmallCaptionShortensItsCountsBeforeTheName) {
  MakeRecord(24, 12000, 125.0f, Ones);
  doc.record.strFileName = "swprocess_wghs_1.dat";
  struct Case {
    int width;  // page units
    std::string caption;
  } cases[] = {
      {1313, "swprocess_wghs_1.dat (Number of traces = 24 : Number of samples = 12000)"},
      {780, "swprocess_wghs_1.dat (24 traces)"},
      {580, "swprocess_wghs_1.dat (24 traces)"},
      {400, "swprocess_wghs_1.dat"},
      {300, "...ess_wghs_1.dat"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.width);
    const FittedCaption fitted = WaveformCaption(doc.record, c.width);
    EXPECT_EQ(fitted.text, c.caption);
    EXPECT_LE(DrawnTextWidth(fitted.text, fitted.font), c.width);
  }
}

TEST_F(WaveformDrawing, TraceIOnBaselineIWhereverItsReceiverStands) {
  MakeRecord(24, 100, 1000.0f, Ones);
  const RecordingSurface s = Draw(0.4f);
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
      const auto traces = Starting(s);
      ASSERT_EQ(traces.size(), 24u);
      const float spacing = 416.0f / 24.0f * gain;
      for (int i = 0; i < 24; ++i) {
        const float room = (static_cast<float>(i) + 0.5f) * 416.0f / 24.0f;  // to the frame's top
        const float reach = normalize == 1 ? spacing : static_cast<float>(i + 1) * spacing / 24.0f;
        if (reach >= room) continue;
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
  const RecordingSurface s = Draw(0.4f);
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
  p.fTimeWindow1 = p.fTimeWindow2 = 20.0f;  // triggers 0.25 s apart: two runs
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

TEST_F(WaveformDrawing, OneDiscWhereEachRunOfTriggersBeginsAndTheRunAlongTheBaseline) {
  MakeRecord(4, 1000, 1000.0f, Ones);  // 1 ms a sample
  EventDetectionParameters& p = Detection();
  // Triggers further apart than the longer window (50 ms) begin a new run.
  p.fTimeWindow1 = 50.0f;
  p.fTimeWindow2 = 20.0f;
  std::vector<float>& times = p.fTraceTriggerTime[2];
  for (int k = 100; k < 400; ++k) times.push_back(static_cast<float>(k) / 1000.0f);  // 0.1 to 0.399 s
  times.push_back(0.5f);                                                           // a single trigger
  for (int k = 700; k < 710; k += 5) times.push_back(static_cast<float>(k) / 1000.0f);  // every 5 ms
  p.nTraceTriggers[2] = static_cast<int>(times.size());
  doc.bEventDetection = 1;
  const RecordingSurface s = Draw();
  const double xScale = lastAxes.fXScale;
  const int d0 = static_cast<int>(2.5f * 104.0f + 150);
  const auto X = [&](double seconds) { return static_cast<int>(seconds * 1000 * xScale + 150); };
  const auto discs = s.Of(Kind::kEllipse);
  ASSERT_EQ(discs.size(), 3u);
  const double starts[] = {0.1, 0.5, 0.7};
  for (int r = 0; r < 3; ++r) {
    const int x = X(static_cast<double>(static_cast<float>(starts[r])));
    EXPECT_EQ(discs[r].box, (PageRect{{x - 10, -d0 - 10}, {x + 10, -d0 + 10}})) << r;
  }
  std::vector<std::vector<PagePoint>> runs;
  for (const auto& line : Traces(s)) {
    if (line.pen == kTriggerRunPen) runs.push_back(line.points);
  }
  ASSERT_EQ(runs.size(), 2u);  // the single trigger has no length
  EXPECT_EQ(runs[0], (std::vector<PagePoint>{{X(0.1), -d0}, {X(static_cast<double>(0.399f)), -d0}}));
  EXPECT_EQ(runs[1], (std::vector<PagePoint>{{X(0.7), -d0}, {X(static_cast<double>(0.705f)), -d0}}));
}

TEST_F(WaveformDrawing, AtMostTenThousandTriggersATraceAndNoneBeyondTrace511) {
  MakeRecord(600, 10, 1000.0f, Ones);
  // The first trace 30 s long: room for 10000 runs of one trigger, 2 ms apart.
  doc.record.pHeader[0].nSamples = 30000;
  doc.record.ppData[0].assign(30000, 0.0f);
  EventDetectionParameters& p = Detection();
  p.fTimeWindow1 = 1.0f;  // runs end after 1.5 samples
  p.fTimeWindow2 = 1.0f;
  p.nTraceTriggers[0] = 20000;  // counted on past the stored times
  for (int k = 0; k < 10000; ++k) p.fTraceTriggerTime[0].push_back(0.002f * static_cast<float>(k));
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
  const RecordingSurface s = Draw(0.4f);  // the spikes inside the frame
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
  EXPECT_EQ(top - baseline, 166);  // 416 x 0.4
  EXPECT_EQ(baseline - bottom, 166);
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
      const auto traces = Starting(Draw(1.0f, normalize));
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
  EXPECT_EQ(Starting(s).size(), 3u);
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
