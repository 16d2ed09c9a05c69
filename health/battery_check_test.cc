#include "health/battery_check.h"

#include <gtest/gtest.h>

#include "health/health_fixture.h"

namespace zentrova {
namespace {

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
      {"12.6", "Battery voltage = 12.6 V updated at ", {}, 0},
      {"11.0", "Battery voltage = 11.0 V updated at ", {}, 0},  // at the threshold: no warning
      {"10.99",
       "Battery voltage = 11.0 V updated at \nWarning ! Battery voltage is less than 11.0 V",
       {"Warning ! Battery voltage is less than 11.0 V"},
       0},
      {"10.5", "Battery voltage = 10.5 V updated at \nWarning ! Battery voltage is less than 11.0 V",
       {"Warning ! Battery voltage is less than 11.0 V"}, 0},
      {"10.49",
       "Battery voltage = 10.5 V updated at \nWarning ! Battery voltage is less than 10.5 V. PC will be shoutdown.",
       {"Warning ! Battery voltage is less than 10.5 V. PC will be shoutdown.", "System shutdown."},
       1},
  };
  CZentrovaDoc& doc = h.st.Doc();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.volts);
    h.st.reports.clear();
    h.power.calls = 0;
    Voltage(c.volts);
    const int64_t before = h.st.clock.SteadyMs();
    EXPECT_EQ(CheckBattery(doc, h.ch), c.result);
    EXPECT_EQ(h.st.reports, c.sent);
    EXPECT_EQ(h.power.calls, c.powerOffs);
    // The shutdown waits 1 s after the warning and 10 s before the power-off.
    EXPECT_EQ(h.st.clock.SteadyMs() - before, c.powerOffs ? 11000 : 0);
  }
  EXPECT_NE(h.st.LogFileText().find("System shutdown."), std::string::npos);
}

TEST_F(BatteryCheckTest, WithReportsOffALowBatteryStillShutsDownButSendsNothing) {
  h.st.profile.values["bSnedReport"] = "0";
  CZentrovaDoc& doc = h.st.Doc();
  Voltage("9.8");
  EXPECT_NE(CheckBattery(doc, h.ch).find("PC will be shoutdown."), std::string::npos);
  EXPECT_TRUE(h.st.reports.empty());
  EXPECT_EQ(h.power.calls, 1);
  EXPECT_NE(h.st.LogFileText().find("System shutdown."), std::string::npos);
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
