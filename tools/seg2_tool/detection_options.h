#pragma once
// The detection parameters a command of the record tool runs with: those
// stored in a configuration folder (product.ini) or in one settings file,
// each overridable on the command line. Stored values are made sound as the
// station makes them; nothing is ever written back.
//
//   --config-dir DIR    the configuration folder (default: the station's own)
//   --config FILE       a settings file in Zentrova.ini's form instead; its
//                       [Kalvane Applications] section, else [General]
//   --ratio R           EVENT_DETECTION_RMS_RATIO
//   --window1 S         EVENT_DETECTION_TIME_WINDOW_1, in seconds
//   --window2 S         EVENT_DETECTION_TIME_WINDOW_2, in seconds
//   --and N | --or      the AND list with N channels needed, or the OR list
//   --channels LIST     the channel list (both lists)
//   --min-duration S    EVENT_DETECTION_MINIMUM_DURATION
//   --glitch P:N | off  EVENT_DETECTION_GLITCH_PERCENT and _SAMPLES
//   --gap S | off       whole events with this least gap, or merged events
//   --bandpass LOW:HIGH | off   the band-pass and its corners in Hz
//   --detect-end 0|1    EVENT_DETECTION_DETECT_END

#include <string>
#include <vector>

#include "detection/event_detection_parameters.h"
#include "platform/file_system.h"
#include "platform/key_value_store.h"

namespace zentrova {

struct DetectionSource {
  std::string configDir;   // empty: the station's configuration folder
  std::string configFile;  // when set, read instead of the folder
  KeyValueStore::Entries overrides;  // stored keys and their values, later ones winning
};

inline constexpr const char* kDetectionOptionsUsage =
    "[--config-dir DIR | --config FILE] [--ratio R] [--window1 S] [--window2 S] [--and N | --or]\n"
    "       [--channels LIST] [--min-duration S] [--glitch P:N|off] [--gap S|off] [--bandpass LOW:HIGH|off]\n"
    "       [--detect-end 0|1]";

// When args[i] is one of the options above, takes it and its value into
// `source`, moves i to the last argument taken and returns true; `why` then
// holds the reason when the value is not usable (empty otherwise).
bool TakeDetectionOption(const std::vector<std::string>& args, size_t& i, DetectionSource& source, std::string& why);

// The values --ratio, --window1 and --window2 take (the windows in seconds).
struct NumberRange {
  double lowest = 0.0;
  double highest = 0.0;
};
NumberRange DetectionOptionRange(const std::string& option);

struct LoadedDetection {
  std::string error;               // the settings file cannot be read; nothing loaded
  std::vector<std::string> notes;  // stored values not used as they stand, a missing file
  std::string origin;              // the file the stored values came from
};

// The parameters of `source` into `p` (results untouched).
LoadedDetection LoadDetection(FileSystem& fs, const DetectionSource& source, EventDetectionParameters& p);

// One line: the parameters in force, for the head of a report.
std::string DescribeDetection(const EventDetectionParameters& p);

}  // namespace zentrova
