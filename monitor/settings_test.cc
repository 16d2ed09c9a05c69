#include "monitor/settings.h"

#include <filesystem>

#include <gtest/gtest.h>

#include "monitor/station_fixture.h"

namespace zentrova {
namespace {

TEST(Settings, LoadsWithDefaultsAndStoresTexts) {
  MemoryStore profile, product;
  profile.values = {{"fBatteryWarning", "11.500000"}, {"nMinNoFile", "7"}, {"bad", "x1"}, {"badFloat", "volts"}};
  Settings s(profile, product);
  float warning = 11.0f;
  s.LoadFloat("fBatteryWarning", warning);
  EXPECT_FLOAT_EQ(warning, 11.5f);
  int minutes = 5, bad = 3, missing = 9;
  s.LoadInt("nMinNoFile", minutes);
  s.LoadInt("bad", bad);
  s.LoadInt("missing", missing);
  EXPECT_EQ(minutes, 7);
  EXPECT_EQ(bad, 3);
  EXPECT_EQ(missing, 9);
  double volts = 10.5;
  s.LoadFloat("badFloat", volts);
  EXPECT_EQ(volts, 10.5);
  s.SaveFloat("fBatteryShutdown", 10.25);
  EXPECT_EQ(profile.values["fBatteryShutdown"], "10.250000");

  int port = 587;
  EXPECT_FALSE(s.ReadProductInt(port, "iPortNumber"));
  product.values["iPortNumber"] = "";
  EXPECT_FALSE(s.ReadProductInt(port, "iPortNumber"));
  s.WriteProductInt("iPortNumber", 465);
  EXPECT_TRUE(s.ReadProductInt(port, "iPortNumber"));
  EXPECT_EQ(port, 465);
  std::string text = "default";
  EXPECT_FALSE(s.ReadProductText("MessageToBeSent", text));
  EXPECT_EQ(text, "default");
  product.failWrites = true;
  s.WriteProductText("MessageToBeSent", "lost");  // silent
  EXPECT_FALSE(s.ReadProductText("MessageToBeSent", text));
}

TEST(MonitorSettings, DefaultFoldersOfAFreshAccount) {
  testing::StationFixture st;
  st.profile.values.clear();
  CZentrovaDoc& doc = st.Doc();
  EXPECT_EQ(doc.settingsBlock.strWatchedFolder, st.root.Path("Data"));
  EXPECT_EQ(doc.settingsBlock.strDestinationFolder, st.root.Path("ZentrovaData"));
  EXPECT_EQ(doc.settingsBlock.sMyName, "STATION");
  EXPECT_EQ(doc.settingsBlock.nMinNoFile, 5);
  EXPECT_EQ(doc.settingsBlock.strProgramFolder, "/opt/zentrova");
  EXPECT_EQ(doc.activityLog.LogFile(), st.root.Path("ZentrovaData/ZentrovaLog_2020_03_15_08_04.txt"));
}

TEST(MonitorSettings, TheDownloaderFolderIsPreferredWhenItExists) {
  testing::StationFixture st;
  st.profile.values.clear();
  st.system.dataHome = st.root.Path("share");
  const std::string downloader = st.system.dataHome + "/" + kOrbelDownloaderFolder;
  std::filesystem::create_directories(downloader);
  EXPECT_EQ(st.Doc().settingsBlock.strWatchedFolder, downloader);
}

TEST(CZentrovaDoc, StartupMessageOnlyWithReports) {
  testing::StationFixture quiet;
  quiet.Doc();
  EXPECT_TRUE(quiet.reports.empty());

  testing::StationFixture st;
  st.profile.values["bSnedReport"] = "1";
  st.profile.values["bAutoStartTC"] = "1";
  st.services.startController = [] { return 2; };
  st.Doc();
  EXPECT_EQ(st.reports, std::vector<std::string>{"Zentrova started.\nTarnlink Controller already existed."});
}

}  // namespace
}  // namespace zentrova
