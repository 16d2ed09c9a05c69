// The analysis of shots nobody here computed against curves nobody here
// computed: real MASW shots against the site's published Rayleigh curves,
// simulated shots against their models' theoretical fundamental mode, and
// a hand-picked curve of a shot with a higher mode over its upper band.

#include <cmath>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>

#include <gtest/gtest.h>

#include "platform/key_value_store.h"
#include "platform/linux_file_system.h"
#include "records/seg2_reader.h"
#include "surfacewave/combined_curve.h"
#include "surfacewave/dispersion_image.h"
#include "surfacewave/dispersion_picks.h"
#include "testing/json.h"
#include "testing/shared_data.h"
#include "testing/temp_folder.h"

namespace zentrova {
namespace {

// A curve of velocity against frequency, linear between its points;
// nothing outside them or across gaps wider than `gap` Hz.
struct Curve {
  std::map<double, double> points;
  double gap = 1e9;
  bool At(double f, double& v) const {
    auto hi = points.lower_bound(f);
    if (hi == points.end()) return false;
    if (hi->first == f) {
      v = hi->second;
      return true;
    }
    if (hi == points.begin()) return false;
    auto lo = std::prev(hi);
    if (hi->first - lo->first > gap) return false;
    v = lo->second + (hi->second - lo->second) * (f - lo->first) / (hi->first - lo->first);
    return true;
  }
};

// The fundamental mode ("# Mode 0") of a file of "frequency slowness" lines.
Curve FundamentalMode(const std::string& path) {
  std::ifstream in(path);
  Curve c;
  std::string line;
  bool inMode0 = false;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.rfind("# Mode", 0) == 0) inMode0 = line == "# Mode 0";
    if (!inMode0 || line.empty() || line[0] == '#') continue;
    std::istringstream fields(line);
    double f = 0.0, slowness = 0.0;
    if (fields >> f >> slowness && slowness > 0.0) c.points[f] = 1.0 / slowness;
  }
  return c;
}

struct Shot {
  DispersionImageInfo image;
  DispersionCurve curve;
};

Shot Analyse(const std::string& path, DispersionSettings settings = {}) {
  LinuxFileSystem fs;
  SeismicRecord record;
  int status = 0;
  EXPECT_GT(ReadSeg2File(fs, record, path, 1, 1, status), 0) << path;
  Shot shot;
  shot.image = ComputeDispersionImage(record, settings, nullptr);
  SurfaceWaveResult result;
  shot.curve = PickDispersionCurve(record, settings, shot.image, result, fs, "");
  return shot;
}

std::string WghsShot(int n) { return testing::SharedSeg2Folder() + "/swprocess_wghs_" + std::to_string(n) + ".dat"; }

TEST(DispersionRealData, PicksFollowThePublishedCurveFrom12To30Hz) {
  ZENTROVA_NEEDS_SHARED_DATA();
  const testing::Json ref = testing::Json::Parse(testing::ReadFileBytes(
      testing::SharedDataFolder() + "/masw/swprocess_refdata_nz_wghs_trimmed_rayleigh_masw.json"))["-5.0"];
  Curve published;
  published.gap = 1.01;
  for (size_t i = 0; i < ref["frequency"].size(); ++i)
    if (ref["valid"][i].boolean()) published.points[ref["frequency"][i].number()] = ref["velocity"][i].number();
  ASSERT_GT(published.points.size(), 20u);
  for (int n = 6; n <= 10; ++n) {
    SCOPED_TRACE(WghsShot(n));
    const Shot shot = Analyse(WghsShot(n));
    int rows = 0, resolved = 0, close = 0;
    std::string table;
    for (const CurvePoint& p : shot.curve) {
      double v = 0.0;
      if (p.frequency < 12.0 || p.frequency > 30.0 || !published.At(p.frequency, v)) continue;
      ++rows;
      resolved += p.resolved ? 1 : 0;
      const bool ok = p.resolved && std::fabs(p.velocity - v) <= 0.1 * v;
      close += ok ? 1 : 0;
      char line[96];
      std::snprintf(line, sizeof line, "  %6.2f Hz  %6.1f m/s  published %6.1f  %s\n", p.frequency, p.velocity, v,
                    ok ? "" : p.resolved ? "off" : "no pick");
      table += line;
    }
    std::printf("shot %d: %d of %d rows within 10 %%, %d resolved\n", n, close, rows, resolved);
    ASSERT_GT(rows, 30);
    // Every pick is within 10 %; a row where the image shows nothing of the
    // fundamental clearly has no pick, and that happens at most twice a shot.
    EXPECT_EQ(close, resolved) << table;
    EXPECT_GE(resolved, rows - 2) << table;
  }
}

