// The record tool run as users run it, on the shared real records and on
// broken files.

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

#include "testing/child_process.h"
#include "testing/json.h"
#include "testing/shared_data.h"
#include "testing/temp_folder.h"

namespace zentrova {
namespace {

using testing::Json;
using testing::RunProcess;

const std::string kTool = ZENTROVA_SEG2_TOOL;
const std::string kSeg2Folder = testing::SharedSeg2Folder();

TEST(Seg2Tool, DumpsEverySharedRecordAsTheIndependentReadingHasIt) {
  ZENTROVA_NEEDS_SHARED_DATA();
  size_t checked = 0;
  for (const auto& entry : std::filesystem::directory_iterator(kSeg2Folder)) {
    const std::string path = entry.path().string();
    if (path.size() < 9 || path.compare(path.size() - 9, 9, ".ref.json") != 0) continue;
    const std::string record = path.substr(0, path.size() - 9);
    SCOPED_TRACE(record);
    auto run = RunProcess({kTool, "dump", "--json", record});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const Json dump = Json::Parse(run.out);
    const Json ref = Json::Parse(testing::ReadFileBytes(path));
    ASSERT_EQ(dump["traces"].number(), ref["trace_count"].number());
    EXPECT_EQ(dump["status"].number(), 0);
    EXPECT_EQ(dump["time"]["valid"].number(), ref["file_strings"].has("ACQUISITION_DATE") ? 1 : 0);
    for (size_t i = 0; i < dump["trace"].size(); ++i) {
      const Json& ours = dump["trace"][i];
      const Json& theirs = ref["traces"][i];
      EXPECT_EQ(ours["samples"].number(), theirs["nsamples"].number());
      EXPECT_NEAR(ours["interval_us"].number(), theirs["delta"].number() * 1e6, 1e-3);
      for (size_t k = 0; k < theirs["first5"].size(); ++k) {
        EXPECT_EQ(static_cast<float>(ours["first"][k].number()), static_cast<float>(theirs["first5"][k].number()));
        EXPECT_EQ(static_cast<float>(ours["last"][k].number()), static_cast<float>(theirs["last5"][k].number()));
      }
      const double sum = theirs["sum_abs"].number();
      EXPECT_NEAR(ours["abs_sum"].number(), sum, 1e-6 * sum + 1e-9);
      EXPECT_NEAR(ours["max_abs"].number(), std::max(std::fabs(theirs["min"].number()), theirs["max"].number()),
                  1e-6 * sum + 1e-9);
    }
    ++checked;
  }
  EXPECT_GE(checked, 16u);
}

TEST(Seg2Tool, InfoSummarisesARecord) {
  ZENTROVA_NEEDS_SHARED_DATA();
  auto run = RunProcess({kTool, "info", kSeg2Folder + "/swprocess_wghs_6.dat"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_NE(run.out.find("traces 24 of 24"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("samples 1500 at 1000 us"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("acquisition keywords"), std::string::npos) << run.out;
}

TEST(Seg2Tool, RejectsBrokenAndMissingFiles) {
  ZENTROVA_NEEDS_SHARED_DATA();
  testing::TempFolder dir;
  const std::string whole = testing::ReadFileBytes(kSeg2Folder + "/swprocess_wghs_6.dat");
  dir.Write("cut.dat", whole.substr(0, whole.size() / 2));
  auto cut = RunProcess({kTool, "dump", "--json", dir.Path("cut.dat")});
  EXPECT_EQ(cut.exitCode, 1);
  EXPECT_EQ(Json::Parse(cut.out)["status"].number(), 2);
  EXPECT_NE(cut.err.find("rejected"), std::string::npos);
  EXPECT_EQ(std::count(cut.err.begin(), cut.err.end(), '\n'), 1);

  auto missing = RunProcess({kTool, "dump", "--json", dir.Path("none.dat")});
  EXPECT_EQ(missing.exitCode, 1);
  EXPECT_TRUE(missing.out.empty());
  EXPECT_NE(missing.err.find("none.dat"), std::string::npos);

  dir.Write("noise.mtn", std::string(600, 'x'));
  auto noise = RunProcess({kTool, "dump", "--json", dir.Path("noise.mtn")}, dir.path());
  EXPECT_EQ(noise.exitCode, 1);

  EXPECT_EQ(RunProcess({kTool, "dump", dir.Path("cut.dat")}).exitCode, 2);
}

TEST(Seg2Tool, PrintsKindsOfNames) {
  auto run = RunProcess({kTool, "kind", "a.sg2", "b.orb", "rec.23", "x.Dat"});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.out, "a.sg2 0 0\nb.orb 16 16\nrec.23 -1 15\nx.Dat -1 0\n");
}

}  // namespace
}  // namespace zentrova

namespace zentrova {
namespace {

TEST(Seg2Tool, JoinsAFolder) {
  ZENTROVA_NEEDS_SHARED_DATA();
  testing::TempFolder dir;
  std::filesystem::create_directories(dir.Path("hour"));
  std::filesystem::create_directories(dir.Path("out"));
  const std::string record = testing::ReadFileBytes(kSeg2Folder + "/swprocess_wghs_6.dat");
  dir.Write("hour/a_7.dat", record);
  dir.Write("hour/a_6.dat", record);
  auto run = RunProcess({kTool, "join", dir.Path("hour"), dir.Path("out"), "--length", "1500", "--name", "X"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const std::string path = run.out.substr(0, run.out.find('\n'));
  EXPECT_NE(path.find("_X_concatenated_6_7.dat"), std::string::npos) << path;
  auto info = RunProcess({kTool, "dump", "--json", path});
  ASSERT_EQ(info.exitCode, 0);
  const Json dump = Json::Parse(info.out);
  EXPECT_EQ(dump["traces"].number(), 24);
  EXPECT_EQ(dump["trace"][0]["samples"].number(), 3000);
  EXPECT_EQ(RunProcess({kTool, "join", dir.Path("hour"), dir.Path("out"), "--length", "9999"}).exitCode, 1);
}

}  // namespace
}  // namespace zentrova
