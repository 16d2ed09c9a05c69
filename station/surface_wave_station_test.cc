// The headless station's surface-wave analysis, run as users run it.

#include <unistd.h>

#include <filesystem>

#include <gtest/gtest.h>

#include "testing/child_process.h"
#include "testing/shared_data.h"
#include "testing/temp_folder.h"

namespace zentrova {
namespace {

using testing::BackgroundProcess;
using testing::TempFolder;

const std::string kStation = ZENTROVA_STATION;

// The station runs for a few seconds while one real shot arrives.
void RunWithShot(const TempFolder& dir, const std::string& settings) {
  std::filesystem::create_directories(dir.Path("cfg"));
  std::filesystem::create_directories(dir.Path("watched"));
  dir.Write("cfg/Zentrova.ini", "[General]\nZENTROVA_CURRENT_FOLDER_PATH=" + dir.Path("watched") +
                                    "\nZENTROVA_CURRENT_DESTINATION_FOLDER_PATH=" + dir.Path("dest") +
                                    "\nsMyName=SITE\niInterval=0\n" + settings);
  BackgroundProcess station({kStation, "--config-dir", dir.Path("cfg"), "--start", "--run-for", "4"},
                            dir.Path("station.out"));
  ASSERT_TRUE(station.started());
  ::usleep(1000000);
  std::filesystem::copy_file(testing::SharedSeg2Folder() + "/swprocess_wghs_7.dat", dir.Path("shot.part"));
  std::filesystem::rename(dir.Path("shot.part"), dir.Path("watched/7.sg2"));
  EXPECT_EQ(station.Wait(), 0) << dir.Read("station.out");
}

TEST(SurfaceWaveStation, AnalysesNewRecordsWhileThePhaseVelocityViewFlagIsOn) {
  ZENTROVA_NEEDS_SHARED_DATA();
  TempFolder dir;
  RunWithShot(dir, "bPhaseVelocityView=1\n");
  const std::string picks = dir.Read("watched/PickPhaseVelocity.txt");
  EXPECT_EQ(picks.rfind("0 0.000000 ", 0), 0u) << dir.Read("station.out");
  EXPECT_NE(picks.find("\r\n100 48.830002 "), std::string::npos) << picks;
  EXPECT_EQ(dir.Read("watched/initial_model.txt").rfind("ndata=103 nlayer=15\r\n", 0), 0u);
  const std::string ini = dir.Read("cfg/Zentrova.ini");
  EXPECT_NE(ini.find("bPickMaximumAmplitude=1"), std::string::npos) << ini;
  EXPECT_NE(ini.find("fWavelength_9=200.000000"), std::string::npos) << ini;
}

TEST(SurfaceWaveStation, LeavesRecordsAloneWithoutTheFlag) {
  ZENTROVA_NEEDS_SHARED_DATA();
  TempFolder dir;
  RunWithShot(dir, "");
  EXPECT_NE(dir.Read("station.out").find("Found 1 new files."), std::string::npos) << dir.Read("station.out");
  EXPECT_FALSE(std::filesystem::exists(dir.Path("watched/PickPhaseVelocity.txt")));
  EXPECT_FALSE(std::filesystem::exists(dir.Path("watched/initial_model.txt")));
}

}  // namespace
}  // namespace zentrova
