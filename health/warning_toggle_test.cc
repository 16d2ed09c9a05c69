#include "health/warning_toggle.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "health/battery_check.h"
#include "health/health_fixture.h"
#include "health/station_health.h"
#include "testing/child_process.h"

namespace zentrova {
namespace {

std::vector<std::string> LinesFrom(const ActivityLog& log, int first) {
  std::vector<std::string> lines;
  for (int i = first; i < log.Count(); ++i) lines.push_back(log.GetAt(i));
  return lines;
}

class WarningToggleTest : public ::testing::Test {
 protected:
  WarningDialogs Dialogs(std::optional<int> minutes, std::string warning, std::string shutdown, bool ok = true) {
    WarningDialogs d;
    d.integer = [this, minutes](const std::string& text, const std::string& unit, int value) {
      asked.push_back(text + " [" + unit + "] " + std::to_string(value));
      return minutes;
    };
    d.thresholds = [this, warning, shutdown, ok](CDlgBatteryWarning& dialog) {
      shown.push_back(dialog.sWarning + " " + dialog.sShutdown);
      dialog.sWarning = warning;
      dialog.sShutdown = shutdown;
      return ok && dialog.OnOK().accepted;
    };
    return d;
  }
  testing::HealthFixture h;
  std::vector<std::string> asked, shown;
};

TEST_F(WarningToggleTest, OnAndOff) {
  CZentrovaDoc& doc = h.st.Doc();
  EventLoop loop(h.st.clock);
  CZentrovaControlForm form(doc, loop);
  const int first = doc.activityLog.Count();
  ToggleWarning(doc, form, Dialogs(10, "11.5", "10.8"));
  EXPECT_EQ(asked, std::vector<std::string>{"Enter file absence time to send warning [minutes] 5"});
  EXPECT_EQ(shown, std::vector<std::string>{"11 10.5"});
  EXPECT_EQ(LinesFrom(doc.activityLog, first),
            (std::vector<std::string>{"Checking battery statsus started by timer. Checking interval is = 15 minutes",
                                      "Warning will be sent if there was no file more than 10 minutes",
                                      "Warning will be sent if battery voltage is less than 11.5 V",
                                      "PC will be shutdown if battery voltage is less than 10.8 V"}));
  EXPECT_EQ(doc.bWarning, 1);
  EXPECT_TRUE(form.BatteryTimerRunning());
  EXPECT_EQ(h.st.profile.values["bWarning"], "1");
  EXPECT_EQ(h.st.profile.values["bCheckBattery"], "1");
  EXPECT_EQ(h.st.profile.values["nMinNoFile"], "10");
  EXPECT_EQ(h.st.profile.values["fBatteryWarning"], "11.500000");
  EXPECT_EQ(h.st.profile.values["fBatteryShutdown"], "10.800000");

  const int second = doc.activityLog.Count();
  ToggleWarning(doc, form, {});
  EXPECT_EQ(LinesFrom(doc.activityLog, second),
            (std::vector<std::string>{"Checking battery stopped", "Warning will not be sent"}));
  EXPECT_FALSE(form.BatteryTimerRunning());
  EXPECT_EQ(h.st.profile.values["bWarning"], "0");
  EXPECT_EQ(h.st.profile.values["bCheckBattery"], "0");
}

TEST_F(WarningToggleTest, CancelledDialogs) {
  CZentrovaDoc& doc = h.st.Doc();
  EventLoop loop(h.st.clock);
  CZentrovaControlForm form(doc, loop);
  ToggleWarning(doc, form, Dialogs(std::nullopt, "", ""));
  EXPECT_TRUE(shown.empty());
  EXPECT_EQ(h.st.profile.values.count("nMinNoFile"), 0u);
  // The voltage dialog cancelled after the absence time: the time is kept, warnings stay off.
  ToggleWarning(doc, form, Dialogs(7, "11", "10", false));
  EXPECT_EQ(h.st.profile.values["nMinNoFile"], "7");
  EXPECT_EQ(doc.settingsBlock.nMinNoFile, 7);
  EXPECT_EQ(doc.bWarning, 0);
  EXPECT_FALSE(form.BatteryTimerRunning());
}

TEST_F(WarningToggleTest, ThresholdsMustBeNumbers) {
  CZentrovaDoc& doc = h.st.Doc();
  CDlgBatteryWarning dialog(doc);
  dialog.sShutdown = "ten";
  const auto outcome = dialog.OnOK();
  EXPECT_FALSE(outcome.accepted);
  EXPECT_EQ(outcome.prompt, "Enter a number.");
  EXPECT_EQ(outcome.field, CDlgBatteryWarning::kShutdown);
  EXPECT_EQ(h.st.profile.values.count("fBatteryWarning"), 0u);
}

// The controller simulator keeps the survey file; its voltage falls from
// run to run, and the battery timer follows it to the (recorded) power-off.
TEST_F(WarningToggleTest, TheBatteryTimerFollowsTheSimulatedVoltage) {
  const std::string controller = h.st.root.Path("controller");
  IniFileStore surveys(h.st.real, controller + "/" + kControllerStoreFile, kRecentSurveysKey);
  HealthChannels ch(h.st.fs, surveys, h.controllerProgram, controller + "/" + kSurveyFolder, h.power, h.processes,
                    h.windows, h.launcher, h.logon, h.volumes);
  h.st.profile.values["bWarning"] = "1";
  h.st.profile.values["bSnedReport"] = "1";
  CZentrovaDoc& doc = h.st.Doc();
  EventLoop loop(h.st.clock);
  CZentrovaControlForm form(doc, loop);
  ConnectBatteryCheck(form, doc, ch, loop);
  form.OnInitialUpdate();  // bWarning stored on: the timer starts with the form
  EXPECT_TRUE(form.BatteryTimerRunning());
  std::filesystem::create_directories(h.st.root.Path("records"));
  auto controllerRun = [&](const char* volts) {
    const auto run = testing::RunProcess({ZENTROVA_TC, "--out", h.st.root.Path("records"), "--count", "2",
                                          "--interval-ms", "0", "--traces", "2", "--samples", "50", "--survey",
                                          "Line 3.svy", "--controller-dir", controller, "--battery", volts,
                                          "--battery-drop", "0.1"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
  };
  controllerRun("11.5");  // 11.5 V, then 11.4 V
  loop.Run(15 * 60000 + 1);
  EXPECT_EQ(doc.activityLog.GetAt(doc.activityLog.Count() - 1).rfind("Battery voltage = 11.4 V updated at ", 0), 0u);
  controllerRun("11.0");  // then 10.9 V
  loop.Run(15 * 60000);
  EXPECT_EQ(h.st.reports.back(), "Warning ! Battery voltage is less than 11.0 V");
  EXPECT_EQ(h.power.calls, 0);
  controllerRun("10.5");  // then 10.4 V
  loop.Run(15 * 60000);
  EXPECT_EQ(h.power.calls, 0);  // the shutdown has begun: 1 s, "System shutdown.", 10 s
  loop.Run(11000);
  EXPECT_EQ(h.power.calls, 1);
  EXPECT_EQ(h.st.reports.back(), "System shutdown.");
  EXPECT_NE(doc.activityLog.GetAt(doc.activityLog.Count() - 1).find("PC will be shoutdown."), std::string::npos);
}

}  // namespace
}  // namespace zentrova
