#pragma once
// The subject of every mail: "Message from Zentrova at SITE", which filters
// match, then what happened, so that a mailbox of them can be scanned:
// "Message from Zentrova at SITE: event 12:58:39, 7 channels".

#include <string>

#include "notify/battery_reading.h"

namespace zentrova {

// The title alone: "Message from Zentrova at SITE", then ": " and the
// summary when there is one.
std::string MailSubject(const std::string& site, const std::string& summary);

// What happened, from the text of a message the station sends:
//   "Zentrova started."                        -> "started" (and the controller's start)
//   "Zentrova was closed."                     -> "closed"
//   "Report from Zentrova...."                 -> "report"
//   "%d events were detected in %d"            -> "%d events in record %d"
//   "Warnig ! There was no new file more ..."  -> "no new file for %d minutes"
//   a battery warning                          -> "battery 10.2 V" (the reading), ", shutting down"
//   "System shutdown."                         -> "system shutdown"
//   "Destination folder was changed to %s"     -> "destination moved to %s"
//   "Warnig! No drive is available."           -> "no drive available"
// and for any other text its first line, at most kSummaryLength bytes
// (cut at a whole UTF-8 character, "..." where cut).
std::string MessageSummary(const std::string& text, const BatteryReading& battery);

inline constexpr size_t kSummaryLength = 72;

}  // namespace zentrova
