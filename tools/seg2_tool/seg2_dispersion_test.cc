// The record tool's dispersion analysis, run as a user runs it.

#include <algorithm>
#include <filesystem>

#include <gtest/gtest.h>

#include "records/test_seg2_builder.h"
#include "testing/child_process.h"
#include "testing/json.h"
#include "testing/shared_data.h"
#include "testing/temp_folder.h"

namespace zentrova {
namespace {

using testing::Json;
using testing::RunProcess;

const std::string kTool = ZENTROVA_SEG2_TOOL;

// The tool with its temporary and configuration folders inside `home`.
testing::ProcessResult RunDispersion(const testing::TempFolder& home, const std::vector<std::string>& args,
                                     const std::string& workingFolder = "") {
  std::filesystem::create_directories(home.Path("tmp"));
  std::filesystem::create_directories(home.Path("config"));
  std::vector<std::string> argv = {"/usr/bin/env", "TMPDIR=" + home.Path("tmp"),
                                   "ZENTROVA_CONFIG_DIR=" + home.Path("config"), kTool, "dispersion"};
  argv.insert(argv.end(), args.begin(), args.end());
  return RunProcess(argv, workingFolder);
}

std::vector<std::filesystem::path> Entries(const std::string& folder) {
  std::vector<std::filesystem::path> out;
  for (const auto& e : std::filesystem::directory_iterator(folder)) out.push_back(e.path());
  return out;
}

TEST(Seg2ToolDispersion, AnalysesARealShotAsOneJsonObject) {
  ZENTROVA_NEEDS_SHARED_DATA();
  testing::TempFolder home, here;
  const auto run = RunDispersion(home, {testing::SharedSeg2Folder() + "/swprocess_wghs_7.dat", "--json"}, here.path());
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const Json j = Json::Parse(run.out);
  EXPECT_EQ(j["traces_used"].number(), 24);
  EXPECT_EQ(j["direction"].number(), 0);
  EXPECT_EQ(j["columns"].number(), 200);
  EXPECT_DOUBLE_EQ(j["velocity_step"].number(), 2.5);
  ASSERT_EQ(j["picks"].size(), static_cast<size_t>(j["rows"].number()));
  ASSERT_GT(j["picks"].size(), 10u);
  const double step = j["frequency_step"].number();
  for (size_t r = 1; r < j["picks"].size(); ++r) {
    EXPECT_NEAR(j["picks"][r]["frequency"].number() - j["picks"][r - 1]["frequency"].number(), step, 0.011);
    EXPECT_GT(j["picks"][r]["value"].number(), 0.0);
    EXPECT_LE(j["picks"][r]["value"].number(), 1.0 + 1e-6);
  }
  ASSERT_EQ(j["layers"].size(), 15u);
  EXPECT_EQ(j["layers"][0]["top"].number(), 0.0);
  EXPECT_EQ(j["layers"][14]["bottom"].number(), 10000000.0);
  for (size_t i = 0; i < 15; ++i) {
    EXPECT_GT(j["layers"][i]["vs"].number(), 150.0) << i;  // about 200 m/s / 0.925 at this site
    EXPECT_LT(j["layers"][i]["vs"].number(), 550.0) << i;
  }
  // The text files go to one new temporary folder, none to the current one.
  EXPECT_TRUE(Entries(here.path()).empty());
  const auto made = Entries(home.Path("tmp"));
  ASSERT_EQ(made.size(), 1u);
  const std::string picks = testing::ReadFileBytes((made[0] / "PickPhaseVelocity.txt").string());
  EXPECT_EQ(picks.rfind("0 0.000000 ", 0), 0u);
  EXPECT_NE(picks.find(" \r\n1 "), std::string::npos);
  EXPECT_EQ(testing::ReadFileBytes((made[0] / "initial_model.txt").string()).rfind("ndata=", 0), 0u);
}

TEST(Seg2ToolDispersion, TheStoredVelocityRangeIsUsedAndTheTextNamesTheFolder) {
  ZENTROVA_NEEDS_SHARED_DATA();
  testing::TempFolder home;
  std::filesystem::create_directories(home.Path("config"));
  home.Write("config/Zentrova.ini", "[General]\nPV_END=0.400000\nPV_INTERVAL=0.005000\n");
  const auto json = RunDispersion(home, {testing::SharedSeg2Folder() + "/swprocess_wghs_7.dat", "--json"});
  ASSERT_EQ(json.exitCode, 0) << json.err;
  EXPECT_EQ(Json::Parse(json.out)["columns"].number(), 80);
  EXPECT_DOUBLE_EQ(Json::Parse(json.out)["velocity_step"].number(), 5.0);
  const auto text = RunDispersion(home, {testing::SharedSeg2Folder() + "/swprocess_wghs_7.dat"});
  ASSERT_EQ(text.exitCode, 0) << text.err;
  EXPECT_NE(text.out.find("24 traces used, distances from the first trace"), std::string::npos) << text.out;
  EXPECT_NE(text.out.find("80 columns every 5.0000 m/s"), std::string::npos) << text.out;
  EXPECT_NE(text.out.find("files: " + home.Path("tmp") + "/zentrova-dispersion-"), std::string::npos) << text.out;
  // Nothing of the station's settings is written by looking.
  EXPECT_EQ(home.Read("config/Zentrova.ini"), "[General]\nPV_END=0.400000\nPV_INTERVAL=0.005000\n");
}

TEST(Seg2ToolDispersion, RecordsThatCannotBeAnalysedEndWithOneLine) {
  testing::TempFolder home, files;
  testing::TestSeg2 silent;
  for (int i = 0; i < 4; ++i) {
    silent.traces.push_back(testing::FloatTrace(
        {"RECEIVER_LOCATION " + std::to_string(5 + 2 * i), "SAMPLE_INTERVAL 0.00025"}, std::vector<float>(512, 0.0f)));
  }
  files.Write("silent.sg2", silent.Build());
  testing::TestSeg2 timeless;
  for (int i = 0; i < 4; ++i) {
    timeless.traces.push_back(testing::FloatTrace({"RECEIVER_LOCATION " + std::to_string(5 + 2 * i), "SAMPLE_INTERVAL 0"},
                                                  std::vector<float>{0.0f, 1.0f, -1.0f, 0.5f, 0.0f, 0.0f, 0.0f, 0.0f}));
  }
  files.Write("timeless.sg2", timeless.Build());
  files.Write("text.sg2", "this is not a record\n");
  struct Case {
    std::vector<std::string> args;
    int exit;
    std::string says;
  };
  const Case cases[] = {
      {{files.Path("missing.sg2")}, 1, "cannot open"},
      {{files.Path("text.sg2")}, 1, "not a SEG-2 record"},
      {{files.Path("silent.sg2"), "--json"}, 1, "no dispersion image (no trace with signal"},
      {{files.Path("timeless.sg2")}, 1, "no dispersion image (the sample interval of the first trace is not a positive"},
      {{files.Path("silent.sg2"), "--xml"}, 2, "dispersion wants one FILE"},
      {{}, 2, "dispersion wants one FILE"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.says);
    const auto run = RunDispersion(home, c.args);
    EXPECT_EQ(run.exitCode, c.exit) << run.err;
    EXPECT_TRUE(run.out.empty()) << run.out;
    EXPECT_NE(run.err.find(c.says), std::string::npos) << run.err;
    if (c.exit == 1) {
      EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    }
  }
}

}  // namespace
}  // namespace zentrova
