#include "monitor/setting_ranges.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "monitor/settings.h"
#include "platform/number_text.h"
#include "platform/printf.h"

namespace zentrova {
namespace {

SettingRange Flag(const std::string& key, int fallback) { return {key, SettingKind::Flag, 0, 1, double(fallback)}; }
SettingRange Integer(const std::string& key, int lowest, int highest, int fallback) {
  return {key, SettingKind::Integer, double(lowest), double(highest), double(fallback)};
}
SettingRange Float(const std::string& key, double lowest, double highest, double fallback) {
  return {key, SettingKind::Float, lowest, highest, fallback};
}

std::vector<SettingRange> MakeProfileRanges() {
  std::vector<SettingRange> r = {
      Integer("nMinNoFile", 0, 10080, 5),          // minutes, up to a week; 0: at every cycle without a record
      Flag("bVariableFileSize", 0),
      Flag("bMoveToFolder", 0),
      Flag("bConcatenate", 0),
      Integer("nDataConcatenate", 1, 100000, 60000),  // samples per trace of a joined record
      Integer("nJoinAfterMinutes", 0, 1440, 10),    // an hour never joined is joined this long after its end
      Integer("nJoinLookBackDays", 0, 60, 2),       // days back such hours are looked for
      Flag("bPickMaximumAmplitude", 0),
      Flag("bAutoStart", 0),
      Flag("bThread", 0),
      Integer("iInterval", 0, 4, 4),               // 0.5, 1, 2, 4, 8 s
      Flag("bEventDetection", 0),
      Flag("bSendMail", 0),
      Flag("bSnedReport", 0),
      Integer("iReportInterval", 1, 10080, 60),    // minutes
      Flag("bReportEMail", 1),
      Flag("bReportWebServer", 0),
      Flag("bWarning", 0),
      Float("fBatteryWarning", 0.0, 100.0, 11.0),  // volts
      Float("fBatteryShutdown", 0.0, 100.0, 10.5),
      Flag("bCheckBattery", 0),
      Integer("iBatteryCheckInterval", 1, 1440, 15),  // minutes
      Flag("bAutoStartTC", 0),
      Flag("bAutomaticDriveChange", 1),
      Integer("iCurrentDrive", 0, 9, 1),           // then limited to the drives there are
      Float("dDiskSpaceRatio", 0.0, 1.0, 0.9),
      Flag("bUseLocalServer", 0),
      Flag("bDatabaseUploadOrbel", 0),
      Float("PV_START", 0.0, 10.0, 0.0),           // km/s, the dispersion image's lowest trial velocity
      Float("FREQ_END", 0.1, 10000.0, 50.0),       // Hz, its highest frequency (at most the Nyquist frequency)
      Float("fTextScale", 0.5, 3.0, 1.0),          // the plots' letters: 1.0, or 1.5 for screens that need larger
      Flag("bMiniSeedArchive", 0),                 // the miniSEED day files (SDS) beside the hour tree
      Integer("nArchiveDays", 0, 36500, 0),        // days of day files kept; 0: all
      Float("dStationLatitude", -90.0, 90.0, 0.0),    // degrees; 0 0 0: not known
      Float("dStationLongitude", -180.0, 180.0, 0.0),
      Float("dStationElevation", -12000.0, 9000.0, 0.0),  // metres
  };
  for (int i = 0; i < 10; ++i) r.push_back(Flag(Printf("bActive_%d", i), 1));
  return r;
}

std::vector<SettingRange> MakeProductRanges() {
  return {
      Integer("iPortNumber", 1, 65535, 587),
      Flag("EVENT_DETECTION_METHOD", 1),                                  // 1 AND, 0 OR
      Integer("EVENT_DETECTION_MINIMUM_N_CHANNEL", 1, 1024, 5),
      Float("EVENT_DETECTION_TIME_WINDOW_1", 0.001, 3600000.0, 100.0),   // ms
      Float("EVENT_DETECTION_TIME_WINDOW_2", 0.001, 3600000.0, 500.0),
      Float("EVENT_DETECTION_RMS_RATIO", 0.001, 1.0e6, 10.0),
      Flag("EVENT_DETECTION_DETECT_END", 0),
      Float("EVENT_DETECTION_MINIMUM_DURATION", 0.0, 3600.0, 0.0),       // s
      Integer("EVENT_DETECTION_GLITCH_PERCENT", 0, 100, 0),              // 0: no glitch rule
      Integer("EVENT_DETECTION_GLITCH_SAMPLES", 0, 1000000, 0),
      Flag("EVENT_DETECTION_WHOLE_EVENTS", 0),
      Float("EVENT_DETECTION_EVENT_GAP", 0.0, 86400.0, 0.0),             // s
      Flag("EVENT_DETECTION_BANDPASS", 0),
      Float("EVENT_DETECTION_BANDPASS_LOW", 0.0, 100000.0, 1.0),         // Hz, 0: none
      Float("EVENT_DETECTION_BANDPASS_HIGH", 0.0, 100000.0, 10.0),
  };
}

std::string Format(SettingKind kind, double value) {
  return kind == SettingKind::Float ? FormatStoredFloat(value) : std::to_string(static_cast<long long>(value));
}

// Short form for the note: 11.5 rather than 11.500000.
std::string Shown(SettingKind kind, double value) {
  return kind == SettingKind::Float ? Printf("%g", value) : std::to_string(static_cast<long long>(value));
}

// A number written too large for a double ("1e400", "-1e400") as an
// infinite one: it lies beyond an end of every range. "inf" and the like
// are written without digits and stay no numbers.
std::optional<double> Overflowing(const std::string& text) {
  if (text.find_first_of("0123456789") == std::string::npos) return std::nullopt;
  char* end = nullptr;
  const double v = std::strtod(text.c_str(), &end);
  if (end == text.c_str() || !std::isinf(v)) return std::nullopt;
  end += std::strspn(end, " \t");
  return *end == '\0' ? std::optional<double>(v) : std::nullopt;
}

}  // namespace

const std::vector<SettingRange>& ProfileSettingRanges() {
  static const std::vector<SettingRange> ranges = MakeProfileRanges();
  return ranges;
}

const std::vector<SettingRange>& ProductSettingRanges() {
  static const std::vector<SettingRange> ranges = MakeProductRanges();
  return ranges;
}

const SettingRange* FindSettingRange(const std::vector<SettingRange>& ranges, const std::string& key) {
  for (const SettingRange& r : ranges) {
    if (r.key == key) return &r;
  }
  return nullptr;
}

SoundValue MakeSound(const SettingRange& range, const std::string& stored) {
  if (stored.find_first_not_of(" \t") == std::string::npos) return {stored, ""};
  const std::string given = range.key + "=" + stored;
  std::optional<double> number = WholeNumber(stored);
  if (!number) number = Overflowing(stored);
  if (!number) {
    return {Format(range.kind, range.fallback),
            Printf("%s is not a number; %s is used.", given.c_str(), Shown(range.kind, range.fallback).c_str())};
  }
  double value = *number;
  const bool whole = range.kind == SettingKind::Float || WholeInteger(stored).has_value();
  if (!whole) value = std::round(value);
  const double sound = std::fmin(range.highest, std::fmax(range.lowest, value));
  const std::string used = Shown(range.kind, sound);
  if (sound != value) {
    return {Format(range.kind, sound),
            Printf("%s is out of range (%s to %s); %s is used.", given.c_str(), Shown(range.kind, range.lowest).c_str(),
                   Shown(range.kind, range.highest).c_str(), used.c_str())};
  }
  if (!whole) {
    return {Format(range.kind, sound),
            Printf("%s is not written as a whole number; %s is used.", given.c_str(), used.c_str())};
  }
  return {Format(range.kind, sound), ""};
}

}  // namespace zentrova
