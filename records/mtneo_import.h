#pragma once
// Three-component records of the DaZEZIROZev recorder ("MT_NEO") and the
// Orbel seismograph: a 512-byte text header, then frames of signed 32-bit
// little-endian counts, one per component.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "platform/local_time.h"
#include "platform/prompt.h"
#include "records/seismic_record.h"

namespace zentrova {

struct MtNeoHeader {
  bool bOrbel = false;       // "Orbel " rather than "MT_NEO"
  int nInstrument = 0;       // bytes 38-43
  int nComponents = 3;       // byte 46: 1 or 3
  int nScaleFlag = 0;        // byte 49
  int nBits = 32;            // bytes 52-53: 8, 16, 24, else 32
  int nFiveDigits = 5000;    // bytes 56-60, 5000 when 0
  int nIntervalCode = 0;     // bytes 63-65
  std::array<int, 3> nGain{1, 1, 1};  // bytes 68-70, 73-75, 78-80; 0 counts as 1
  CivilTime firstSample;     // bytes 88-107, local time
  float fLatitude = 0.0f;    // bytes 246-258
  float fLongitude = 0.0f;   // bytes 259-272
  float fAltitude = 0.0f;    // bytes 273-280
  int nCalibration = 8;      // bytes 317-319; 0 counts as 8
  int nFrameBytes = 16;
  int64_t nFrames = 0;       // n, frames in the file (60 s cut for 10 ms records)
  int64_t nFileFrames = 0;   // frames the file actually holds

  float IntervalMicroseconds() const;
  float ScalePerCount() const;
};

// The component numbers and receiver distances given to the three channels
// of an Orbel file; the settings store may override them.
struct OrbelChannels {
  std::array<int, 3> component{2, 1, 3};
  std::array<int, 3> distance{1, 0, 2};
};

struct ManualGain {
  int nInstrument = 0;
  float fFactor = 1.0f;
};

StatusOr<MtNeoHeader> ReadMtNeoHeader(FileSystem& fs, const std::string& path);
// "DaZEZIROZevManualGain.txt" in the folder: "%d%f" lines, at most 256.
std::vector<ManualGain> ReadManualGains(FileSystem& fs, const std::string& folder);

// Imports the file into the record as 1 or 3 traces. Returns the number of
// traces, or 0 when the file was rejected or is shorter than 59 seconds
// (the record then stays as it was). Appends the record length to
// "monitor.txt" in the current folder.
int ImportMtNeoFile(FileSystem& fs, Prompt& prompt, SeismicRecord& record, const std::string& path, int bAllocate,
                    int bReadData, const OrbelChannels& orbel = {});

}  // namespace zentrova
