#include "monitor/activity_log.h"

#include <gtest/gtest.h>

#include "platform/linux_file_system.h"
#include "testing/temp_folder.h"
#include "testing/time_zone.h"

namespace zentrova {
namespace {

TEST(ActivityLog, PaneSplitsLongLines) {
  LinuxFileSystem fs;
  ActivityLog log(fs);
  log.Add(std::string(400, 'a'));
  log.Add(std::string(160, 'b'));
  log.Add("short");
  const std::string expected = std::string(160, 'a') + " \r\n" + std::string(240, 'a') + " \r\n" +
                               std::string(160, 'b') + " \r\n" + " \r\n" + "short \r\n";
  EXPECT_EQ(log.RenderLogPane(), expected);
}

TEST(ActivityLog, LogFileNamedByTheMomentAndWrittenLineByLine) {
  testing::ScopedTimeZone tz("UTC");
  testing::TempFolder dir;
  LinuxFileSystem fs;
  ActivityLog log(fs);
  log.SetLogFileNames(1584259445, dir.path());  // 2020-03-15 08:04:05
  EXPECT_EQ(log.LogFile(), dir.Path("ZentrovaLog_2020_03_15_08_04.txt"));
  EXPECT_EQ(log.EventFile(), dir.Path("EventDetection_2020_03_15_08_04.txt"));
  EXPECT_EQ(log.AppendToLogFile("Found 3 new files."), 1);
  EXPECT_EQ(log.AppendToLogFile("second"), 1);
  EXPECT_EQ(dir.Read("ZentrovaLog_2020_03_15_08_04.txt"), "Found 3 new files.\r\nsecond\r\n");
  EXPECT_EQ(log.Count(), 0);  // the two sinks are separate

  log.SetLogFileNames(1584259445, dir.Path("missing drive"));
  EXPECT_EQ(log.AppendToLogFile("lost"), 0);
  EXPECT_FALSE(fs.Exists(dir.Path("missing drive")));
}

TEST(ActivityLog, ListenerSeesEveryLine) {
  LinuxFileSystem fs;
  ActivityLog log(fs);
  std::vector<std::string> seen;
  log.SetListener([&](const std::string& line) { seen.push_back(line); });
  log.Add("one");
  log.Add("two");
  EXPECT_EQ(seen, (std::vector<std::string>{"one", "two"}));
}

}  // namespace
}  // namespace zentrova
