#pragma once
// The acquisition controller seen from the station: is it running, ask its
// window to close, start it.

#include <string>

#include "health/health_channels.h"
#include "monitor/zentrova_doc.h"

namespace zentrova {

// 1 when a process's program name contains `name` (exact case), also when
// the process list cannot be had; else 0.
int IsProcessRunning(ProcessTable& processes, const std::string& name);

// The last window met (depth first) whose title contains `text`; the
// top-level window with exactly that title is asked to close. 1 when the
// request was posted.
int CloseWindowByTitle(WindowTree& windows, const std::string& text);

// 0 started, 1 failed to start (the document's controller path is then the
// last one tried), 2 was already running.
int LaunchController(CZentrovaDoc& doc, HealthChannels& channels);

}  // namespace zentrova
