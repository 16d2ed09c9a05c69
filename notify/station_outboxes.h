#pragma once
// The outboxes of a running station: their spool folder beside the
// settings ("outbox" in the configuration folder) and their settings.

#include <chrono>
#include <string>

#include "notify/form_outbox.h"
#include "notify/mail_outbox.h"
#include "platform/key_value_store.h"

namespace zentrova {

inline constexpr const char* kOutboxFolder = "outbox";
inline constexpr int kDefaultOutboxRetryHours = 24;
inline constexpr int kMaxOutboxRetryHours = 720;

// "iOutboxRetryHours" of the profile (1 to 720, default 24; a value out of
// range or not a number is replaced by the nearest sound one, and said at
// the start by the outbox given `tell`); delivery begins with Start().
OutboxOptions StationOutboxOptions(KeyValueStore& profile, FileSystem& fs, const std::string& configFolder,
                                   std::function<void(const std::string&)> log, bool tell);

// Stops both outboxes within one grace of `ms` in all: what is due is still
// tried until then, what is left stays in the spool for the next start.
void CloseOutboxes(MailOutbox& mail, FormOutbox& forms, int ms);

}  // namespace zentrova
