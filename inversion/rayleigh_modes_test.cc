// The forward model against curves nobody here computed: the theoretical
// Rayleigh modes of the two simulated ground models of masw-synthetic
// (computed there by a layered-earth modal code), and the Rayleigh
// velocity of a homogeneous half-space (a textbook root).

#include "inversion/rayleigh_modes.h"

#include <cmath>
#include <fstream>
#include <limits>
#include <map>
#include <random>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "testing/shared_data.h"

namespace zentrova {
namespace {

// Mode number -> frequency -> phase velocity, from blocks "# Mode N" of
// "frequency slowness" lines (CR LF line ends).
using TheoreticalModes = std::map<int, std::map<double, double>>;

TheoreticalModes ReadModes(const std::string& path) {
  std::ifstream in(path);
  TheoreticalModes modes;
  std::string line;
  int mode = -1;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.rfind("# Mode ", 0) == 0) {
      mode = std::stoi(line.substr(7));
      continue;
    }
    if (mode < 0 || line.empty() || line[0] == '#') continue;
    std::istringstream fields(line);
    double f = 0.0, slowness = 0.0;
    if (fields >> f >> slowness && slowness > 0.0) modes[mode][f] = 1.0 / slowness;
  }
  return modes;
}

LayeredModel Model0() { return {{1.0, 200.0, 100.0, 2000.0}, {0.0, 400.0, 200.0, 2000.0}}; }
LayeredModel Model1() {
  return {{2.0, 360.0, 80.0, 1800.0}, {4.0, 1000.0, 120.0, 1800.0}, {8.0, 1400.0, 180.0, 1800.0},
          {0.0, 1400.0, 360.0, 1800.0}};
}

struct SyntheticCase {
  const char* file;
  LayeredModel model;
};

class TheoreticalCurves : public ::testing::TestWithParam<SyntheticCase> {};

TEST_P(TheoreticalCurves, BothModesMatchAtEveryListedFrequency) {
  ZENTROVA_NEEDS_SHARED_DATA();
  const TheoreticalModes modes = ReadModes(testing::SharedDataFolder() + "/masw-synthetic/" + GetParam().file);
  ASSERT_TRUE(modes.count(0) && modes.count(1)) << GetParam().file;
  std::vector<double> frequencies;
  for (const auto& [f, v] : modes.at(0)) frequencies.push_back(f);
  const std::vector<RayleighModes> ours = RayleighPhaseVelocities(GetParam().model, frequencies);
  double worst0 = 0.0, worst1 = 0.0;
  for (size_t i = 0; i < frequencies.size(); ++i) {
    const double f = frequencies[i];
    const double e0 = std::fabs(ours[i].fundamental / modes.at(0).at(f) - 1.0);
    worst0 = std::max(worst0, e0);
    EXPECT_LT(e0, 0.005) << f << " Hz: " << ours[i].fundamental << " against " << modes.at(0).at(f);
    if (modes.at(1).count(f)) {
      const double e1 = std::fabs(ours[i].first / modes.at(1).at(f) - 1.0);
      worst1 = std::max(worst1, e1);
      EXPECT_LT(e1, 0.01) << f << " Hz mode 1: " << ours[i].first << " against " << modes.at(1).at(f);
    } else {
      EXPECT_EQ(ours[i].first, 0.0) << f << " Hz has no mode 1 in the file";
    }
  }
  std::printf("%s: largest difference mode 0 %.2e %%, mode 1 %.2e %%\n", GetParam().file, 100 * worst0, 100 * worst1);
}

INSTANTIATE_TEST_SUITE_P(MaswSynthetic, TheoreticalCurves,
                         ::testing::Values(SyntheticCase{"model_0/mod0_dc.txt", Model0()},
                                           SyntheticCase{"model_1/mod1_dc.txt", Model1()}));

