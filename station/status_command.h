#pragma once
// zentrova-station --status: what the running station's status file says,
// for a person (a summary) or a machine (--json), with the exit status of
// a monitoring plugin: 0 OK, 1 warning, 2 critical, 3 unknown (no status,
// or one older than three monitor intervals: the station is not running).
// It only reads: it takes no lock and creates nothing.

#include <cstdint>
#include <ostream>
#include <string>

namespace zentrova {

// Prints the status of the station whose configuration folder is `folder`
// at `now`; returns the exit status.
int PrintStationStatus(const std::string& folder, bool json, int64_t now, std::ostream& out);

}  // namespace zentrova
