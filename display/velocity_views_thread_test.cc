// The two surface-wave views drawing on the window's thread while the
// monitor cycles run on their own thread and analyse new records.

#include <atomic>
#include <cstdio>
#include <thread>

#include <gtest/gtest.h>

#include "display/phase_velocity_drawing.h"
#include "display/profile_drawing.h"
#include "display/recording_surface.h"
#include "monitor/station_fixture.h"
#include "records/test_seg2_builder.h"
#include "surfacewave/surface_wave_follow_up.h"
#include "surfacewave/test_records.h"

namespace zentrova {
namespace {

// A 24-trace shot, 2 m apart from 5 m, of a wave at 200 m/s.
std::string ShotFile() {
  testing::TestSeg2 file;
  for (int i = 0; i < 24; ++i) {
    const double distance = 5.0 + 2.0 * i;
    std::vector<float> samples(1024);
    for (size_t t = 0; t < samples.size(); ++t) {
      samples[t] = testing::DispersiveWave(distance, static_cast<double>(t) * 0.0005, [](double) { return 200.0; });
    }
    char location[64];
    std::snprintf(location, sizeof location, "RECEIVER_LOCATION %.1f", distance);
    file.traces.push_back(testing::FloatTrace({location, "SOURCE_LOCATION 0", "SAMPLE_INTERVAL 0.0005"}, samples));
  }
  return file.Build();
}

TEST(VelocityViewsThread, DrawBesideTheMonitorThreadsCycles) {
  testing::StationFixture st;
  st.profile.values["bPhaseVelocityView"] = "1";
  st.profile.values["bSeisProfileView"] = "1";
  CZentrovaDoc& doc = st.Doc();
  SurfaceWaveFollowUp followUp(doc);
  ConnectSurfaceWaves(doc, followUp);
  UseStoredPhaseVelocityView(doc);
  UseStoredProfileView(doc);
  doc.MoveExistingFiles();
  const std::string shot = ShotFile();
  constexpr int kRecords = 4;
  std::atomic<bool> done{false};
  std::thread monitor([&] {
    for (int i = 0; i < kRecords; ++i) {
      st.root.Write("watched/" + std::to_string(i + 1) + ".sg2", shot);
      doc.CheckNewFiles();
    }
    done = true;
  });
  int redraws = 0;
  size_t picks = 0;
  while (!done || redraws < 3) {
    RecordingSurface phase({2000, 1500});
    PlotAxes phaseAxes = PhaseVelocityAxes();
    DrawPhaseVelocityView(phase, phaseAxes, doc, followUp.settings);
    picks = phase.Of(RecordingSurface::Kind::kEllipse).size();
    RecordingSurface profile({2000, 1500});
    PlotAxes profileAxes = ProfileAxes(redraws % 2);
    DrawProfileView(profile, profileAxes, doc, followUp.profiles, redraws % 2);
    ++redraws;
  }
  monitor.join();
  EXPECT_EQ(followUp.runs, kRecords);
  std::lock_guard<std::recursive_mutex> lock(doc.mutex);
  EXPECT_EQ(followUp.profiles.Count(), kRecords);
  // A disc for every row's pick that has a velocity and lies in the picture.
  size_t shown = 0;
  const DispersionSettings& ds = followUp.settings;
  for (int o = 0; o < doc.record.nDispRows; ++o) {
    const float v = doc.record.fPickVel[o], f = doc.record.fPickFreq[o];
    shown += v > 0.0f && v >= ds.fVelMin * 1000.0f && v <= ds.fVelEnd * 1000.0f && f >= ds.fFreqMin && f <= ds.fFreqMax;
  }
  EXPECT_EQ(picks, shown);
}

}  // namespace
}  // namespace zentrova
