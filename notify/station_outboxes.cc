#include "notify/station_outboxes.h"

#include <cstdlib>

#include "platform/printf.h"

namespace zentrova {

OutboxOptions StationOutboxOptions(KeyValueStore& profile, FileSystem& fs, const std::string& configFolder,
                                   std::function<void(const std::string&)> log, bool tell) {
  OutboxOptions o;
  o.folder = JoinPath(fs, configFolder, kOutboxFolder);
  o.maxCount = 500;
  o.log = std::move(log);
  o.startNow = false;
  o.retryHours = kDefaultOutboxRetryHours;
  if (const auto text = profile.Get("iOutboxRetryHours")) {
    char* end = nullptr;
    const long v = std::strtol(text->c_str(), &end, 10);
    if (text->empty() || *end != '\0') {
      o.notes.push_back(Printf("iOutboxRetryHours=%s is not a number; %d is used", text->c_str(), o.retryHours));
    } else if (v < 1 || v > kMaxOutboxRetryHours) {
      o.retryHours = v < 1 ? 1 : kMaxOutboxRetryHours;
      o.notes.push_back(Printf("iOutboxRetryHours=%s is out of range (1 to %d); %d is used", text->c_str(),
                               kMaxOutboxRetryHours, o.retryHours));
    } else {
      o.retryHours = static_cast<int>(v);
    }
  }
  if (!tell) o.notes.clear();
  return o;
}

void CloseOutboxes(MailOutbox& mail, FormOutbox& forms, int ms) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  mail.BeginClose(deadline);
  forms.BeginClose(deadline);
  mail.FinishClose();
  forms.FinishClose();
}

}  // namespace zentrova
