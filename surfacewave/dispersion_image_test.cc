#include "surfacewave/dispersion_image.h"

#include <cmath>
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
};

Analysed Analyse(SeismicRecord& record, DispersionSettings& settings, const std::string& folder = "/nonexistent") {
  Analysed a;
  a.info = ComputeDispersionImage(record, settings, nullptr);
  LinuxFileSystem fs;
  PickDispersionCurve(record, settings, a.result, fs, folder);
  return a;
}

TEST(DispersionImage, RowsAndColumnsOfAQuarterMillisecondShot) {
  SeismicRecord record;
  FillShot(record, LineShot{}, PlaneWave);
  DispersionSettings settings;
  const Analysed a = Analyse(record, settings);
  EXPECT_EQ(a.info.transformLength, 1024);
  EXPECT_DOUBLE_EQ(a.info.frequencyStep, 3.90625);
  EXPECT_EQ(a.info.binStep, 1);
  ASSERT_EQ(record.nDispRows, 13);
  EXPECT_EQ(a.info.columns, 200);
  EXPECT_EQ(a.info.tracesUsed, 24);
  for (int r = 0; r < 13; ++r) {
    const CHeader& h = record.pDispHeader[r];
    EXPECT_NEAR(h.fReceiverLoc100, 390.625 * r, 1e-3) << r;
    EXPECT_EQ(h.nReceiverLoc, static_cast<int>(390.625 * r + 0.5)) << r;
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
  EXPECT_FLOAT_EQ(a.result.fPickFrequency[12], 46.88f);  // from the rounded hundredths
}

TEST(DispersionImage, PicksTheVelocityOfTheWaveFromEitherEnd) {
  for (bool fromLastEnd : {false, true}) {
    SCOPED_TRACE(fromLastEnd);
    SeismicRecord record;
    LineShot shot;
    shot.samples = 4096;
    shot.fromLastEnd = fromLastEnd;
    FillShot(record, shot, PlaneWave);
    DispersionSettings settings;
    const Analysed a = Analyse(record, settings);
    EXPECT_EQ(settings.nDirection, fromLastEnd ? 1 : 0);
    ASSERT_GT(a.result.nPicks, 40);
    for (int r = 0; r < a.result.nPicks; ++r) {
      if (a.result.fPickFrequency[r] < 5.0f || a.result.fPickFrequency[r] > 45.0f) continue;
      EXPECT_NEAR(a.result.fPickVelocity[r], 200.0f, 10.0f) << a.result.fPickFrequency[r] << " Hz";
    }
  }
}

TEST(DispersionImage, KeepsTheSpectrumOfEveryTraceAsItsOwnTransformGivesIt) {
  SeismicRecord record;
  LineShot shot;
  shot.traces = 25;  // pairs and one trace alone
  FillShot(record, shot, PlaneWave);
  DispersionSettings settings;
  Analyse(record, settings);
  ASSERT_EQ(record.nDispRows, 13);
  // Rows from 13 on still hold the real parts; every imaginary part is kept.
  for (int u = 13; u < 25; ++u) {
    SCOPED_TRACE(u);
    const std::vector<float>& x = record.ppData[u];
    const float peak = PeakAmplitude(x.data(), x.size());
    std::vector<double> re(1024), im(1024, 0.0);
    for (int t = 0; t < 1024; ++t) re[t] = x[t] / peak;
    Fft(re.data(), im.data(), 1024);
    for (int k = 0; k < 1024; ++k) {
      ASSERT_NEAR(record.ppDispImage[u][k], re[k], 1e-6) << k;
      ASSERT_NEAR(record.ppDispImag[u][k], im[k], 1e-6) << k;
    }
  }
}

TEST(DispersionImage, CutsLongTracesTo4096SamplesAlsoInTheRecord) {
  SeismicRecord record;
  LineShot shot;
  shot.samples = 6000;
  FillShot(record, shot, PlaneWave);
  DispersionSettings settings;
  const Analysed a = Analyse(record, settings);
  EXPECT_EQ(a.info.transformLength, 4096);
  for (int i = 0; i < record.nTraces; ++i) {
    EXPECT_EQ(record.pHeader[i].nSamples, 4096);
    EXPECT_EQ(record.ppData[i].size(), 4096u);
  }
}

// The image of `record` after `change`, row by row, from row `firstRow` on.
std::vector<float> ImageRows(SeismicRecord& record, int firstRow) {
  std::vector<float> rows;
  for (int r = firstRow; r < record.nDispRows; ++r)
    rows.insert(rows.end(), record.ppDispImage[r].begin(), record.ppDispImage[r].begin() + record.pDispHeader[r].nSamples);
  return rows;
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

TEST(DispersionImage, ATraceWithNoPositiveSampleKeepsItsPhase) {
  // Sample count equal to the transform length: a constant shift then
  // changes only the zero-frequency bin.
  SeismicRecord plain, lowered;
  FillShot(plain, LineShot{}, PlaneWave);
  FillShot(lowered, LineShot{}, [](int i, double d, double t) { return i == 3 ? PlaneWave(i, d, t) - 1000.0f : PlaneWave(i, d, t); });
  float top = -1e30f;
  for (float x : lowered.ppData[3]) top = std::max(top, x);
  ASSERT_LT(top, 0.0f);
  DispersionSettings s1, s2;
  Analyse(plain, s1);
  Analyse(lowered, s2);
  const std::vector<float> a = ImageRows(plain, 1), b = ImageRows(lowered, 1);
  ASSERT_EQ(a.size(), b.size());
  for (size_t k = 0; k < a.size(); ++k) ASSERT_NEAR(a[k], b[k], 1e-4f) << k;
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
      {"more than 256 traces: the first 256", 300, 64, 1000.0f, 0.0025f, 4, 200, 256},
      {"more than 4096 columns: 4096", 24, 256, 1000.0f, 0.0001f, 13, 4096, 24},
      {"no velocity step: no column", 24, 256, 1000.0f, 0.0f, 13, 0, 24},
      // 20 ms: the Nyquist frequency is 25 Hz; no row lies above it.
      {"bins end at the Nyquist frequency", 24, 64, 20000.0f, 0.0025f, 33, 200, 24},
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
        const double d = in.direction == 0 ? std::fabs(in.position[u] - in.position[0])
                                           : std::fabs(in.position[in.traces - 1] - in.position[u]);
        sum += s * std::polar(1.0, d / v * 2.0 * std::numbers::pi * r * in.frequencyStep * in.binStep);
      }
      out[static_cast<size_t>(r) * in.columns + l] = static_cast<float>(std::abs(sum) / in.traces);
    }
  }
  return out;
}

