#include "health/auto_start.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "health/health_fixture.h"

namespace zentrova {
namespace {

TEST(AutoStart, TheControllerSwitch) {
  testing::StationFixture st;
  CZentrovaDoc& doc = st.Doc();
  ToggleAutoStartController(doc);
  EXPECT_EQ(doc.activityLog.GetAt(doc.activityLog.Count() - 1), "Tarnlink Controller will be launched automatically");
  EXPECT_EQ(st.profile.values["bAutoStartTC"], "1");
  ToggleAutoStartController(doc);
  EXPECT_EQ(doc.activityLog.GetAt(doc.activityLog.Count() - 1), "Auto start of Tarnlink Controller was canceled");
  EXPECT_EQ(st.profile.values["bAutoStartTC"], "0");
}

TEST(AutoStart, TheLogonEntryComesAndGoes) {
  testing::StationFixture st;
  st.system.programPath = st.root.Path("my \"station\" $HOME `x` \\ dir/zentrova-station");
  CZentrovaDoc& doc = st.Doc();
  XdgAutostart logon(st.fs, st.root.Path("config"));
  ToggleAutoStart(doc, logon);
  EXPECT_EQ(doc.activityLog.GetAt(doc.activityLog.Count() - 1),
            "Zentrova will be launched and start to monitor automatically");
  EXPECT_EQ(st.profile.values["bAutoStart"], "1");
  const std::string entry = testing::ReadFileBytes(st.root.Path("config/autostart/Zentrova.desktop"));
  EXPECT_NE(entry.find("[Desktop Entry]\nType=Application\n"), std::string::npos);
  // Quoted for the Exec key: '"', '`', '$' and '\' escaped, then every backslash doubled.
  EXPECT_NE(entry.find("\nExec=\"" + st.root.path() +
                       "/my \\\\\"station\\\\\" \\\\$HOME \\\\`x\\\\` \\\\\\\\ dir/zentrova-station\"\n"),
            std::string::npos)
      << entry;

  ToggleAutoStart(doc, logon);
  EXPECT_EQ(doc.activityLog.GetAt(doc.activityLog.Count() - 1), "Auto start was canceled");
  EXPECT_FALSE(std::filesystem::exists(st.root.Path("config/autostart/Zentrova.desktop")));
  EXPECT_EQ(st.profile.values["bAutoStart"], "0");
}

}  // namespace
}  // namespace zentrova
