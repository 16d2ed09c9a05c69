#pragma once
// The report and battery timers run every so many minutes, as stored in
// the profile, where a value may have been edited by hand (0, negative, or
// far too large). Their period is bounded so that the timer neither fires
// in a tight loop nor overflows its milliseconds.

#include <algorithm>
#include <cstdint>
#include <string>

namespace zentrova {

inline constexpr int kShortestTimerMinutes = 1;
inline constexpr int kLongestTimerMinutes = 24 * 24 * 60;  // 24 days: well inside an int of milliseconds

inline int BoundedTimerMinutes(int minutes) {
  return std::clamp(minutes, kShortestTimerMinutes, kLongestTimerMinutes);
}

// The timer period for `minutes`, computed in 64 bits from the bounded value.
inline int TimerMilliseconds(int minutes) {
  return static_cast<int>(static_cast<int64_t>(BoundedTimerMinutes(minutes)) * 60000);
}

// The log line for a stored interval outside the bounds; empty when it is
// within them.
inline std::string TimerMinutesNote(const std::string& key, int minutes) {
  const int used = BoundedTimerMinutes(minutes);
  if (used == minutes) return "";
  return key + "=" + std::to_string(minutes) + " is out of range (" + std::to_string(kShortestTimerMinutes) +
         " to " + std::to_string(kLongestTimerMinutes) + " minutes); " + std::to_string(used) + " is used";
}

}  // namespace zentrova
