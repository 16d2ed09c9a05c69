#include "surfacewave/initial_model.h"

#include <gtest/gtest.h>

#include "platform/linux_file_system.h"
#include "testing/temp_folder.h"

namespace zentrova {
namespace {

TEST(InitialModel, LayerDepthsOfFifteenLayers) {
  const double expected[] = {0.5357, 1.1538, 1.8544, 2.6374, 3.5027, 4.4505, 5.4808,
                             6.5934, 7.7885, 9.0659, 10.4258, 11.8681, 13.3929, 18.2143};
  const std::vector<double> depth = LayerDepths(15);
  ASSERT_EQ(depth.size(), 15u);
  for (int i = 0; i < 14; ++i) EXPECT_NEAR(depth[i], expected[i], 1e-4) << i;
}

TEST(InitialModel, WhichPicksAreAccepted) {
  struct Case {
    float frequency, velocity;
    bool accepted;
  };
  const Case cases[] = {{10.0f, 150.0f, true},  {4.0f, 20.0f, false},  {4.5f, 9.0f, true},
                        {20.0f, 30.0f, false},  {5.0f, 230.0f, true},  {5.0f, 231.0f, false},
                        {0.0f, 100.0f, false},  {20.0f, 0.0f, false}};
  for (const Case& c : cases) EXPECT_EQ(AcceptedPick(c.frequency, c.velocity), c.accepted) << c.frequency << " " << c.velocity;
}

SurfaceWaveResult Picks(std::initializer_list<std::pair<float, float>> picks, int layers = 15) {
  SurfaceWaveResult r;
  r.nLayers = layers;
  for (const auto& [f, v] : picks) {
    r.fPickFrequency[r.nPicks] = f;
    r.fPickVelocity[r.nPicks] = v;
    ++r.nPicks;
  }
  return r;
}

TEST(InitialModel, LayersTakeTheMeanOfTheirPicksAndTheDeepOnesTheDeepestPick) {
  testing::TempFolder folder;
  LinuxFileSystem fs;
  // Depths (a third of the wavelength): 10 m, 5 m, 2 m, 1 m; the 4 Hz pick is out.
  SurfaceWaveResult r = Picks({{4.0f, 300.0f}, {6.0f, 180.0f}, {10.0f, 150.0f}, {20.0f, 120.0f}, {40.0f, 120.0f}});
  ASSERT_EQ(BuildInitialModel(r, fs, folder.path()), 1);
  const std::vector<double> depth = LayerDepths(15);
  for (int i = 0; i < 14; ++i) {
    SCOPED_TRACE(i);
    EXPECT_FLOAT_EQ(r.fLayerBottom[i], static_cast<float>(depth[i]));
    const double top = i == 0 ? 0.0 : depth[i - 1];
    float expected;
    if (top < 10.0 && 10.0 <= depth[i]) expected = 180.0f;
    else if (top < 5.0 && 5.0 <= depth[i]) expected = 150.0f;
    else if (top < 2.0 && 2.0 <= depth[i]) expected = 120.0f;
    else if (top < 1.0 && 1.0 <= depth[i]) expected = 120.0f;
    else if (depth[i] > 10.0) expected = 180.0f;           // below the deepest pick
    else if (i == 0) expected = 120.0f;                     // above the shallowest
    else expected = r.fVs[i - 1] * 0.925f;                  // a gap takes the layer above
    EXPECT_NEAR(r.fVs[i], expected / 0.925f, 1e-3f);
  }
  EXPECT_FLOAT_EQ(r.fVs[14], 180.0f / 0.925f);  // the largest accepted velocity
  EXPECT_FLOAT_EQ(r.fLayerBottom[14], 10000000.0f);
  const std::string text = folder.Read("initial_model.txt");
  EXPECT_EQ(text.rfind("ndata=5 nlayer=15\r\n 1 0 6.000000 180.000000 10.000000 \r\n 2 1 10.000000 150.000000 5.000000 \r\n", 0), 0u) << text;
  EXPECT_NE(text.find(" 14 194.594589 10000000.000000\r\n"), std::string::npos) << text.substr(text.size() - 200);
  EXPECT_NE(text.find(" 0 0 0.000000 0.000000 0.535714 129.729728 \r\n"), std::string::npos) << text;
}

TEST(InitialModel, NoAcceptedPickIsNoModel) {
  testing::TempFolder folder;
  LinuxFileSystem fs;
  SurfaceWaveResult r = Picks({{3.0f, 200.0f}, {20.0f, 10.0f}});
  EXPECT_EQ(BuildInitialModel(r, fs, folder.path()), 0);
  for (int i = 0; i < 15; ++i) EXPECT_EQ(r.fVs[i], 0.0f) << i;
  EXPECT_EQ(r.fLayerBottom[14], 10000000.0f);
  EXPECT_EQ(folder.Read("initial_model.txt").rfind("ndata=2 nlayer=15\r\n 0 0 0.000000 0.000000 0.535714 0.000000 \r\n", 0), 0u);
}

TEST(InitialModel, OnlyTheResolvedPicksOfTheCurveMakeTheModel) {
  LinuxFileSystem fs;
  // Both picks fit the model; the first is outside the spread's band.
  SurfaceWaveResult all = Picks({{5.0f, 150.0f}, {20.0f, 200.0f}});
  SurfaceWaveResult resolvedOnly = all;
  DispersionCurve curve(2);
  curve[1].picked = curve[1].resolved = true;
  curve[0].picked = true;
  EXPECT_EQ(BuildInitialModel(all, fs, ""), 1);
  EXPECT_EQ(BuildInitialModel(resolvedOnly, fs, "", &curve), 1);
  EXPECT_FLOAT_EQ(resolvedOnly.fVs[14], 200.0f / kRayleighToShear);  // the half-space: the largest used pick
  for (int i = 0; i < 15; ++i) EXPECT_FLOAT_EQ(resolvedOnly.fVs[i], 200.0f / kRayleighToShear) << i;
  EXPECT_NE(all.fVs[13], resolvedOnly.fVs[13]);  // 150 m/s at a third of 30 m enters the deep layers
  curve[1].resolved = false;
  EXPECT_EQ(BuildInitialModel(resolvedOnly, fs, "", &curve), 0);
}

TEST(InitialModel, TooFewLayersAreWidenedToThree) {
  for (int layers : {0, 1, 2, -5}) {
    LinuxFileSystem fs;
    SurfaceWaveResult r = Picks({{10.0f, 150.0f}}, layers);
    EXPECT_EQ(BuildInitialModel(r, fs, "/nonexistent-folder"), 1);
    EXPECT_EQ(r.nLayers, 3);
    EXPECT_FLOAT_EQ(r.fVs[2], 150.0f / 0.925f);
  }
}

}  // namespace
}  // namespace zentrova
