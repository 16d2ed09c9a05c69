#include "quality/alarm_book.h"

namespace zentrova {

std::vector<AlarmBook::Change> AlarmBook::Update(const std::vector<StandingAlarm>& standing) {
  std::vector<Change> changes;
  std::map<std::string, StandingAlarm> now;
  for (const StandingAlarm& a : standing) now[a.key] = a;
  for (const auto& [key, old] : active_) {
    if (!now.count(key)) changes.push_back({false, old});
  }
  for (const auto& [key, a] : now) {
    auto it = active_.find(key);
    if (it == active_.end() || a.level > it->second.level) changes.push_back({true, a});
  }
  active_ = std::move(now);
  return changes;
}

std::vector<ActiveAlarm> AlarmBook::Active() const {
  std::vector<ActiveAlarm> list;
  for (const auto& [key, a] : active_) list.push_back({a.level, a.text});
  return list;
}

}  // namespace zentrova
