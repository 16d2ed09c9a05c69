#include "health/survey_file.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "health/battery_check.h"
#include "health/battery_shutdown.h"
#include "health/health_fixture.h"
#include "tools/tc_simulator/survey_log.h"

namespace zentrova {
namespace {

// A save line with its time stamp in the fixed columns, `pad` blanks longer.
std::string SaveLine(const std::string& stamp, size_t length) {
  std::string line = "File 1000.sg2 SAVED";
  line.resize(45, ' ');
  line += stamp;
  line.resize(length, ' ');
  return line + "\n";
}

TEST(SurveyLine, BatteryAndSaveLines) {
  struct Case {
    std::string line;
    bool battery, hasVoltage;
    float voltage;
    bool saved;
    std::string savedAt;
  } cases[] = {
      {"#BV = 12.6V\n", true, true, 12.6f, false, ""},
      {"  #BV =11.25 V extra\n", true, true, 11.25f, false, ""},
      {"#BV = low V\n", true, false, 0.0f, false, ""},          // not a number
      {"#BV 12.6\n", true, false, 0.0f, false, ""},             // no '=' and 'V'
      {std::string(120, ' ') + "#BV = 12.6V\n", true, false, 0.0f, false, ""},  // beyond column 100
      // 66 characters and the line feed are enough; the line feed stands in the year's last column.
      {SaveLine("10:15:07.25 12/31/2020", 66), false, false, 0.0f, true, "10:15:07.25 12/31/202"},
      {SaveLine("10:15:07.25 12/31/2020", 65), false, false, 0.0f, false, ""},  // 65 + line feed: too short
      {SaveLine("10:15:07.25 12/31/2020", 67), false, false, 0.0f, true, "10:15:07.25 12/31/2020"},
      {SaveLine("09:05:03.00 01/02/2021", 80), false, false, 0.0f, true, "09:05:03.00 01/02/2021"},
      {"File 12 written\n", false, false, 0.0f, false, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    const SurveyLineScan s = ScanSurveyLine(c.line);
    EXPECT_EQ(s.battery, c.battery);
    EXPECT_EQ(s.hasVoltage, c.hasVoltage);
    if (c.hasVoltage) {
      EXPECT_FLOAT_EQ(s.voltage, c.voltage);
    }
    EXPECT_EQ(s.saved, c.saved);
    EXPECT_EQ(s.savedAt, c.savedAt);
  }
}

class SurveyFileTest : public ::testing::Test {
 protected:
  testing::HealthFixture h;
  BatteryReading Read() { return ReadBatteryVoltage(h.st.fs, h.recentSurveys, h.surveyFolder); }
  std::string Check() {
    EventLoop loop(h.st.clock);
    BatteryShutdown shutdown(h.st.Doc(), h.ch, loop);
    return CheckBattery(h.st.Doc(), h.ch, shutdown);
  }
};

TEST_F(SurveyFileTest, TheLastBatteryLineAndTheSaveAfterIt) {
  h.WriteSurvey("#BV = 13.0V\n" + SaveLine("08:00:00.00 12/30/2020", 70) + "#BV = 12.6V\n" +
                SaveLine("10:15:07.25 12/31/2020", 70));
  BatteryReading r = Read();
  EXPECT_FLOAT_EQ(r.voltage, 12.6f);
  EXPECT_EQ(r.savedAt, "10:15:07.25 12/31/2020");
  EXPECT_EQ(Check(), "Battery voltage = 12.6 V updated at 10:15:07.25 12/31/2020");

  // A save line needs a battery line since the last time stamp.
  h.WriteSurvey("#BV = 12.6V\n" + SaveLine("10:15:07.25 12/31/2020", 70) + SaveLine("11:00:00.00 12/31/2020", 70));
  EXPECT_EQ(Read().savedAt, "10:15:07.25 12/31/2020");
  // Battery lines without a save line after them: no time.
  h.WriteSurvey("#BV = 12.1V\n#BV = 12.0V\n");
  r = Read();
  EXPECT_FLOAT_EQ(r.voltage, 12.0f);
  EXPECT_EQ(r.savedAt, "");
  EXPECT_EQ(Check(), "Battery voltage = 12.0 V updated at an unknown time (no save line after the battery line)");
  // An unreadable voltage keeps the one before it.
  h.WriteSurvey("#BV = 12.2V\n#BV = ??V\n");
  EXPECT_FLOAT_EQ(Read().voltage, 12.2f);
}

TEST_F(SurveyFileTest, NoInformation) {
  EXPECT_FLOAT_EQ(Read().voltage, 0.0f);  // no survey named
  h.recentSurveys.values["Survey1"] = "missing.svy";
  EXPECT_FLOAT_EQ(Read().voltage, 0.0f);
  h.WriteSurvey("survey started\n");
  EXPECT_FLOAT_EQ(Read().voltage, -1.0f);  // a file without battery lines
  EXPECT_EQ(Check(), "No battery voltage information (no battery line in the survey file S.svy)");
  // Only the last 10000 bytes are read: an early battery line is not seen.
  h.WriteSurvey("#BV = 12.6V\n" + std::string(10000, 'x') + "\n");
  EXPECT_FLOAT_EQ(Read().voltage, -1.0f);
  EXPECT_EQ(h.power.calls, 0);
}

// A survey "file" that is a FIFO (or any other special file) is not read:
// opening it would wait for a writer while the report or the battery check
// holds the document. The reading runs in a child process that a watchdog
// ends, so that a fault shows as a failure, not as a hung test.
TEST_F(SurveyFileTest, AFifoIsNoSurveyFile) {
  h.recentSurveys.values["Survey1"] = "S.svy";
  ASSERT_EQ(::mkfifo((h.surveyFolder + "/S.svy").c_str(), 0600), 0);
  const pid_t pid = ::fork();
  if (pid == 0) {
    const BatteryReading r = Read();
    ::_exit(r.voltage == 0.0f && Check() == "No battery voltage information (the survey file S.svy cannot be read)" ? 0 : 1);
  }
  int status = 0;
  pid_t done = 0;
  for (int waited = 0; waited < 2000 && (done = ::waitpid(pid, &status, WNOHANG)) == 0; ++waited) ::usleep(10000);
  if (done == 0) {
    ::kill(pid, SIGKILL);
    ::waitpid(pid, &status, 0);
    FAIL() << "reading the survey FIFO did not return";
  }
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
}

TEST_F(SurveyFileTest, LongLinesAndCarriageReturns) {
  // A line longer than 1023 characters is read in pieces; Windows line ends count as line feeds.
  h.WriteSurvey(std::string(1500, 'y') + "#BV = 9.9V\n#BV = 12.5V\r\n" +
                SaveLine("10:15:07.25 12/31/2020", 67).insert(67, "\r"));
  const BatteryReading r = Read();
  EXPECT_FLOAT_EQ(r.voltage, 12.5f);
  EXPECT_EQ(r.savedAt, "10:15:07.25 12/31/2020");
}

TEST_F(SurveyFileTest, TheSimulatorsSurveyFileReadsBack) {
  LinuxFileSystem fs;
  const std::string controller = h.st.root.Path("controller");
  SurveyLog log(fs, controller, "Line 7.svy");
  ASSERT_TRUE(log.ok());
  log.RecordSaved("1000.sg2", 12.25, 1609409707, 25);  // 2020-12-31 10:15:07 UTC
  log.RecordSaved("1001.sg2", 11.75, 1609409708, 50);
  IniFileStore surveys(fs, controller + "/" + kControllerStoreFile, kRecentSurveysKey);
  const BatteryReading r = ReadBatteryVoltage(fs, surveys, controller + "/" + kSurveyFolder);
  EXPECT_FLOAT_EQ(r.voltage, 11.75f);
  EXPECT_EQ(r.savedAt, "10:15:08.50 12/31/2020");
}

}  // namespace
}  // namespace zentrova
