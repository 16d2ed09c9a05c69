#pragma once
// For the outbox tests: the texts of the messages a new outbox over the
// same spool folder delivers at once, as the next start of the station
// would, in the order it delivers them.

#include <mutex>
#include <string>
#include <vector>

#include "notify/outbox.h"

namespace zentrova::testing {

inline std::vector<std::string> DeliveredAtTheNextStart(FileSystem& fs, Clock& clock, OutboxOptions o) {
  std::vector<std::string> seen;
  std::mutex mutex;
  o.startNow = true;
  Outbox next(fs, clock, "mail", "E-mail", o,
              [&](const OutgoingMessage& m) {
                std::lock_guard<std::mutex> lock(mutex);
                seen.push_back(m.text);
                return Attempt{Attempt::kDelivered, ""};
              },
              nullptr);
  if (!next.WaitIdle(5000)) return {"(not idle after 5 s)"};
  std::lock_guard<std::mutex> lock(mutex);
  return seen;
}

}  // namespace zentrova::testing