TEST(DispersionRealData, SimulatedShotsFollowTheTheoreticalFundamentalMode) {
  ZENTROVA_NEEDS_SHARED_DATA();
  const char* shots[] = {"46m_2m_-5m", "46m_2m_-10m", "46m_2m_-20m", "60m_Xm_-5m", "60m_Xm_-10m"};
  for (int model : {0, 1}) {
    const std::string folder = testing::SharedDataFolder() + "/masw-synthetic/model_" + std::to_string(model);
    const Curve theory = FundamentalMode(folder + "/mod" + std::to_string(model) + "_dc.txt");
    ASSERT_GT(theory.points.size(), 10u);
    int resolved = 0, close = 0, inBand = 0, inBandResolved = 0;
    for (const char* name : shots) {
      SCOPED_TRACE(::testing::Message() << "model " << model << " " << name);
      const Shot shot = Analyse(folder + "/" + name + ".sg2");
      const double dx = shot.image.spread.smallestSpacing, length = shot.image.spread.length;
      for (const CurvePoint& p : shot.curve) {
        double v = 0.0;
        if (p.frequency < 5.0 || p.frequency > 50.0 || !theory.At(p.frequency, v)) continue;
        if (p.resolved) {
          ++resolved;
          close += std::fabs(p.velocity - v) <= 0.05 * v ? 1 : 0;
          EXPECT_GE(p.velocity, p.frequency * dx) << p.frequency << " Hz";  // never an alias
          EXPECT_LE(std::fabs(p.velocity - v), 0.1 * v) << p.frequency << " Hz: " << p.velocity << " m/s, theory " << v;
        }
        const double wavelength = v / p.frequency;
        if (wavelength >= dx && wavelength <= length) {
          ++inBand;
          inBandResolved += p.resolved ? 1 : 0;
        }
      }
    }
    std::printf("model %d: %d of %d resolved picks within 5 %%; resolved picks on %d of %d rows in the band\n", model,
                close, resolved, inBandResolved, inBand);
    EXPECT_GE(close, 0.95 * resolved);
    EXPECT_GE(inBandResolved, 0.9 * inBand);
  }
}

TEST(DispersionRealData, AShotWithAHigherModeOverItsUpperBandAgainstItsHandPickedCurve) {
  ZENTROVA_NEEDS_SHARED_DATA();
  // The lowest trial velocity set as a station would store it: 50 m/s.
  MemoryStore profile, product;
  profile.Set("PV_START", "0.050000");
  profile.Set("PV_END", "1.000000");
  Settings stored(profile, product);
  DispersionSettings settings;
  settings.Load(stored);
  const Shot shot = Analyse(testing::SharedSeg2Folder() + "/albca_sw_Shot1.dat", settings);
  EXPECT_TRUE(shot.image.spread.fromSource);  // SOURCE_LOCATION -6 before receivers at 0 to 69 m
  EXPECT_EQ(settings.nDirection, 0);
  std::ifstream in(testing::SharedDataFolder() + "/masw/albca_Shot1_dispersion_curve.txt");
  std::string header;
  std::getline(in, header);
  int rows = 0, close = 0;
  double f = 0.0, v = 0.0;
  while (in >> f >> v) {
    ++rows;
    const CurvePoint* nearest = &shot.curve.front();
    for (const CurvePoint& p : shot.curve) {
      if (std::fabs(p.frequency - f) < std::fabs(nearest->frequency - f)) nearest = &p;
    }
    close += nearest->resolved && std::fabs(nearest->velocity - v) <= 0.1 * v ? 1 : 0;
  }
  std::printf("albca shot 1: %d of %d hand-picked rows within 10 %%\n", close, rows);
  ASSERT_EQ(rows, 50);
  // An independent phase-shift transform searching from 50 m/s: 18 of 50.
  EXPECT_GE(close, 18);
}

TEST(DispersionRealData, FiveShotsCombineIntoTheSitesStatisticalCurve) {
  ZENTROVA_NEEDS_SHARED_DATA();
  std::vector<DispersionCurve> curves;
  for (int n = 6; n <= 10; ++n) curves.push_back(Analyse(WghsShot(n)).curve);
  Curve combined;
  combined.gap = 0.5;  // neighbouring rows only
  for (const CombinedPoint& p : CombineShots(curves)) combined.points[p.frequency] = p.velocity;
  std::ifstream in(testing::SharedDataFolder() + "/masw/swprocess_refdata_nz_wghs_rayleigh_0.txt");
  std::string line;
  int points = 0, close = 0;
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    double f = 0.0, slowness = 0.0, v = 0.0;
    if (!(fields >> f >> slowness) || f < 10.0 || f > 40.0) continue;
    ++points;
    const bool ok = combined.At(f, v) && std::fabs(v - 1.0 / slowness) <= 0.05 / slowness;
    close += ok ? 1 : 0;
    std::printf("  %6.2f Hz  site %6.1f m/s  combined %6.1f  %s\n", f, 1.0 / slowness, v, ok ? "" : "off");
  }
  ASSERT_EQ(points, 9);
  EXPECT_GE(close, 8);
}

}  // namespace
}  // namespace zentrova
