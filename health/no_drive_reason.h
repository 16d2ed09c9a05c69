#pragma once
// Why the drive check found no drive for the destination folder, in one
// line for the operator: the drives are full (or switched off), or the
// destination cannot be created because its volume cannot be reached.

#include <string>

#include "monitor/monitor_settings.h"
#include "platform/volume_table.h"

namespace zentrova {

// After a check that found no usable drive; each drive is named with what
// stands against it ("D: 2.0% free", "E: not in use", "F: /media/usb1
// cannot be reached").
std::string NoDriveReason(const MonitorSettings& m, VolumeTable& volumes);

}  // namespace zentrova
