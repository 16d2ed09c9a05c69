#include "concat/running_number.h"

#include <cstdint>

namespace zentrova {

std::optional<int> RunningNumber(const std::string& name) {
  const size_t bar = name.find_last_of('_');
  size_t i = bar == std::string::npos ? 0 : bar + 1;
  while (i < name.size() && !(name[i] >= '0' && name[i] <= '9')) ++i;
  if (i >= name.size()) return std::nullopt;
  int64_t v = 0;
  for (; i < name.size() && name[i] >= '0' && name[i] <= '9'; ++i) {
    v = v * 10 + (name[i] - '0');
    if (v > INT32_MAX) return std::nullopt;
  }
  return static_cast<int>(v);
}

}  // namespace zentrova
