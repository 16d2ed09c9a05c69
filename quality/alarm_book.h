#pragma once
// The alarms that stand, raised once and cleared once: an alarm whose key
// stands again at the next check is the same alarm (its text may follow
// the figures); one that rises from warning to critical is raised again.

#include <map>
#include <string>
#include <vector>

#include "quality/alarm_rules.h"

namespace zentrova {

class AlarmBook {
 public:
  struct Change {
    bool raised = true;  // false: cleared
    StandingAlarm alarm;
  };
  // The alarms that stand now; returns what was raised and what cleared.
  std::vector<Change> Update(const std::vector<StandingAlarm>& standing);
  std::vector<ActiveAlarm> Active() const;

 private:
  std::map<std::string, StandingAlarm> active_;
};

}  // namespace zentrova
