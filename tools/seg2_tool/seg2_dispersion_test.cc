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

std::string Shot(const std::string& name) { return testing::SharedSeg2Folder() + "/" + name; }

TEST(Seg2ToolDispersion, AnalysesARealShotAsOneJsonObjectAndWritesNothing) {
  ZENTROVA_NEEDS_SHARED_DATA();
  testing::TempFolder home, here;
  const auto run = RunDispersion(home, {Shot("swprocess_wghs_7.dat"), "--json"}, here.path());
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_TRUE(run.err.empty()) << run.err;
  const Json j = Json::Parse(run.out);
  EXPECT_EQ(j["file"].string(), Shot("swprocess_wghs_7.dat"));
  EXPECT_EQ(j["units"]["frequency"].string(), "Hz");
  EXPECT_EQ(j["units"]["velocity"].string(), "m/s");
  EXPECT_EQ(j["units"]["wavelength"].string(), "m");
  EXPECT_EQ(j["traces_used"].number(), 24);
  EXPECT_EQ(j["direction"].number(), 0);
  EXPECT_EQ(j["direction_from"].string(), "source location");  // -5 m, before the receivers at 0 to 46 m
  EXPECT_EQ(j["spread"]["smallest_spacing"].number(), 2.0);
  EXPECT_EQ(j["spread"]["length"].number(), 46.0);
  // DELAY -0.5 s at 1 ms: the first 500 samples precede the shot.
  EXPECT_EQ(j["window"]["first_sample"].number(), 500);
  EXPECT_EQ(j["window"]["samples"].number(), 1000);
  EXPECT_EQ(j["window"]["left_out_before"].number(), 500);
  EXPECT_EQ(j["window"]["left_out_after"].number(), 0);
  EXPECT_DOUBLE_EQ(j["window"]["start"].number(), 0.5);
  EXPECT_EQ(j["columns"].number(), 200);
  EXPECT_DOUBLE_EQ(j["velocity_step"].number(), 2.5);
  EXPECT_DOUBLE_EQ(j["velocity_min"].number(), 0.0);
  ASSERT_EQ(j["picks"].size(), static_cast<size_t>(j["rows"].number()));
  ASSERT_GT(j["picks"].size(), 50u);
  const double step = j["frequency_step"].number();
  EXPECT_DOUBLE_EQ(step, 1000.0 / 2048.0);
  int resolved = 0;
  for (size_t r = 0; r < j["picks"].size(); ++r) {
    const Json& p = j["picks"][r];
    EXPECT_NEAR(p["frequency"].number(), static_cast<double>(r) * step, 1e-6) << r;  // in full, not rounded to hundredths
    EXPECT_GE(p["value"].number(), 0.0);
    EXPECT_LE(p["value"].number(), 1.0 + 1e-6);
    if (!p["picked"].boolean()) {
      EXPECT_EQ(p["velocity"].number(), 0.0) << r;
      EXPECT_FALSE(p["resolved"].boolean()) << r;
      continue;
    }
    const double wavelength = p["wavelength"].number();
    EXPECT_NEAR(wavelength, p["velocity"].number() / p["frequency"].number(), 1e-6);
    EXPECT_EQ(p["resolved"].boolean(), wavelength >= 2.0 && wavelength <= 46.0) << r;
    resolved += p["resolved"].boolean() ? 1 : 0;
  }
  EXPECT_GT(resolved, 60);
  ASSERT_EQ(j["layers"].size(), 15u);
  EXPECT_EQ(j["layers"][0]["top"].number(), 0.0);
  EXPECT_EQ(j["layers"][14]["bottom"].number(), 10000000.0);
  for (size_t i = 0; i < 15; ++i) {
    EXPECT_GT(j["layers"][i]["vs"].number(), 150.0) << i;  // about 200 m/s / 0.925 at this site
    EXPECT_LT(j["layers"][i]["vs"].number(), 550.0) << i;
  }
  // No file anywhere: not in the current folder, not under $TMPDIR.
  EXPECT_TRUE(Entries(here.path()).empty());
  EXPECT_TRUE(Entries(home.Path("tmp")).empty());
}

