// The headless station's surface-wave analysis, run as users run it.

#include <unistd.h>

#include <filesystem>

#include <gtest/gtest.h>

#include "testing/child_process.h"
#include "testing/local_servers.h"
#include "testing/shared_data.h"
#include "testing/temp_folder.h"

namespace zentrova {
namespace {

using testing::BackgroundProcess;
using testing::LocalHttpServer;
using testing::TempFolder;

const std::string kStation = ZENTROVA_STATION;

// The station runs for a few seconds while real shots arrive, one a second.
void RunWithShots(const TempFolder& dir, const std::string& settings, const std::vector<int>& shots) {
  std::filesystem::create_directories(dir.Path("cfg"));
  std::filesystem::create_directories(dir.Path("watched"));
  dir.Write("cfg/Zentrova.ini", "[General]\nZENTROVA_CURRENT_FOLDER_PATH=" + dir.Path("watched") +
                                    "\nZENTROVA_CURRENT_DESTINATION_FOLDER_PATH=" + dir.Path("dest") +
                                    "\nsMyName=SITE\niInterval=0\n" + settings);
  BackgroundProcess station({kStation, "--config-dir", dir.Path("cfg"), "--start", "--run-for", "4"},
                            dir.Path("station.out"));
  ASSERT_TRUE(station.started());
  for (int shot : shots) {
    ::usleep(1000000);
    const std::string name = std::to_string(shot);
    std::filesystem::copy_file(testing::SharedSeg2Folder() + "/swprocess_wghs_" + name + ".dat",
                               dir.Path(name + ".part"));
    std::filesystem::rename(dir.Path(name + ".part"), dir.Path("watched/" + name + ".sg2"));
  }
  EXPECT_EQ(station.Wait(), 0) << dir.Read("station.out");
}

void RunWithShot(const TempFolder& dir, const std::string& settings) { RunWithShots(dir, settings, {7}); }

size_t Count(const std::string& text, const std::string& part) {
  size_t n = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
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
  // The standard document of the same analysis, beside the text files.
  const std::string xml = dir.Read("watched/test.xml");
  EXPECT_EQ(xml.rfind("<?xml", 0), 0u) << xml.substr(0, 200);
  EXPECT_NE(xml.find("<sw_dc_pv_frequency>"), std::string::npos) << xml.substr(0, 2000);
}

TEST(SurfaceWaveStation, LeavesRecordsAloneWithoutTheFlag) {
  ZENTROVA_NEEDS_SHARED_DATA();
  TempFolder dir;
  RunWithShot(dir, "");
  EXPECT_NE(dir.Read("station.out").find("Found 1 new files."), std::string::npos) << dir.Read("station.out");
  EXPECT_FALSE(std::filesystem::exists(dir.Path("watched/PickPhaseVelocity.txt")));
  EXPECT_FALSE(std::filesystem::exists(dir.Path("watched/initial_model.txt")));
  EXPECT_FALSE(std::filesystem::exists(dir.Path("watched/test.xml")));
}

// With the stored switches on, each new record is posted to the local
// upload host and each analysis registers its document at the database.
TEST(SurfaceWaveStation, UploadsNewRecordsAndRegistersTheAnalysis) {
  ZENTROVA_NEEDS_SHARED_DATA();
  TempFolder dir;
  TempFolder serverDir;
  LocalHttpServer server(serverDir, "", "", "SUCCESSFULLY_UPLOADED");
  ASSERT_FALSE(server.port.empty());
  const std::string host = "127.0.0.1:" + server.port;
  RunWithShots(dir,
               "bPhaseVelocityView=1\nbDatabaseUploadOrbel=1\nbUseLocalServer=1\nsLocalServerHost=" + host +
                   "\nbDatabaseUpload=1\nsDatabaseServerHost=" + host + "\n",
               {7, 8});
  const std::string out = dir.Read("station.out");
  EXPECT_NE(out.find("File upload is on"), std::string::npos) << out;
  EXPECT_NE(out.find("Uploading data started"), std::string::npos) << out;
  EXPECT_EQ(Count(out, "Successfully uploaded : "), 2u) << out;
  EXPECT_EQ(Count(out, "Unable to upload"), 0u) << out;
  const std::string record = server.Record();
  EXPECT_EQ(Count(record, "PATH /Kalvane/orbel_data/receive_orbel_file.php?file_size="), 2u) << record.substr(0, 400);
  EXPECT_EQ(Count(record, "PATH /GeophysicalDatabase/registration_xml_monitor.php"), 2u);
  EXPECT_TRUE(std::filesystem::exists(dir.Path("watched/test.xml")));
}

// An upload host that never answers holds neither the cycle nor the
// analysis after it: the next record is still found and analysed in time.
TEST(SurfaceWaveStation, HangingUploadHostDoesNotHoldTheCycle) {
  ZENTROVA_NEEDS_SHARED_DATA();
  TempFolder dir;
  TempFolder serverDir;
  LocalHttpServer hanging(serverDir, "--hang");
  ASSERT_FALSE(hanging.port.empty());
  RunWithShots(dir,
               "bPhaseVelocityView=1\nbDatabaseUploadOrbel=1\nbUseLocalServer=1\nsLocalServerHost=127.0.0.1:" +
                   hanging.port + "\n",
               {7, 8});
  const std::string out = dir.Read("station.out");
  EXPECT_EQ(Count(out, "Found 1 new files."), 2u) << out;
  EXPECT_EQ(Count(out, "Successfully uploaded"), 0u) << out;
  EXPECT_TRUE(std::filesystem::exists(dir.Path("watched/PickPhaseVelocity.txt"))) << out;
  EXPECT_TRUE(std::filesystem::exists(dir.Path("watched/test.xml"))) << out;
}

}  // namespace
}  // namespace zentrova
