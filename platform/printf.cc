#include "platform/printf.h"

#include <cstdarg>
#include <cstdio>
#include <vector>

namespace zentrova {

std::string Printf(const char* format, ...) {
  va_list args;
  va_start(args, format);
  va_list copy;
  va_copy(copy, args);
  char small[512];
  const int n = std::vsnprintf(small, sizeof small, format, args);
  va_end(args);
  std::string out;
  if (n < 0) {
    out.clear();
  } else if (static_cast<size_t>(n) < sizeof small) {
    out.assign(small, static_cast<size_t>(n));
  } else {
    std::vector<char> big(static_cast<size_t>(n) + 1);
    std::vsnprintf(big.data(), big.size(), format, copy);
    out.assign(big.data(), static_cast<size_t>(n));
  }
  va_end(copy);
  return out;
}

}  // namespace zentrova
