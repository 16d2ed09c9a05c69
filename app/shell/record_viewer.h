#pragma once
// A record the operator opens to look at: read into the document's record
// as the station reads one (SEG-2, or the three-component format by its
// name), its events sought with the detection settings while detection is
// on, and its dispersion image computed, so that the three views show it.
// Nothing is filed, no event file or text file is written and nothing
// reaches the watched folder; the next record the monitor takes replaces
// it in the views.

#include <string>

#include "monitor/zentrova_doc.h"
#include "surfacewave/surface_wave_follow_up.h"

namespace zentrova {

struct ViewedRecord {
  bool ok = false;
  std::string name;  // the file's name without its folders
  std::string why;   // why it could not be read, with the path as given
};

// Holds the document's lock while it reads and analyses. The profile view
// gets the record's column as for a record the monitor takes.
ViewedRecord OpenRecordForViewing(CZentrovaDoc& doc, SurfaceWaveFollowUp* surfaceWaves, const std::string& path);

// The status bar's line about the document's record: its name, the time
// of its first sample and the events found ("viewing" for a record opened
// to look at).
std::string RecordStatusLine(CZentrovaDoc& doc, bool viewing);

}  // namespace zentrova
