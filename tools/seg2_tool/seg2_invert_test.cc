// The record tool's inversion, run as a user runs it: a curve file in,
// the profile as JSON out; the simulated shots of a known ground combined.

#include <cmath>
#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include "testing/child_process.h"
#include "testing/json.h"
#include "testing/shared_data.h"
#include "testing/temp_folder.h"

namespace zentrova {
namespace {

using testing::Json;

const std::string kTool = ZENTROVA_SEG2_TOOL;

testing::ProcessResult RunInvert(const testing::TempFolder& home, const std::vector<std::string>& args) {
  std::filesystem::create_directories(home.Path("tmp"));
  std::filesystem::create_directories(home.Path("config"));
  std::vector<std::string> argv = {"/usr/bin/env", "TMPDIR=" + home.Path("tmp"),
                                   "ZENTROVA_CONFIG_DIR=" + home.Path("config"), kTool, "invert"};
  argv.insert(argv.end(), args.begin(), args.end());
  return testing::RunProcess(argv);
}

std::string WriteFile(const testing::TempFolder& folder, const std::string& name, const std::string& text) {
  std::ofstream(folder.Path(name), std::ios::binary) << text;
  return folder.Path(name);
}

// A soft layer over stiffer ground, as a curve with 3 % uncertainty.
std::string PlainCurve() {
  std::string csv = "frequency,velocity,sigma\r\n";
  for (int i = 0; i < 16; ++i) {
    const double f = 4.0 + 4.0 * i, v = 130.0 + 180.0 / (1.0 + 0.12 * f);
    csv += std::to_string(f) + "," + std::to_string(v) + "," + std::to_string(0.03 * v) + "\r\n";
  }
  return csv;
}

TEST(Seg2ToolInvert, ACurveFileGivesTheProfileAsJson) {
  testing::TempFolder home, files;
  const auto run = RunInvert(home, {"--curve", WriteFile(files, "curve.csv", PlainCurve()), "--json", "--models", "300",
                                    "--seed", "5"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const Json j = Json::Parse(run.out);
  ASSERT_GE(j["layers"].size(), 2u);
  const Json& first = j["layers"][0];
  EXPECT_EQ(first["top"].number(), 0.0);
  for (const char* key : {"bottom", "vs", "vp", "density", "vs_min", "vs_max"}) EXPECT_TRUE(first.has(key)) << key;
  EXPECT_LE(first["vs_min"].number(), first["vs"].number());
  EXPECT_GE(first["vs_max"].number(), first["vs"].number());
  EXPECT_TRUE(j["layers"][j["layers"].size() - 1]["bottom"].isNull());  // the half-space
  EXPECT_GT(j["vs30"].number(), 130.0);
  EXPECT_LT(j["vs30"].number(), 500.0);
  EXPECT_GE(j["misfit"].number(), 0.0);
  EXPECT_EQ(j["seed"].number(), 5);
  EXPECT_LE(j["models_tried"].number(), 300);
  // The longest wavelength is 4 Hz's: the data reach half of it.
  EXPECT_NEAR(j["resolved_depth"].number(), (130.0 + 180.0 / 1.48) / 4.0 / 2.0, 1e-3);
  EXPECT_EQ(j["vs30_extrapolated"].boolean(), j["resolved_depth"].number() < 30.0);
  EXPECT_EQ(j["curve"].size(), 16u);
}

TEST(Seg2ToolInvert, BadCurvesAndUsageAreRefusedWithTheirReason) {
  testing::TempFolder home, files;
  struct Case {
    std::vector<std::string> args;
    int exitCode;
    const char* why;
  };
  const std::string flat = "frequency,velocity,sigma\n5,200,5\n10,200,5\n20,200,5\n40,200,5\n";
  const std::string zero = "frequency,velocity,sigma\n5,300,5\n10,250,0\n20,200,5\n40,150,5\n";
  const Case cases[] = {
      {{"--curve", WriteFile(files, "header.csv", "f,v,s\n5,300,5\n")}, 1, "is not \"frequency,velocity,sigma\""},
      {{"--curve", WriteFile(files, "text.csv", "frequency,velocity,sigma\n5,fast,5\n")}, 1, "line 2 is not three numbers"},
      {{"--curve", WriteFile(files, "one.csv", "frequency,velocity,sigma\n5,300,5\n")}, 1, "the curve has 1 points"},
      {{"--curve", WriteFile(files, "flat.csv", flat)}, 1, "the curve is flat"},
      {{"--curve", WriteFile(files, "zero.csv", zero)}, 1, "point 2 has no positive sigma"},
      {{"--curve", files.Path("missing.csv")}, 1, "cannot read"},
      {{}, 2, "invert wants one FILE or more, or --curve CSV"},
      {{"--curve", "a.csv", "--models", "5"}, 2, "--models wants a number from 100 to 200000"},
      {{"--curve", "a.csv", "--fast"}, 2, "invert does not know \"--fast\""},
  };
  for (const Case& c : cases) {
    const auto run = RunInvert(home, c.args);
    EXPECT_EQ(run.exitCode, c.exitCode) << c.why << ": " << run.err;
    EXPECT_NE(run.err.find(c.why), std::string::npos) << run.err;
    EXPECT_TRUE(run.out.empty()) << run.out;
  }
}

// The five simulated shots of masw-synthetic's model 0 combined: Vs30
// within 10 % of the true ground's (the curve reaches about 22 m, so the
// value is extrapolated below it). Model 1's shots do not yet come within
// 10 %: they give 11 to 18 % too much.
TEST(Seg2ToolInvert, SimulatedShotsOfAKnownGroundGiveItsVs30) {
  ZENTROVA_NEEDS_SHARED_DATA();
  struct Case {
    const char* model;
    double trueVs30;
  };
  const Case cases[] = {{"model_0", 30.0 / (1.0 / 100 + 29.0 / 200)}};
  for (const Case& c : cases) {
    testing::TempFolder home;
    std::vector<std::string> args = {"--json", "--models", "2000"};
    const std::string folder = testing::SharedDataFolder() + "/masw-synthetic/" + c.model;
    for (const char* shot : {"46m_2m_-5m.sg2", "46m_2m_-10m.sg2", "46m_2m_-20m.sg2", "60m_Xm_-5m.sg2", "60m_Xm_-10m.sg2"}) {
      args.push_back(folder + "/" + shot);
    }
    const auto run = RunInvert(home, args);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const Json j = Json::Parse(run.out);
    std::printf("%s shots: Vs30 %.1f m/s (%.1f to %.1f; true %.1f), resolved %.1f m, misfit %.3f\n", c.model,
                j["vs30"].number(), j["vs30_min"].number(), j["vs30_max"].number(), c.trueVs30,
                j["resolved_depth"].number(), j["misfit"].number());
    EXPECT_NEAR(j["vs30"].number(), c.trueVs30, 0.10 * c.trueVs30) << c.model;
  }
}

}  // namespace
}  // namespace zentrova
