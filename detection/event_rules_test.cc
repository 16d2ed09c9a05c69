// From combined triggers to events: each rule on its own, written as the
// channels triggering at each tested sample (one digit per sample) and the
// channels whose trigger begins there.

#include "detection/event_rules.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace zentrova {

void PrintTo(const EventSpan& e, std::ostream* os) { *os << "{" << e.first << ", " << e.last << ", " << e.channels << "}"; }

namespace {

std::vector<int> Digits(const std::string& text) {
  std::vector<int> v;
  for (char c : text) v.push_back(c - '0');
  return v;
}

struct Case {
  const char* name;
  const char* triggered;
  const char* began;  // empty: every trigger begins where its stretch does
  EventRules rules;
  std::vector<EventSpan> events;  // samples from the first tested sample, 10
  int64_t end;
};

EventRules Rules(int method, int minimum, float merge) {
  EventRules r;
  r.method = method;
  r.minimumChannels = minimum;
  r.mergeSeconds = merge;
  r.dtUs = 1000.0;
  return r;
}

EventRules With(EventRules r, int64_t minimumSamples, int glitchChannels, int64_t glitchSamples, bool whole,
                int64_t gap, int maxEvents = 10000) {
  r.minimumSamples = minimumSamples;
  r.glitchChannels = glitchChannels;
  r.glitchSamples = glitchSamples;
  r.whole = whole;
  r.gapSamples = gap;
  r.maxEvents = maxEvents;
  return r;
}

TEST(EventRules, EachRuleOnItsOwn) {
  const EventRules orMerged = Rules(0, 1, 0.0035f);  // 3.5 samples
  const Case cases[] = {
      {"merged: a candidate more than the interval after the last event is the next", "0110000110", "",
       orMerged, {{11, 12, 1}, {17, 18, 1}}, 20},
      {"merged: a candidate within the interval does not restart it", "1111111", "", orMerged,
       {{10, 13, 1}, {14, 16, 1}}, 17},
      {"AND: enough channels at once", "0121210", "", Rules(1, 2, 0.0035f), {{12, 14, 2}}, 17},
      {"AND with no channel needed: every sample", "0000", "", Rules(1, 0, 0.0015f), {{10, 11, 0}, {12, 13, 0}}, 14},
      {"minimum duration: a short stretch is dropped", "0110111100", "", With(orMerged, 3, 0, 0, false, 0),
       {{14, 17, 1}}, 20},
      {"glitch: many channels begin on one sample and soon end", "0333000333330", "0300000300000",
       With(orMerged, 0, 3, 4, false, 0), {{17, 20, 3}, {21, 21, 3}}, 23},
      {"glitch rule: too few channels begin together", "0330", "0210", With(orMerged, 0, 3, 4, false, 0),
       {{11, 12, 3}}, 14},
      {"whole events: joined within the gap, the next after it", "0110100011", "", With(orMerged, 0, 0, 0, true, 2),
       {{11, 14, 1}, {18, 19, 1}}, 20},
      {"whole events with no gap: one per stretch", "01101", "", With(orMerged, 0, 0, 0, true, 0),
       {{11, 12, 1}, {14, 14, 1}}, 15},
      {"whole events and a minimum duration", "0111011100010", "", With(Rules(0, 1, 0.0f), 2, 0, 0, true, 4),
       {{11, 17, 1}}, 23},
      {"merged events full: the scan ends after the last", "1010101", "", With(Rules(0, 1, 0.0f), 0, 0, 0, false, 0, 2),
       {{10, 10, 1}, {12, 12, 1}}, 13},
      {"whole events full: the scan ends where the next would begin", "1100110", "",
       With(Rules(0, 1, 0.0f), 0, 0, 0, true, 0, 1), {{10, 11, 1}}, 14},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SampleTriggers s;
    s.first = 10;
    s.triggered = Digits(c.triggered);
    s.began = *c.began ? Digits(c.began) : std::vector<int>(s.triggered.size(), 0);
    if (!*c.began) {
      for (size_t i = 0; i < s.triggered.size(); ++i) s.began[i] = i == 0 || s.triggered[i - 1] == 0 ? s.triggered[i] : 0;
    }
    const FoundEvents found = FindEvents(s, c.rules);
    EXPECT_EQ(found.events, c.events);
    EXPECT_EQ(found.end, c.end);
  }
}

}  // namespace
}  // namespace zentrova
