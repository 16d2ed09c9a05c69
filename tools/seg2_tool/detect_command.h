#pragma once
// zentrova-seg2 detect FILE|FOLDER... [detection options] [--json]
//                      [--sweep ratio|window1|window2=FROM:TO:STEP]
//
// Runs the station's event detector over records with the stored detection
// parameters (see detection_options.h for the options that override
// them) and lists, per record, the events the station would find: time
// from the first sample and as clock time, onset, channels, largest RMS
// ratio and its channel, duration. A folder stands for every record under
// it. --sweep counts, per value of one parameter, the records with events
// and the events over all records. Neither the settings nor an event file
// are written.

#include <string>
#include <vector>

#include "detection/event_detection_parameters.h"
#include "platform/file_system.h"
#include "records/seismic_record.h"

namespace zentrova {

// args[0] is "detect". 0 when every record was read, 1 when one could not
// be (the reason on standard error), 2 for a usage error.
int DetectCommand(FileSystem& fs, const std::vector<std::string>& args);

// The records named by the arguments: files as they are, folders as every
// record file under them (by name, as the station knows records), sorted.
std::vector<std::string> RecordPaths(FileSystem& fs, const std::vector<std::string>& named);

enum class SweptParameter { kRatio, kWindow1, kWindow2 };

struct Sweep {
  SweptParameter parameter = SweptParameter::kRatio;
  std::vector<double> values;  // the ratio, or a window in seconds
};

struct SweepRow {
  double value = 0.0;
  int records = 0;  // records with at least one event
  int events = 0;   // events over all records
};

// Empty when `text` ("ratio=2:20:0.5") makes a sweep; otherwise why not.
std::string ParseSweep(const std::string& text, Sweep& sweep);

// One row per value, counts at 0.
std::vector<SweepRow> SweepRows(const Sweep& sweep);

// `p` with the swept parameter at `value`.
void SetSwept(EventDetectionParameters& p, SweptParameter parameter, double value);

// Adds one record's counts at every value of the sweep to `rows` (made by
// SweepRows when empty); `bandPassNote`, when given, takes what the
// record's sampling changed of the band-pass (see sBandPassNote).
void SweepRecord(const SeismicRecord& record, const EventDetectionParameters& p, const Sweep& sweep,
                 std::vector<SweepRow>& rows, std::string* bandPassNote = nullptr);

}  // namespace zentrova
