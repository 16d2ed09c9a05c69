#pragma once
// The RMS-ratio detector: at each test sample k, for every monitored
// channel, RMS of the W2 samples from k on over RMS of the W1 samples before
// k; channels above the ratio trigger, triggers are combined by AND (at
// least nMinimumChannels at once) or OR, and combined triggers closer than
// the longer window to the last event are merged into it.

#include <cstdint>
#include <string>

#include "detection/event_detection_parameters.h"
#include "platform/file_system.h"
#include "records/seismic_record.h"

namespace zentrova {

struct DetectorWindows {
  int64_t L1 = 0;  // samples of W1
  int64_t L2 = 0;  // samples of W2
  int64_t ns = 0;  // samples of the first trace
};

DetectorWindows ComputeWindows(const EventDetectionParameters& p, const SeismicRecord& record);

// Scans the record, fills the results of `p`, rewrites the event file
// (when eventFile is not empty and can be opened; the scan runs all the
// same) and returns the number of events. `now` is the local time written
// on the event lines. Traces with fewer samples than the first trace are not
// evaluated (the windows would run past them); trace indices beyond the
// per-trace result arrays are evaluated but their triggers not stored.
int DetectEvents(EventDetectionParameters& p, const SeismicRecord& record, FileSystem& fs,
                 const std::string& eventFile, int64_t now);

}  // namespace zentrova
