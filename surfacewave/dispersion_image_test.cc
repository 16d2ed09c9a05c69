#include "surfacewave/dispersion_image.h"

#include <cmath>
#include <filesystem>
#include <complex>
#include <limits>
#include <numbers>
#include <random>

#include <gtest/gtest.h>

#include "platform/key_value_store.h"
#include "platform/linux_file_system.h"
#include "surfacewave/dispersion_picks.h"
#include "surfacewave/fft.h"
#include "surfacewave/phase_shift_stack.h"
#include "surfacewave/test_records.h"
#include "testing/temp_folder.h"

namespace zentrova {
namespace {

using testing::FillShot;
using testing::LineShot;

// A wave without dispersion: every frequency travels at 200 m/s.
float PlaneWave(int, double distance, double time) {
  return testing::DispersiveWave(distance, time, [](double) { return 200.0; });
}

struct Analysed {
  DispersionImageInfo info;
  SurfaceWaveResult result;
  DispersionCurve curve;
};

Analysed Analyse(SeismicRecord& record, DispersionSettings& settings, const std::string& folder = "/nonexistent") {
  Analysed a;
  a.info = ComputeDispersionImage(record, settings, nullptr);
  LinuxFileSystem fs;
  a.curve = PickDispersionCurve(record, settings, a.info, a.result, fs, folder);
  return a;
}

TEST(DispersionImage, RowsAndColumnsOfAQuarterMillisecondShot) {
  SeismicRecord record;
  FillShot(record, LineShot{}, PlaneWave);
  DispersionSettings settings;
  const Analysed a = Analyse(record, settings);
  // 1024 samples padded to twice their length.
  EXPECT_EQ(a.info.transformLength, 2048);
  EXPECT_DOUBLE_EQ(a.info.frequencyStep, 1.953125);
  EXPECT_EQ(a.info.binStep, 1);
  ASSERT_EQ(record.nDispRows, 26);
  EXPECT_EQ(a.info.columns, 200);
  EXPECT_EQ(a.info.tracesUsed, 24);
  for (int r = 0; r < 26; ++r) {
    const CHeader& h = record.pDispHeader[r];
    EXPECT_NEAR(h.fReceiverLoc100, 195.3125 * r, 1e-3) << r;
    EXPECT_EQ(h.nReceiverLoc, static_cast<int>(195.3125 * r + 0.5)) << r;
    EXPECT_EQ(h.nSamples, 200);
    EXPECT_FLOAT_EQ(h.fSampleInterval, 2500.0f);
    EXPECT_EQ(h.nComponent, 1);
    float largest = 0.0f;
    for (int k = 0; k < 200; ++k) {
      ASSERT_GE(record.ppDispImage[r][k], 0.0f);
      ASSERT_LE(record.ppDispImage[r][k], 1.0f + 1e-5f);
      largest = std::max(largest, record.ppDispImage[r][k]);
    }
    EXPECT_FLOAT_EQ(record.fDispRowMax[r], largest);
  }
  EXPECT_FLOAT_EQ(a.result.fPickFrequency[25], 48.83f);  // from the rounded hundredths
  EXPECT_DOUBLE_EQ(a.curve[25].frequency, 25 * 1.953125);  // in full
}

// The stack cell by cell, a sine and cosine for each.
std::vector<float> DirectStack(const PhaseShiftInput& in) {
  std::vector<float> out(static_cast<size_t>(in.rows) * in.columns);
  for (int l = 0; l < in.columns; ++l) {
    const double v = ColumnVelocity(l, in.velocityMin, in.velocityStep);
    for (int r = 0; r < in.rows; ++r) {
      std::complex<double> sum = 0.0;
      for (int u = 0; u < in.traces; ++u) {
        std::complex<double> s((*in.re)[u][r * in.binStep], (*in.im)[u][r * in.binStep]);
        if (std::abs(s) > 0.0) s /= std::abs(s);
        sum += s * std::polar(1.0, in.distance[u] / v * 2.0 * std::numbers::pi * r * in.frequencyStep * in.binStep);
      }
      out[static_cast<size_t>(r) * in.columns + l] = static_cast<float>(std::abs(sum) / in.traces);
    }
  }
  return out;
}

TEST(DispersionImage, PicksTheVelocityOfTheWaveFromEitherEndByTheSourceOrTheLouderEnd) {
  struct Case {
    bool fromLastEnd;
    bool sourceLocation;
    bool fromSource;
  };
  for (const Case c : {Case{false, true, true}, Case{true, true, true}, Case{false, false, false}, Case{true, false, false}}) {
    SCOPED_TRACE(::testing::Message() << "last end " << c.fromLastEnd << ", source location " << c.sourceLocation);
    SeismicRecord record;
    LineShot shot;
    shot.samples = 4096;
    shot.fromLastEnd = c.fromLastEnd;
    shot.sourceLocation = c.sourceLocation;
    FillShot(record, shot, PlaneWave);
    DispersionSettings settings;
    const Analysed a = Analyse(record, settings);
    EXPECT_EQ(settings.nDirection, c.fromLastEnd ? 1 : 0);
    EXPECT_EQ(a.info.spread.fromSource, c.fromSource);
    int resolved = 0;
    for (const CurvePoint& p : a.curve) {
      if (p.frequency < 9.0 || p.frequency > 45.0) continue;  // 23 m resolve 200 m/s from 8.7 Hz
      ASSERT_TRUE(p.resolved) << p.frequency << " Hz";
      EXPECT_NEAR(p.velocity, 200.0f, 10.0f) << p.frequency << " Hz";
      ++resolved;
    }
    EXPECT_GT(resolved, 70);
  }
}

// The image as each trace's own spectrum of its window samples gives it,
// stacked cell by cell. Any positive scale of a trace leaves its unit
// spectrum as it is, so the samples go in unscaled.
std::vector<float> StackOfOwnSpectra(const SeismicRecord& record, const Analysed& a, const DispersionSettings& settings) {
  const int n = a.info.transformLength, traces = record.nTraces;
  const ShotWindow& w = a.info.window;
  std::vector<std::vector<float>> re(traces, std::vector<float>(n)), im = re;
  PhaseShiftInput in;
  for (int u = 0; u < traces; ++u) {
    std::vector<double> r(n, 0.0), i(n, 0.0);
    for (int t = 0; t < w.samples; ++t) r[t] = record.ppData[u][w.first + t];
    Fft(r.data(), i.data(), n);
    std::copy(r.begin(), r.end(), re[u].begin());
    std::copy(i.begin(), i.end(), im[u].begin());
  }
  in.distance = a.info.spread.distance;
  in.re = &re;
  in.im = &im;
  in.traces = traces;
  in.rows = record.nDispRows;
  in.columns = a.info.columns;
  in.binStep = a.info.binStep;
  in.frequencyStep = a.info.frequencyStep;
  in.velocityStep = settings.fVelStep;
  return DirectStack(in);
}

void ExpectImage(const SeismicRecord& record, const std::vector<float>& expected, int columns) {
  for (int r = 0; r < record.nDispRows; ++r) {
    for (int l = 0; l < columns; ++l) {
      ASSERT_NEAR(record.ppDispImage[r][l], expected[static_cast<size_t>(r) * columns + l], 2e-4f) << r << " " << l;
    }
  }
}

TEST(DispersionImage, TheImageIsThePhaseShiftStackOfTheShotWindowsSpectra) {
  // 25 traces (pairs through one transform, and one alone), a recording
  // that begins 0.1 s before the shot, one trace with no positive sample
  // (its scale must not turn its phase): the image is the stack of each
  // trace's own spectrum of its samples from time zero, padded to the
  // transform length.
  SeismicRecord record;
  LineShot shot;
  shot.traces = 25;
  shot.delayUs = -100000.0f;
  FillShot(record, shot, [](int i, double d, double t) { return i == 3 ? PlaneWave(i, d, t) - 1000.0f : PlaneWave(i, d, t); });
  DispersionSettings settings;
  const Analysed a = Analyse(record, settings);
  ASSERT_EQ(a.info.window.first, 400);
  ASSERT_EQ(a.info.window.samples, 624);
  ASSERT_EQ(a.info.transformLength, 2048);
  ASSERT_EQ(a.info.tracesUsed, 25);
  ASSERT_GT(record.nDispRows, 20);
  ExpectImage(record, StackOfOwnSpectra(record, a, settings), a.info.columns);
}

TEST(DispersionImage, TheWindowStartsAtTheShotAndTheRecordStaysAsItIs) {
  struct Case {
    int samples;
    float delayUs;
    int first, taken, after;
  };
  const Case cases[] = {
      {6000, 0.0f, 0, 6000, 0},
      {6000, -500000.0f, 2000, 4000, 0},       // DELAY -0.5 s at 0.25 ms
      {6000, -100100.0f, 401, 5599, 0},        // the first sample after time zero
      {6000, 20000.0f, 0, 6000, 0},            // recording began after the shot
      {20000, 0.0f, 0, 16384, 20000 - 16384},  // the first 16384 from the shot
      {3000, -1000000.0f, 3000, 0, 0},         // nothing after the shot
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.samples << " samples, delay " << c.delayUs);
    SeismicRecord record;
    LineShot shot;
    shot.traces = 6;
    shot.samples = c.samples;
    shot.delayUs = c.delayUs;
    FillShot(record, shot, PlaneWave);
    const std::vector<float> before = record.ppData[3];
    DispersionSettings settings;
    const Analysed a = Analyse(record, settings);
    EXPECT_EQ(a.info.window.first, c.first);
    EXPECT_EQ(a.info.window.samples, c.taken);
    EXPECT_EQ(a.info.window.skippedBefore, c.first);
    EXPECT_EQ(a.info.window.leftAfter, c.after);
    EXPECT_EQ(record.nDispRows > 0, c.taken > 0);
    for (int i = 0; i < record.nTraces; ++i) EXPECT_EQ(record.pHeader[i].nSamples, c.samples);
    EXPECT_EQ(record.ppData[3], before);
  }
}

TEST(DispersionImage, NoPickIsAnAliasShorterThanTheSpacing) {
  // On an even grid every velocity v' with f dx (1/v' - 1/v) whole stacks to
  // the true value: the slow ones must never be taken, and a wave slower
  // than f dx has no resolved pick (its wavelength is below the spacing).
  struct Case {
    float spacing;
    double velocity;
  };
  for (const Case c : {Case{1.0f, 200.0}, Case{2.0f, 160.0}, Case{3.0f, 300.0}, Case{2.0f, 80.0}}) {
    SCOPED_TRACE(::testing::Message() << c.spacing << " m, " << c.velocity << " m/s");
    SeismicRecord record;
    LineShot shot;
    shot.samples = 4096;
    shot.spacing = c.spacing;
    FillShot(record, shot, [&](int, double d, double t) { return testing::DispersiveWave(d, t, [&](double) { return c.velocity; }); });
    DispersionSettings settings;
    const Analysed a = Analyse(record, settings);
    ASSERT_EQ(a.info.spread.aliasSpacing, c.spacing);
    int inBand = 0, picked = 0;
    for (const CurvePoint& p : a.curve) {
      if (p.frequency < 3.0) continue;
      if (p.picked) {
        EXPECT_GE(p.velocity, p.frequency * c.spacing) << p.frequency << " Hz";
      }
      if (p.resolved) {
        EXPECT_NEAR(p.velocity, c.velocity, 0.05 * c.velocity) << p.frequency << " Hz";
      }
      const double wavelength = c.velocity / p.frequency;
      if (p.frequency > 50.0 || wavelength < c.spacing || wavelength > 23.0 * c.spacing) continue;
      ++inBand;
      picked += p.resolved ? 1 : 0;
    }
    EXPECT_GE(picked, 0.95 * inBand) << picked << " of " << inBand;
  }
}

TEST(DispersionImage, WithoutASpreadThereIsNoPick) {
  for (int traces : {1, 3}) {
    SeismicRecord record;
    LineShot shot;
    shot.traces = traces;
    shot.spacing = traces == 1 ? 1.0f : 0.0f;  // three receivers at one place
    FillShot(record, shot, PlaneWave);
    DispersionSettings settings;
    const Analysed a = Analyse(record, settings);
    ASSERT_GT(record.nDispRows, 0) << traces;
    for (const CurvePoint& p : a.curve) EXPECT_FALSE(p.picked) << traces << " traces, " << p.frequency << " Hz";
  }
}

TEST(DispersionImage, TracesWithoutSignalAreLeftOutAndTheRestAverage) {
  SeismicRecord full, holed;
  FillShot(full, LineShot{}, PlaneWave);
  FillShot(holed, LineShot{}, [](int i, double d, double t) { return i == 7 ? 0.0f : PlaneWave(i, d, t); });
  DispersionSettings s1, s2;
  const Analysed a = Analyse(holed, s2);
  EXPECT_EQ(a.info.tracesUsed, 23);
  // A plane wave stacks to 1 at its own velocity, whatever the traces used.
  for (int r = 1; r < holed.nDispRows; ++r) EXPECT_NEAR(holed.fDispRowMax[r], 1.0f, 0.1f) << r;
  Analyse(full, s1);
  EXPECT_EQ(holed.nDispRows, full.nDispRows);
}

TEST(DispersionImage, TracesWithSamplesThatAreNotNumbersAreLeftOut) {
  // Such a trace would turn its spectrum into NaN: it must neither blank
  // the image nor count among the traces it is averaged over.
  SeismicRecord holed, poisoned;
  const auto silent = [](int i, double d, double t) { return i == 5 || i == 9 ? 0.0f : PlaneWave(i, d, t); };
  FillShot(holed, LineShot{}, silent);
  FillShot(poisoned, LineShot{}, PlaneWave);
  poisoned.ppData[5][10] = std::numeric_limits<float>::quiet_NaN();
  poisoned.ppData[9][3] = std::numeric_limits<float>::infinity();
  DispersionSettings s1, s2;
  const Analysed a = Analyse(holed, s1);
  const Analysed b = Analyse(poisoned, s2);
  EXPECT_EQ(b.info.tracesUsed, 22);
  ASSERT_EQ(poisoned.nDispRows, holed.nDispRows);
  for (int r = 1; r < poisoned.nDispRows; ++r) {
    EXPECT_NEAR(poisoned.fDispRowMax[r], holed.fDispRowMax[r], 1e-5f) << r;
    EXPECT_EQ(b.result.fPickVelocity[r], a.result.fPickVelocity[r]) << r;
  }
}

TEST(DispersionImage, AVelocityRangeBeyondFloatsGivesNoColumns) {
  // The row headers carry the step x 1000000 and the picks the velocity in
  // m/s as floats; where these overflow, no pick could be told.
  struct Case {
    float velEnd;
    float velStep;
    int columns;
  };
  const Case cases[] = {
      {3e38f, 1e31f, 4096},
      {3e38f, 1e33f, 0},
      {3e38f, 3e35f, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.velStep);
    SeismicRecord record;
    LineShot shot;
    shot.samples = 256;
    FillShot(record, shot, PlaneWave);
    DispersionSettings settings;
    settings.fVelEnd = c.velEnd;
    settings.fVelStep = c.velStep;
    const Analysed a = Analyse(record, settings);
    EXPECT_EQ(a.info.columns, c.columns);
    for (int r = 0; r < a.result.nPicks; ++r) EXPECT_TRUE(std::isfinite(a.result.fPickVelocity[r])) << r;
  }
}

TEST(DispersionImage, SoundAnswersAtTheLimits) {
  struct Case {
    const char* name;
    int traces;
    int samples;
    float intervalUs;
    float velStep;
    int rows;
    int columns;
    int used;
  };
  const Case cases[] = {
      {"no trace", 0, 1024, 250.0f, 0.0025f, 0, 0, 0},
      {"more than 256 traces: the first 256", 300, 64, 1000.0f, 0.0025f, 7, 200, 256},
      {"more than 4096 columns: 4096", 24, 256, 1000.0f, 0.0001f, 26, 4096, 24},
      {"no velocity step: no column", 24, 256, 1000.0f, 0.0f, 26, 0, 24},
      // 20 ms: the Nyquist frequency is 25 Hz; no row lies above it.
      {"bins end at the Nyquist frequency", 24, 64, 20000.0f, 0.0025f, 65, 200, 24},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SeismicRecord record;
    LineShot shot;
    shot.traces = c.traces;
    shot.samples = c.samples;
    shot.intervalUs = c.intervalUs;
    FillShot(record, shot, PlaneWave);
    DispersionSettings settings;
    settings.fVelStep = c.velStep;
    const Analysed a = Analyse(record, settings);
    EXPECT_EQ(a.info.columns, c.columns);
    EXPECT_EQ(a.info.tracesUsed, c.used);
    EXPECT_EQ(record.nDispRows, c.used > 0 && c.columns > 0 ? c.rows : 0);
    EXPECT_EQ(a.result.nPicks, record.nDispRows);
    for (int r = 0; r < record.nDispRows; ++r) EXPECT_LE(record.pDispHeader[r].fReceiverLoc100 / 100.0f, 1e6f / (2.0f * c.intervalUs) + 1e-3f);
  }
}

TEST(DispersionImage, WritesTheStoredOnlySettingsBack) {
  MemoryStore profile, product;
  Settings store(profile, product);
  SeismicRecord record;
  FillShot(record, LineShot{}, PlaneWave);
  DispersionSettings settings;
  settings.nConstantVelocityLines = 4;
  ComputeDispersionImage(record, settings, &store);
  EXPECT_EQ(profile.Get("nConstantVelocityLines").value_or(""), "4");
  EXPECT_EQ(profile.Get("fWavelength_5").value_or(""), "120.000000");
}

TEST(PhaseShiftStack, AgreesWithTheStackTakenCellByCell) {
  std::mt19937 random(3);
  std::uniform_real_distribution<float> value(-1.0f, 1.0f);
  for (double offset : {3.0, 11.5}) {
    std::vector<std::vector<float>> re(12, std::vector<float>(1024)), im = re;
    for (auto* part : {&re, &im})
      for (auto& row : *part)
        for (float& x : row) x = value(random);
    re[4][6] = im[4][6] = 0.0f;  // a zero bin adds nothing
    PhaseShiftInput in;
    in.re = &re;
    in.im = &im;
    for (int u = 0; u < 12; ++u) in.distance.push_back(offset + 2.0 * u);
    in.traces = 12;
    in.rows = 256;
    in.columns = 200;
    in.binStep = 2;
    in.frequencyStep = 0.9765625;
    in.velocityStep = 0.0025f;
    const std::vector<float> fast = PhaseShiftStack(in), direct = DirectStack(in);
    ASSERT_EQ(fast.size(), direct.size());
    for (size_t k = 0; k < fast.size(); ++k) ASSERT_NEAR(fast[k], direct[k], 2e-5f) << k;
  }
}

TEST(DispersionPicks, EachRowsPickIntoTheFileAndNoneAtZeroHertz) {
  testing::TempFolder folder;
  SeismicRecord record;
  record.AllocateAnalysisBuffers();
  record.nDispRows = 3;
  const float rows[3][4] = {{0.1f, 0.7f, 0.7f, 0.2f}, {0.0f, 0.0f, 0.0f, 0.0f}, {0.3f, 0.2f, 0.1f, 0.9f}};
  for (int r = 0; r < 3; ++r) {
    record.pDispHeader[r].nSamples = 4;
    record.pDispHeader[r].fSampleInterval = 2500.0f;
    record.pDispHeader[r].nReceiverLoc = 391 * r;
    for (int k = 0; k < 4; ++k) record.ppDispImage[r][k] = rows[r][k];
  }
  DispersionImageInfo image;
  image.frequencyStep = 3.90625;
  image.tracesUsed = 24;
  image.spread.smallestSpacing = 0.5;
  image.spread.length = 10.0;
  DispersionSettings settings;
  SurfaceWaveResult result;
  LinuxFileSystem fs;
  const DispersionCurve curve = PickDispersionCurve(record, settings, image, result, fs, folder.path());
  ASSERT_EQ(curve.size(), 3u);
  EXPECT_EQ(result.nPicks, 3);
  EXPECT_FALSE(curve[0].picked);  // a zero frequency has no phase velocity
  EXPECT_FALSE(curve[1].picked);  // nor a row without a positive value
  EXPECT_TRUE(curve[2].picked);
  EXPECT_TRUE(curve[2].resolved);  // 0.96 m: from the spacing to the spread's length
  EXPECT_DOUBLE_EQ(curve[2].frequency, 7.8125);
  EXPECT_FLOAT_EQ(result.fPickVelocity[0], 0.0f);
  EXPECT_FLOAT_EQ(result.fPickVelocity[2], 7.5f);
  EXPECT_FLOAT_EQ(record.fPickVel[2], 7.5f);
  EXPECT_EQ(record.bPickResolved[2], 1);
  EXPECT_FLOAT_EQ(record.fPickFreq[1], 3.91f);
  EXPECT_EQ(folder.Read("PickPhaseVelocity.txt"),
            "0 0.000000 0.000000 0.700000 \r\n"
            "1 3.910000 0.000000 0.000000 \r\n"
            "2 7.820000 7.500000 0.900000 \r\n");
  // Without a folder nothing is written.
  testing::TempFolder none;
  PickDispersionCurve(record, settings, image, result, fs, "");
  EXPECT_FALSE(std::filesystem::exists(std::filesystem::current_path() / "PickPhaseVelocity.txt"));
}

}  // namespace
}  // namespace zentrova
