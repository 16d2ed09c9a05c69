#pragma once
// The two auto-start switches (the controller at the station's start, the
// station at logon) and the controller's location.

#include <functional>
#include <optional>
#include <string>

#include "health/health_channels.h"
#include "monitor/zentrova_doc.h"

namespace zentrova {

void ToggleAutoStartController(CZentrovaDoc& doc);
// The logon entry holds the full path of the running program.
void ToggleAutoStart(CZentrovaDoc& doc, LogonStart& logon);
// "Tarnlink Controller location": `choose` is the open-file dialog with the
// preset file name; nothing for "Cancel".
void OnControllerLocation(CZentrovaDoc& doc,
                          const std::function<std::optional<std::string>(const std::string& preset)>& choose);

}  // namespace zentrova