// A homogeneous half-space carries one Rayleigh wave at every frequency, at
// the root of (2 - c²/vs²)² = 4 sqrt(1 - c²/vp²) sqrt(1 - c²/vs²): for a
// Poisson solid (vp² = 3 vs²) c = vs sqrt(2 - 2/sqrt(3)) = 0.919402 vs; and
// a layer over a half-space tends to the layer's own Rayleigh velocity at
// high frequency (0.932526 vs for vp = 2 vs).
TEST(RayleighModes, HalfSpaceAndHighFrequencyLimitAreTheTextbookRoots) {
  const std::vector<RayleighModes> half =
      RayleighPhaseVelocities({{0.0, 300.0 * std::sqrt(3.0), 300.0, 2000.0}}, {1.0, 10.0, 100.0});
  for (const RayleighModes& m : half) {
    EXPECT_NEAR(m.fundamental, 300.0 * std::sqrt(2.0 - 2.0 / std::sqrt(3.0)), 1e-5);
    EXPECT_EQ(m.first, 0.0);
  }
  const std::vector<RayleighModes> high = RayleighPhaseVelocities(Model0(), {2000.0});
  EXPECT_NEAR(high[0].fundamental, 93.2526, 0.01);
}

// A thick stack at high frequency (k h near 10⁴) and a sharp contrast stay
// finite and give the limits (the deep half-space's side at low frequency,
// the top layer's Rayleigh velocity, the root of the equation above for
// vp/vs = 10/3, at high frequency), and a frequency that is no number gives
// no mode instead of a hang.
TEST(RayleighModes, ThickLayersAndBadFrequenciesGiveNumbersOrNothing) {
  const LayeredModel thick = {{400.0, 500.0, 150.0, 1900.0}, {900.0, 3000.0, 1500.0, 2400.0}, {0.0, 6000.0, 3500.0, 2700.0}};
  const std::vector<RayleighModes> m =
      RayleighPhaseVelocities(thick, {0.05, 200.0, 0.0, -3.0, std::nan(""), std::numeric_limits<double>::infinity()});
  EXPECT_GT(m[0].fundamental, 1500.0);
  EXPECT_LT(m[0].fundamental, 3500.0);
  EXPECT_NEAR(m[1].fundamental, 142.3548, 0.01);  // the top layer's Rayleigh velocity
  for (size_t i = 2; i < m.size(); ++i) {
    EXPECT_EQ(m[i].fundamental, 0.0);
    EXPECT_EQ(m[i].first, 0.0);
  }
}

// The default search against a search ten times finer on random grounds of
// two to five layers over a half-space, soft over stiff and stiff over soft
// (velocities free to fall with depth, as at sites with a stiff crust): the
// same modes at every frequency, so its steps jump none that the fine one
// finds. (Above about 50 Hz a low-velocity layer buried under a stiff one
// can trap modes whose surface amplitude is vanishingly small; their zeros
// are narrower than any step, and only a search as fine as they are sees
// them.)
TEST(RayleighModes, DefaultStepsFindTheModesOfATenTimesFinerSearch) {
  std::mt19937 random(20240611);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  const std::vector<double> frequencies = {3.0, 5.0, 8.0, 12.0, 18.0, 27.0, 40.0};
  ModeSearch fine;
  fine.step = ModeSearch{}.step / 10;
  fine.phaseStep = ModeSearch{}.phaseStep / 10;
  for (int trial = 0; trial < 40; ++trial) {
    LayeredModel model;
    const int layers = 2 + static_cast<int>(unit(random) * 4);
    for (int i = 0; i <= layers; ++i) {
      const double vs = 80.0 + 420.0 * unit(random);
      model.push_back({0.5 + 8.0 * unit(random), vs * (1.6 + 2.5 * unit(random)), vs, 1600.0 + 500.0 * unit(random)});
    }
    const std::vector<RayleighModes> ours = RayleighPhaseVelocities(model, frequencies);
    const std::vector<RayleighModes> reference = RayleighPhaseVelocities(model, frequencies, fine);
    for (size_t i = 0; i < frequencies.size(); ++i) {
      EXPECT_NEAR(ours[i].fundamental, reference[i].fundamental, 1e-6 * reference[i].fundamental)
          << "trial " << trial << " at " << frequencies[i] << " Hz";
      EXPECT_NEAR(ours[i].first, reference[i].first, 1e-6 * reference[i].first)
          << "trial " << trial << " at " << frequencies[i] << " Hz";
    }
  }
}

}  // namespace
}  // namespace zentrova
