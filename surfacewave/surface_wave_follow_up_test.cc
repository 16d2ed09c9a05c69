// The follow-up in real monitor cycles over real folders.

#include "surfacewave/surface_wave_follow_up.h"

#include <cmath>
#include <cstdio>

#include <gtest/gtest.h>

#include "monitor/station_fixture.h"
#include "platform/key_value_store.h"
#include "records/test_seg2_builder.h"
#include "surfacewave/test_records.h"
#include "testing/counting_file_system.h"

namespace zentrova {
namespace {

using testing::StationFixture;

// A 24-trace shot (2 m apart, 5 m from the source, 0.5 ms) of a wave at 200 m/s.
std::string ShotFile() {
  testing::TestSeg2 file;
  for (int i = 0; i < 24; ++i) {
    const double distance = 5.0 + 2.0 * i;
    std::vector<float> samples(2048);
    for (size_t t = 0; t < samples.size(); ++t) {
      samples[t] = testing::DispersiveWave(distance, static_cast<double>(t) * 0.0005, [](double) { return 200.0; });
    }
    char location[64];
    std::snprintf(location, sizeof location, "RECEIVER_LOCATION %.1f", distance);
    file.traces.push_back(testing::FloatTrace({location, "SOURCE_LOCATION 0", "SAMPLE_INTERVAL 0.0005"}, samples));
  }
  return file.Build();
}

TEST(SurfaceWaveFollowUp, RunsTheImageStepsWhileTheStoredViewFlagIsOn) {
  struct Case {
    const char* flag;
    bool analysed;
  };
  for (const Case c : {Case{"1", true}, Case{"0", false}, Case{"", false}}) {
    SCOPED_TRACE(c.flag);
    StationFixture st;
    if (*c.flag) st.profile.values["bPhaseVelocityView"] = c.flag;
    CZentrovaDoc& doc = st.Doc();
    {
      SurfaceWaveFollowUp followUp(doc);
      ConnectSurfaceWaves(doc, followUp);
      EXPECT_EQ(UseStoredPhaseVelocityView(doc), c.analysed ? 1 : 0);
      doc.MoveExistingFiles();
      EXPECT_EQ(doc.CheckNewFiles(), 0);  // no new record: no follow-up
      EXPECT_EQ(followUp.runs, 0);
      st.root.Write("watched/1.sg2", ShotFile());
      ASSERT_EQ(doc.CheckNewFiles(), 1);
      EXPECT_EQ(followUp.runs, c.analysed ? 1 : 0);
      const bool picked = st.real.Exists(st.watched + "/PickPhaseVelocity.txt");
      EXPECT_EQ(picked, c.analysed);
      EXPECT_EQ(st.real.Exists(st.watched + "/initial_model.txt"), c.analysed);
      if (c.analysed) {
        EXPECT_EQ(st.profile.values["bPickMaximumAmplitude"], "1");
        EXPECT_EQ(followUp.lastResult.nAmpTraces, 24);
        EXPECT_FLOAT_EQ(followUp.lastResult.fPosMax, 51.0f);
        EXPECT_EQ(followUp.lastResult.nLayers, 15);
        ASSERT_EQ(followUp.lastResult.nPicks, doc.record.nDispRows);
        int close = 0, rows = 0;
        for (int r = 0; r < followUp.lastResult.nPicks; ++r) {
          if (followUp.lastResult.fPickFrequency[r] < 8.0f || followUp.lastResult.fPickFrequency[r] > 45.0f) continue;
          ++rows;
          close += std::fabs(followUp.lastResult.fPickVelocity[r] - 200.0f) <= 10.0f ? 1 : 0;
        }
        EXPECT_GT(rows, 20);
        EXPECT_EQ(close, rows);
        EXPECT_EQ(followUp.lastAnalysis.model, 1);
        EXPECT_NEAR(followUp.lastResult.fVs[14], 200.0f / 0.925f, 12.0f);
        EXPECT_EQ(st.profile.values["fWavelength_0"], "20.000000");  // written back by the image
      }
    }
    // And written back when the follow-up goes with the document.
    EXPECT_EQ(st.profile.values["MinMaxPlot"], "1");
  }
}

TEST(SurfaceWaveFollowUp, TheStoredProfileViewCollectsEveryAnalysedRecord) {
  struct Case {
    const char* phaseView;
    const char* profileView;
    int collected;
  };
  for (const Case c : {Case{"1", "1", 2}, Case{"0", "1", 2}, Case{"1", "0", 0}}) {
    SCOPED_TRACE(std::string(c.phaseView) + c.profileView);
    StationFixture st;
    st.profile.values["bPhaseVelocityView"] = c.phaseView;
    st.profile.values["bSeisProfileView"] = c.profileView;
    CZentrovaDoc& doc = st.Doc();
    SurfaceWaveFollowUp followUp(doc);
    ConnectSurfaceWaves(doc, followUp);
    UseStoredPhaseVelocityView(doc);
    EXPECT_EQ(UseStoredProfileView(doc), c.collected > 0 ? 1 : 0);
    EXPECT_EQ(doc.bProfileViewDrawn, c.collected > 0 ? 1 : 0);
    doc.MoveExistingFiles();
    // The profile view alone also has the samples read and the amplitudes taken.
    doc.bPickMaximumAmplitude = 1;
    st.root.Write("watched/1.sg2", ShotFile());
    ASSERT_EQ(doc.CheckNewFiles(), 1);
    st.root.Write("watched/2.sg2", ShotFile());
    ASSERT_EQ(doc.CheckNewFiles(), 1);
    EXPECT_EQ(followUp.runs, 2);
    ASSERT_EQ(followUp.profiles.Count(), c.collected);
    const bool analysed = *c.phaseView == '1';
    // Modes 1 and 2 get their ranges where the picks and the model are made.
    EXPECT_EQ(followUp.profiles.range[1].fAxisMax, analysed ? 50.0f : 10000.0f);
    EXPECT_EQ(followUp.profiles.range[2].fAxisMax, analysed ? 15.0f : 5000.0f);
    EXPECT_FLOAT_EQ(followUp.profiles.range[2].fColourMax, analysed ? 500.0f : 3000.0f);
    if (c.collected == 0) continue;
    EXPECT_FLOAT_EQ(followUp.profiles.range[0].fAxisMin, 5.0f);
    EXPECT_FLOAT_EQ(followUp.profiles.range[0].fAxisMax, 51.0f);
    const SurfaceWaveResult& kept = followUp.profiles.results.back();
    EXPECT_EQ(kept.nAmpTraces, 24);
    // Without the image steps a result has no picks and an empty model.
    EXPECT_EQ(kept.nPicks > 0, analysed);
    EXPECT_EQ(kept.fVs[0] > 0.0f, analysed);
    if (!analysed) {
      for (int i = 0; i < kept.nLayers; ++i) EXPECT_EQ(kept.fLayerBottom[i], 0.0f);
    }
  }
}

// Analysing record after record stores the dispersion settings again and
// again as they stand: the settings file is not rewritten for that (a
// flash card would wear out), and changed settings are written in one go.
TEST(SurfaceWaveFollowUp, RecordAfterRecordLeavesTheSettingsFileAlone) {
  StationFixture st;
  st.profile.values["bPhaseVelocityView"] = "1";
  testing::CountingFileSystem counting(st.real);
  IniFileStore ini(counting, st.root.Path("config/Zentrova.ini"), "General");
  for (const auto& [key, value] : st.profile.values) ini.Set(key, value);
  Platform platform{st.fs, ini, st.product, st.clock, st.system, st.prompt};
  CZentrovaDoc doc(platform, st.services);
  doc.StartUp();
  SurfaceWaveFollowUp followUp(doc);
  ConnectSurfaceWaves(doc, followUp);
  UseStoredPhaseVelocityView(doc);
  doc.MoveExistingFiles();
  st.root.Write("watched/1.sg2", ShotFile());
  ASSERT_EQ(doc.CheckNewFiles(), 1);
  const int afterFirst = counting.Replaced(ini.path());
  for (int i = 2; i <= 5; ++i) {
    st.root.Write("watched/" + std::to_string(i) + ".sg2", ShotFile());
    ASSERT_EQ(doc.CheckNewFiles(), 1);
  }
  EXPECT_EQ(followUp.runs, 5);
  EXPECT_EQ(counting.Replaced(ini.path()), afterFirst) << "rewritten for records that changed no setting";
  EXPECT_EQ(ini.Get("fWavelength_0"), "20.000000");
}

}  // namespace
}  // namespace zentrova
