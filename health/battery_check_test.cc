#include "health/battery_check.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>

#include "health/battery_shutdown.h"
#include "health/health_fixture.h"
#include "health/station_health.h"

namespace zentrova {
namespace {

// The time of a survey without a save line after its battery line.
#define kNoTime "an unknown time (no save line after the battery line)"

class BatteryCheckTest : public ::testing::Test {
 protected:
  BatteryCheckTest() { h.st.profile.values["bSnedReport"] = "1"; }
  void Voltage(const std::string& volts) { h.WriteSurvey("#BV = " + volts + "V\n"); }
  testing::HealthFixture h;
};

TEST_F(BatteryCheckTest, ThresholdsWithTheDefaults) {
  struct Case {
    const char* volts;
    std::string result;
    std::vector<std::string> sent;
    int powerOffs;
  } cases[] = {
      {"12.6", "Battery voltage = 12.6 V updated at " kNoTime, {}, 0},
      {"11.0", "Battery voltage = 11.0 V updated at " kNoTime, {}, 0},  // at the threshold: no warning
      {"10.99",
       "Battery voltage = 11.0 V updated at " kNoTime "\nWarning ! Battery voltage is less than 11.0 V",
       {"Warning ! Battery voltage is less than 11.0 V"},
       0},
      {"10.5", "Battery voltage = 10.5 V updated at " kNoTime "\nWarning ! Battery voltage is less than 11.0 V",
       {"Warning ! Battery voltage is less than 11.0 V"}, 0},
      {"10.49",
       "Battery voltage = 10.5 V updated at " kNoTime "\nWarning ! Battery voltage is less than 10.5 V. PC will be shoutdown.",
       {"Warning ! Battery voltage is less than 10.5 V. PC will be shoutdown.", "System shutdown."},
       1},
  };
  CZentrovaDoc& doc = h.st.Doc();
  EventLoop loop(h.st.clock);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.volts);
    BatteryShutdown shutdown(doc, h.ch, loop);  // each reading the first of its episode
    h.st.reports.clear();
    h.power.calls = 0;
    Voltage(c.volts);
    const int64_t before = h.st.clock.SteadyMs();
    EXPECT_EQ(CheckBattery(doc, h.ch, shutdown), c.result);
    EXPECT_EQ(h.st.clock.SteadyMs(), before);  // the check itself never waits
    EXPECT_EQ(h.st.reports, std::vector<std::string>(c.sent.begin(), c.sent.begin() + std::min<size_t>(c.sent.size(), 1)));
    // The shutdown follows on the timers: "System shutdown." 1 s after the
    // warning, the power-off 10 s after that.
    loop.Run(999);
    EXPECT_EQ(h.st.reports.size(), std::min<size_t>(c.sent.size(), 1));
    loop.Run(2);
    EXPECT_EQ(h.st.reports, c.sent);
    loop.Run(9998);
    EXPECT_EQ(h.power.calls, 0);
    loop.Run(2);
    EXPECT_EQ(h.power.calls, c.powerOffs);
    EXPECT_FALSE(shutdown.UnderWay());
  }
  EXPECT_NE(h.st.LogFileText().find("System shutdown."), std::string::npos);
}

// A dry-run power switch leaves the station running below the threshold:
// every check says the reading and tries the power-off again, but the
// warnings and "System shutdown." are mailed once in the spell, until a
// reading at or above the warning threshold ends it.
TEST_F(BatteryCheckTest, OneLowBatteryEpisodeMailsEachWarningOnce) {
  CZentrovaDoc& doc = h.st.Doc();
  EventLoop loop(h.st.clock);
  BatteryShutdown shutdown(doc, h.ch, loop);
  const std::string warn = "Warning ! Battery voltage is less than 11.0 V";
  const std::string down = "Warning ! Battery voltage is less than 10.5 V. PC will be shoutdown.";
  struct Step {
    const char* volts;
    std::vector<std::string> sent;  // by this check and the shutdown it starts
    int powerOffs;
  } steps[] = {
      {"10.8", {warn}, 0}, {"10.8", {}, 0},           {"10.2", {down, "System shutdown."}, 1},
      {"10.2", {}, 1},     {"10.7", {}, 0},           {"12.0", {}, 0},  // the episode ends
      {"10.2", {down, "System shutdown."}, 1},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(s.volts);
    h.st.reports.clear();
    h.power.calls = 0;
    Voltage(s.volts);
    EXPECT_NE(CheckBattery(doc, h.ch, shutdown).find(std::string("Battery voltage = ") + s.volts), std::string::npos);
    loop.Run(11001);
    EXPECT_EQ(h.st.reports, s.sent);
    EXPECT_EQ(h.power.calls, s.powerOffs);
  }
}

