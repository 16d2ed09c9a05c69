#include "health/warning_toggle.h"

#include <gtest/gtest.h>

#include "health/battery_check.h"
#include "health/health_fixture.h"
#include "health/station_health.h"

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

TEST_F(WarningToggleTest, TheBatteryTimerFollowsTheVoltage) {
  h.st.profile.values["bWarning"] = "1";
  h.st.profile.values["bSnedReport"] = "1";
  CZentrovaDoc& doc = h.st.Doc();
  EventLoop loop(h.st.clock);
  CZentrovaControlForm form(doc, loop);
  ConnectBatteryCheck(form, doc, h.ch);
  form.OnInitialUpdate();  // bWarning stored on: the timer starts with the form
  EXPECT_TRUE(form.BatteryTimerRunning());
  h.WriteSurvey("#BV = 11.4V\n");
  loop.Run(15 * 60000 + 1);
  EXPECT_EQ(doc.activityLog.GetAt(doc.activityLog.Count() - 1), "Battery voltage = 11.4 V updated at ");
  h.WriteSurvey("#BV = 10.9V\n");
  loop.Run(15 * 60000 + 1);
  EXPECT_EQ(h.st.reports.back(), "Warning ! Battery voltage is less than 11.0 V");
  EXPECT_EQ(h.power.calls, 0);
  h.WriteSurvey("#BV = 10.4V\n");
  loop.Run(15 * 60000 + 1);
  EXPECT_EQ(h.power.calls, 1);
  EXPECT_EQ(h.st.reports.back(), "System shutdown.");
}

}  // namespace
}  // namespace zentrova
