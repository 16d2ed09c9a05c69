#include "monitor/timer_interval.h"

#include <gtest/gtest.h>

#include "health/health_fixture.h"
#include "monitor/control_form.h"

namespace zentrova {
namespace {

// Stored intervals as an operator may have left them; the timers run three
// minutes of station time and must fire once per bounded interval, never
// in a tight loop.
TEST(TimerIntervals, StoredMinutesAreBoundedAndNeverFlood) {
  struct Case {
    const char* value;
    int used;  // minutes
    bool noted;
  } cases[] = {
      {"15", 15, false},    {"1", 1, false},           {"0", 1, true},
      {"-5", 1, true},      {"34560", 34560, false},   {"35792", 34560, true},  // 35792 * 60000 overflows an int
      {"40000", 34560, true}, {"2147483647", 34560, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    testing::HealthFixture h;
    h.st.profile.values["iBatteryCheckInterval"] = c.value;
    h.st.profile.values["iReportInterval"] = c.value;
    h.st.profile.values["bSnedReport"] = "1";
    CZentrovaDoc& doc = h.st.Doc();
    EventLoop loop(h.st.clock);
    CZentrovaControlForm form(doc, loop);
    int checks = 0;
    form.batteryCheck = [&checks] {
      ++checks;
      return std::string("No battery voltage information");
    };
    const int first = doc.activityLog.Count();
    form.StartReportTimer();
    form.StartBatteryTimer();
    std::vector<std::string> lines;
    for (int i = first; i < doc.activityLog.Count(); ++i) lines.push_back(doc.activityLog.GetAt(i));
    const std::string checking =
        "Checking battery statsus started by timer. Checking interval is = " + std::to_string(c.used) + " minutes";
    if (c.noted) {
      const std::string range = " is out of range (1 to 34560 minutes); " + std::to_string(c.used) + " is used";
      EXPECT_EQ(lines, (std::vector<std::string>{std::string("iReportInterval=") + c.value + range,
                                                 std::string("iBatteryCheckInterval=") + c.value + range, checking}));
    } else {
      EXPECT_EQ(lines, std::vector<std::string>{checking});
    }

    h.st.reports.clear();
    loop.Run(3 * 60000 + 1);
    const int expected = 3 / c.used;
    EXPECT_EQ(checks, expected);
    EXPECT_EQ(static_cast<int>(h.st.reports.size()), expected);
  }
}

}  // namespace
}  // namespace zentrova