TEST(Seg2ToolDispersion, TheStoredSettingsAreUsedAndTheTextFilesGoWhereAsked) {
  ZENTROVA_NEEDS_SHARED_DATA();
  testing::TempFolder home;
  std::filesystem::create_directories(home.Path("config"));
  const std::string ini = "[General]\nPV_START=0.050000\nPV_END=0.400000\nPV_INTERVAL=0.005000\nFREQ_END=30.000000\n";
  home.Write("config/Zentrova.ini", ini);
  const auto json = RunDispersion(home, {Shot("swprocess_wghs_7.dat"), "--json"});
  ASSERT_EQ(json.exitCode, 0) << json.err;
  const Json j = Json::Parse(json.out);
  EXPECT_EQ(j["columns"].number(), 70);
  EXPECT_DOUBLE_EQ(j["velocity_step"].number(), 5.0);
  EXPECT_DOUBLE_EQ(j["velocity_min"].number(), 50.0);
  EXPECT_LE(j["picks"][j["picks"].size() - 1]["frequency"].number(), 30.0);
  const auto text = RunDispersion(home, {Shot("swprocess_wghs_7.dat"), "--files", home.Path("files/shot7")});
  ASSERT_EQ(text.exitCode, 0) << text.err;
  EXPECT_NE(text.out.find("24 traces used, distances from the first trace (the source location)"), std::string::npos)
      << text.out;
  EXPECT_NE(text.out.find("samples left out: 500 before the shot (time zero)"), std::string::npos) << text.out;
  EXPECT_NE(text.out.find("70 columns every 5.0000 m/s from 50.0000 m/s"), std::string::npos) << text.out;
  EXPECT_NE(text.err.find("text files in " + home.Path("files/shot7")), std::string::npos) << text.err;
  const std::string picks = home.Read("files/shot7/PickPhaseVelocity.txt");
  EXPECT_EQ(picks.rfind("0 0.000000 0.000000 ", 0), 0u) << picks;
  EXPECT_NE(picks.find(" \r\n1 0.490000 "), std::string::npos) << picks;
  EXPECT_EQ(home.Read("files/shot7/initial_model.txt").rfind("ndata=", 0), 0u);
  EXPECT_TRUE(Entries(home.Path("tmp")).empty());
  // Nothing of the station's settings is written by looking.
  EXPECT_EQ(home.Read("config/Zentrova.ini"), ini);
}

