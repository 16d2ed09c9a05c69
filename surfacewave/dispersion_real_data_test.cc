// The analysis of real MASW shots against the site's published Rayleigh
// dispersion curve.

#include <cmath>
#include <cstdio>
#include <map>

#include <gtest/gtest.h>

#include "platform/linux_file_system.h"
#include "records/seg2_reader.h"
#include "surfacewave/dispersion_image.h"
#include "surfacewave/dispersion_picks.h"
#include "testing/json.h"
#include "testing/shared_data.h"
#include "testing/temp_folder.h"

namespace zentrova {
namespace {

// Published phase velocity at a frequency (linear between the valid
// points); nothing outside them.
struct Curve {
  std::map<double, double> points;
  bool At(double f, double& v) const {
    auto hi = points.lower_bound(f);
    if (hi == points.end()) return false;
    if (hi->first == f) {
      v = hi->second;
      return true;
    }
    if (hi == points.begin()) return false;
    auto lo = std::prev(hi);
    if (hi->first - lo->first > 1.01) return false;
    v = lo->second + (hi->second - lo->second) * (f - lo->first) / (hi->first - lo->first);
    return true;
  }
};

TEST(DispersionRealData, PicksFollowThePublishedCurveFrom12To30Hz) {
  ZENTROVA_NEEDS_SHARED_DATA();
  const testing::Json ref = testing::Json::Parse(testing::ReadFileBytes(
      testing::SharedDataFolder() + "/masw/swprocess_refdata_nz_wghs_trimmed_rayleigh_masw.json"))["-5.0"];
  Curve curve;
  for (size_t i = 0; i < ref["frequency"].size(); ++i)
    if (ref["valid"][i].boolean()) curve.points[ref["frequency"][i].number()] = ref["velocity"][i].number();
  ASSERT_GT(curve.points.size(), 20u);
  LinuxFileSystem fs;
  for (int shot = 6; shot <= 10; ++shot) {
    const std::string path = testing::SharedSeg2Folder() + "/swprocess_wghs_" + std::to_string(shot) + ".dat";
    SCOPED_TRACE(path);
    SeismicRecord record;
    int status = 0;
    ASSERT_GT(ReadSeg2File(fs, record, path, 1, 1, status), 0);
    DispersionSettings settings;
    ComputeDispersionImage(record, settings, nullptr);
    SurfaceWaveResult result;
    testing::TempFolder folder;
    PickDispersionCurve(record, settings, result, fs, folder.path());
    int rows = 0, close = 0;
    std::string table;
    for (int r = 0; r < result.nPicks; ++r) {
      const double f = result.fPickFrequency[r], v = result.fPickVelocity[r];
      double published = 0.0;
      if (f < 12.0 || f > 30.0 || !curve.At(f, published)) continue;
      ++rows;
      const bool ok = std::fabs(v - published) <= 0.1 * published;
      close += ok ? 1 : 0;
      char line[96];
      std::snprintf(line, sizeof line, "  %6.2f Hz  %6.1f m/s  published %6.1f  %s\n", f, v, published, ok ? "" : "off");
      table += line;
    }
    std::printf("shot %d: %d of %d rows within 10 %%\n%s", shot, close, rows, table.c_str());
    ASSERT_GT(rows, 5);
    EXPECT_GE(close, 0.8 * rows) << table;
  }
}

}  // namespace
}  // namespace zentrova