// A missing reading and one from a survey file that stopped changing are
// said as such, in the check's text and in every message's battery line.
TEST_F(BatteryCheckTest, MissingAndStaleReadingsAreSaid) {
  CZentrovaDoc& doc = h.st.Doc();
  EventLoop loop(h.st.clock);
  BatteryShutdown shutdown(doc, h.ch, loop);
  EXPECT_EQ(CheckBattery(doc, h.ch, shutdown), "No battery voltage information (no survey file is named)");
  const std::string path = h.WriteSurvey("#BV = 12.6V\n");
  const int64_t now = h.st.clock.Now();
  struct Case {
    int64_t changedSecondsAgo;
    std::string line;
  } cases[] = {
      {60, "Battery voltage = 12.6 V updated at " kNoTime},
      {3600, "Battery voltage = 12.6 V updated at " kNoTime},
      {3 * 3600 + 12 * 60, "Battery voltage = 12.6 V updated at " kNoTime
                           ", stale: the survey file has not changed for 3 h 12 min"},
  };
  for (const Case& c : cases) {
    const struct timespec times[2] = {{now - c.changedSecondsAgo, 0}, {now - c.changedSecondsAgo, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
    EXPECT_EQ(CheckBattery(doc, h.ch, shutdown), c.line);
  }
  BatteryReading none;
  none.missing = "no survey file is named";
  EXPECT_EQ(BatteryLine(none, now), "Battery voltage: no reading (no survey file is named)");
}

TEST_F(BatteryCheckTest, WithReportsOffALowBatteryStillShutsDownButSendsNothing) {
  h.st.profile.values["bSnedReport"] = "0";
  CZentrovaDoc& doc = h.st.Doc();
  EventLoop loop(h.st.clock);
  BatteryShutdown shutdown(doc, h.ch, loop);
  Voltage("9.8");
  EXPECT_NE(CheckBattery(doc, h.ch, shutdown).find("PC will be shoutdown."), std::string::npos);
  loop.Run(11001);
  EXPECT_TRUE(h.st.reports.empty());
  EXPECT_EQ(h.power.calls, 1);
  EXPECT_NE(h.st.LogFileText().find("System shutdown."), std::string::npos);
}

// The battery timer below the shutdown threshold, as the headless station
// runs it without --allow-power-off: the monitor timer keeps running while
// the shutdown waits, the console lines come in their order (the check's
// text, then the power-off), and the next check starts over.
TEST_F(BatteryCheckTest, TheShutdownWaitsWithoutHoldingTheMonitor) {
  std::vector<std::string> console;
  DryRunPower dryRun([&console](const std::string& text) { console.push_back("[power] " + text); });
  HealthChannels ch(h.st.fs, h.recentSurveys, h.controllerProgram, h.surveyFolder, dryRun, h.processes, h.windows,
                    h.launcher, h.logon, h.volumes);
  h.st.profile.values["bWarning"] = "1";
  h.st.profile.values["iBatteryCheckInterval"] = "1";
  CZentrovaDoc& doc = h.st.Doc();
  doc.activityLog.SetListener([&console](const std::string& line) { console.push_back(line); });
  EventLoop loop(h.st.clock);
  CZentrovaControlForm form(doc, loop);
  ConnectBatteryCheck(form, doc, ch, loop);
  form.OnInitialUpdate();
  int ticks = 0;
  loop.SetTimer(500, [&ticks] { ++ticks; });  // stands for the monitor timer
  Voltage("10.2");
  console.clear();
  h.st.reports.clear();
  loop.Run(60000 + 1);  // the first check
  const int before = ticks;
  const int64_t start = h.st.clock.SteadyMs();
  loop.Run(11000);
  EXPECT_EQ(h.st.clock.SteadyMs() - start, 11000);
  EXPECT_GE(ticks - before, 21);  // every half second while the shutdown waits
  const std::vector<std::string> once = {
      "Battery voltage = 10.2 V updated at " kNoTime "\nWarning ! Battery voltage is less than 10.5 V. PC will be shoutdown.",
      "[power] dry run: the computer would be powered off now"};
  EXPECT_EQ(console, once);
  EXPECT_EQ(h.st.reports, (std::vector<std::string>{"Warning ! Battery voltage is less than 10.5 V. PC will be shoutdown.",
                                                    "System shutdown."}));
  loop.Run(60000);  // the next check, and its shutdown
  std::vector<std::string> twice = once;
  twice.insert(twice.end(), once.begin(), once.end());
  EXPECT_EQ(console, twice);
}

// The controller's process runs until its window has been asked to close,
// and for three more looks after that.
class ClosingController : public ProcessTable {
 public:
  explicit ClosingController(FakeWindowTree& windows) : windows_(windows) {}
  std::optional<std::vector<std::string>> ProgramNames() override {
    if (!windows_.closed.empty() && looksAfterClose_++ >= 3) return std::vector<std::string>{"bash"};
    return std::vector<std::string>{"bash", "TC.exe"};
  }

 private:
  FakeWindowTree& windows_;
  int looksAfterClose_ = 0;
};

TEST_F(BatteryCheckTest, TheOperatorsShutdownClosesTheControllerAndWaitsForIt) {
  CZentrovaDoc& doc = h.st.Doc();
  h.st.reports.clear();
  h.st.prompt.yes = false;
  ShutdownStation(doc, h.ch, 1);
  EXPECT_EQ(h.st.prompt.shown, std::vector<std::string>{"Are you sure to shutdown?"});
  EXPECT_EQ(h.power.calls, 0);
  EXPECT_TRUE(h.st.reports.empty());

  ClosingController controller(h.windows);
  HealthChannels ch = h.WithProcesses(controller);
  h.windows.windows = {{1, "", false}, {7, "Tarnlink Controller", true}};
  h.st.prompt.yes = true;
  const int64_t before = h.st.clock.SteadyMs();
  ShutdownStation(doc, ch, 1);
  EXPECT_EQ(h.windows.closed, std::vector<uint64_t>{7});
  EXPECT_EQ(h.st.clock.SteadyMs() - before, 3000 + 10000);  // once a second until it is gone, then 10 s
  EXPECT_EQ(h.st.reports, std::vector<std::string>{"System shutdown."});
  EXPECT_EQ(h.power.calls, 1);
}

}  // namespace
}  // namespace zentrova
