#pragma once
// The text of the event e-mail: how many events a record held and, for the
// first of them, where each begins (the onset) beside the time the
// detector gives it (its event time, as in the event file).

#include <string>

#include "detection/event_detection_parameters.h"
#include "records/seismic_record.h"

namespace zentrova {

inline constexpr int kMailedOnsets = 10;

// "%d events were detected in %d", then one line per event, at most
// kMailedOnsets: "Event %d: " and its OnsetText, then, where the run gave
// it, ", largest RMS ratio %.2f on channel %d"; for the events beyond,
// "Onsets of %d more events are not listed". Seconds from the record's
// first sample.
std::string EventMessage(const EventDetectionParameters& p, int fileNumber);

// What happened, for the mail's subject: "event 12:58:39, 7 channels" (the
// first event's onset in the record's local time and the channels that
// triggered it), "3 events, first 12:58:39, 7 channels"; "+1.501 s" in
// place of the clock time for a record without a time of its own.
std::string EventSummary(const EventDetectionParameters& p, const SeismicRecord& record);

// "Onset = %.3f s (event time %.3f s)" of event e (from 0).
std::string OnsetText(const EventDetectionParameters& p, int e);

}  // namespace zentrova
