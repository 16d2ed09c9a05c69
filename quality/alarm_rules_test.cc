#include "quality/alarm_rules.h"

#include <gtest/gtest.h>

#include "quality/alarm_book.h"

namespace zentrova {
namespace {

constexpr int64_t kNow = 1584266400;  // 2020-03-15 10:00 UTC

std::vector<std::string> Keys(const std::vector<StandingAlarm>& alarms) {
  std::vector<std::string> keys;
  for (const auto& a : alarms) keys.push_back(a.key + (a.level == AlarmLevel::kCritical ? "!" : ""));
  return keys;
}

HourFigures Hour(double availability, bool dead = false, int64_t clippedRecords = 0) {
  HourFigures f;
  f.channel = 1;
  f.records = 10;
  f.availability = availability;
  f.amplitudeSamples = 1000;
  f.dead = dead;
  f.clippedRecords = clippedRecords;
  return f;
}

// A sample every `step` seconds over `span`, battery and free space falling
// linearly by the given rates to their values at kNow.
std::deque<StationSample> Samples(int64_t span, double voltsNow, double voltsPerHour, double freeNow,
                                  double freePerHour, int64_t step = 600) {
  std::deque<StationSample> d;
  for (int64_t t = kNow - span; t <= kNow; t += step) {
    StationSample s;
    s.time = t;
    const double hoursBefore = static_cast<double>(kNow - t) / 3600.0;
    s.batteryVolts = voltsNow + voltsPerHour * hoursBefore;
    s.freePercent = freeNow + freePerHour * hoursBefore;
    d.push_back(s);
  }
  return d;
}

TEST(AlarmRules, EachRuleAndItsBounds) {
  const AlarmSettings a;  // the defaults; the switch level is 10 % free
  struct Case {
    const char* what;
    AlarmInputs in;
    std::deque<StationSample> samples;
    std::vector<std::string> keys;
  };
  std::vector<Case> cases;
  auto base = [] {
    AlarmInputs in;
    in.now = kNow;
    in.monitoring = true;
    in.quietSince = kNow - 60;
    return in;
  };
  cases.push_back({"all well", base(), Samples(7200, 12.6, 0.0, 50.0, 0.0), {}});
  {
    Case c{"no record for 6 minutes", base(), {}, {"no-record!"}};
    c.in.quietSince = kNow - 360;
    cases.push_back(c);
    Case off = c;
    off.what = "the same while monitoring is off";
    off.in.monitoring = false;
    off.keys = {};
    cases.push_back(off);
  }
  {
    Case c{"an hour at 89.9 %, a dead one, a clipped one", base(), {}, {}};
    c.in.lastFinishedHour[1] = Hour(89.9);
    c.in.lastFinishedHour[2] = Hour(100.0, true);
    c.in.lastFinishedHour[3] = Hour(100.0, false, 10);
    c.in.lastFinishedHour[4] = Hour(90.0, false, 9);  // at the bound, clipped in 9 of 10 records: none
    c.in.lastFinishedHour[2].channel = 2;
    c.in.lastFinishedHour[3].channel = 3;
    c.keys = {"availability:1", "dead:2!", "clipped:3"};
    cases.push_back(c);
  }
  {
    Case c{"latency 601 s", base(), {}, {"latency"}};
    c.in.lastLatency = 601;
    cases.push_back(c);
    c.what = "latency 600 s";
    c.in.lastLatency = 600;
    c.keys = {};
    cases.push_back(c);
  }
  cases.push_back({"battery falling 0.6 V/h", base(), Samples(3600, 11.4, 0.6, 50.0, 0.0), {"battery-falling"}});
  cases.push_back({"battery falling 0.4 V/h", base(), Samples(3600, 11.4, 0.4, 50.0, 0.0), {}});
  cases.push_back({"battery falling fast for 10 minutes only", base(), Samples(600, 11.4, 3.0, 50.0, 0.0, 60), {}});
  {
    Case c{"mail waiting 61 minutes", base(), Samples(0, 12.6, 0.0, 50.0, 0.0), {"outbox:mail"}};
    c.samples.back().mail = {2, 61 * 60, 0, kNow - 100};
    cases.push_back(c);
  }
  cases.push_back({"free 10 %: at the switch level", base(), Samples(0, 12.6, 0.0, 10.0, 0.0), {"free-space!"}});
  cases.push_back({"free 20 %, falling 0.5 %/h: 20 h left", base(), Samples(86400, 12.6, 0.0, 20.0, 0.5),
                   {"free-space"}});
  cases.push_back({"free 20 %, falling 0.3 %/h: 33 h left", base(), Samples(86400, 12.6, 0.0, 20.0, 0.3), {}});
  cases.push_back({"free falling fast for one hour only", base(), Samples(3600, 12.6, 0.0, 20.0, 5.0), {}});
  for (Case& c : cases) {
    c.in.samples = &c.samples;
    EXPECT_EQ(Keys(StandingAlarms(a, c.in)), c.keys) << c.what;
  }
}

TEST(AlarmRules, ASettingOfZeroSwitchesARuleOff) {
  AlarmSettings a;
  a.latencySeconds = 0;
  a.availabilityPercent = 0;
  AlarmInputs in;
  in.now = kNow;
  in.lastLatency = 1e6;
  in.lastFinishedHour[1] = Hour(0.0);
  EXPECT_TRUE(StandingAlarms(a, in).empty());
}

// Raised once, cleared once; a rise to critical is raised again.
TEST(AlarmBook, RaisesAndClearsOnce) {
  AlarmBook book;
  const StandingAlarm warn{"free-space", AlarmLevel::kWarning, "reaches its switch level in about 20 hours"};
  const StandingAlarm later{"free-space", AlarmLevel::kWarning, "reaches its switch level in about 19 hours"};
  const StandingAlarm critical{"free-space", AlarmLevel::kCritical, "at the switch level"};
  auto changes = [&book](std::vector<StandingAlarm> standing) {
    std::vector<std::string> said;
    for (const auto& c : book.Update(standing)) said.push_back((c.raised ? "raised " : "cleared ") + c.alarm.text);
    return said;
  };
  EXPECT_EQ(changes({warn}), std::vector<std::string>{"raised " + warn.text});
  EXPECT_EQ(changes({later}), std::vector<std::string>{});
  EXPECT_EQ(book.Active().front().text, later.text);  // the text follows the figures
  EXPECT_EQ(changes({critical}), std::vector<std::string>{"raised " + critical.text});
  EXPECT_EQ(changes({}), std::vector<std::string>{"cleared " + critical.text});
  EXPECT_EQ(changes({}), std::vector<std::string>{});
}

TEST(AlarmRules, TheSlope) {
  double slope = 0;
  EXPECT_TRUE(SlopePerHour({{0, 12.0}, {1800, 11.5}, {3600, 11.0}}, slope));
  EXPECT_DOUBLE_EQ(slope, -1.0);
  EXPECT_FALSE(SlopePerHour({{0, 12.0}}, slope));
  EXPECT_FALSE(SlopePerHour({{5, 12.0}, {5, 11.0}}, slope));
}

}  // namespace
}  // namespace zentrova
