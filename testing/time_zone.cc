#include "testing/time_zone.h"

#include <stdlib.h>
#include <time.h>

namespace zentrova::testing {

ScopedTimeZone::ScopedTimeZone(const std::string& tz) {
  if (const char* old = ::getenv("TZ")) previous_ = old;
  ::setenv("TZ", tz.c_str(), 1);
  ::tzset();
}

ScopedTimeZone::~ScopedTimeZone() {
  if (previous_) {
    ::setenv("TZ", previous_->c_str(), 1);
  } else {
    ::unsetenv("TZ");
  }
  ::tzset();
}

}  // namespace zentrova::testing
