#include "concat/joined_name.h"

namespace zentrova {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Digits from `at`; returns the position after them, or `at` when there are none.
size_t SkipDigits(const std::string& s, size_t at) {
  while (at < s.size() && IsDigit(s[at])) ++at;
  return at;
}

}  // namespace

bool IsJoinedRecordName(const std::string& name) {
  static const std::string kMark = "_concatenated_";
  for (size_t at = name.find(kMark); at != std::string::npos; at = name.find(kMark, at + 1)) {
    const size_t first = at + kMark.size();
    const size_t afterFirst = SkipDigits(name, first);
    if (afterFirst == first || afterFirst >= name.size() || name[afterFirst] != '_') continue;
    if (SkipDigits(name, afterFirst + 1) > afterFirst + 1) return true;
  }
  return false;
}

}  // namespace zentrova