TEST(PhaseShiftStack, AgreesWithTheStackTakenCellByCell) {
  std::mt19937 random(3);
  std::uniform_real_distribution<float> value(-1.0f, 1.0f);
  for (int direction : {0, 1}) {
    std::vector<std::vector<float>> re(12, std::vector<float>(1024)), im = re;
    for (auto* part : {&re, &im})
      for (auto& row : *part)
        for (float& x : row) x = value(random);
    re[4][6] = im[4][6] = 0.0f;  // a zero bin adds nothing
    PhaseShiftInput in;
    in.re = &re;
    in.im = &im;
    for (int u = 0; u < 12; ++u) in.position.push_back(3.0f + 2.0f * static_cast<float>(u));
    in.traces = 12;
    in.rows = 256;
    in.columns = 200;
    in.binStep = 2;
    in.frequencyStep = 0.9765625;
    in.velocityStep = 0.0025f;
    in.direction = direction;
    const std::vector<float> fast = PhaseShiftStack(in), direct = DirectStack(in);
    ASSERT_EQ(fast.size(), direct.size());
    for (size_t k = 0; k < fast.size(); ++k) ASSERT_NEAR(fast[k], direct[k], 2e-5f) << k;
  }
}

TEST(DispersionPicks, TheFirstLargestColumnOfEachRowIntoTheFile) {
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
  DispersionSettings settings;
  SurfaceWaveResult result;
  LinuxFileSystem fs;
  EXPECT_EQ(PickDispersionCurve(record, settings, result, fs, folder.path()), 3);
  EXPECT_EQ(result.nPicks, 3);
  EXPECT_FLOAT_EQ(result.fPickVelocity[0], 2.5f);
  EXPECT_FLOAT_EQ(result.fPickVelocity[1], 0.0f);
  EXPECT_FLOAT_EQ(result.fPickVelocity[2], 7.5f);
  EXPECT_FLOAT_EQ(record.fPickVel[2], 7.5f);
  EXPECT_FLOAT_EQ(record.fPickFreq[1], 3.91f);
  EXPECT_EQ(folder.Read("PickPhaseVelocity.txt"),
            "0 0.000000 2.500000 0.700000 \r\n"
            "1 3.910000 0.000000 0.000000 \r\n"
            "2 7.820000 7.500000 0.900000 \r\n");
}

}  // namespace
}  // namespace zentrova