TEST(Seg2ToolDispersion, ShotsOfOneLineGiveTheirPicksAndOneCombinedCurve) {
  ZENTROVA_NEEDS_SHARED_DATA();
  testing::TempFolder home;
  std::vector<std::string> args;
  for (int n = 6; n <= 10; ++n) args.push_back(Shot("swprocess_wghs_" + std::to_string(n) + ".dat"));
  args.push_back("--json");
  const auto run = RunDispersion(home, args);
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const Json j = Json::Parse(run.out);
  ASSERT_EQ(j["shots"].size(), 5u);
  for (size_t i = 0; i < 5; ++i) {
    EXPECT_EQ(j["shots"][i]["file"].string(), args[i]);
    EXPECT_GT(j["shots"][i]["picks"].size(), 50u);
  }
  ASSERT_GT(j["combined"].size(), 50u);
  for (size_t i = 0; i < j["combined"].size(); ++i) {
    const Json& c = j["combined"][i];
    EXPECT_GE(c["count"].number(), 3) << i;  // three of the five shots at least
    EXPECT_LE(c["count"].number(), 5) << i;
    EXPECT_GE(c["std"].number(), 0.0) << i;
    EXPECT_GT(c["velocity"].number(), 0.0) << i;
  }
  // The text, with each shot's files in a folder of its own.
  args.back() = "--files";
  args.push_back(home.Path("line"));
  const auto text = RunDispersion(home, args);
  ASSERT_EQ(text.exitCode, 0) << text.err;
  EXPECT_NE(text.out.find("combined curve of 5 shots"), std::string::npos) << text.out;
  for (int n = 6; n <= 10; ++n) {
    EXPECT_TRUE(std::filesystem::exists(home.Path("line/swprocess_wghs_" + std::to_string(n) + ".dat/PickPhaseVelocity.txt")));
  }
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
  // Shots with signal: four traces at 0.25 ms, and three, and four at 0.5 ms.
  const auto shot = [](int traces, const std::string& interval, const std::string& delay) {
    testing::TestSeg2 s;
    for (int i = 0; i < traces; ++i) {
      std::vector<float> samples(512, 0.0f);
      samples[10 + 5 * i] = 1.0f;
      s.traces.push_back(testing::FloatTrace(
          {"RECEIVER_LOCATION " + std::to_string(5 + 2 * i), "SAMPLE_INTERVAL " + interval, "DELAY " + delay}, samples));
    }
    return s.Build();
  };
  files.Write("a.sg2", shot(4, "0.00025", "0"));
  files.Write("three.sg2", shot(3, "0.00025", "0"));
  files.Write("slower.sg2", shot(4, "0.0005", "0"));
  files.Write("late.sg2", shot(4, "0.00025", "-1.0"));
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
      {{files.Path("late.sg2")}, 1, "no dispersion image (no sample after the shot"},
      {{files.Path("a.sg2"), files.Path("three.sg2"), "--json"}, 1,
       files.Path("three.sg2") + " is not a shot of the line of " + files.Path("a.sg2") + ": 3 traces at 0.25 ms, not 4"},
      {{files.Path("a.sg2"), files.Path("slower.sg2")}, 1, files.Path("slower.sg2") + " is not a shot of the line"},
      {{files.Path("a.sg2"), files.Path("missing.sg2")}, 1, "cannot open"},
      {{files.Path("a.sg2"), files.Path("a.sg2")}, 1, files.Path("a.sg2") + " is given twice"},
      {{files.Path("a.sg2"), "--files", "/proc/self"}, 1, "cannot write /proc/self/PickPhaseVelocity.txt"},
      {{files.Path("silent.sg2"), "--xml"}, 2, "dispersion does not know \"--xml\""},
      {{files.Path("a.sg2"), "--files"}, 2, "--files wants a folder"},
      {{}, 2, "dispersion wants one FILE or more"},
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

TEST(Seg2ToolDispersion, ALineThatIsRefusedLeavesNoFileAndNamesAreKeptApart) {
  testing::TempFolder home, files;
  testing::TestSeg2 shot, other;
  for (int i = 0; i < 4; ++i) {
    std::vector<float> samples(512, 0.0f);
    samples[10 + 5 * i] = 1.0f;
    shot.traces.push_back(testing::FloatTrace({"RECEIVER_LOCATION " + std::to_string(5 + 2 * i), "SAMPLE_INTERVAL 0.00025"}, samples));
    if (i < 3) other.traces.push_back(shot.traces.back());
  }
  std::filesystem::create_directories(files.Path("d1"));
  std::filesystem::create_directories(files.Path("d2"));
  files.Write("d1/shot.sg2", shot.Build());
  files.Write("d2/shot.sg2", shot.Build());
  files.Write("three.sg2", other.Build());
  // The third record is of another line: nothing of the first two is written.
  const auto refused = RunDispersion(home, {files.Path("d1/shot.sg2"), files.Path("d2/shot.sg2"), files.Path("three.sg2"),
                                            "--files", home.Path("out")});
  EXPECT_EQ(refused.exitCode, 1) << refused.err;
  EXPECT_FALSE(std::filesystem::exists(home.Path("out")));
  // Two records of one name get a folder each.
  const auto kept = RunDispersion(home, {files.Path("d1/shot.sg2"), files.Path("d2/shot.sg2"), "--files", home.Path("out")});
  ASSERT_EQ(kept.exitCode, 0) << kept.err;
  EXPECT_TRUE(std::filesystem::exists(home.Path("out/shot.sg2/PickPhaseVelocity.txt")));
  EXPECT_TRUE(std::filesystem::exists(home.Path("out/shot.sg2_2/PickPhaseVelocity.txt")));
  // Output that cannot be written is a failure, said in one line.
  const auto full = RunProcess({"/bin/sh", "-c",
                                "TMPDIR=" + home.Path("tmp") + " ZENTROVA_CONFIG_DIR=" + home.Path("config") + " " + kTool +
                                    " dispersion " + files.Path("d1/shot.sg2") + " --json > /dev/full"});
  EXPECT_EQ(full.exitCode, 1) << full.err;
  EXPECT_NE(full.err.find("cannot write the output"), std::string::npos) << full.err;
}

}  // namespace
}  // namespace zentrova
