#include "platform/event_loop.h"

#include <gtest/gtest.h>

namespace zentrova {
namespace {

// A quit asked for before the loop runs (a signal during the start-up
// steps) is not lost: the loop ends at once, and so does every later run.
TEST(EventLoop, AQuitBeforeTheRunHolds) {
  FakeClock clock;
  EventLoop loop(clock);
  int ticks = 0;
  loop.SetTimer(100, [&] { ++ticks; });
  loop.Quit();
  const int64_t before = clock.SteadyMs();
  loop.Run(-1);
  loop.Run(5000);
  EXPECT_EQ(clock.SteadyMs(), before);
  EXPECT_EQ(ticks, 0);
  EXPECT_TRUE(loop.QuitRequested());
}

TEST(EventLoop, RunsTimersUntilTheTimeIsUp) {
  FakeClock clock;
  EventLoop loop(clock);
  int ticks = 0;
  loop.SetTimer(100, [&] {
    if (++ticks == 30) loop.Quit();
  });
  loop.Run(1050);
  EXPECT_EQ(ticks, 10);
  loop.Run(-1);
  EXPECT_EQ(ticks, 30);
}

}  // namespace
}  // namespace zentrova
