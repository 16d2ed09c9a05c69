// The event e-mail's text: the count, then each event's onset beside its
// event time, at most ten of them.

#include "detection/event_message.h"

#include <gtest/gtest.h>

namespace zentrova {
namespace {

EventDetectionParameters Events(int n) {
  EventDetectionParameters p;
  p.nEvents = n;
  for (int e = 0; e < n; ++e) {
    p.fEventTime.push_back(0.5f + static_cast<float>(e));
    p.fEventOnset.push_back(1.001f + static_cast<float>(e));
  }
  return p;
}

TEST(EventMessage, EachEventsOnsetBesideItsTime) {
  EXPECT_EQ(EventMessage(Events(1), 1001),
            "1 events were detected in 1001\nEvent 1: Onset = 1.001 s (event time 0.500 s)");
  EXPECT_EQ(EventMessage(Events(2), 7),
            "2 events were detected in 7\nEvent 1: Onset = 1.001 s (event time 0.500 s)\n"
            "Event 2: Onset = 2.001 s (event time 1.500 s)");
  const std::string many = EventMessage(Events(12), 7);
  EXPECT_NE(many.find("\nEvent 10: Onset = 10.001 s (event time 9.500 s)\nOnsets of 2 more events are not listed"),
            std::string::npos)
      << many;
  EXPECT_EQ(many.find("Event 11"), std::string::npos);
}

TEST(EventMessage, TheLargestRatioAndItsChannelWhereTheRunGaveThem) {
  EventDetectionParameters p = Events(2);
  p.fEventMaxRatio = {41.256f, 0.0f};
  p.nEventMaxRatioChannel = {2, -1};  // the second: no channel triggered
  EXPECT_EQ(EventMessage(p, 7),
            "2 events were detected in 7\nEvent 1: Onset = 1.001 s (event time 0.500 s), largest RMS ratio 41.26 on "
            "channel 2\nEvent 2: Onset = 2.001 s (event time 1.500 s)");
}

}  // namespace
}  // namespace zentrova
