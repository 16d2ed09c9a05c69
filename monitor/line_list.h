#pragma once
// A bounded list of text lines, oldest first: appending beyond the capacity
// drops the oldest line. The activity log keeps 20 lines in one, the monitor
// the last 1024 known file paths in another.

#include <deque>
#include <string>
#include <unordered_map>

namespace zentrova {

class LineList {
 public:
  explicit LineList(int capacity) : nCapacity(capacity < 1 ? 1 : capacity) {}

  // Adds text as the newest line; returns the number of lines held.
  int Append(const std::string& text);
  int Count() const { return static_cast<int>(lines_.size()); }
  // Line i from the oldest (0); i must be below Count().
  std::string GetAt(int i) const { return lines_.at(static_cast<size_t>(i)); }
  // Whether some line equals text exactly (an index, not a walk).
  bool Contains(const std::string& text) const { return index_.count(text) > 0; }

  const int nCapacity;
  int nAppended = 0;

 private:
  std::deque<std::string> lines_;
  std::unordered_map<std::string, int> index_;  // line -> how many copies are held
};

}  // namespace zentrova
